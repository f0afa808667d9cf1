#include "telephony/Anrufauswertung.h"

#include "actdb/clActDBF.h"
#include "core/Anruferliste.h"
#include "core/Kontaktquelle.h"
#include "core/ListViewModel.h"
#include "core/modHaupt.h"
#include "core/Optionsschalter.h"
#include "core/modOptionen.h"
#include "phonedb/clRufmonDaten.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/jet/JetFehler.h"
#include "platform/system/SystemFacilities.h"
#include "platform/telephony/topTapi.h"
#include "telephony/AehnlicheNummern.h"
#include "telephony/Anrufhinweis.h"
#include "telephony/Anrufereignisse.h"
#include "telephony/Auswertungsanzeige.h"
#include "telephony/DiagnoseTelefonie.h"
#include "telephony/Kontaktsuche.h"
#include "telephony/Nummernaufbereitung.h"
#include "telephony/Nummernbefehle.h"
#include "telephony/clStopuhr.h"

#include <utility>

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
    // The cache reports from the search thread; the window hears it here.
    m_t.suche.setCachestatus([this](const QString &text) {
        QMetaObject::invokeMethod(this, [this, text] { m_t.anzeige.setCacheMeldung(text); }, Qt::AutoConnection);
    });
    connect(&m_t.aehnliche, &AehnlicheNummern::Beendet, this, [this] {
        if (std::exchange(m_wartetAufAehnliche, false))
            schluss();
    });
}

Anrufauswertung::~Anrufauswertung()
{
    // A search under way answers this object: it must not find it gone.
    m_t.suche.Thread().abwarten();
}

void Anrufauswertung::Anrufer(const QString &CNumber, const QString &, const QString &CPartyID, std::int32_t CCallID,
                              std::int32_t)
{
    // A second caller while one is identified is not taken.
    if (m_laeuft)
        return;
    ausfuehren(CNumber, CPartyID, false, CCallID, m_t.tapi.Ereigniszeit(), true);
}

void Anrufauswertung::VerbundeneNummer(const QString &CNumber, std::int32_t CCallID, std::int32_t CCallHandle)
{
    if (m_laeuft) {
        // Taken up once the running identification has ended.
        m_wartend = {true, CNumber, CCallID, CCallHandle, m_t.tapi.Ereigniszeit()};
        return;
    }
    ausfuehren(CNumber, u"<ADDRESS>"_s, true, CCallID, m_t.tapi.Ereigniszeit(), false);
}

bool Anrufauswertung::Nachtragen(const Nachtrag &anruf)
{
    if (m_laeuft)
        return false;
    m_nachtrag = anruf;
    ausfuehren(anruf.nummer, u"<ADDRESS>"_s, false, 0, anruf.zeit, false);
    return true;
}

void Anrufauswertung::wartendeAufnehmen()
{
    if (m_wartend.markiert && !m_laeuft) {
        m_wartend.markiert = false;
        ausfuehren(m_wartend.CNumber, u"<ADDRESS>"_s, true, m_wartend.CCallID, m_wartend.zeit, false);
    }
}

