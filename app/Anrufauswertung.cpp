#include "app/Anrufauswertung.h"

#include "actdb/frmTelefonfelder.h"
#include "app/ListView.h"
#include "app/Programmteile.h"
#include "app/StatusPanel.h"
#include "app/frmHaupt.h"
#include "app/modHaupt.h"
#include "app/modListviewSort.h"
#include "app/modScrollTo.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/Recordset.h"
#include "platform/registry/RegionalSettings.h"
#include "platform/system/SystemFacilities.h"
#include "platform/telephony/topTapi.h"
#include "telephony/Nummernaufbereitung.h"
#include "telephony/Nummernbefehle.h"
#include "telephony/clStopuhr.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QWindow>

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

Anrufauswertung::Anrufauswertung(frmHaupt &fenster, Programmteile &teile, topTapi &tapi, Dialogs &dialogs,
                                 const SystemFacilities &system)
    : m_fenster(fenster)
    , m_teile(teile)
    , m_tapi(tapi)
    , m_dialogs(dialogs)
    , m_system(system)
{
}

void Anrufauswertung::zeige(const QString &text)
{
    m_fenster.Panel(3)->setText(text);
}

void Anrufauswertung::nachVorne()
{
    if (m_fenster.isMinimized())
        m_fenster.showNormal();
    m_fenster.raise();
    m_fenster.activateWindow();
    // Topmost for a moment, so the call is seen over other windows; no move, no resize.
    if (QWindow *w = m_fenster.windowHandle()) {
        w->setFlag(Qt::WindowStaysOnTopHint, true);
        m_fenster.atmen();
        w->setFlag(Qt::WindowStaysOnTopHint, false);
    }
}

