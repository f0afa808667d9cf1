#include "platform/telephony/RouterSeite.h"

#include "platform/telephony/CallMonitorDevice.h"
#include "platform/telephony/Endpunkt.h"
#include "platform/telephony/Leitungseinrichtung.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

using namespace Qt::StringLiterals;

RouterSeite::RouterSeite(const QHostAddress &ziel, quint16 zielPort, int suchdauerMs, QWidget *parent)
    : Leitungsseite(parent)
    , m_liste(new QListWidget(this))
    , m_suchen(new QPushButton(u"Erneut &suchen"_s, this))
    , m_suchstand(new QLabel(this))
    , m_adresse(new QLineEdit(this))
    , m_port(new QSpinBox(this))
    , m_pruefen(new QPushButton(u"&Verbindung prüfen"_s, this))
    , m_pruefung(new QLabel(this))
{
    setObjectName(u"routerSeite"_s);
    m_suche.setZiel(ziel, zielPort);
    m_suche.setSuchdauerMs(suchdauerMs);
    m_liste->setObjectName(u"routerListe"_s);
    m_suchen->setObjectName(u"suchen"_s);
    m_suchstand->setObjectName(u"suchstand"_s);
    m_suchstand->setWordWrap(true);
    m_adresse->setObjectName(u"adresse"_s);
    m_adresse->setPlaceholderText(u"192.168.178.1"_s);
    m_port->setObjectName(u"port"_s);
    m_port->setRange(1, 65535);
    m_port->setValue(CallMonitorDevice::DefaultPort);
    m_pruefen->setObjectName(u"pruefen"_s);
    m_pruefung->setObjectName(u"pruefung"_s);
    m_pruefung->setWordWrap(true);
    m_pruefung->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    auto *listeLabel = new QLabel(u"Gefundene &Router:"_s, this);
    listeLabel->setBuddy(m_liste);
    auto *kopf = new QHBoxLayout;
    kopf->addWidget(listeLabel, 1);
    kopf->addWidget(m_suchen);
    form->addRow(kopf);
    form->addRow(m_liste);
    form->addRow(m_suchstand);
    auto *adresseLabel = new QLabel(u"A&dresse des Routers:"_s, this);
    adresseLabel->setBuddy(m_adresse);
    form->addRow(adresseLabel, m_adresse);
    auto *portLabel = new QLabel(u"&Port des Anrufmonitors:"_s, this);
    portLabel->setBuddy(m_port);
    auto *portzeile = new QHBoxLayout;
    portzeile->addWidget(m_port);
    portzeile->addStretch(1);
    portzeile->addWidget(m_pruefen);
    form->addRow(portLabel, portzeile);
    form->addRow(m_pruefung);

    connect(&m_suche, &RouterSuche::geaendert, this, &RouterSeite::zeigeRouter);
    connect(&m_suche, &RouterSuche::beendet, this, &RouterSeite::zeigeRouter);
    connect(m_suchen, &QPushButton::clicked, this, &RouterSeite::suchen);
    connect(m_liste, &QListWidget::currentItemChanged, this, &RouterSeite::gewaehlt);
    connect(m_adresse, &QLineEdit::textChanged, this, [this] {
        m_pruefen->setEnabled(!host().isEmpty());
        emit geaendert();
    });
    // A typed address is tried once the typing is done.
    connect(m_adresse, &QLineEdit::editingFinished, this, [this] {
        if (!host().isEmpty() && Endpunkt{host(), quint16(m_port->value())}.text() != m_geprueft)
            pruefen();
    });
    connect(m_pruefen, &QPushButton::clicked, this, &RouterSeite::pruefen);
    connect(&m_probe, &Verbindungsprobe::ergebnis, this, &RouterSeite::geprueft);
    m_pruefen->setEnabled(false);
    // Once the window is up: the search must not hold up its opening.
    QTimer::singleShot(0, this, &RouterSeite::suchen);
}

QString RouterSeite::TextAbgewiesen(const QString &host, quint16 port)
{
    return u"%1 nimmt auf Port %2 keine Verbindung an: Der Anrufmonitor des Routers ist ausgeschaltet. Auf vielen "
           u"Routern schalten Sie ihn ein, indem Sie an einem angeschlossenen Telefon #96*5* wählen; danach "
           u"„Verbindung prüfen“."_s.arg(host, QString::number(port));
}

QString RouterSeite::host() const
{
    return Endpunkt::hostname(m_adresse->text());
}

bool RouterSeite::fertig() const
{
    return !host().isEmpty();
}

QString RouterSeite::speichern(Leitungseinrichtung &einrichtung)
{
    return einrichtung.anrufmonitor({host(), static_cast<quint16>(m_port->value())});
}

void RouterSeite::suchen()
{
    m_suche.starten();
    zeigeRouter();
}

void RouterSeite::zeigeRouter()
{
    const QString gewaehlt = m_liste->currentItem() ? m_liste->currentItem()->data(Qt::UserRole).toString() : QString();
    {
        const QSignalBlocker still(m_liste);
        m_liste->clear();
        for (const RouterSuche::Router &r : m_suche.router()) {
            auto *eintrag = new QListWidgetItem(r.name.isEmpty() ? r.adresse : u"%1 (%2)"_s.arg(r.name, r.adresse), m_liste);
            eintrag->setData(Qt::UserRole, r.adresse);
            if (r.adresse == gewaehlt)
                m_liste->setCurrentItem(eintrag);
        }
    }
    const qsizetype anzahl = m_suche.router().size();
    m_suchen->setEnabled(!m_suche.laeuft());
    if (m_suche.laeuft())
        m_suchstand->setText(u"Router im Netz werden gesucht …"_s);
    else if (anzahl == 0)
        m_suchstand->setText(u"Kein Router gefunden. Tragen Sie seine Adresse unten ein."_s);
    else
        m_suchstand->setText(u"%1 Router gefunden."_s.arg(anzahl));
}

void RouterSeite::gewaehlt(QListWidgetItem *eintrag)
{
    if (!eintrag)
        return;
    m_adresse->setText(eintrag->data(Qt::UserRole).toString());
    pruefen();
}

void RouterSeite::pruefen()
{
    const QString h = host();
    if (h.isEmpty())
        return;
    const auto port = static_cast<quint16>(m_port->value());
    m_geprueft = Endpunkt{h, port}.text();
    m_pruefung->setText(u"Verbindung zu %1 wird geprüft …"_s.arg(m_geprueft));
    m_probe.pruefen(h, port);
}

void RouterSeite::geprueft(Verbindungsprobe::Ergebnis ergebnis, const QString &grund)
{
    const Endpunkt ziel = Endpunkt::lies(m_geprueft, CallMonitorDevice::DefaultPort).value_or(Endpunkt{});
    switch (ergebnis) {
    case Verbindungsprobe::Ergebnis::Offen:
        m_pruefung->setText(u"Der Anrufmonitor von %1 antwortet auf Port %2."_s.arg(ziel.host, QString::number(ziel.port)));
        break;
    case Verbindungsprobe::Ergebnis::Abgewiesen:
        m_pruefung->setText(TextAbgewiesen(ziel.host, ziel.port));
        break;
    case Verbindungsprobe::Ergebnis::Fehler:
        m_pruefung->setText(u"Keine Verbindung zu %1 auf Port %2: %3."_s.arg(ziel.host, QString::number(ziel.port), grund));
        break;
    }
}
