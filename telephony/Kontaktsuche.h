#pragma once

#include "actdb/ActZugang.h"
#include "actdb/CacheKontaktquelle.h"

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
// cache file's place.
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
    // Decided here and nowhere else.
    Kontaktquelle &Quelle(bool nummernCache);
    // Another address book in place of ACT!'s table; none: ACT!'s again.
    void setKontaktquelle(Kontaktquelle *quelle) { m_andere = quelle; }
    // Where the progress of opening the number cache is shown.
    void setCachestatus(std::function<void(const QString &)> status);

    const QString &CachePfad() const;
    void setCachePfad(const QString &pfad);

    using Cachebau = CacheKontaktquelle::Bau;
    // Builds the number cache anew from ACT!'s contact table: the chosen
    // phone fields with name, company and city of every contact.
    Cachebau CacheErstellen(const std::function<void(const QString &)> &status);

private:
    Dialogs &m_dialogs;
    Clipboard &m_clipboard;
    clActDBF &m_actDBF;
    clACTApplication &m_actApp;
    const ACTPruefung &m_pruefung;
    const Telefonfeldliste *m_telefonfelder = nullptr;
    std::unique_ptr<ActKontaktquelle> m_act;
    std::unique_ptr<CacheKontaktquelle> m_cache;
    Kontaktquelle *m_andere = nullptr;
};
