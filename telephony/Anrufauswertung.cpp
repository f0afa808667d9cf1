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
    m_t.suche.setCachestatus([this](const QString &text) { m_t.anzeige.setCacheMeldung(text); });
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
    QString &letzterAnruf = m_t.ereignisse.LetzterAnruf;
    Anruferliste &liste = m_t.anruferliste;
    std::unique_ptr<Kontaktsuchlauf> suchlauf;

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
        suchlauf.reset();
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

    // The call, and its entry at the top of the list in the searching state.
    Anruf anruf;
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
    anzeige.atmen();
    if (!m_nachtrag) {
        anzeige.zeigeNeuenAnruf();
        m_t.aehnlicheListe.Clear();
    }
    anzeige.atmen();

    // Each step shows what it found in the call's entry at once.
    const auto zeige = [&] { liste.aktualisieren(anruf); };
    clStopuhr stopuhr([this] { return m_t.system.GetTickCount(); });

    if (nummer.size() >= MindestLaenge) {
        anzeige.setMeldung(u"Bestimme ORT und Vorwahl ..."_s);
        anzeige.atmen();
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
        anzeige.atmen();

        if (m_t.schalter.gesetzt(Optionsschalter::Schalter::KeineNullBeimSuchen) && nummer.startsWith(u'0'))
            nummer.remove(0, 1);

        // The search as the line gives the number, then the one that compares
        // keys, so that "030 / 123 45-67" or "+49 30 1234567" is found. Only
        // a key as long as a number the place look-up accepts: the key drops
        // everything but digits, and "**610" or "Tel 12" would name whoever
        // has those few digits somewhere in a number.
        QString schluessel = clActDBF::Schluessel(gefiltert.nummer);
        if (schluessel.size() < MindestLaenge)
            schluessel.clear();
        Kontaktquelle &quelle = m_t.suche.Quelle(m_t.schalter.gesetzt(Optionsschalter::Schalter::NummernCache));
        Kontaktquelle::Oeffnung offen = quelle.oeffnen();
        if (offen.zustand == Kontaktquelle::Oeffnung::Zustand::Abschalten) {
            m_t.dialogs.MsgBox(offen.meldung, Dialogs::Buttons::Ok, Dialogs::Icon::Information,
                               Dialogs::defaultTitle());
            anzeige.NummernCacheAbschalten();
        } else if (offen.lauf) {
            suchlauf = std::move(offen.lauf);
            anzeige.setMeldung(quelle.Suchmeldung());
            anzeige.atmen();
            anzeige.setWartecursor(true);
            anzeige.atmen();
            stopuhr.Starten();
            const Kontaktsuchlauf::Fund fund = suchlauf->erster(nummer, schluessel);
            if (fund.gelungen) {
                stopuhr.Stoppen();
                const QString dauer = u"Suchdauer1:"_s + QString::number(stopuhr.Dauer());
                anzeige.setSuchdauer(dauer);
                letzterAnruf += CRLF + dauer;
            }
            anzeige.setWartecursor(false);
            anzeige.atmen();
            if (fund.kontakt) {
                const Kontakt &k = *fund.kontakt;
                anruf.ergebnis = Anruf::Ergebnis::Erkannt;
                anruf.kontaktId = k.id;
                anruf.bild = m_nachtrag ? Anrufhinweis::BildNachgetragen
                                        : verbunden ? BildGefundenVerbunden : BildGefunden;
                anruf.name = k.name.isEmpty() ? u"Keine Angaben im ACT!"_s : k.name;
                if (k.ort)
                    anruf.ort = *k.ort;
                // The searches name no company (their statements stay as they are); one more look.
                if (m_firmaSuchen)
                    anruf.firma = suchlauf->firma(k.id);
                zeige();
                anzeige.atmen();
            }
        }
    }

    if (!anruf.erkannt()) {
        anruf.ergebnis = Anruf::Ergebnis::Unbekannt;
        // A call from the router's list keeps its own picture, whatever became of it.
        anruf.bild = m_nachtrag ? Anrufhinweis::BildNachgetragen : verbunden ? BildUnbekanntVerbunden : BildUnbekannt;
        anruf.name = Unbekannt;
        zeige();
        anzeige.atmen();
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
        anzeige.atmen();
    }

    anzeige.setMeldung(u"Anruf speichern ..."_s);
    anzeige.atmen();
    // More callers waiting: a burst, whose rows are committed together.
    const bool weitere = m_t.tapi.WartendeAnrufe() > 0;
    if (m_t.telefondaten.istOffen()) {
        if (weitere)
            m_t.telefondaten.StapelBeginnen();
        m_t.telefondaten.speichere(anruf);
    }
    anzeige.atmen();

    if (liste.enthaelt(anruf.eintrag))
        emit Erkannt(anruf);

    // The similar contacts of a call the next one replaces at once are not looked for.
    if (!anruf.vorwahl.isEmpty() && !weitere && !m_nachtrag)
        m_t.aehnliche.SucheAehnlicheNummern(anruf.vorwahl, anruf.anschluss);
    schluss();
}
