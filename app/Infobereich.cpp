#include "app/Infobereich.h"

#include "app/frmHaupt.h"
#include "windows/StatusPanel.h"
#include "platform/telephony/topTapi.h"

#include <QMenu>
#include <QSystemTrayIcon>

#include <utility>

using namespace Qt::StringLiterals;

Infobereich::Infobereich(frmHaupt &fenster, topTapi &tapi, bool an, QObject *parent)
    : QObject(parent)
    , m_fenster(fenster)
    , m_menue(std::make_unique<QMenu>())
{
    m_menue->setObjectName(u"mnuInfobereich"_s);
    m_anzeigen = m_menue->addAction(u"Rufmon anzeigen"_s, &fenster, &frmHaupt::Hervorholen);
    m_anzeigen->setObjectName(u"mnuInfobereichAnzeigen"_s);
    m_tapi = m_menue->addAction(u"Tapimonitor aktivieren"_s, this,
                                [this] { m_fenster.Menu(Menuepunkt::mnuTAPI)->trigger(); });
    m_tapi->setObjectName(u"mnuInfobereichTapi"_s);
    m_menue->addSeparator();
    m_beenden = m_menue->addAction(u"Beenden"_s, this, [this] { m_fenster.Menu(Menuepunkt::mnuBeenden)->trigger(); });
    m_beenden->setObjectName(u"mnuInfobereichBeenden"_s);

    connect(&fenster, &frmHaupt::MonitorGeaendert, this, &Infobereich::zustandZeigen);
    connect(fenster.Panel(frmHaupt::Statusfeld::Telefon), &StatusPanel::TextGeaendert, this,
            &Infobereich::zustandZeigen);
    connect(&tapi, &topTapi::AnrufKommt, this, [this] { klingeln(true); });
    connect(&tapi, &topTapi::Klingelt, this, [this] { klingeln(true); });
    connect(&tapi, &topTapi::Abgenommen, this, [this] { klingeln(false); });
    connect(&tapi, &topTapi::Beendet, this, [this] { klingeln(false); });

    zustandZeigen();
    if (an) {
        pruefeTray();
        connect(&m_suche, &QTimer::timeout, this, &Infobereich::pruefeTray);
        m_suche.start(Suchintervall);
    }
}

Infobereich::~Infobereich() = default;

void Infobereich::pruefeTray()
{
    const bool tray = QSystemTrayIcon::isSystemTrayAvailable();
    if (tray && !m_symbol)
        symbolZeigen();
    else if (!tray && m_symbol)
        symbolEntfernen();
}

void Infobereich::symbolZeigen()
{
    m_symbol = new QSystemTrayIcon(this);
    m_symbol->setContextMenu(m_menue.get());
    connect(m_symbol, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason grund) {
        if (grund == QSystemTrayIcon::Trigger)
            Klick();
    });
    // A hidden main window is not a closed one: the program runs on
    // until the window's exit sequence (Rufmon::laufen).
    m_fenster.setInsInfobereich(true);
    zustandZeigen();
    m_symbol->show();
}

void Infobereich::symbolEntfernen()
{
    const bool versteckt = m_fenster.ImInfobereich();
    m_fenster.setInsInfobereich(false);
    delete std::exchange(m_symbol, nullptr);
    // Without the tray a window hidden there could not be reached: it goes
    // to the task bar. Shown first and minimised then, for the desktop maps
    // a hidden window as it was last shown, whatever state it is given now.
    if (versteckt && !m_fenster.IstEntladen()) {
        m_fenster.setWindowState(m_fenster.windowState() & ~Qt::WindowMinimized);
        m_fenster.show();
        m_fenster.showMinimized();
    }
}

Infobereich::Zustand Infobereich::zustand() const
{
    if (!m_fenster.MonitorAktiv())
        return Zustand::Aus;
    return m_klingelt ? Zustand::Klingelt : Zustand::Aktiv;
}

QIcon Infobereich::Symbol() const
{
    switch (zustand()) {
    case Zustand::Aus:
        return QIcon(u":/icons/rufmon_aus.svg"_s);
    case Zustand::Klingelt:
        return QIcon(u":/icons/rufmon_klingelt.svg"_s);
    case Zustand::Aktiv:
        break;
    }
    return QIcon(u":/icons/rufmon.svg"_s);
}

void Infobereich::klingeln(bool klingelt)
{
    m_klingelt = klingelt;
    zustandZeigen();
}

void Infobereich::zustandZeigen()
{
    const bool aktiv = m_fenster.MonitorAktiv();
    if (!aktiv)
        m_klingelt = false;
    m_tapi->setText(aktiv ? u"Tapimonitor deaktivieren"_s : u"Tapimonitor aktivieren"_s);
    if (!m_symbol)
        return;
    m_symbol->setIcon(Symbol());
    m_symbol->setToolTip(ToolTip());
}

QString Infobereich::ToolTip() const
{
    const QString telefon = m_fenster.TelefonText();
    QString tip = telefon.isEmpty() ? u"Rufmon"_s : u"Rufmon\n"_s + telefon;
    if (!m_zusatz.isEmpty())
        tip += u'\n' + m_zusatz;
    return tip;
}

void Infobereich::setZusatz(const QString &text)
{
    m_zusatz = text;
    zustandZeigen();
}

void Infobereich::Klick()
{
    if (m_fenster.isVisible() && !m_fenster.isMinimized())
        m_fenster.hide();
    else
        m_fenster.Hervorholen();
}
