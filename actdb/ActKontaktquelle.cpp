#include "actdb/ActKontaktquelle.h"

#include "actdb/ActKontaktbestand.h"
#include "actdb/ActZugang.h"
#include "actdb/Kontaktzeilen.h"
#include "actdb/clActDBF.h"
#include "platform/jet/Recordset.h"

using namespace Qt::StringLiterals;

namespace {

class ActSuchlauf : public Kontaktsuchlauf
{
public:
    ActSuchlauf(std::unique_ptr<clActDBF> dbf, const ActZugang &zugang)
        : m_dbf(std::move(dbf))
        , m_zugang(zugang)
        , m_felder(zugang.AusgewaehlteFelder())
    {
    }
    ~ActSuchlauf() override { m_dbf->kill(); }

    Fund erster(const QString &nummer, const QString &schluessel) override
    {
        // One read of the file serves both searches: the first record as
        // written, or when there is none the records of the key.
        const Kontaktscan::Treffer vorab = m_dbf->Vorauswahl(m_felder, nummer, schluessel, true);
        return Kontaktzeilen::erster(
            m_dbf->Suche(m_felder, u"NAME,CITY"_s, nummer, u"OR"_s, false, &vorab.woertlich), schluessel,
            [&] { return m_dbf->SchluesselSuche(m_felder, u"NAME,CITY"_s, schluessel, &vorab.nachSchluessel); });
    }

    Aehnliche aehnliche(const QString &ziffern) override
    {
        const Kontaktscan::Treffer vorab = m_dbf->Vorauswahl(m_felder, ziffern, ziffern, false);
        std::unique_ptr<Recordset> woertlich =
            m_dbf->Suche(m_felder, u"NAME,COMPANY"_s, ziffern, u"OR"_s, false, &vorab.woertlich);
        // A statement the first search could not open is not tried in another form.
        std::unique_ptr<Recordset> nachSchluessel =
            woertlich ? m_dbf->SchluesselSuche(m_felder, m_felder + u",NAME,COMPANY"_s, ziffern, &vorab.nachSchluessel)
                      : nullptr;
        return Kontaktzeilen::sammeln(std::move(woertlich), std::move(nachSchluessel), ziffern, m_zugang);
    }

    QString firma(const QString &id) override { return m_dbf->Firma(id); }

private:
    std::unique_ptr<clActDBF> m_dbf;
    const ActZugang &m_zugang;
    QString m_felder;
};

} // namespace

ActKontaktquelle::ActKontaktquelle(Dialogs &dialogs, Clipboard &clipboard, const modOptionen &optionen,
                                   const ActZugang &zugang)
    : m_dialogs(dialogs)
    , m_clipboard(clipboard)
    , m_optionen(optionen)
    , m_zugang(zugang)
{
}

Kontaktquelle::Oeffnung ActKontaktquelle::oeffnen()
{
    Oeffnung o;
    // No phone field chosen: nobody can be found (a search without a field
    // would match every contact).
    if (clActDBF::OhneFelder(m_zugang.AusgewaehlteFelder()) || !m_zugang.ACTBereit())
        return o;
    auto dbf = std::make_unique<clActDBF>(m_dialogs, m_clipboard, m_optionen);
    if (!dbf->init(m_zugang.ACTDatenbank())) {
        dbf->kill();
        return o;
    }
    o.zustand = Oeffnung::Zustand::Offen;
    o.lauf = std::make_unique<ActSuchlauf>(std::move(dbf), m_zugang);
    return o;
}

QString ActKontaktquelle::Suchmeldung() const
{
    return u"Suche Kontakt in ACT!-Datenbank..."_s;
}

std::unique_ptr<Kontaktbestand> ActKontaktquelle::bestand(const QStringList &telefonfelder)
{
    auto dbf = std::make_unique<clActDBF>(m_dialogs, m_clipboard, m_optionen);
    if (!dbf->init(m_zugang.ACTDatenbank())) {
        dbf->kill();
        return nullptr;
    }
    return std::make_unique<ActKontaktbestand>(std::move(dbf), telefonfelder);
}