void Anrufauswertung::fehler(const QString &schritt, long nummer, const QString &beschreibung)
{
    qCWarning(lcTelefonie).noquote() << u"Anrufauswertung (%1): %2 %3"_s.arg(schritt, QString::number(nummer), beschreibung);
    m_t.dialogs.MsgBox(u"Fehler bei der Anrufauswertung ("_s + schritt + u")."_s + CRLF + u"Fehlernummer: "_s
                           + QString::number(nummer) + CRLF + u"Fehlerbeschreibung: "_s + beschreibung,
                       Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
}

// Every path ends here: the line, the button, the timer and the panel as before.
void Anrufauswertung::schluss()
{
    Auswertungsanzeige &anzeige = m_t.anzeige;
    anzeige.setAnrufeWartend(m_t.tapi.WartendeAnrufe() > 0);
    m_t.tapi.setEventsEnabled(true);
    anzeige.setMonitorKnopfAktiv(true);
    anzeige.setMeldung(QString());
    anzeige.setWartecursor(false);
    anzeige.setACTPruefungAktiv(true);
    // The last call of a burst stores the rows of those before it.
    if (m_t.tapi.WartendeAnrufe() == 0)
        m_t.telefondaten.StapelBeenden();
    if (m_lauf.vonAnrufer && m_t.ereignisse.lSuche > 0)
        --m_t.ereignisse.lSuche;
    m_lauf = {};
    m_nachtrag.reset();
    m_laeuft = false;
    emit Beendet();
    wartendeAufnehmen();
}

void Anrufauswertung::ausfuehren(const QString &CNumber, const QString &CPartyID, bool verbunden,
                                 std::int32_t CCallID, const QDateTime &zeit, bool vonAnrufer)
{
    Auswertungsanzeige &anzeige = m_t.anzeige;
    m_laeuft = true;
    m_lauf = {};
    m_lauf.verbunden = verbunden;
    // The caller's event counts as handled until the identification ends:
    // another caller's event meanwhile is dropped unseen, as inside it.
    m_lauf.vonAnrufer = vonAnrufer;
    if (vonAnrufer)
        ++m_t.ereignisse.lSuche;
    QString &letzterAnruf = m_t.ereignisse.LetzterAnruf;
    Anruferliste &liste = m_t.anruferliste;

    anzeige.setAnrufeWartend(m_t.tapi.WartendeAnrufe() > 0);

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

    if (nummer.isEmpty()) {
        m_t.dialogs.MsgBox(u"Ihr Tapi-Treiber meldet einen Anruf mit Telefonnummer,"_s + CRLF
                             + u"jedoch wurde keine Nummer an Rufmon übergeben."_s + CRLF
                             + u"Die Nummer wird auf '0' gesetzt."_s,
                         Dialogs::Buttons::Ok, Dialogs::Icon::Information, Dialogs::defaultTitle());
        nummer = u"0"_s;
    }
    letzterAnruf += u"Gefilterte Nummer:"_s + nummer + CRLF;

    // The call, and its entry at the top of the list in the searching state.
    Anruf &anruf = m_lauf.anruf;
    anruf.geliefert = CNumber;
    anruf.callId = CCallID;
    anruf.verbunden = verbunden;
    anruf.zeit = zeit;
    anruf.angerufen = m_nachtrag ? m_nachtrag->angerufen : m_t.ereignisse.AngerufeneNummer(CCallID);
    if (m_nachtrag) {
        anruf.nachgetragen = true;
        anruf.verpasst = m_nachtrag->verpasst;
        anruf.dauer = m_nachtrag->dauer;
    }
    anruf.nummer = nummer;
    anruf.ort = Suche;
    anruf.name = Suche;
    anruf.bild = BildSuche;
    anruf.eintrag = liste.hinzufuegen(anruf);
    if (!m_nachtrag) {
        anzeige.zeigeNeuenAnruf();
        m_t.aehnlicheListe.Clear();
    }

    if (nummer.size() < MindestLaenge) {
        m_lauf.nummer = nummer;
        nachSuche();
        return;
    }
    anzeige.setMeldung(u"Bestimme ORT und Vorwahl ..."_s);
    QString platz;
    try {
        if (!m_t.telefondaten.istOffen())
            throw JetFehler(JetFehler::ObjektUngueltig, u"Die Telefondatenbank Nummern.mdb ist nicht geöffnet."_s);
        m_t.telefondaten.BestimmeVorwahlAnschlussOrtLand(nummer, anruf.laendervorwahl, anruf.vorwahl,
                                                         anruf.anschluss, anruf.land, platz);
    } catch (const JetFehler &e) {
        fehler(u"Ort und Vorwahl"_s, e.Number(), e.Description());
        schluss();
        return;
    }
    if (!anruf.laendervorwahl.isEmpty()) {
        platz = anruf.land + u'/' + platz;
        nummer.remove(0, m_t.optionen.leseText(u"InternationaleKennung"_s).size() + anruf.laendervorwahl.size());
    }
    anruf.ort = platz;
    zeige();

    if (m_t.schalter.gesetzt(Optionsschalter::Schalter::KeineNullBeimSuchen) && nummer.startsWith(u'0'))
        nummer.remove(0, 1);
    m_lauf.nummer = nummer;

    // The search as the line gives the number, then the one that compares
    // keys, so that "030 / 123 45-67" or "+49 30 1234567" is found. Only
    // a key as long as a number the place look-up accepts: the key drops
    // everything but digits, and "**610" or "Tel 12" would name whoever
    // has those few digits somewhere in a number.
    m_lauf.schluessel = clActDBF::Schluessel(gefiltert.nummer);
    if (m_lauf.schluessel.size() < MindestLaenge)
        m_lauf.schluessel.clear();
    suchen();
}

void Anrufauswertung::suchen()
{
    Kontaktquelle &quelle = m_t.suche.Quelle(m_t.schalter.gesetzt(Optionsschalter::Schalter::NummernCache));
    const QString suchmeldung = quelle.Suchmeldung();
    const SystemFacilities &system = m_t.system;
    m_t.suche.Thread().ausfuehren(this, [this, &quelle, &system, suchmeldung, nummer = m_lauf.nummer,
                                         schluessel = m_lauf.schluessel,
                                         firmaSuchen = m_firmaSuchen](Suchthread::Bote &bote) {
        Suchergebnis e;
        Kontaktquelle::Oeffnung offen = quelle.oeffnen();
        e.zustand = offen.zustand;
        e.meldung = offen.meldung;
        if (offen.lauf) {
            bote.melden([this, suchmeldung] { geoeffnet(suchmeldung); });
            clStopuhr stopuhr([&system] { return system.GetTickCount(); });
            stopuhr.Starten();
            e.fund = offen.lauf->erster(nummer, schluessel);
            stopuhr.Stoppen();
            e.dauer = stopuhr.Dauer();
            // The searches name no company (their statements stay as they are); one more look.
            if (e.fund.kontakt && firmaSuchen)
                e.firma = offen.lauf->firma(e.fund.kontakt->id);
        }
        // Closed on the thread that used it.
        offen.lauf.reset();
        bote.melden([this, e] { gesucht(e); });
    });
}

void Anrufauswertung::geoeffnet(const QString &suchmeldung)
{
    m_lauf.sucheGezeigt = true;
    m_t.anzeige.setMeldung(suchmeldung);
    m_t.anzeige.setWartecursor(true);
}

void Anrufauswertung::gesucht(const Suchergebnis &e)
{
    Auswertungsanzeige &anzeige = m_t.anzeige;
    Anruf &anruf = m_lauf.anruf;
    if (e.zustand == Kontaktquelle::Oeffnung::Zustand::Abschalten) {
        m_t.dialogs.MsgBox(e.meldung, Dialogs::Buttons::Ok, Dialogs::Icon::Information, Dialogs::defaultTitle());
        anzeige.NummernCacheAbschalten();
    } else if (std::exchange(m_lauf.sucheGezeigt, false)) {
        if (e.fund.gelungen) {
            const QString dauer = u"Suchdauer1:"_s + QString::number(e.dauer);
            anzeige.setSuchdauer(dauer);
            m_t.ereignisse.LetzterAnruf += CRLF + dauer;
        }
        anzeige.setWartecursor(false);
        if (e.fund.kontakt) {
            const Kontakt &k = *e.fund.kontakt;
            anruf.ergebnis = Anruf::Ergebnis::Erkannt;
            anruf.kontaktId = k.id;
            anruf.bild = m_nachtrag ? Anrufhinweis::BildNachgetragen
                                    : m_lauf.verbunden ? BildGefundenVerbunden : BildGefunden;
            anruf.name = k.name.isEmpty() ? u"Keine Angaben im ACT!"_s : k.name;
            if (k.ort)
                anruf.ort = *k.ort;
            if (m_firmaSuchen)
                anruf.firma = e.firma;
            zeige();
        }
    }
    nachSuche();
}

void Anrufauswertung::nachSuche()
{
    Anruf &anruf = m_lauf.anruf;
    const QString &nummer = m_lauf.nummer;
    if (!anruf.erkannt()) {
        anruf.ergebnis = Anruf::Ergebnis::Unbekannt;
        // A call from the router's list keeps its own picture, whatever became of it.
        anruf.bild = m_nachtrag ? Anrufhinweis::BildNachgetragen
                                : m_lauf.verbunden ? BildUnbekanntVerbunden : BildUnbekannt;
        anruf.name = Unbekannt;
        zeige();
    }

    if (!nummer.isEmpty() && anruf.name == Unbekannt) {
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
            anruf.ort = freierOrt;
        if (anruf.ort == Suche)
            anruf.ort = Unbekannt;
        anruf.name = name;
        zeige();
    }

    m_t.anzeige.setMeldung(u"Anruf speichern ..."_s);
    // More callers waiting: a burst, whose rows are committed together.
    const bool weitere = m_t.tapi.WartendeAnrufe() > 0;
    if (m_t.telefondaten.istOffen()) {
        if (weitere)
            m_t.telefondaten.StapelBeginnen();
        m_t.telefondaten.speichere(anruf);
    }

    if (m_t.anruferliste.enthaelt(anruf.eintrag))
        emit Erkannt(anruf);

    // The similar contacts of a call the next one replaces at once are not
    // looked for; the line waits for their search as for the call's own.
    if (!anruf.vorwahl.isEmpty() && !weitere && !m_nachtrag
        && m_t.aehnliche.SucheAehnlicheNummern(anruf.vorwahl, anruf.anschluss)) {
        m_wartetAufAehnliche = true;
        return;
    }
    schluss();
}

// Each step shows what it found in the call's entry at once.
void Anrufauswertung::zeige()
{
    m_t.anruferliste.aktualisieren(m_lauf.anruf);
}
