#pragma once

#include "actdb/clACTFeld.h"

#include <QString>

#include <functional>
#include <vector>

class Meldungssperre;
class clACTFelder;
class modOptionen;

// The periodic ACT! check: is ACT! running, which database has it open, are
// its field definitions read. It keeps the ACT!-ready flag, the
// ACT! panel of the status bar and the list of phone fields up to date.
class ACTPruefung
{
public:
    // What the check needs of the rest of the program.
    struct Umgebung
    {
        std::function<bool()> ACTgestartet;
        std::function<QString()> ACTDatenbank;
        // Status bar panel 2: text, picture (index into the icon list), tool tip.
        std::function<void(const QString &)> PanelText;
        std::function<void(int)> PanelBild;
        std::function<void(const QString &)> PanelToolTip;
        std::function<void(bool)> TimerACT;
        // The phone-field list rebuilt from the contact fields.
        std::function<void(const std::vector<clACTFeld> &, const QString &)> TelefonfelderSetzen;
        // The number cache's step; may be empty.
        std::function<void()> CacheSchritt;
    };

    // `meldungen` is the way the check and the field reader show their
    // failures; the check shows a repeated failure once.
    ACTPruefung(clACTFelder &felder, Meldungssperre &meldungen, const modOptionen &optionen, Umgebung umgebung);

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
    Umgebung m_u;
    bool m_bereit = false;
    bool m_laeuft = false;
    bool m_nochmal = false;
};
