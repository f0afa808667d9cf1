#pragma once

#include "actdb/ActZugang.h"
#include "actdb/ActZugangsbild.h"
#include "actdb/CacheKontaktquelle.h"
#include "platform/clipboard/MainThreadClipboard.h"
#include "platform/dialogs/MainThreadDialogs.h"
#include "telephony/Suchthread.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class ACTPruefung;
class ActKontaktquelle;
class Clipboard;
class Dialogs;
class Kontaktquelle;
class Telefonfeldliste;
class clACTApplication;
class clActDBF;
class modOptionen;

// Where the caller identification and the similar-number search look for
// contacts: the number cache when it is used, else ACT!'s contact table once
// the periodic check found it ready; which phone fields are searched; and the
// cache file's place. The sources are opened and searched, and the cache is
// built, on the search thread only; their boxes and clipboard writes go to
// the GUI thread.
class Kontaktsuche : public ActZugang
{
public:
    Kontaktsuche(Dialogs &dialogs, Clipboard &clipboard, const modOptionen &optionen, clActDBF &actDBF,
                 clACTApplication &actApp, const ACTPruefung &pruefung);
    ~Kontaktsuche() override;

    // The record of the phone fields; none: no field is chosen.
    void setTelefonfelder(const Telefonfeldliste *liste) { m_telefonfelder = liste; }
    QString AusgewaehlteFelder() const override;
    QString Bezeichnung(const QString &feldname) const override;
    bool ACTBereit() const override;
    QString ACTDatenbank() const override;

    // Where callers are looked for: the number cache when it is used, else
    // the contact source (ACT!'s contact table unless another is set).
    // Decided here and nowhere else. Asked on the GUI thread; the source is
    // then opened and searched on Thread().
    Kontaktquelle &Quelle(bool nummernCache);
    Suchthread &Thread() { return m_thread; }
    // Another address book in place of ACT!'s table; none: ACT!'s again.
    void setKontaktquelle(Kontaktquelle *quelle) { m_andere = quelle; }
    // Where the progress of opening the number cache is shown.
    void setCachestatus(std::function<void(const QString &)> status);

    QString CachePfad() const;
    void setCachePfad(const QString &pfad);

    using Cachebau = CacheKontaktquelle::Bau;
    using Cachestatus = std::function<void(const QString &)>;
    using Cachefertig = std::function<void(Cachebau)>;
    // Builds the number cache anew from the contact source (ACT!'s contact
    // table unless another is set) on the search thread, after the searches
    // asked for before: the chosen phone fields with name, company and city
    // of every contact, read through an access of its own. `status` hears
    // each step and `fertig` the outcome, both on the thread that made this
    // object, in that order.
    void CacheErstellen(Cachestatus status, Cachefertig fertig);

private:
    // What the sources on the search thread read of the program, taken now.
    void bildAufnehmen();

    // Everything the search thread hands to the GUI thread goes through one
    // box, so it arrives in the order it was sent.
    Postfach m_postfach;
    MainThreadDialogs m_dialogs;
    MainThreadClipboard m_clipboard;
    const modOptionen &m_optionen;
    clACTApplication &m_actApp;
    const ACTPruefung &m_pruefung;
    const Telefonfeldliste *m_telefonfelder = nullptr;
    ActZugangsbild m_bild;
    std::unique_ptr<ActKontaktquelle> m_act;
    std::unique_ptr<CacheKontaktquelle> m_cache;
    Kontaktquelle *m_andere = nullptr;
    QObject m_kontext; // where the cache build answers
    // Last: its jobs use everything above, so it ends first.
    Suchthread m_thread{m_postfach};
};
