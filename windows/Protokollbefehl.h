#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class SystemFacilities;
class frmProtokoll;

// Driver menu "&Protokoll": shows and closes the telephony log and writes
// the event lines into it. The menu item's check mark is the switch; the
// window takes it off when it closes, however it is closed.
class Protokollbefehl : public QObject
{
    Q_OBJECT

public:
    // `setzeHaken`: sets the check mark of mnuTAPIProtokoll.
    Protokollbefehl(const SystemFacilities &system, std::function<void(bool)> setzeHaken, QWidget *hauptfenster,
                    QObject *parent = nullptr);
    ~Protokollbefehl() override;

    // `warGesetzt`: the check mark before the user chose the item.
    void mnuTAPIProtokoll(bool warGesetzt);
    // A line for the log; nothing while the window is closed.
    void PrintProtokoll(const QString &ereignis, const QString &werte);
    // Closes the window (program exit).
    void Schliessen();
    frmProtokoll *Fenster() const;

private:
    const SystemFacilities &m_system;
    std::function<void(bool)> m_setzeHaken;
    QPointer<QWidget> m_hauptfenster;
    QPointer<frmProtokoll> m_fenster;
};
