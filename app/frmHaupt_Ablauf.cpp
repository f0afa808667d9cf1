// Start-up, timer tick and exit of the main window, and the options it
// reads at start and writes at exit.
#include "app/frmHaupt.h"
#include "windows/Anruferlistenansicht.h"

#include "app/DiagnoseApp.h"
#include "platform/system/Autostart.h"

#include "windows/ListView.h"
#include "windows/StatusPanel.h"
#include "app/Teilsysteme.h"
#include "app/frmStatus.h"
#include "telephony/Leitungssteuerung.h"
#include "windows/modListviewSort.h"
#include "platform/settings/SettingsStore.h"
#include "platform/system/SystemFacilities.h"
#include "platform/telephony/topTapi.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString Fenster = u"Window"_s;

// Exit steps must not stop each other: whatever one throws is dropped.
template <typename Schritt>
void trotzdem(Schritt schritt)
{
    try {
        schritt();
    } catch (const std::exception &e) {
        qCWarning(lcApp) << "Schritt beim Beenden fehlgeschlagen:" << e.what();
    } catch (...) {
        qCWarning(lcApp) << "Schritt beim Beenden fehlgeschlagen";
    }
}

} // namespace

int frmHaupt::leseFensterwert(const QString &key, int standard) const
{
    const QString text = m_store.GetSetting(Fenster, key, QString::number(standard)).trimmed();
    bool ok = false;
    const double wert = text.toDouble(&ok);
    if (!ok || !std::isfinite(wert) || std::fabs(wert) > 1e9)
        return standard;
    return static_cast<int>(std::lround(wert));
}

void frmHaupt::platziereFenster()
{
    int links = leseFensterwert(u"Left"_s, 100);
    int oben = leseFensterwert(u"Top"_s, 100);
    const int hoehe = leseFensterwert(u"Height"_s, 6540);
    const int breite = leseFensterwert(u"Width"_s, 7575);
    const QSize bildschirm = m_system.ScreenSizePixels();
    if (links < 0 || links > twX(bildschirm.width()))
        links = 0;
    if (oben < 0 || oben > twY(bildschirm.height()))
        oben = 0;
    resize(std::max(1, pxX(breite)), std::max(1, pxY(hoehe)));
    // The stored corner is the frame's, and the frame goes back there.
    const QPoint gegeben(pxX(links), pxY(oben));
    const QPoint rahmen = titelleisteSichtbar(gegeben);
    move(rahmen);
    if (rahmen.x() != gegeben.x())
        links = static_cast<int>(std::lround(twX(rahmen.x())));
    if (rahmen.y() != gegeben.y())
        oben = static_cast<int>(std::lround(twY(rahmen.y())));
    m_gegebenTwips = QRect(links, oben, breite, hoehe);
    m_gegebenPixel = QRect(rahmen, size());
}

QPoint frmHaupt::titelleisteSichtbar(QPoint rahmen) const
{
    const QRect frei = m_system.AvailableGeometryPixels();
    if (frei.isEmpty())
        return rahmen;
    // The frame is not known before the desktop has put one round the
    // window; the style's title bar height stands in for it.
    const int titel = std::max(style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this), fontMetrics().height());
    const int rechts = std::max(frei.left(), frei.right() + 1 - width());
    const int unten = std::max(frei.top(), frei.bottom() + 1 - titel);
    return QPoint(std::clamp(rahmen.x(), frei.left(), rechts), std::clamp(rahmen.y(), frei.top(), unten));
}

frmStatus *frmHaupt::Statusfenster() const
{
    return m_status;
}

frmStatus *frmHaupt::StatusfensterZeigen(const QString &ueberschrift)
{
    if (!m_status)
        m_status = new frmStatus(this);
    m_status->setHauptInfo(ueberschrift);
    m_status->show();
    return m_status;
}

void frmHaupt::StatusfensterSchliessen()
{
    if (m_status)
        m_status->close();
    delete m_status;
}

void frmHaupt::Form_Load()
{
    // Placed before the status window, its child, makes the window known to
    // the desktop: a window moved before that is placed by its frame, as
    // its corner is saved; one moved after puts its inside there and its
    // title bar above it.
    platziereFenster();
    m_status = new frmStatus(this);
    m_status->setHauptInfo(u"wird gestartet..."_s);
    m_status->show();
    atmen();

    Form_Resize();
    setzeSpaltenbreiten();

    m_status->setInfo(u"TAPI-Initialisierung"_s);
    atmen();
    m_tapi.Initialize();
    atmen();

    m_status->setInfo(u"Nummern.mdb einlesen"_s);
    atmen();
    m_teilsysteme.TelefondatenOeffnen(m_system.ProgramFolder() + u"/Nummern.mdb"_s);
    modListviewSort::SortColumn(*m_lvNummern, m_lvNummern->Modell().columnByKey(u"Datum"_s), false);

    m_leitungsteile->Leitung().GeraetelisteFuellen();

    m_status->setInfo(u"Telefonfelder einlesen"_s);
    atmen();
    m_teilsysteme.TelefonfelderLaden();

    m_status->setInfo(u"ACT!-Monitor initialisieren"_s);
    atmen();
    m_teilsysteme.ACTMonitorInitialisieren();

    OptionenInMenues();

    if (m_cbxAddress->count() > 0)
        m_cbxAddress->setCurrentIndex(0);

    if (m_status)
        m_status->close();
    delete m_status;
    m_schalter.setzen(Optionsschalter::Schalter::Telefonieprotokoll, false);
    m_timerACT.setInterval(TimerACTIntervall);
}

