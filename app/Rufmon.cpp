#include "app/Rufmon.h"

#include "platform/system/Ortszeit.h"

#include "app/Infobereich.h"
#include "app/Teamanbindung.h"
#include "app/frmHaupt.h"
#include "core/Desktopeinstellungen.h"
#include "platform/telephony/TelephonyControl.h"

#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace {

// The program ends with its main window: what it opened besides (the contact
// card, the telephony log, a list or box still up) goes with it.
void schliesseAndereFenster(const QWidget *hauptfenster)
{
    // Closing one window may delete others on the list (its own dialogs, a
    // window it owns), so each is held by a guard that notices.
    QList<QPointer<QWidget>> fenster;
    for (QWidget *w : QApplication::topLevelWidgets())
        fenster.append(w);
    for (const QPointer<QWidget> &w : std::as_const(fenster)) {
        if (!w || w == hauptfenster || !w->isVisible())
            continue;
        if (auto *dialog = qobject_cast<QDialog *>(w))
            dialog->reject();
        else
            w->close();
    }
}

} // namespace

namespace {

// Before anything reads a time: the caller list converts one per call.
bool ortszeitFest()
{
    Ortszeit::festhalten();
    return true;
}

} // namespace

Rufmon::Rufmon(const RufmonUmgebung &u)
    : m_ortszeitFest(ortszeitFest())
    , m_teile(u.dialogs, u.clipboard, u.store, u.system, u.desktop)
{
    m_fenster = std::make_unique<frmHaupt>(frmHauptUmgebung{u.store, u.dialogs, u.clipboard, u.system, u.tapi, m_teile, m_teile.Schalter()});
    // Every window of the program carries its icon, those made without a
    // parent too (the contact card, the phone-field selection).
    QApplication::setWindowIcon(QIcon(u":/icons/rufmon.svg"_s));
    frmHaupt *hauptfenster = m_fenster.get();
    QObject::connect(hauptfenster, &frmHaupt::Entladen, hauptfenster,
                     [hauptfenster] { schliesseAndereFenster(hauptfenster); });
    m_teile.verbinde(*m_fenster, u.tapi, u.benachrichtigungen);
    m_infobereich = std::make_unique<Infobereich>(*m_fenster, u.tapi, Desktopeinstellungen(u.store).Infobereich());
    m_team = std::make_unique<Teamanbindung>(
        Teamanbindung::Teile{u.store, u.dialogs, u.kennwoerter, u.tapi, *m_fenster, m_teile});
    QObject::connect(m_team.get(), &Teamanbindung::ZustandGeaendert, m_infobereich.get(), &Infobereich::setZusatz);
    if (auto *steuerung = qobject_cast<TelephonyControl *>(&u.tapi)) {
        steuerung->setEinstellungen(&m_einstellungen);
        // What the devices note beyond call events goes to the telephony log.
        frmHaupt *fenster = m_fenster.get();
        QObject::connect(steuerung, &TelephonyControl::Diagnose, fenster, [fenster](const QString &text) {
            if (fenster->Protokolliert())
                fenster->PrintProtokoll(u"Diagnose"_s, text);
        });
    }
}

Rufmon::~Rufmon()
{
    // The window goes first: closing it still uses the subsystems.
    m_team.reset();
    m_infobereich.reset();
    m_fenster.reset();
}

void Rufmon::starten()
{
    m_fenster->Form_Load();
    m_team->Gestartet(m_teile.Telefondaten());
    m_teile.StartAbgeschlossen();
    m_fenster->show();
}

int Rufmon::laufen()
{
    if (m_fenster->IstEntladen())
        return 0;
    // The main window decides, not the last window: one hidden in the tray
    // has not closed, and one closed ends the program whatever else is open.
    QApplication::setQuitOnLastWindowClosed(false);
    const QMetaObject::Connection ende = QObject::connect(m_fenster.get(), &frmHaupt::Entladen, qApp,
                                                          &QCoreApplication::quit, Qt::QueuedConnection);
    const int ergebnis = QApplication::exec();
    QObject::disconnect(ende);
    return ergebnis;
}