void Anrufauswertung::fehler(const QString &schritt, long nummer, const QString &beschreibung)
{
    m_dialogs.MsgBox(u"Fehler bei der Anrufauswertung ("_s + schritt + u")."_s + CRLF + u"Fehlernummer: "_s
                         + QString::number(nummer) + CRLF + u"Fehlerbeschreibung: "_s + beschreibung,
                     Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
}

void Anrufauswertung::ausfuehren(const QString &CNumber, const QString &, const QString &CPartyID, std::int32_t,
                                 std::int32_t, bool verbunden)
{
    modHaupt &haupt = modHaupt::instance();
    haupt.AuswertungLaeuft = true;
    bool nichtGefunden = true;
    QString &letzterAnruf = m_fenster.Ereignisse().LetzterAnruf;
    ListViewModel &liste = m_fenster.lvNummern()->Items();
    std::unique_ptr<Recordset> treffer;
    Programmteile::Cachetreffer cache;
    bool actOffen = false;
    quint64 schluessel = 0;

    // Every path ends here: the line, the button, the timer and the panel as before.
    const auto schluss = [&] {
        m_tapi.setEventsEnabled(true);
        m_fenster.cmdInitTapi()->setEnabled(true);
        zeige(QString());
        QApplication::restoreOverrideCursor();
        m_fenster.atmen();
        m_fenster.TimerACT().setEnabled(true);
        if (treffer)
            treffer->Close();
        treffer.reset();
        cache = {};
        if (actOffen)
            m_teile.ActDBF().kill();
        haupt.AuswertungLaeuft = false;
        m_fenster.AuswertungBeendet();
    };

    const Nummernaufbereitung::Ergebnis gefiltert
        = Nummernaufbereitung::aufbereiten(CNumber, CPartyID, m_fenster.Nummern().Einstellungen());
    if (gefiltert.ignoriert) {
        letzterAnruf += CRLF + u"Nummernfilter:"_s + gefiltert.filterTreffer;
        schluss();
        return;
    }
    QString nummer = gefiltert.nummer;

    m_fenster.TimerACT().setEnabled(false);
    nachVorne();
    m_tapi.setEventsEnabled(false);
    m_fenster.cmdInitTapi()->setEnabled(false);
    m_fenster.atmen();

    if (nummer.isEmpty()) {
        m_dialogs.MsgBox(u"Ihr Tapi-Treiber meldet einen Anruf mit Telefonnummer,"_s + CRLF
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
        eintrag.SubItems = {RegionalSettings::DateTimeText(QDateTime::currentDateTime()), Suche, Suche};
        eintrag.SmallIcon = BildSuche;
        const int pos = liste.Add(eintrag);
        schluessel = liste.Item(pos).Schluessel;
    }
    m_fenster.atmen();
    const int datum = liste.columnByKey(u"Datum"_s);
    if (datum >= 0 && liste.columns()[datum].IconKey != u"Leer"_s && !liste.columns()[datum].IconKey.isEmpty())
        modListviewSort::SortColumn(*m_fenster.lvNummern(), datum, false);
    else if (m_fenster.lvNummern()->Sorted())
        m_fenster.lvNummern()->sortByText();
    ScrollTo(*m_fenster.lvNummern(), 0);
    m_fenster.lvNummern()->setSelectedIndex(0);
    m_fenster.lvKontakte()->Items().Clear();
    m_fenster.atmen();

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
        e.SmallIcon = bild;
        e.Tag = tag;
        liste.setItem(i, e);
    };
    const int ort = m_fenster.Spaltennummer(u"Ort"_s);
    const int kontakt = m_fenster.Spaltennummer(u"Kontakt"_s);

    QString laendervorwahl, vorwahl, anschluss, land, platz;
    clStopuhr stopuhr([this] { return m_system.GetTickCount(); });

    if (nummer.size() >= MindestLaenge) {
        zeige(u"Bestimme ORT und Vorwahl ..."_s);
        m_fenster.atmen();
        try {
            clRufmonDaten *daten = m_teile.Telefondaten();
            if (!daten)
                throw JetFehler(JetFehler::ObjektUngueltig, u"Die Telefondatenbank Nummern.mdb ist nicht geöffnet."_s);
            daten->BestimmeVorwahlAnschlussOrtLand(nummer, laendervorwahl, vorwahl, anschluss, land, platz);
        } catch (const JetFehler &e) {
            fehler(u"Ort und Vorwahl"_s, e.Number(), e.Description());
            schluss();
            return;
        }
        if (!laendervorwahl.isEmpty()) {
            platz = land + u'/' + platz;
            nummer.remove(0, m_fenster.Optionen().leseText(u"InternationaleKennung"_s).size() + laendervorwahl.size());
        }
        setze(ort, platz);
        m_fenster.atmen();

        if (m_fenster.MenueGesetzt(u"mnuKeineNullBeimSuchen"_s) && nummer.startsWith(u'0'))
            nummer.remove(0, 1);

        const QString felder = m_teile.Telefonfelder() ? m_teile.Telefonfelder()->AusgewaehlteFelder() : QString();
        bool gesucht = false;
        if (clActDBF::OhneFelder(felder)) {
            // No phone field chosen: nobody can be found (a search without
            // a field would match every contact).
        } else if (m_fenster.MenueGesetzt(u"mnuNummernCache"_s)) {
            zeige(u"Suche Kontakt im Nummerncache..."_s);
            m_fenster.atmen();
            QApplication::setOverrideCursor(Qt::WaitCursor);
            m_fenster.atmen();
            stopuhr.Starten();
            cache = m_teile.CacheSuchen(felder, u"UNIQUE_ID,NAME,CITY"_s, nummer);
            if (!cache.nutzbar) {
                QApplication::restoreOverrideCursor();
                m_dialogs.MsgBox(u"Fehler beim Zugriff auf Nummerncache-Datenbank: "_s + haupt.CachePfad + CRLF
                                     + u"Der Nummerncache wird deaktiviert."_s,
                                 Dialogs::Buttons::Ok, Dialogs::Icon::Information, Dialogs::defaultTitle());
                m_fenster.SchalteNummernCache(false);
            } else {
                treffer = std::move(cache.treffer);
                gesucht = true;
            }
        } else if (haupt.ACTBereit) {
            actOffen = m_teile.ActDBF().init(m_teile.ACTApp().ACTDatenbank());
            if (actOffen) {
                zeige(u"Suche Kontakt in ACT!-Datenbank..."_s);
                m_fenster.atmen();
                QApplication::setOverrideCursor(Qt::WaitCursor);
                m_fenster.atmen();
                stopuhr.Starten();
                treffer = m_teile.ActDBF().Suche(felder, u"NAME,CITY"_s, nummer, u"OR"_s, false);
                gesucht = true;
            }
        }
        if (gesucht && treffer) {
            stopuhr.Stoppen();
            const QString dauer = u"Suchdauer1:"_s + QString::number(stopuhr.Dauer());
            m_fenster.lbID()->setToolTip(dauer);
            letzterAnruf += CRLF + dauer;
            QApplication::restoreOverrideCursor();
            m_fenster.atmen();
            if (!treffer->Eof()) {
                setzeBildTag(verbunden ? BildGefundenVerbunden : BildGefunden,
                             IDInKlammern(treffer->Fields()[u"UNIQUE_ID"_s].Text()));
                const QString name = treffer->Fields()[u"NAME"_s].Text();
                setze(kontakt, name.isEmpty() ? u"Keine Angaben im ACT!"_s : name);
                const Field &stadt = treffer->Fields()[u"CITY"_s];
                if (!stadt.isNull())
                    setze(ort, stadt.Text());
                nichtGefunden = false;
            }
            m_fenster.atmen();
        } else if (gesucht) {
            QApplication::restoreOverrideCursor();
        }
    }

    if (nichtGefunden) {
        setzeBildTag(verbunden ? BildUnbekanntVerbunden : BildUnbekannt, Unbekannt);
        setze(kontakt, Unbekannt);
        m_fenster.atmen();
    }

    if (!nummer.isEmpty() && spalteText(kontakt) == Unbekannt) {
        QString name, freierOrt;
        try {
            clRufmonDaten *daten = m_teile.Telefondaten();
            if (!daten)
                throw JetFehler(JetFehler::ObjektUngueltig, u"Die Telefondatenbank Nummern.mdb ist nicht geöffnet."_s);
            daten->SucheNameOrtAusFreierListe(nummer, name, freierOrt);
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
        m_fenster.atmen();
    }

    zeige(u"Anruf speichern ..."_s);
    m_fenster.atmen();
    if (clRufmonDaten *daten = m_teile.Telefondaten()) {
        const int i = liste.indexOf(schluessel);
        if (i >= 0)
            daten->schreibIteminMDB(liste, i);
    }
    m_fenster.atmen();

    if (!vorwahl.isEmpty())
        m_teile.SucheAehnlicheNummern(vorwahl, anschluss);
    schluss();
}