void frmHaupt::OptionenInMenues()
{
    using S = Optionsschalter::Schalter;
    // The options as stored; the menus follow them.
    m_schalter.laden();
    AutoAktivierenOffen = m_schalter.gesetzt(S::MonitorAutomatisch);
    Menu(Menuepunkt::mnuAutostart)->setChecked(Autostart::eingerichtet());
    MinimierenOffen = m_schalter.gesetzt(S::FensterMinimieren);

    const QString prefix = m_optionen.leseText(u"Prefix"_s);
    Menu(Menuepunkt::mnuTapiNull)->setText(u"Präfix ("_s + prefix + u") hin&zufügen"_s);
    Menu(Menuepunkt::mnuTAPINullEntfernen)->setText(u"Präfix ("_s + prefix + u") ent&fernen"_s);
    Menu(Menuepunkt::mnuTapiNullAendern)->setText(u"Präfix ("_s + prefix + u") än&dern"_s);

    m_teilsysteme.NummernCacheVorbereiten(m_optionen.leseText(u"CacheMDB"_s));

    if (!m_schalter.gesetzt(S::NummernCache)) {
        SchalteNummernCache(false);
    } else {
        m_teilsysteme.ErstelleNummernCache();
        SchalteNummernCache(true);
    }

    // Showing or hiding the similar-numbers pane follows its option at once.
    Form_Resize();
}

void frmHaupt::TimerACT_Timer()
{
    m_teilsysteme.PruefeACTDatenbank();
    if (AutoAktivierenOffen) {
        AutoAktivierenOffen = false;
        m_cmdInitTapi->click();
    }
    if (MinimierenOffen) {
        MinimierenOffen = false;
        if (!isMinimized())
            showMinimized();
    }
}

void frmHaupt::FensterSpeichern()
{
    const QRect twips = FensterTwips();
    m_store.SaveSetting(Fenster, u"Left"_s, QString::number(twips.x()));
    m_store.SaveSetting(Fenster, u"Top"_s, QString::number(twips.y()));
    m_store.SaveSetting(Fenster, u"Height"_s, QString::number(twips.height()));
    m_store.SaveSetting(Fenster, u"Width"_s, QString::number(twips.width()));
    m_store.SaveSetting(Fenster, u"Visible"_s,
                        m_teilsysteme.ACTBereit() ? u"True"_s : u"False"_s);
}

void frmHaupt::OptionenSpeichern()
{
    m_optionen.schreibOption(u"TapiDevice"_s, m_cbxTapiDevices->currentText());
    m_schalter.speichern();
}

void frmHaupt::Form_Unload()
{
    if (m_entladen)
        return;
    m_entladen = true;
    m_timerACT.setEnabled(false);

    trotzdem([&] { m_teilsysteme.TelefonieprotokollSchliessen(); });
    trotzdem([&] { m_leitungsteile->Leitung().Beenden(); });
    trotzdem([&] {
        if (MonitorAktiv()) {
            m_tapi.CloseLine();
            atmen();
            m_tapi.ReleaseLine();
            atmen();
        }
    });
    trotzdem([&] {
        m_tapi.Shutdown();
        atmen();
    });
    trotzdem([&] {
        m_teilsysteme.TelefondatenSchliessen();
        atmen();
    });
    trotzdem([&] {
        // A window in the tray keeps the place it had on the screen.
        if (!isMinimized() || ImInfobereich())
            FensterSpeichern();
    });
    trotzdem([&] { OptionenSpeichern(); });
    trotzdem([&] { m_teilsysteme.TelefonfelderSchliessen(); });
    trotzdem([&] {
        for (const QString &key : {u"ProtokollAufruf"_s, u"ProtokollSendKeys"_s,
                                   u"ProtokollSendKeyIntervall"_s, u"ProtokollFensterKennung"_s})
            m_optionen.schreibOption(key, m_optionen.leseOption(key));
    });
    trotzdem([&] { m_teilsysteme.NummernCacheEntfernen(); });
    trotzdem([&] { m_store.sync(); });
    emit Entladen();
}

void frmHaupt::closeEvent(QCloseEvent *event)
{
    // An identification in progress lets the window breathe; closing now
    // would close the phone database under it and lose the call. The window
    // closes as soon as the call is stored.
    if (m_teilsysteme.AuswertungLaeuft()) {
        m_schliessenVorgemerkt = true;
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void frmHaupt::AuswertungBeendet()
{
    if (std::exchange(m_schliessenVorgemerkt, false))
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void frmHaupt::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // A restored window is laid out again; a minimised one never is.
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        Form_Resize();
    // With a system tray, minimised means hidden there. The window keeps its
    // minimised state while hidden: on X11 a state changed now would map the
    // window again behind the program's back, a frame with nothing in it.
    // Hervorholen changes it together with showing the window.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && m_insInfobereich)
        QMetaObject::invokeMethod(this, [this] {
            if (isMinimized() && m_insInfobereich)
                hide();
        }, Qt::QueuedConnection);
}

void frmHaupt::Hervorholen()
{
    // Out of the minimised state and shown in one go; a maximised window stays maximised.
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}
