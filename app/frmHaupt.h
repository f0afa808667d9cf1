#pragma once

#include "windows/ImageList.h"
#include "windows/Schriftmass.h"
#include "app/IntervalTimer.h"
#include "app/Programmfenster.h"
#include "core/Menuepunkt.h"
#include "core/Optionsschalter.h"
#include "core/Anruf.h"
#include "core/modOptionen.h"
#include "telephony/Leitungsfenster.h"
#include "telephony/Leitungsteile.h"
#include "telephony/Telefonieprotokoll.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <optional>

class Clipboard;
class Dialogs;
class Anruferlistenansicht;
class ListView;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class SettingsStore;
class StatusPanel;
class SystemFacilities;
class Teilsysteme;
class frmStatus;
class topTapi;

// What the main window works with; all of it outlives the window.
struct frmHauptUmgebung
{
    SettingsStore &store;
    Dialogs &dialogs;
    Clipboard &clipboard;
    SystemFacilities &system;
    topTapi &tapi;
    Teilsysteme &teilsysteme;
    // The options the menus show; a click changes them there.
    Optionsschalter &schalter;
};

// The main window: the telephony device, the caller list, the contacts with
// similar numbers and the status bar. It lays out its controls, keeps the
// menus and runs the start and exit sequences; the work of each command lives
// in its subsystem.
class frmHaupt : public QMainWindow, public Leitungsfenster, public Telefonieprotokoll, public Programmfenster
{
    Q_OBJECT

public:
    // The design's smallest size; the window scales it with its font (Schriftmass).
    static constexpr int MindestBreite = 7575; // twips
    static constexpr int MindestHoehe = 6540;  // twips
    static constexpr int TimerACTIntervall = 4500;

    explicit frmHaupt(const frmHauptUmgebung &umgebung, QWidget *parent = nullptr);
    ~frmHaupt() override;

    // The line's side, made over this window by the composition root: the
    // device box, the activation button and the driver menu's commands go
    // there. Before the start sequence.
    void anbinden(Leitungsteile &teile);

    // Start sequence; the window is shown afterwards.
    void Form_Load();
    // Layout of the controls for the current size.
    void Form_Resize();
    // Exit sequence; runs once, also when several close requests arrive.
    void Form_Unload();
    // The exit sequence has run.
    bool IstEntladen() const { return m_entladen; }
    void TimerACT_Timer();

    // The panels of the status bar, left to right.
    enum class Statusfeld { Telefon, ACT, Meldung, Cache };

    QAction *Menu(Menuepunkt punkt) const;
    Anruferlistenansicht *lvNummern() const { return m_lvNummern; }
    ListView *lvKontakte() const { return m_lvKontakte; }
    StatusPanel *Panel(Statusfeld feld) const;
    IntervalTimer &TimerACT() { return m_timerACT; }
    modOptionen &Optionen() { return m_optionen; }
    Optionsschalter &Schalter() { return m_schalter; }
    const ImageList &ilIcons() const { return m_ilIcons; }
    QComboBox *cbxTapiDevices() const { return m_cbxTapiDevices; }
    QComboBox *cbxAddress() const { return m_cbxAddress; }
    QPushButton *cmdInitTapi() const { return m_cmdInitTapi; }
    QLineEdit *Text1() const { return m_Text1; }

    // Sub-item number of the caller-list column with that key; -1 when none.
    int Spaltennummer(const QString &key) const;
    // The text before its first blank (all of it when there is none).
    static QString ErstesWort(const QString &text);

    void mnuKopiereNummer_Click();
    void mnuKopiereOrt_Click();
    void mnuKopiereKontakt_Click();
    void mnuKopiereKontaktNummer_Click();
    void mnuCopyStatus_Click();

    // The three delete commands of the caller list, by their menu item.
    void EintraegeLoeschen(Menuepunkt befehl);
    void SchalteNummernCache(bool ein) override;
    bool MonitorAktiv() const;
    // The identification has ended: a close asked for meanwhile happens now.
    void AuswertungBeendet();

    bool AutoAktivierenOffen = false;
    bool MinimierenOffen = false;

    // The window as the telephony subsystem sees it.
    QString TelefonText() const override;
    void setTelefonText(const QString &text) override;
    void setTelefonToolTip(const QString &text) override;
    void setTelefonBild(int index) override;
    void setKnopfBild(const QString &key) override;
    void setKnopfToolTip(const QString &text) override;
    void setGeraete(const QStringList &namen) override;
    void setGeraetAuswahl(int index) override;
    QString GeraetText() const override;
    void setGeraeteAktiv(bool aktiv) override;
    void setAdressen(const QStringList &namen) override;
    void setLeitungshinweis(const QString &text) override;
    QLabel *lbLeitungHinweis() const { return m_lbLeitungHinweis; }
    void setTitel(const QString &titel) override;
    void setMenueText(Menuepunkt punkt, const QString &text) override;
    void setLbIDText(const QString &text) override;

