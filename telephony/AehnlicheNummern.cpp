#include "telephony/AehnlicheNummern.h"

#include "core/Kontaktquelle.h"
#include "core/Anruf.h"
#include "core/ListViewModel.h"
#include "core/modHaupt.h"
#include "core/Optionsschalter.h"
#include "core/modOptionen.h"
#include "phonedb/clRufmonDaten.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/jet/JetFehler.h"
#include "platform/system/SystemFacilities.h"
#include "telephony/Anrufereignisse.h"
#include "telephony/Auswertungsanzeige.h"
#include "telephony/Kontaktsuche.h"
#include "telephony/clStopuhr.h"


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

AehnlicheNummern::AehnlicheNummern(const Teile &teile, QObject *parent)
    : QObject(parent)
    , m_t(teile)
{
}

AehnlicheNummern::~AehnlicheNummern()
{
    // A search under way answers this object: it must not find it gone.
    m_t.suche.Thread().abwarten();
}

void AehnlicheNummern::mnuSuche_aehnliche(const std::optional<Anruf> &auswahl)
{
    if (!auswahl)
        return;
    if (!m_t.telefondaten.istOffen())
        return;
    QString laendervorwahl, vorwahl, anschluss, land, ort;
    try {
        m_t.telefondaten.BestimmeVorwahlAnschlussOrtLand(auswahl->nummer, laendervorwahl, vorwahl,
                                                         anschluss, land, ort);
    } catch (const JetFehler &e) {
        m_t.dialogs.MsgBox(u"Fehler "_s + mitVorzeichenstelle(e.Number()) + u": "_s + e.Description(),
                         Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
        return;
    }
    SucheAehnlicheNummern(vorwahl, anschluss);
}

bool AehnlicheNummern::SucheAehnlicheNummern(const QString &Vorwahl, const QString &Anschluss)
{
    if (m_laeuft || !m_t.schalter.gesetzt(Optionsschalter::Schalter::AehnlicheNummern) || Anschluss.size() < MindestAnschluss)
        return false;
    m_laeuft = true;
    suche(Vorwahl, Anschluss);
    return true;
}

void AehnlicheNummern::suche(const QString &Vorwahl, const QString &Anschluss)
{
    Auswertungsanzeige &anzeige = m_t.anzeige;
    ListViewModel &kontakte = m_t.kontakte;

    anzeige.setACTPruefungAktiv(false);
    kontakte.Clear();
    m_anfang = u"("_s + Vorwahl + u") "_s + Anschluss.left(AngezeigteStellen) + u"..."_s;
    ListItem platzhalter;
    platzhalter.Text = u"Suche nach "_s + m_anfang;
    kontakte.Add(platzhalter);

    // Clamped while still a number: a huge value must not wrap round to 0.
    const int stellen = static_cast<int>(
        std::clamp(m_t.optionen.leseZahl(u"Stellen"_s), 0.0, double(Anschluss.size())));
    anzeige.setMeldung(u"Suche ähnliche Nummern ..."_s);
    QString schluessel = Vorwahl;
    if (m_t.schalter.gesetzt(Optionsschalter::Schalter::KeineNullBeimSuchen) && schluessel.startsWith(u'0'))
        schluessel.remove(0, 1);
    schluessel += Anschluss.left(std::max(0, stellen));
    anzeige.setWartecursor(true);

    // The search as the numbers are written, then the one on their keys,
    // which adds the contacts whose numbers are written otherwise ("030 1234599").
    Kontaktquelle &quelle = m_t.suche.Quelle(m_t.schalter.gesetzt(Optionsschalter::Schalter::NummernCache));
    const SystemFacilities &system = m_t.system;
    m_t.suche.Thread().ausfuehren(this, [this, &quelle, &system, schluessel](Suchthread::Bote &bote) {
        Ergebnis e;
        clStopuhr stopuhr([&system] { return system.GetTickCount(); });
        stopuhr.Starten();
        Kontaktquelle::Oeffnung offen = quelle.oeffnen();
        if (offen.lauf) {
            e.gefunden = offen.lauf->aehnliche(schluessel);
            offen.lauf.reset();
        }
        stopuhr.Stoppen();
        e.zustand = offen.zustand;
        e.meldung = offen.meldung;
        e.dauer = stopuhr.Dauer();
        bote.melden([this, e] { gesucht(e); });
    });
}

void AehnlicheNummern::gesucht(const Ergebnis &e)
{
    Auswertungsanzeige &anzeige = m_t.anzeige;
    ListViewModel &kontakte = m_t.kontakte;
    const int nummerSpalte = kontakte.columnByKey(u"Nummer"_s);
    const auto kopf = [&](const QString &text) {
        auto spalten = kontakte.columns();
        spalten[nummerSpalte].Text = text;
        kontakte.setColumns(spalten);
    };
    if (e.zustand == Kontaktquelle::Oeffnung::Zustand::Abschalten) {
        m_t.dialogs.MsgBox(e.meldung, Dialogs::Buttons::Ok, Dialogs::Icon::Information, Dialogs::defaultTitle());
        anzeige.NummernCacheAbschalten();
    }

    const Kontaktsuchlauf::Aehnliche &gefunden = e.gefunden;
    const long n = gefunden.anzahl;
    if (gefunden.gesucht) {
        anzeige.setSuchdauer(anzeige.Suchdauer() + u" Suchdauer2:"_s + mitVorzeichenstelle(e.dauer));
        m_t.ereignisse.LetzterAnruf += CRLF + u"Suchdauer2:"_s + mitVorzeichenstelle(e.dauer);
    }
    if (n > 0 || !gefunden.treffer.isEmpty()) {
        kontakte.Clear();
        kopf(u"Nummer "_s + m_anfang);
        const int kontaktSpalte = kontakte.columnByKey(u"Kontakt"_s);
        const int firmaSpalte = kontakte.columnByKey(u"Firma"_s);
        std::vector<ListItem> eintraege;
        eintraege.reserve(gefunden.treffer.size());
        for (const Kontaktsuchlauf::Aehnlicher &a : std::as_const(gefunden.treffer)) {
            ListItem eintrag;
            eintrag.Text = u'[' + a.bezeichnung + u"] "_s + a.nummer;
            eintrag.Tag = IDInKlammern(a.kontakt.id);
            eintrag.setColumnText(kontaktSpalte, a.kontakt.name);
            eintrag.setColumnText(firmaSpalte, a.kontakt.firma);
            eintraege.push_back(std::move(eintrag));
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

    anzeige.setWartecursor(false);
    anzeige.setACTPruefungAktiv(true);
    m_laeuft = false;
    emit Beendet();
}
