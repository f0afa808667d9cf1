#include "actcontrol/Protokollaufzeichnung.h"

#include "actcontrol/ACTBefehlsfenster.h"
#include "actcontrol/DiagnoseActcontrol.h"
#include "actcontrol/clACTApplication.h"
#include "actcontrol/clButtonGuard.h"
#include "actcontrol/modACTRunning.h"
#include "core/Anruferliste.h"
#include "core/ListViewModel.h"
#include "core/modHaupt.h"
#include "core/modOptionen.h"
#include "platform/dialogs/Dialogs.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// How long ACT! takes to show another contact.
constexpr int KontaktwechselMs = 2000;
constexpr int Warterunden = 12;
constexpr int HoechstePause = 60000;

// Marks a run, keeps a second one from starting inside the first (the
// message loop runs during the pauses), and keeps ACT!'s periodic check off
// until the run ends, however it ends.
class Lauf
{
public:
    Lauf(bool &laeuft, ACTBefehlsfenster &fenster)
        : m_laeuft(laeuft)
        , m_fenster(fenster)
    {
        m_laeuft = true;
    }
    ~Lauf()
    {
        if (m_timerAus)
            m_fenster.setACTPruefungAktiv(true);
        m_laeuft = false;
    }
    Lauf(const Lauf &) = delete;
    Lauf &operator=(const Lauf &) = delete;

    void timerAus()
    {
        if (!m_timerAus)
            m_fenster.setACTPruefungAktiv(false);
        m_timerAus = true;
    }

private:
    bool &m_laeuft;
    ACTBefehlsfenster &m_fenster;
    bool m_timerAus = false;
};

} // namespace

Protokollaufzeichnung::Protokollaufzeichnung(clACTApplication &act, Desktop &desktop, Dialogs &dialogs,
                                             const modOptionen &optionen, ACTBefehlsfenster &fenster)
    : m_act(act)
    , m_desktop(desktop)
    , m_dialogs(dialogs)
    , m_optionen(optionen)
    , m_fenster(fenster)
{
}

void Protokollaufzeichnung::wartenUndAtmen(int millisekunden)
{
    const QDeadlineTimer ende(millisekunden);
    while (!ende.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        const qint64 rest = ende.remainingTime();
        if (rest > 0)
            QThread::msleep(static_cast<unsigned long>(std::min<qint64>(rest, 5)));
    }
}

Protokollaufzeichnung::Anruf Protokollaufzeichnung::anrufAus(const ::Anruf &eintrag)
{
    Anruf a;
    // The moment as the list shows it.
    const QString datum = eintrag.Datumstext();
    const qsizetype blank = datum.indexOf(u' ');
    // A date without a time part types an empty time.
    a.datum = blank < 0 ? datum : datum.left(blank);
    a.zeit = blank < 0 ? QString() : datum.mid(blank + 1);
    a.nummer = eintrag.nummer;
    a.ort = eintrag.ort;
    if (eintrag.erkannt())
        a.kontakt = eintrag.name;
    return a;
}

bool Protokollaufzeichnung::vorbereiten(const Anruferliste &anrufe, const std::optional<::Anruf> &auswahl)
{
    if (anrufe.Anzahl() == 0) {
        m_fenster.setMeldung(u"Keine Einträge in Anruferliste!"_s);
        return false;
    }
    return auswahl.has_value();
}

void Protokollaufzeichnung::mnuACTProtokollAufzeichnen(const Anruferliste &anrufe,
                                                       const std::optional<::Anruf> &auswahl)
{
    if (m_laeuft || !vorbereiten(anrufe, auswahl))
        return;
    // The entry as chosen: a call that comes in meanwhile does not change it.
    const ::Anruf eintrag = *auswahl;
    const Anruf anruf = anrufAus(eintrag);
    Lauf lauf(m_laeuft, m_fenster);

    if (!actZeigtKontakt())
        return;
    lauf.timerAus();
    if (!eintrag.erkannt()) {
        const auto antwort = m_dialogs.MsgBox(
            u"Der Anrufer ist kein bekannter ACT!-Kontakt."_s + u"\r\n"_s
                + u"Soll beim aktuellen ACT!-Kontakt ein Protokolleintrag erzeugt werden?"_s,
            Dialogs::Buttons::YesNo, Dialogs::Icon::Question, Dialogs::defaultTitle());
        if (antwort != Dialogs::Answer::Yes) {
            m_fenster.setMeldung(QString());
            return;
        }
    } else {
        gehezu(eintrag.Tag());
    }
    aufzeichnen(anruf);
}

