#include "telephony/Anrufauswertung.h"

#include "actdb/clActDBF.h"
#include "actdb/clTabellenCache.h"
#include "core/ListViewModel.h"
#include "core/modHaupt.h"
#include "core/modOptionen.h"
#include "phonedb/clRufmonDaten.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/Recordset.h"
#include "platform/registry/RegionalSettings.h"
#include "platform/system/SystemFacilities.h"
#include "platform/telephony/topTapi.h"
#include "telephony/AehnlicheNummern.h"
#include "telephony/Anrufhinweis.h"
#include "telephony/Anrufereignisse.h"
#include "telephony/Auswertungsanzeige.h"
#include "telephony/Diagnose.h"
#include "telephony/Kontaktsuche.h"
#include "telephony/Nummernaufbereitung.h"
#include "telephony/Nummernbefehle.h"
#include "telephony/clStopuhr.h"

#include <QScopedValueRollback>

using namespace Qt::StringLiterals;

namespace {

const QString CRLF = u"\r\n"_s;
const QString Unbekannt = u"Unbekannt"_s;
const QString Suche = u"suche..."_s;

constexpr int BildSuche = 1;
constexpr int BildUnbekannt = 2;
constexpr int BildUnbekanntVerbunden = 9;
constexpr int BildGefunden = 6;
constexpr int BildGefundenVerbunden = 10;
constexpr int MindestLaenge = 5;

} // namespace

Anrufauswertung::Anrufauswertung(const Teile &teile, QObject *parent)
    : QObject(parent)
    , m_t(teile)
{
}

void Anrufauswertung::Anrufer(const QString &CNumber, const QString &, const QString &CPartyID, std::int32_t CCallID,
                              std::int32_t)
{
    // A second caller while one is identified is not taken.
    if (m_laeuft)
        return;
    ausfuehren(CNumber, CPartyID, false, CCallID, m_t.tapi.Ereigniszeit());
    wartendeAufnehmen();
}

void Anrufauswertung::VerbundeneNummer(const QString &CNumber, std::int32_t CCallID, std::int32_t CCallHandle)
{
    if (m_laeuft) {
        // Taken up once the running identification has ended.
        m_wartend = {true, CNumber, CCallID, CCallHandle, m_t.tapi.Ereigniszeit()};
        return;
    }
    ausfuehren(CNumber, u"<ADDRESS>"_s, true, CCallID, m_t.tapi.Ereigniszeit());
    wartendeAufnehmen();
}

bool Anrufauswertung::Nachtragen(const Nachtrag &anruf)
{
    if (m_laeuft)
        return false;
    m_nachtrag = &anruf;
    ausfuehren(anruf.nummer, u"<ADDRESS>"_s, false, 0, anruf.zeit);
    m_nachtrag = nullptr;
    wartendeAufnehmen();
    return true;
}

void Anrufauswertung::wartendeAufnehmen()
{
    while (m_wartend.markiert && !m_laeuft) {
        m_wartend.markiert = false;
        ausfuehren(m_wartend.CNumber, u"<ADDRESS>"_s, true, m_wartend.CCallID, m_wartend.zeit);
    }
}

