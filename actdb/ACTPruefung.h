#pragma once

#include <QString>

class ACTPruefungsumfeld;
class Meldungssperre;
class clACTFelder;
class modOptionen;

// The periodic ACT! check: is ACT! running, which database has it open, are
// its field definitions read. It keeps the ACT!-ready flag, the
// ACT! panel of the status bar and the list of phone fields up to date.
class ACTPruefung
{
public:
    // `meldungen` is the way the check and the field reader show their
    // failures; the check shows a repeated failure once. `umfeld` is asked
    // about ACT! and told what the check found.
    ACTPruefung(clACTFelder &felder, Meldungssperre &meldungen, const modOptionen &optionen,
                ACTPruefungsumfeld &umfeld);

    void PruefeACTDatenbank();
    // Ready: the database is open and its phone fields are known (or the
    // number cache stands in for it).
    bool ACTBereit() const { return m_bereit; }
    // Another database was chosen, or the cache stands in: set from outside.
    void setACTBereit(bool bereit) { m_bereit = bereit; }

    static QString Supportzeile();

private:
    void pruefe();
    // Not ready: the panel says why, the tool tip names the database and the failure.
    void fehlgeschlagen(const QString &name, const QString &grund);

    clACTFelder &m_felder;
    Meldungssperre &m_dialogs;
    const modOptionen &m_optionen;
    ACTPruefungsumfeld &m_u;
    bool m_bereit = false;
    bool m_laeuft = false;
    bool m_nochmal = false;
};