void Protokollaufzeichnung::mnuAehnlicheACTProtokollAufzeichnen(const Anruferliste &anrufe,
                                                                const std::optional<::Anruf> &auswahl,
                                                                const ListViewModel &lvKontakte, int kontaktAuswahl)
{
    if (m_laeuft || !vorbereiten(anrufe, auswahl))
        return;
    if (lvKontakte.Count() == 0) {
        m_fenster.setMeldung(u"Keine Einträge in Kontaktliste!"_s);
        return;
    }
    if (kontaktAuswahl < 0 || kontaktAuswahl >= lvKontakte.Count())
        return;
    Anruf anruf = anrufAus(*auswahl);
    const ListItem kontakt = lvKontakte.Item(kontaktAuswahl);
    const QString tag = kontakt.Tag;
    anruf.kontakt = kontakt.columnText(lvKontakte.columnByKey(u"Kontakt"_s));
    Lauf lauf(m_laeuft, m_fenster);

    if (!actZeigtKontakt())
        return;
    lauf.timerAus();
    gehezu(tag);
    aufzeichnen(anruf);
}

bool Protokollaufzeichnung::actZeigtKontakt()
{
    m_fenster.setMeldung(u"ACT!-Protokoll ..."_s);
    m_fenster.atmen();
    if (!m_act.ACTgestartet() || m_act.ACTDatenbank().isEmpty()) {
        m_fenster.setMeldung(u"Kein Zugriff auf ACT! möglich!"_s);
        return false;
    }
    if (m_act.AktuelleKontaktID().isEmpty()) {
        m_fenster.setMeldung(u"Keine Kontaktansicht in ACT!"_s);
        return false;
    }
    return true;
}

void Protokollaufzeichnung::gehezu(const QString &tag)
{
    const QString id = IDAusKlammern(tag);
    if (id == m_act.AktuelleKontaktID())
        return;
    m_act.gehezuKonatkt(id);
    m_fenster.atmen();
    m_fenster.warten(KontaktwechselMs);
}

bool Protokollaufzeichnung::tippe(const QString &tasten)
{
    const Tastenfolge folge = modACTRunning::Tippe(m_desktop, tasten);
    if (folge.fehlerfrei())
        return true;
    // A fault of the macro says where it lies; keys the desktop did not take
    // say where the entry stopped.
    if (m_tastenfehler.isEmpty() && folge.nichtGetippt)
        m_tastenfehler = u"Protokolleintrag abgebrochen bei „"_s + tasten + u"“: "_s + folge.fehler;
    else if (m_tastenfehler.isEmpty())
        m_tastenfehler = u"Fehler in der Tastenfolge „"_s + tasten + u"“ bei Zeichen "_s
                         + QString::number(folge.fehlerStelle) + u": "_s + folge.fehler;
    qCWarning(lcActcontrol) << "Protokoll:" << folge.fehler << "in" << tasten;
    return !folge.nichtGetippt;
}