void Anrufauswertung::fehler(const QString &schritt, long nummer, const QString &beschreibung)
{
    qCWarning(lcTelefonie).noquote() << u"Anrufauswertung (%1): %2 %3"_s.arg(schritt, QString::number(nummer), beschreibung);
    m_t.dialogs.MsgBox(u"Fehler bei der Anrufauswertung ("_s + schritt + u")."_s + CRLF + u"Fehlernummer: "_s
                           + QString::number(nummer) + CRLF + u"Fehlerbeschreibung: "_s + beschreibung,
                       Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
}

void Anrufauswertung::ausfuehren(const QString &CNumber, const QString &CPartyID, bool verbunden,
                                 std::int32_t CCallID, const QDateTime &zeit)
{
    Auswertungsanzeige &anzeige = m_t.anzeige;
    m_laeuft = true;
    bool nichtGefunden = true;
    QString &letzterAnruf = m_t.ereignisse.LetzterAnruf;
    ListViewModel &liste = m_t.anruferliste;
    std::unique_ptr<Recordset> treffer;
    Kontaktsuche::Cachetreffer cache;
    bool actOffen = false;
    quint64 schluessel = 0;
    QString firma;

    anzeige.setAnrufeWartend(m_t.tapi.WartendeAnrufe() > 0);
    // Every path ends here: the line, the button, the timer and the panel as before.
    const auto schluss = [&] {
        anzeige.setAnrufeWartend(m_t.tapi.WartendeAnrufe() > 0);
        m_t.tapi.setEventsEnabled(true);
        anzeige.setMonitorKnopfAktiv(true);
        anzeige.setMeldung(QString());
        anzeige.setWartecursor(false);
        anzeige.atmen();
        anzeige.setACTPruefungAktiv(true);
        if (treffer)
            treffer->Close();
        treffer.reset();
        cache = {};
        if (actOffen)
            m_t.suche.ActDBF().kill();
        // The last call of a burst stores the rows of those before it.
        if (m_t.tapi.WartendeAnrufe() == 0)
            m_t.telefondaten.StapelBeenden();
        m_laeuft = false;
        emit Beendet();
    };

    const Nummernaufbereitung::Ergebnis gefiltert
        = Nummernaufbereitung::aufbereiten(CNumber, CPartyID, m_t.nummern.Einstellungen());
    if (gefiltert.ignoriert) {
        letzterAnruf += CRLF + u"Nummernfilter:"_s + gefiltert.filterTreffer;
        schluss();
        return;
    }
    QString nummer = gefiltert.nummer;
    qCDebug(lcTelefonie).noquote() << u"Anruf von"_s << nummer << (verbunden ? u"(verbunden)"_s : QString());

    anzeige.setACTPruefungAktiv(false);
    if (!m_nachtrag)
        anzeige.nachVorne();
    m_t.tapi.setEventsEnabled(false);
    anzeige.setMonitorKnopfAktiv(false);
    anzeige.atmen();

    if (nummer.isEmpty()) {
        m_t.dialogs.MsgBox(u"Ihr Tapi-Treiber meldet einen Anruf mit Telefonnummer,"_s + CRLF
                             + u"jedoch wurde keine Nummer an Rufmon übergeben."_s + CRLF
                             + u"Die Nummer wird auf '0' gesetzt."_s,
                         Dialogs::Buttons::Ok, Dialogs::Icon::Information, Dialogs::defaultTitle());
        nummer = u"0"_s;
    }
    letzterAnruf += u"Gefilterte Nummer:"_s + nummer + CRLF;

    // The new entry, in the searching state.
    {
        ListItem eintrag;
        eintrag.Text = nummer;
        eintrag.SubItems = {RegionalSettings::DateTimeText(zeit), Suche, Suche};
        eintrag.SmallIcon = BildSuche;
        eintrag.Angerufen = m_nachtrag ? m_nachtrag->angerufen : m_t.ereignisse.AngerufeneNummer(CCallID);
        const int pos = liste.Add(eintrag);
        schluessel = liste.Item(pos).Schluessel;
    }
    anzeige.atmen();
    if (!m_nachtrag) {
        anzeige.zeigeNeuenAnruf();
        m_t.aehnlicheListe.Clear();
    }
    anzeige.atmen();

    const auto setze = [&](int spalte, const QString &text) {
        const int i = liste.indexOf(schluessel);
        if (i < 0)
            return;
        ListItem e = liste.Item(i);
        e.setColumnText(spalte, text);
        liste.setItem(i, e);
    };
    const auto spalteText = [&](int spalte) {
        const int i = liste.indexOf(schluessel);
        return i < 0 ? QString() : liste.Item(i).columnText(spalte);
    };
    const auto setzeBildTag = [&](int bild, const QString &tag) {
        const int i = liste.indexOf(schluessel);
        if (i < 0)
            return;
        ListItem e = liste.Item(i);
        // A call from the router's list keeps its own picture, whatever became of it.
        e.SmallIcon = m_nachtrag ? Anrufhinweis::BildNachgetragen : bild;
        e.Tag = tag;
        liste.setItem(i, e);
    };
    const int ort = liste.columnByKey(u"Ort"_s);
    const int kontakt = liste.columnByKey(u"Kontakt"_s);

    QString laendervorwahl, vorwahl, anschluss, land, platz;
    clStopuhr stopuhr([this] { return m_t.system.GetTickCount(); });

    if (nummer.size() >= MindestLaenge) {
        anzeige.setMeldung(u"Bestimme ORT und Vorwahl ..."_s);
        anzeige.atmen();
        try {
            if (!m_t.telefondaten.istOffen())
                throw JetFehler(JetFehler::ObjektUngueltig, u"Die Telefondatenbank Nummern.mdb ist nicht geöffnet."_s);
            m_t.telefondaten.BestimmeVorwahlAnschlussOrtLand(nummer, laendervorwahl, vorwahl, anschluss, land, platz);
        } catch (const JetFehler &e) {
            fehler(u"Ort und Vorwahl"_s, e.Number(), e.Description());
            schluss();
            return;
        }
        if (!laendervorwahl.isEmpty()) {
            platz = land + u'/' + platz;
            nummer.remove(0, m_t.optionen.leseText(u"InternationaleKennung"_s).size() + laendervorwahl.size());
        }
        setze(ort, platz);
        anzeige.atmen();

        if (anzeige.MenueGesetzt(Menuepunkt::mnuKeineNullBeimSuchen) && nummer.startsWith(u'0'))
            nummer.remove(0, 1);

        const QString felder = m_t.suche.AusgewaehlteFelder();
        bool gesucht = false;
        bool imCache = false;
        if (clActDBF::OhneFelder(felder)) {
            // No phone field chosen: nobody can be found (a search without
            // a field would match every contact).
        } else if (anzeige.MenueGesetzt(Menuepunkt::mnuNummernCache)) {
            anzeige.setMeldung(u"Suche Kontakt im Nummerncache..."_s);
            anzeige.atmen();
            anzeige.setWartecursor(true);
            anzeige.atmen();
            stopuhr.Starten();
            cache = m_t.suche.CacheSuchen(felder, u"UNIQUE_ID,NAME,CITY"_s, nummer,
                                          [&anzeige](const QString &text) { anzeige.setCacheMeldung(text); });
            if (!cache.nutzbar) {
                anzeige.setWartecursor(false);
                m_t.dialogs.MsgBox(u"Fehler beim Zugriff auf Nummerncache-Datenbank: "_s + m_t.suche.CachePfad()
                                       + CRLF + u"Der Nummerncache wird deaktiviert."_s,
                                   Dialogs::Buttons::Ok, Dialogs::Icon::Information, Dialogs::defaultTitle());
                anzeige.NummernCacheAbschalten();
            } else {
                treffer = std::move(cache.treffer);
                gesucht = true;
                imCache = true;
            }
        } else if (m_t.suche.ACTBereit()) {
            actOffen = m_t.suche.ActDBF().init(m_t.suche.ACTDatenbank());
            if (actOffen) {
                anzeige.setMeldung(u"Suche Kontakt in ACT!-Datenbank..."_s);
                anzeige.atmen();
                anzeige.setWartecursor(true);
                anzeige.atmen();
                stopuhr.Starten();
                treffer = m_t.suche.ActDBF().Suche(felder, u"NAME,CITY"_s, nummer, u"OR"_s, false);
                gesucht = true;
            }
        }
        // Nobody with the number as the line gives it: the second search
        // compares keys, so that "030 / 123 45-67" or "+49 30 1234567" is found.
        // Only a key as long as a number the place look-up accepts: the key
        // drops everything but digits, and "**610" or "Tel 12" would name
        // whoever has those few digits somewhere in a number.
        QString schluessel
            = gesucht && treffer && treffer->Eof() ? clActDBF::Schluessel(gefiltert.nummer) : QString();
        if (schluessel.size() < MindestLaenge)
            schluessel.clear();
        if (!schluessel.isEmpty()) {
            treffer->Close();
            treffer.reset();
            if (imCache) {
                cache = m_t.suche.CacheSuchen(clActDBF::Schluesselfelder(felder), u"UNIQUE_ID,NAME,CITY"_s,
                                              schluessel,
                                              [&anzeige](const QString &text) { anzeige.setCacheMeldung(text); });
                treffer = std::move(cache.treffer);
            } else {
                treffer = m_t.suche.ActDBF().SchluesselSuche(felder, u"NAME,CITY"_s, schluessel);
            }
        }
        if (gesucht && treffer) {
            stopuhr.Stoppen();
            const QString dauer = u"Suchdauer1:"_s + QString::number(stopuhr.Dauer());
            anzeige.setSuchdauer(dauer);
            letzterAnruf += CRLF + dauer;
            anzeige.setWartecursor(false);
            anzeige.atmen();
            if (!treffer->Eof()) {
                setzeBildTag(verbunden ? BildGefundenVerbunden : BildGefunden,
                             IDInKlammern(treffer->Fields()[u"UNIQUE_ID"_s].Text()));
                const QString name = treffer->Fields()[u"NAME"_s].Text();
                setze(kontakt, name.isEmpty() ? u"Keine Angaben im ACT!"_s : name);
                const Field &stadt = treffer->Fields()[u"CITY"_s];
                if (!stadt.isNull())
                    setze(ort, stadt.Text());
                nichtGefunden = false;
                // The searches name no company (their statements stay as they are); one more look.
                if (m_firmaSuchen) {
                    const QString id = treffer->Fields()[u"UNIQUE_ID"_s].Text();
                    firma = imCache && cache.cache ? cache.cache->Firma(u"ACTNR"_s, id) : m_t.suche.ActDBF().Firma(id);
                }
            }
            anzeige.atmen();
        } else if (gesucht) {
            anzeige.setWartecursor(false);
        }
    }

    if (nichtGefunden) {
        setzeBildTag(verbunden ? BildUnbekanntVerbunden : BildUnbekannt, Unbekannt);
        setze(kontakt, Unbekannt);
        anzeige.atmen();
    }

    if (!nummer.isEmpty() && spalteText(kontakt) == Unbekannt) {
        QString name, freierOrt;
        try {
            if (!m_t.telefondaten.istOffen())
                throw JetFehler(JetFehler::ObjektUngueltig, u"Die Telefondatenbank Nummern.mdb ist nicht geöffnet."_s);
            m_t.telefondaten.SucheNameOrtAusFreierListe(nummer, name, freierOrt);
        } catch (const JetFehler &e) {
            fehler(u"freie Liste"_s, e.Number(), e.Description());
            schluss();
            return;
        }
        if (freierOrt != Unbekannt)
            setze(ort, freierOrt);
        if (spalteText(ort) == Suche)
            setze(ort, Unbekannt);
        setze(kontakt, name);
        setzeBildTag(verbunden ? BildUnbekanntVerbunden : BildUnbekannt, Unbekannt);
        anzeige.atmen();
    }

    anzeige.setMeldung(u"Anruf speichern ..."_s);
    anzeige.atmen();
    // More callers waiting: a burst, whose rows are committed together.
    const bool weitere = m_t.tapi.WartendeAnrufe() > 0;
    if (m_t.telefondaten.istOffen()) {
        const int i = liste.indexOf(schluessel);
        if (weitere)
            m_t.telefondaten.StapelBeginnen();
        if (i >= 0)
            m_t.telefondaten.schreibIteminMDB(liste, i);
    }
    anzeige.atmen();

    if (const int i = liste.indexOf(schluessel); i >= 0) {
        const ListItem &e = liste.Item(i);
        ErkannterAnruf erkannt;
        erkannt.nummer = e.Text;
        erkannt.ort = e.columnText(ort);
        erkannt.kontakt = e.columnText(kontakt);
        erkannt.tag = e.Tag;
        erkannt.firma = firma;
        erkannt.callId = CCallID;
        erkannt.eintrag = schluessel;
        erkannt.angerufen = e.Angerufen;
        erkannt.zeit = zeit;
        erkannt.verbunden = verbunden;
        if (m_nachtrag) {
            erkannt.nachgetragen = true;
            erkannt.verpasst = m_nachtrag->verpasst;
            erkannt.dauer = m_nachtrag->dauer;
        }
        emit Erkannt(erkannt);
    }

    // The similar contacts of a call the next one replaces at once are not looked for.
    if (!vorwahl.isEmpty() && !weitere && !m_nachtrag)
        m_t.aehnliche.SucheAehnlicheNummern(vorwahl, anschluss);
    schluss();
}
