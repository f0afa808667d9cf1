#include "telephony/AehnlicheNummern.h"

#include "actdb/clActDBF.h"
#include "actdb/clTabellenCache.h"
#include "core/ListViewModel.h"
#include "core/Nummernschluessel.h"
#include "core/modHaupt.h"
#include "core/modOptionen.h"
#include "phonedb/clRufmonDaten.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/Recordset.h"
#include "platform/system/SystemFacilities.h"
#include "telephony/Anrufereignisse.h"
#include "telephony/Auswertungsanzeige.h"
#include "telephony/Kontaktsuche.h"
#include "telephony/clStopuhr.h"

#include <QScopedValueRollback>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString CRLF = u"\r\n"_s;
constexpr int MindestAnschluss = 4;
constexpr int AngezeigteStellen = 3;

QString mitVorzeichenstelle(long n)
{
    return n < 0 ? QString::number(n) : u' ' + QString::number(n);
}

} // namespace

AehnlicheNummern::AehnlicheNummern(const Teile &teile)
    : m_t(teile)
{
}

void AehnlicheNummern::mnuSuche_aehnliche(const ListViewModel &anruferliste, int i)
{
    if (anruferliste.Count() == 0 || i < 0 || i >= anruferliste.Count())
        return;
    if (!m_t.telefondaten.istOffen())
        return;
    QString laendervorwahl, vorwahl, anschluss, land, ort;
    try {
        m_t.telefondaten.BestimmeVorwahlAnschlussOrtLand(anruferliste.Item(i).Text, laendervorwahl, vorwahl,
                                                         anschluss, land, ort);
    } catch (const JetFehler &e) {
        m_t.dialogs.MsgBox(u"Fehler "_s + mitVorzeichenstelle(e.Number()) + u": "_s + e.Description(),
                         Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
        return;
    }
    SucheAehnlicheNummern(vorwahl, anschluss);
}

void AehnlicheNummern::SucheAehnlicheNummern(const QString &Vorwahl, const QString &Anschluss)
{
    if (m_laeuft || !m_t.anzeige.MenueGesetzt(Menuepunkt::mnuAutoNummern) || Anschluss.size() < MindestAnschluss)
        return;
    const QScopedValueRollback<bool> lauf(m_laeuft, true);
    suche(Vorwahl, Anschluss);
}

void AehnlicheNummern::suche(const QString &Vorwahl, const QString &Anschluss)
{
    Auswertungsanzeige &anzeige = m_t.anzeige;
    ListViewModel &kontakte = m_t.kontakte;
    const int nummerSpalte = kontakte.columnByKey(u"Nummer"_s);
    const auto kopf = [&](const QString &text) {
        auto spalten = kontakte.columns();
        spalten[nummerSpalte].Text = text;
        kontakte.setColumns(spalten);
    };

    anzeige.setACTPruefungAktiv(false);
    kontakte.Clear();
    const QString anfang = u"("_s + Vorwahl + u") "_s + Anschluss.left(AngezeigteStellen) + u"..."_s;
    ListItem platzhalter;
    platzhalter.Text = u"Suche nach "_s + anfang;
    kontakte.Add(platzhalter);

    // Clamped while still a number: a huge value must not wrap round to 0.
    const int stellen = static_cast<int>(
        std::clamp(m_t.optionen.leseZahl(u"Stellen"_s), 0.0, double(Anschluss.size())));
    anzeige.setMeldung(u"Suche ähnliche Nummern ..."_s);
    QString schluessel = Vorwahl;
    if (anzeige.MenueGesetzt(Menuepunkt::mnuKeineNullBeimSuchen) && schluessel.startsWith(u'0'))
        schluessel.remove(0, 1);
    schluessel += Anschluss.left(std::max(0, stellen));
    anzeige.setWartecursor(true);

    const QString felder = m_t.suche.AusgewaehlteFelder();
    clStopuhr stopuhr([this] { return m_t.system.GetTickCount(); });
    Kontaktsuche::Cachetreffer cache;
    Kontaktsuche::Cachetreffer cacheSchluessel;
    // The search as the numbers are written, then the one on their keys,
    // which adds the contacts whose numbers are written otherwise ("030 1234599").
    std::unique_ptr<Recordset> woertlich;
    std::unique_ptr<Recordset> nachSchluessel;
    // A table access of its own: the caller identification may run while
    // this search breathes, and opens and closes the shared one.
    clActDBF dbf(m_t.dialogs, m_t.suche.clipboard(), m_t.optionen);
    bool actOffen = false;
    bool gesucht = false;
    if (clActDBF::OhneFelder(felder)) {
        // No phone field chosen: no contact is similar (a search without a
        // field would list every one).
    } else if (anzeige.MenueGesetzt(Menuepunkt::mnuNummernCache)) {
        const auto status = [&anzeige](const QString &text) { anzeige.setCacheMeldung(text); };
        stopuhr.Starten();
        cache = m_t.suche.CacheSuchen(felder, u"UNIQUE_ID,NAME,COMPANY"_s, schluessel, status);
        if (cache.nutzbar)
            cacheSchluessel = m_t.suche.CacheSuchen(clActDBF::Schluesselfelder(felder),
                                                    u"UNIQUE_ID,NAME,COMPANY,"_s + felder, schluessel, status);
        stopuhr.Stoppen();
        if (!cache.nutzbar) {
            m_t.dialogs.MsgBox(u"Fehler beim Zugriff auf Nummerncache-Datenbank: "_s + m_t.suche.CachePfad() + CRLF
                                   + u"Der Nummerncache wird deaktiviert."_s,
                               Dialogs::Buttons::Ok, Dialogs::Icon::Information, Dialogs::defaultTitle());
            anzeige.NummernCacheAbschalten();
        } else {
            woertlich = std::move(cache.treffer);
            nachSchluessel = std::move(cacheSchluessel.treffer);
            gesucht = true;
        }
    } else if (m_t.suche.ACTBereit()) {
        actOffen = dbf.init(m_t.suche.ACTDatenbank());
        if (actOffen) {
            stopuhr.Starten();
            woertlich = dbf.Suche(felder, u"NAME,COMPANY"_s, schluessel, u"OR"_s, false);
            // A statement the first search could not open is not tried in another form.
            if (woertlich)
                nachSchluessel = dbf.SchluesselSuche(felder, felder + u",NAME,COMPANY"_s, schluessel);
            stopuhr.Stoppen();
            gesucht = true;
        }
    }

    long n = 0;
    if (gesucht) {
        anzeige.setSuchdauer(anzeige.Suchdauer() + u" Suchdauer2:"_s + mitVorzeichenstelle(stopuhr.Dauer()));
        m_t.ereignisse.LetzterAnruf += CRLF + u"Suchdauer2:"_s + mitVorzeichenstelle(stopuhr.Dauer());
    }
    const bool mitWoertlichen = woertlich && !woertlich->Eof();
    const bool mitSchluesseln = nachSchluessel && !nachSchluessel->Eof();
    if (mitWoertlichen || mitSchluesseln) {
        kontakte.Clear();
        kopf(u"Nummer "_s + anfang);
        anzeige.atmen();
        const int kontaktSpalte = kontakte.columnByKey(u"Kontakt"_s);
        const int firmaSpalte = kontakte.columnByKey(u"Firma"_s);
        const auto eintrag = [&](const ::Fields &f, int spalte, const QString &nummer) {
            // A column that is no phone field shows its own name as the label.
            QString label = m_t.suche.Bezeichnung(f[spalte].Name());
            if (label.isEmpty())
                label = f[spalte].Name();
            ListItem e;
            e.Text = u'[' + label + u"] "_s + nummer;
            e.Tag = IDInKlammern(f[u"UNIQUE_ID"_s].Text());
            e.setColumnText(kontaktSpalte, f.indexOf(u"NAME"_s) >= 0 ? f[u"NAME"_s].Text() : QString());
            e.setColumnText(firmaSpalte, f.indexOf(u"COMPANY"_s) >= 0 ? f[u"COMPANY"_s].Text() : QString());
            return e;
        };
        std::vector<ListItem> eintraege;
        QSet<QString> gefunden;
        if (mitWoertlichen) {
            woertlich->MoveLast();
            n = woertlich->RecordCount();
            woertlich->MoveFirst();
            while (!woertlich->Eof()) {
                const ::Fields &f = woertlich->Fields();
                gefunden.insert(f[u"UNIQUE_ID"_s].Text());
                // The first column, in the result's order, that holds the digits.
                for (int j = 0; j < f.Count(); ++j) {
                    if (f[j].isNull())
                        continue;
                    const QString wert = f[j].Text();
                    if (!wert.contains(schluessel))
                        continue;
                    // Up to the first blank; a value without one is shown whole.
                    const qsizetype blank = wert.indexOf(u' ');
                    eintraege.push_back(eintrag(f, j, blank < 0 ? wert : wert.left(blank)));
                    break;
                }
                woertlich->MoveNext();
            }
        }
        if (mitSchluesseln) {
            const QStringList telefonfelder = clActDBF::Eintraege(felder);
            const QString heimat = clActDBF::Heimatvorwahl();
            while (!nachSchluessel->Eof()) {
                const ::Fields &f = nachSchluessel->Fields();
                if (!gefunden.contains(f[u"UNIQUE_ID"_s].Text())) {
                    // The phone field whose key holds the digits, shown whole as it is written.
                    for (const QString &name : telefonfelder) {
                        const int j = f.indexOf(name);
                        if (j < 0 || f[j].isNull())
                            continue;
                        const QString wert = f[j].Text();
                        if (Nummernschluessel::schluessel(wert, heimat).contains(schluessel)) {
                            eintraege.push_back(eintrag(f, j, wert));
                            ++n;
                            break;
                        }
                    }
                }
                nachSchluessel->MoveNext();
            }
        }
        kontakte.AddMany(std::move(eintraege));
    }
    if (n > 0) {
        anzeige.setMeldung(QString::number(n) + u" Eingträg(e) gefunden"_s);
    } else {
        anzeige.setMeldung(u"Keine Einträge gefunden."_s);
        kopf(u"Nummer"_s);
        anzeige.setMeldung(u"Keine ähnlichen Nummern gefunden"_s);
        kontakte.Clear();
    }

    anzeige.atmen();
    for (auto *ergebnis : {&woertlich, &nachSchluessel}) {
        if (*ergebnis)
            (*ergebnis)->Close();
        ergebnis->reset();
    }
    cache = {};
    cacheSchluessel = {};
    anzeige.setWartecursor(false);
    if (actOffen)
        dbf.kill();
    anzeige.setACTPruefungAktiv(true);
    anzeige.atmen();
}
