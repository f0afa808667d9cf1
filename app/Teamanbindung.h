#pragma once

#include <QObject>

#include <memory>

class Anruflistenabgleich;
class Dialogs;
class Kennwortspeicher;
class Programmteile;
class SettingsStore;
class Teamabfrage;
class Teamjournal;
class frmAnrufeImTeam;
class frmHaupt;
class topTapi;
class clRufmonDaten;

// Calls beyond the desk's own line: the router's call list read after a gap,
// and, with a team journal set up ("Team" settings), every call written to
// the journal and the window "Anrufe im Team" from the caller list's menu.
class Teamanbindung : public QObject
{
    Q_OBJECT

public:
    struct Teile
    {
        SettingsStore &store;
        Dialogs &dialogs;
        Kennwortspeicher *kennwoerter; // none: the journal is reached without a password
        topTapi &tapi;
        frmHaupt &fenster;
        Programmteile &teile;
    };

    explicit Teamanbindung(const Teile &teile, QObject *parent = nullptr);
    ~Teamanbindung() override;

    // The phone database is open: the journal's outbox lives there.
    void Gestartet(clRufmonDaten *telefondaten);

    Teamjournal *Journal() const { return m_journal.get(); }
    Anruflistenabgleich *Abgleich() const { return m_abgleich.get(); }
    // Opens the team window (menu "Anrufe im Team").
    void mnuAnrufeImTeam();
    frmAnrufeImTeam *Fenster() const { return m_fenster.get(); }

signals:
    // The journal's state for the tray's tool tip.
    void ZustandGeaendert(const QString &text);

private:
    Teile m_t;
    std::unique_ptr<Anruflistenabgleich> m_abgleich;
    std::unique_ptr<Teamjournal> m_journal;
    std::unique_ptr<Teamabfrage> m_abfrage;
    std::unique_ptr<frmAnrufeImTeam> m_fenster;
};