    // The window as the program's parts see it.
    void setMeldung(const QString &text) override;
    void setACTPruefungAktiv(bool aktiv) override;
    void warten(int millisekunden) override;
    void setWaehlhinweis(const QString &text) override;
    int Adresse() const override;
    std::optional<Anruf> gewaehlterAnruf() const override;
    bool waehleAnruf(quint64 eintrag) override;
    std::vector<Anruf> Anrufe() const override;
    const ListViewModel &AehnlicheKontakte() const override;
    int gewaehlterKontakt() const override;
    void setACTText(const QString &text) override;
    void setACTBereit(bool bereit) override;
    void setACTHinweis(const QString &text) override;
    void setCachebau(bool laeuft) override;
    void setCachebauStand(const QString &text) override;
    void setCacheErneuerung(bool laeuft) override;
    void setWartecursor(bool an) override;
    void Beenden() override;
    void atmen() override;
    QLabel *lbID() const { return m_lbID; }
    // The status window of long operations (start-up, cache rebuild); null while none shows.
    frmStatus *Statusfenster() const;
    frmStatus *StatusfensterZeigen(const QString &ueberschrift);
    void StatusfensterSchliessen();

    // The telephony log.
    bool Protokolliert() const override;
    void PrintProtokoll(const QString &ereignis, const QString &werte) override;

    // With a system tray, a minimised window hides there instead.
    void setInsInfobereich(bool an) { m_insInfobereich = an; }
    // Hidden in the system tray.
    bool ImInfobereich() const { return m_insInfobereich && isHidden(); }
    // The window in front at its size, from the tray, the task bar or behind others.
    void Hervorholen() override;

    // Geometry in twips, as the settings store keeps it: the frame's top
    // left corner and the size of the inside.
    QRect FensterTwips() const;
    // The smallest size of the inside, in pixels.
    QSize Mindestgroesse() const;
    double TwipsProPixelX() const;
    double TwipsProPixelY() const;

signals:
    // The monitor was switched on or off.
    void MonitorGeaendert();
    // The exit sequence has run.
    void Entladen();
    // The user asked for the about box.
    void InfoAngefordert();
    // A line for the telephony log, while logging is on.
    void Telefonieprotokollzeile(const QString &ereignis, const QString &werte);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void erstelleSteuerelemente();
    void erstelleMenues();
    void verbindeBefehle();
    void ladeBilder();
    void platziereFenster();
    void setzeSpaltenbreiten();
    // The list's columns as wide as the texts named need, taken from the others' room.
    void nachBedarf(ListView *liste, const QList<QPair<QString, int>> &bedarfNachSpalte);
    void setzePanelbreiten(int anteil);
    void ordneAdresszeile();
    // The frame's top left corner moved so far that the whole title bar is
    // on the part of the screen that windows may cover.
    QPoint titelleisteSichtbar(QPoint rahmen) const;
    // Each option's menu item shows it, and a click on the item changes it.
    void bindeSchalter();
    void schalterGeaendert(Optionsschalter::Schalter schalter, bool an);
    void zeigeNummernCache(bool ein);
    void OptionenInMenues();
    void OptionenSpeichern();
    void FensterSpeichern();
    int leseFensterwert(const QString &key, int standard) const;
    void kopiere(const QString &text);

    // A design size in pixels, scaled for the running font.
    int e(double entwurfsPixel) const { return m_mass.px(entwurfsPixel); }
    int pxX(double twips) const;
    int pxY(double twips) const;
    double twX(int pixels) const;
    double twY(int pixels) const;

    SettingsStore &m_store;
    Dialogs &m_dialogs;
    Clipboard &m_clipboard;
    SystemFacilities &m_system;
    topTapi &m_tapi;
    Teilsysteme &m_teilsysteme;
    modOptionen m_optionen;
    Optionsschalter &m_schalter;
    Schriftmass m_mass;

    QGroupBox *m_frTapi = nullptr;
    QGroupBox *m_frAnruferliste = nullptr;
    QGroupBox *m_frAehnliche = nullptr;
    QComboBox *m_cbxTapiDevices = nullptr;
    QComboBox *m_cbxAddress = nullptr;
    QLineEdit *m_Text1 = nullptr;
    QLineEdit *m_Text2 = nullptr;
    QPushButton *m_cmdInitTapi = nullptr;
    QLabel *m_imBanner = nullptr;
    QLabel *m_lbID = nullptr;
    QLabel *m_lbLeitungHinweis = nullptr;
    Anruferlistenansicht *m_lvNummern = nullptr;
    ListView *m_lvKontakte = nullptr;
    QWidget *m_statusfelder = nullptr;
    StatusPanel *m_panels[4] = {};
    IntervalTimer m_timerACT;
    ImageList m_ilIcons;
    ImageList m_ilTelefone;
    ImageList m_ilSortierung;
    std::array<QAction *, AnzahlMenuepunkte> m_actions = {};
    std::array<QMenu *, AnzahlMenuepunkte> m_menus = {};
    QPointer<frmStatus> m_status;
    Leitungsteile *m_leitungsteile = nullptr;
    // The telephony panel as it was before a cache build widened it.
    QString m_cachebauText;
    int m_cachebauBreite = 0;

    // The geometry the window was given at start, in twips and in pixels, so
    // that an untouched window saves exactly what it read.
    QRect m_gegebenTwips;
    QRect m_gegebenPixel;
    bool m_entladen = false;
    bool m_schliessenVorgemerkt = false;
    bool m_imLayout = false;
    bool m_insInfobereich = false;
};
