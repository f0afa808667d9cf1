#include "app/AehnlicheNummern.h"

#include "actdb/frmTelefonfelder.h"
#include "app/ListView.h"
#include "app/Programmteile.h"
#include "app/StatusPanel.h"
#include "app/frmHaupt.h"
#include "app/modHaupt.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/Recordset.h"
#include "platform/system/SystemFacilities.h"
#include "telephony/clStopuhr.h"

#include <QApplication>

#include <algorithm>
#include <QLabel>
#include <QScopedValueRollback>

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

AehnlicheNummern::AehnlicheNummern(frmHaupt &fenster, Programmteile &teile, Dialogs &dialogs,
                                   const SystemFacilities &system)
    : m_fenster(fenster)
    , m_teile(teile)
    , m_dialogs(dialogs)
    , m_system(system)
{
}

void AehnlicheNummern::mnuSuche_aehnliche()
{
    ListView *liste = m_fenster.lvNummern();
    const int i = liste->SelectedIndex();
    if (liste->Items().Count() == 0 || i < 0)
        return;
    clRufmonDaten *daten = m_teile.Telefondaten();
    if (!daten)
        return;
    QString laendervorwahl, vorwahl, anschluss, land, ort;
    try {
        daten->BestimmeVorwahlAnschlussOrtLand(liste->Items().Item(i).Text, laendervorwahl, vorwahl, anschluss, land,
                                               ort);
    } catch (const JetFehler &e) {
        m_dialogs.MsgBox(u"Fehler "_s + mitVorzeichenstelle(e.Number()) + u": "_s + e.Description(),
                         Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
        return;
    }
    SucheAehnlicheNummern(vorwahl, anschluss);
}

void AehnlicheNummern::SucheAehnlicheNummern(const QString &Vorwahl, const QString &Anschluss)
{
    if (m_laeuft || !m_fenster.MenueGesetzt(u"mnuAutoNummern"_s) || Anschluss.size() < MindestAnschluss)
        return;
    const QScopedValueRollback<bool> lauf(m_laeuft, true);
    suche(Vorwahl, Anschluss);
}

void AehnlicheNummern::suche(const QString &Vorwahl, const QString &Anschluss)
{
    modHaupt &haupt = modHaupt::instance();
    ListViewModel &kontakte = m_fenster.lvKontakte()->Items();
    const int nummerSpalte = kontakte.columnByKey(u"Nummer"_s);
    const auto kopf = [&](const QString &text) {
        auto spalten = kontakte.columns();
        spalten[nummerSpalte].Text = text;
        kontakte.setColumns(spalten);
    };

    m_fenster.TimerACT().setEnabled(false);
    kontakte.Clear();
    const QString anfang = u"("_s + Vorwahl + u") "_s + Anschluss.left(AngezeigteStellen) + u"..."_s;
    ListItem platzhalter;
    platzhalter.Text = u"Suche nach "_s + anfang;
    kontakte.Add(platzhalter);

    // Clamped while still a number: a huge value must not wrap round to 0.
    const int stellen = static_cast<int>(
        std::clamp(m_fenster.Optionen().leseZahl(u"Stellen"_s), 0.0, double(Anschluss.size())));
    m_fenster.Panel(3)->setText(u"Suche ähnliche Nummern ..."_s);
    QString schluessel = Vorwahl;
    if (m_fenster.MenueGesetzt(u"mnuKeineNullBeimSuchen"_s) && schluessel.startsWith(u'0'))
        schluessel.remove(0, 1);
    schluessel += Anschluss.left(std::max(0, stellen));
    QApplication::setOverrideCursor(Qt::WaitCursor);

    const QString felder = m_teile.Telefonfelder() ? m_teile.Telefonfelder()->AusgewaehlteFelder() : QString();
    clStopuhr stopuhr([this] { return m_system.GetTickCount(); });
    Programmteile::Cachetreffer cache;
    std::unique_ptr<Recordset> ergebnis;
    // A table access of its own: the caller identification may run while
    // this search breathes, and opens and closes the shared one.
    clActDBF dbf(m_dialogs, m_teile.Zwischenablage(), m_fenster.Optionen());
    bool actOffen = false;
    bool gesucht = false;
    if (clActDBF::OhneFelder(felder)) {
        // No phone field chosen: no contact is similar (a search without a
        // field would list every one).
    } else if (m_fenster.MenueGesetzt(u"mnuNummernCache"_s)) {
        stopuhr.Starten();
        cache = m_teile.CacheSuchen(felder, u"UNIQUE_ID,NAME,COMPANY"_s, schluessel);
        stopuhr.Stoppen();
        if (!cache.nutzbar) {
            m_dialogs.MsgBox(u"Fehler beim Zugriff auf Nummerncache-Datenbank: "_s + haupt.CachePfad + CRLF
                                 + u"Der Nummerncache wird deaktiviert."_s,
                             Dialogs::Buttons::Ok, Dialogs::Icon::Information, Dialogs::defaultTitle());
            m_fenster.SchalteNummernCache(false);
        } else {
            ergebnis = std::move(cache.treffer);
            gesucht = true;
        }
    } else if (haupt.ACTBereit) {
        actOffen = dbf.init(m_teile.ACTApp().ACTDatenbank());
        if (actOffen) {
            stopuhr.Starten();
            ergebnis = dbf.Suche(felder, u"NAME,COMPANY"_s, schluessel, u"OR"_s, false);
            stopuhr.Stoppen();
            gesucht = true;
        }
    }

    long n = 0;
    if (gesucht) {
        m_fenster.lbID()->setToolTip(m_fenster.lbID()->toolTip() + u" Suchdauer2:"_s
                                     + mitVorzeichenstelle(stopuhr.Dauer()));
        m_fenster.Ereignisse().LetzterAnruf += CRLF + u"Suchdauer2:"_s + mitVorzeichenstelle(stopuhr.Dauer());
    }
    if (ergebnis && !ergebnis->Eof()) {
        kontakte.Clear();
        ergebnis->MoveLast();
        n = ergebnis->RecordCount();
        ergebnis->MoveFirst();
        kopf(u"Nummer "_s + anfang);
        m_fenster.atmen();
        const int kontaktSpalte = kontakte.columnByKey(u"Kontakt"_s);
        const int firmaSpalte = kontakte.columnByKey(u"Firma"_s);
        std::vector<ListItem> eintraege;
        while (!ergebnis->Eof()) {
            const ::Fields &f = ergebnis->Fields();
            int spalte = -1;
            for (int j = 0; j < f.Count(); ++j) {
                if (!f[j].isNull() && f[j].Text().contains(schluessel)) {
                    spalte = j;
                    break;
                }
            }
            if (spalte >= 0) {
                const QString wert = f[spalte].Text();
                // A value without a blank is shown whole; a column that is no phone
                // field shows its own name as the label.
                QString label = m_teile.Telefonfelder() ? m_teile.Telefonfelder()->Bezeichnung(f[spalte].Name())
                                                        : QString();
                if (label.isEmpty())
                    label = f[spalte].Name();
                const qsizetype blank = wert.indexOf(u' ');
                ListItem e;
                e.Text = u'[' + label + u"] "_s + (blank < 0 ? wert : wert.left(blank));
                e.Tag = IDInKlammern(f[u"UNIQUE_ID"_s].Text());
                e.setColumnText(kontaktSpalte, f.indexOf(u"NAME"_s) >= 0 ? f[u"NAME"_s].Text() : QString());
                e.setColumnText(firmaSpalte, f.indexOf(u"COMPANY"_s) >= 0 ? f[u"COMPANY"_s].Text() : QString());
                eintraege.push_back(std::move(e));
            }
            ergebnis->MoveNext();
        }
        kontakte.AddMany(std::move(eintraege));
    }
    if (n > 0) {
        m_fenster.Panel(3)->setText(QString::number(n) + u" Eingträg(e) gefunden"_s);
    } else {
        m_fenster.Panel(3)->setText(u"Keine Einträge gefunden."_s);
        kopf(u"Nummer"_s);
        m_fenster.Panel(3)->setText(u"Keine ähnlichen Nummern gefunden"_s);
        kontakte.Clear();
    }

    m_fenster.atmen();
    if (ergebnis)
        ergebnis->Close();
    ergebnis.reset();
    cache = {};
    QApplication::restoreOverrideCursor();
    if (actOffen)
        dbf.kill();
    m_fenster.TimerACT().setEnabled(true);
    m_fenster.atmen();
}
