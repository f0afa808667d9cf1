#include "actdb/Kontaktzeilen.h"

#include "actdb/ActZugang.h"
#include "actdb/clActDBF.h"
#include "core/Nummernschluessel.h"
#include "platform/jet/Recordset.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace {

Kontaktsuchlauf::Aehnlicher eintrag(const Fields &f, int spalte, const QString &nummer, const ActZugang &zugang)
{
    // A column that is no phone field shows its own name as the label.
    QString label = zugang.Bezeichnung(f[spalte].Name());
    if (label.isEmpty())
        label = f[spalte].Name();
    Kontakt k;
    k.id = f[u"UNIQUE_ID"_s].Text();
    k.name = f.indexOf(u"NAME"_s) >= 0 ? f[u"NAME"_s].Text() : QString();
    k.firma = f.indexOf(u"COMPANY"_s) >= 0 ? f[u"COMPANY"_s].Text() : QString();
    k.telefon = {{f[spalte].Name(), f[spalte].Text()}};
    return {k, label, nummer};
}

} // namespace

bool Kontaktzeilen::leer(Recordset &rs)
{
    return rs.Eof();
}

void Kontaktzeilen::schliesse(Recordset *rs)
{
    if (rs)
        rs->Close();
}

Kontaktsuchlauf::Fund Kontaktzeilen::fund(std::unique_ptr<Recordset> treffer)
{
    Kontaktsuchlauf::Fund fund;
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
    schliesse(treffer.get());
    return fund;
}

Kontaktsuchlauf::Aehnliche Kontaktzeilen::sammeln(std::unique_ptr<Recordset> woertlich,
                                                  std::unique_ptr<Recordset> nachSchluessel, const QString &ziffern,
                                                  const ActZugang &zugang)
{
    Kontaktsuchlauf::Aehnliche ergebnis;
    ergebnis.gesucht = true;
    const bool mitWoertlichen = woertlich && !woertlich->Eof();
    const bool mitSchluesseln = nachSchluessel && !nachSchluessel->Eof();
    QSet<QString> gefunden;
    if (mitWoertlichen) {
        woertlich->MoveLast();
        ergebnis.anzahl = woertlich->RecordCount();
        woertlich->MoveFirst();
        while (!woertlich->Eof()) {
            const Fields &f = woertlich->Fields();
            gefunden.insert(f[u"UNIQUE_ID"_s].Text());
            // The first column, in the result's order, that holds the digits.
            for (int j = 0; j < f.Count(); ++j) {
                if (f[j].isNull())
                    continue;
                const QString wert = f[j].Text();
                if (!wert.contains(ziffern))
                    continue;
                // Up to the first blank; a value without one is shown whole.
                const qsizetype blank = wert.indexOf(u' ');
                ergebnis.treffer.append(eintrag(f, j, blank < 0 ? wert : wert.left(blank), zugang));
                break;
            }
            woertlich->MoveNext();
        }
    }
    if (mitSchluesseln) {
        const QStringList telefonfelder = clActDBF::Eintraege(zugang.AusgewaehlteFelder());
        const QString heimat = clActDBF::Heimatvorwahl();
        while (!nachSchluessel->Eof()) {
            const Fields &f = nachSchluessel->Fields();
            if (!gefunden.contains(f[u"UNIQUE_ID"_s].Text())) {
                // The phone field whose key holds the digits, shown whole as it is written.
                for (const QString &name : telefonfelder) {
                    const int j = f.indexOf(name);
                    if (j < 0 || f[j].isNull())
                        continue;
                    const QString wert = f[j].Text();
                    if (Nummernschluessel::schluessel(wert, heimat).contains(ziffern)) {
                        ergebnis.treffer.append(eintrag(f, j, wert, zugang));
                        ++ergebnis.anzahl;
                        break;
                    }
                }
            }
            nachSchluessel->MoveNext();
        }
    }
    schliesse(woertlich.get());
    schliesse(nachSchluessel.get());
    return ergebnis;
}
