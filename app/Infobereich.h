#pragma once

#include <QIcon>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;
class frmHaupt;
class topTapi;

// The program's icon in the desktop's system tray: it shows whether the
// monitor is off, on, or a call is ringing; a click shows or hides the main
// window, and its menu shows the window, switches the monitor (the main
// menu's command) and ends the program. Where the desktop has a tray, a
// minimised window goes there. The menu and the state exist also without a
// tray, so that they can be tried without one.
// A panel may start after the program, or end and start again: the tray is
// looked for every few seconds. One that appears gets the icon; when it
// goes, a window hidden there comes back minimised, where the user finds it.
class Infobereich : public QObject
{
    Q_OBJECT

public:
    enum class Zustand { Aus, Aktiv, Klingelt };
    static constexpr int Suchintervall = 2000; // ms

    // `an`: the user's switch; the icon appears only where there is a tray.
    Infobereich(frmHaupt &fenster, topTapi &tapi, bool an, QObject *parent = nullptr);
    ~Infobereich() override;

    bool sichtbar() const { return m_symbol != nullptr; }
    QMenu *Menue() const { return m_menue.get(); }
    Zustand zustand() const;
    QIcon Symbol() const;
    // The icon's tool tip: the program and the line's state as the status
    // bar's first panel says it.
    QString ToolTip() const;
    // A click on the icon.
    void Klick();
    // A further line of the tool tip (the team journal's state); empty: none.
    void setZusatz(const QString &text);

    // Whether the desktop has a tray now; the icon follows.
    void pruefeTray();

private:
    void symbolZeigen();
    void symbolEntfernen();
    void zustandZeigen();
    // A call rings from when it comes in until it is answered or over.
    void klingeln(bool klingelt);

    frmHaupt &m_fenster;
    QString m_zusatz;
    std::unique_ptr<QMenu> m_menue;
    QAction *m_anzeigen = nullptr;
    QAction *m_tapi = nullptr;
    QAction *m_beenden = nullptr;
    QSystemTrayIcon *m_symbol = nullptr;
    QTimer m_suche;
    bool m_klingelt = false;
};