bool Protokollaufzeichnung::dialogPasst(const clButtonGuard &dialog, Fenster fenster, const Anruf &anruf)
{
    // A description that matches the program's own window would have the
    // macro typed into the program itself.
    if (!fenster || m_desktop.VomEigenenProgramm(fenster)) {
        m_fenster.setMeldung(u"Protokollfenster konnte nicht geöffnet werden."_s);
        m_fenster.atmen();
        return false;
    }
    // ACT! names the contact after the dialog's text; an entry for this call
    // must not land at another contact.
    const QString titel = modACTRunning::Puffertext(m_desktop, fenster);
    if (anruf.kontakt.isEmpty() || dialog.ParentText.trimmed().isEmpty()
        || !titel.startsWith(dialog.ParentText, Qt::CaseInsensitive))
        return true;
    const QString genannt = titel.mid(dialog.ParentText.size()).trimmed();
    if (genannt.isEmpty() || genannt.compare(anruf.kontakt.trimmed(), Qt::CaseInsensitive) == 0)
        return true;
    m_fenster.setMeldung(u"Das Protokollfenster gilt „"_s + genannt + u"“, nicht „"_s + anruf.kontakt.trimmed()
                 + u"“: nichts eingetragen."_s);
    qCWarning(lcActcontrol) << "Protokollfenster für" << genannt << "statt" << anruf.kontakt;
    m_fenster.atmen();
    return false;
}

void Protokollaufzeichnung::aufzeichnen(const Anruf &anruf)
{
    m_tastenfehler.clear();
    // Clamped while still a number: a huge value must neither wrap nor make a
    // pause that never ends (a minute between keys is already absurd).
    const int pause = static_cast<int>(
        std::clamp(m_optionen.leseZahl(u"ProtokollSendKeyIntervall"_s), 0.0, double(HoechstePause)));
    const QString aufruf = m_optionen.leseText(u"ProtokollAufruf"_s);
    const QString makro = m_optionen.leseText(u"ProtokollSendKeys"_s);
    const QString kennung = m_optionen.leseText(u"ProtokollFensterKennung"_s);

    clButtonGuard dialog(m_desktop);
    if (!dialog.SetConfiguration(kennung))
        return;
    if (!dialog.WindowExist()) {
        m_act.Zeigen();
        m_fenster.atmen();
        m_fenster.warten(pause);
        if (!tippe(aufruf)) {
            m_fenster.setMeldung(m_tastenfehler);
            m_fenster.atmen();
            return;
        }
        m_fenster.atmen();
        m_fenster.warten(pause);
        bool offen = false;
        for (int runde = 0; runde < Warterunden && !offen; ++runde) {
            m_fenster.setMeldung(runde % 2 == 0 ? u"Warte auf Protokollfenster .."_s
                                                : u"Warte auf Protokollfenster ..."_s);
            m_fenster.atmen();
            offen = dialog.WindowExist();
            if (!offen) {
                m_fenster.warten(2 * pause);
                m_fenster.atmen();
            }
        }
        if (!offen && !dialog.WindowExist()) {
            m_fenster.setMeldung(u"Protokollfenster konnte nicht geöffnet werden."_s);
            m_fenster.atmen();
            return;
        }
    }
    // The window the keys go to: the dialog around the control found, not
    // whatever window's caption begins with the description's text.
    const Fenster fenster = modACTRunning::Oberfenster(m_desktop, dialog.GefundenesFenster());
    if (!dialogPasst(dialog, fenster, anruf))
        return;
    m_fenster.setMeldung(u"Protokollfenster geöffnet..."_s);
    m_fenster.atmen();
    m_desktop.Aktiviere(fenster);
    m_fenster.atmen();

    for (const QString &eintrag : makro.split(u'|')) {
        const QString platzhalter = eintrag.toLower();
        bool getippt = true;
        if (platzhalter == u"%date"_s || platzhalter == u"%datum"_s)
            getippt = tippe(anruf.datum.trimmed());
        else if (platzhalter == u"%time"_s || platzhalter == u"%uhrzeit"_s)
            getippt = tippe(anruf.zeit.trimmed());
        else if (platzhalter == u"%number"_s || platzhalter == u"%nummer"_s)
            getippt = tippe(anruf.nummer.trimmed());
        else if (platzhalter == u"%city"_s || platzhalter == u"%ort"_s)
            getippt = tippe(anruf.ort.trimmed());
        else if (!eintrag.isEmpty())
            getippt = tippe(eintrag);
        // The rest of a macro that went astray would land who knows where.
        if (!getippt)
            break;
        m_fenster.atmen();
        m_fenster.warten(pause);
    }
    // A fault in the keys stays in view; otherwise the status is cleared.
    m_fenster.setMeldung(m_tastenfehler);
    m_fenster.atmen();
}
