#include "platform/telephony/TelefonanlageSeite.h"

#include "platform/kennwort/Kennwortspeicher.h"
#include "platform/telephony/KennwortHinweis.h"
#include "platform/telephony/Leitungseinrichtung.h"
#include "platform/telephony/TelefonanlageDevice.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;

TelefonanlageSeite::TelefonanlageSeite(Kennwortspeicher &kennwoerter, QWidget *parent)
    : Leitungsseite(parent)
    , m_host(new QLineEdit(this))
    , m_port(new QSpinBox(this))
    , m_benutzer(new QLineEdit(this))
    , m_kennwort(new QLineEdit(this))
    , m_lesen(new QPushButton(u"&Nebenstellen lesen"_s, this))
    , m_stand(new QLabel(this))
    , m_nebenstelle(new QComboBox(this))
    , m_kontext(new QLineEdit(u"from-internal"_s, this))
{
    setObjectName(u"telefonanlageSeite"_s);
    m_host->setObjectName(u"host"_s);
    m_port->setObjectName(u"port"_s);
    m_port->setRange(1, 65535);
    m_port->setValue(TelefonanlageDevice::DefaultPort);
    m_benutzer->setObjectName(u"benutzer"_s);
    m_kennwort->setObjectName(u"kennwort"_s);
    m_kennwort->setEchoMode(QLineEdit::Password);
    m_lesen->setObjectName(u"nebenstellenLesen"_s);
    m_stand->setObjectName(u"abfrage"_s);
    m_stand->setWordWrap(true);
    m_stand->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_stand->hide(); // until extensions are read
    m_nebenstelle->setObjectName(u"nebenstelle"_s);
    m_nebenstelle->setEditable(true);
    m_nebenstelle->lineEdit()->setPlaceholderText(u"PJSIP/201"_s);
    m_kontext->setObjectName(u"kontext"_s);
    auto *hinweis = new QLabel(KennwortHinweis(kennwoerter.dauerhaft()), this);
    hinweis->setObjectName(u"kennwortHinweis"_s);
    hinweis->setWordWrap(true);

    auto *form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    const auto zeile = [this, form](const QString &text, QWidget *feld) {
        auto *label = new QLabel(text, this);
        label->setBuddy(feld);
        form->addRow(label, feld);
    };
    zeile(u"&Telefonanlage (Name oder Adresse):"_s, m_host);
    zeile(u"&Port:"_s, m_port);
    zeile(u"&Benutzer:"_s, m_benutzer);
    zeile(u"&Kennwort:"_s, m_kennwort);
    form->addRow(hinweis);
    auto *lesezeile = new QHBoxLayout;
    lesezeile->addStretch(1);
    lesezeile->addWidget(m_lesen);
    form->addRow(lesezeile);
    form->addRow(m_stand);
    zeile(u"&Eigene Nebenstelle:"_s, m_nebenstelle);
    zeile(u"Konte&xt zum Wählen:"_s, m_kontext);

    const auto pruefe = [this] {
        m_lesen->setEnabled(!host().isEmpty() && !m_benutzer->text().trimmed().isEmpty() && !m_abfrage.laeuft());
        emit geaendert();
    };
    pruefe();
    connect(m_host, &QLineEdit::textChanged, this, pruefe);
    connect(m_benutzer, &QLineEdit::textChanged, this, pruefe);
    connect(m_nebenstelle, &QComboBox::currentTextChanged, this, &Leitungsseite::geaendert);
    connect(m_lesen, &QPushButton::clicked, this, &TelefonanlageSeite::lesen);
    connect(&m_abfrage, &NebenstellenAbfrage::gelesen, this, &TelefonanlageSeite::gelesen);
    connect(&m_abfrage, &NebenstellenAbfrage::fehler, this, [this, pruefe](const QString &grund) {
        m_stand->setText(grund + u'.');
        pruefe();
    });
}

QString TelefonanlageSeite::host() const
{
    return Endpunkt::hostname(m_host->text());
}

bool TelefonanlageSeite::fertig() const
{
    return !host().isEmpty() && !m_benutzer->text().trimmed().isEmpty()
           && !m_nebenstelle->currentText().trimmed().isEmpty();
}

QString TelefonanlageSeite::speichern(Leitungseinrichtung &einrichtung)
{
    TelefonanlageDevice::Anlage anlage;
    anlage.adresse = {host(), static_cast<quint16>(m_port->value())};
    anlage.benutzer = m_benutzer->text().trimmed();
    anlage.nebenstelle = m_nebenstelle->currentText().trimmed();
    anlage.kontext = m_kontext->text().trimmed();
    const QString kennwort = m_kennwort->text();
    return einrichtung.telefonanlage(anlage, kennwort.isEmpty() ? std::nullopt : std::optional<QString>(kennwort));
}

void TelefonanlageSeite::lesen()
{
    const Endpunkt adresse{host(), static_cast<quint16>(m_port->value())};
    m_stand->setText(u"Die Nebenstellen der Telefonanlage %1 werden gelesen …"_s.arg(adresse.text()));
    m_stand->show();
    m_abfrage.abfragen(adresse, m_benutzer->text().trimmed(), m_kennwort->text());
    m_lesen->setEnabled(false);
}

void TelefonanlageSeite::gelesen(const QStringList &nebenstellen)
{
    const QString vorher = m_nebenstelle->currentText().trimmed();
    m_nebenstelle->clear();
    m_nebenstelle->addItems(nebenstellen);
    // What the user had typed stays chosen; otherwise the first one read.
    if (!vorher.isEmpty() || nebenstellen.isEmpty())
        m_nebenstelle->setCurrentText(vorher);
    if (nebenstellen.isEmpty())
        m_stand->setText(u"Die Telefonanlage nennt keine Nebenstellen. Tragen Sie den Kanal Ihres Telefons ein, z. B. "
                         u"PJSIP/201."_s);
    else
        m_stand->setText(nebenstellen.size() == 1 ? u"Eine Nebenstelle gelesen."_s
                                                  : u"%1 Nebenstellen gelesen."_s.arg(nebenstellen.size()));
    m_lesen->setEnabled(true);
    emit geaendert();
}
