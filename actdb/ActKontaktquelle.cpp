#include "actdb/ActKontaktquelle.h"

#include "actdb/ActZugang.h"
#include "actdb/AehnlicheZeilen.h"
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
        std::unique_ptr<Recordset> treffer = m_dbf->Suche(m_felder, u"NAME,CITY"_s, nummer, u"OR"_s, false);
        if (treffer && treffer->Eof() && !schluessel.isEmpty()) {
            treffer->Close();
            treffer = m_dbf->SchluesselSuche(m_felder, u"NAME,CITY"_s, schluessel);
        }
        Fund fund;
        fund.gelungen = treffer != nullptr;
        if (treffer && !treffer->Eof()) {
            const Fields &f = treffer->Fields();
            Kontakt k;
            k.id = f[u"UNIQUE_ID"_s].Text();
            k.name = f[u"NAME"_s].Text();
            if (!f[u"CITY"_s].isNull())
                k.ort = f[u"CITY"_s].Text();
            fund.kontakt = k;
        }
        if (treffer)
            treffer->Close();
        return fund;
    }

    Aehnliche aehnliche(const QString &ziffern) override
    {
        std::unique_ptr<Recordset> woertlich = m_dbf->Suche(m_felder, u"NAME,COMPANY"_s, ziffern, u"OR"_s, false);
        // A statement the first search could not open is not tried in another form.
        std::unique_ptr<Recordset> nachSchluessel
            = woertlich ? m_dbf->SchluesselSuche(m_felder, m_felder + u",NAME,COMPANY"_s, ziffern) : nullptr;
        Aehnliche a = AehnlicheZeilen::sammeln(woertlich.get(), nachSchluessel.get(), ziffern, m_zugang);
        for (auto *rs : {woertlich.get(), nachSchluessel.get()}) {
            if (rs)
                rs->Close();
        }
        return a;
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
