#include "platform/telephony/TelefonanlageDialog.h"

#include "platform/kennwort/Kennwortspeicher.h"
#include "platform/telephony/Feldbreite.h"
#include "platform/telephony/KennwortHinweis.h"
#include "platform/telephony/TelefonanlageDevice.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;

TelefonanlageDialog::TelefonanlageDialog(TelefonanlageDevice &device, QWidget *parent)
    : QDialog(parent)
    , m_host(new QLineEdit(device.anlage().adresse.host, this))
    , m_port(new QSpinBox(this))
    , m_benutzer(new QLineEdit(device.anlage().benutzer, this))
    , m_kennwort(new QLineEdit(this))
    , m_nebenstelle(new QLineEdit(device.anlage().nebenstelle, this))
    , m_kontext(new QLineEdit(device.anlage().kontext, this))
{
    setWindowTitle(u"Telefonanlage einrichten"_s);
    m_host->setObjectName(u"host"_s);
    m_port->setObjectName(u"port"_s);
    m_benutzer->setObjectName(u"benutzer"_s);
    m_kennwort->setObjectName(u"kennwort"_s);
    m_nebenstelle->setObjectName(u"nebenstelle"_s);
    m_kontext->setObjectName(u"kontext"_s);
    m_port->setRange(1, 65535);
    m_port->setValue(device.anlage().adresse.port);
    m_kennwort->setEchoMode(QLineEdit::Password);
    m_nebenstelle->setPlaceholderText(u"PJSIP/201"_s);
    m_kontext->setPlaceholderText(u"from-internal"_s);
    for (QLineEdit *feld : {m_nebenstelle, m_kontext})
        feld->setMinimumWidth(Feldbreite(*feld, feld->placeholderText()));
    auto *hinweis = new QLabel(KennwortHinweis(device.kennwoerter().dauerhaft()), this);
    hinweis->setObjectName(u"kennwortHinweis"_s);
    hinweis->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *form = new QFormLayout(this);
    form->addRow(u"&Telefonanlage (Name oder Adresse):"_s, m_host);
    form->addRow(u"&Port:"_s, m_port);
    form->addRow(u"&Benutzer:"_s, m_benutzer);
    form->addRow(u"&Kennwort:"_s, m_kennwort);
    form->addRow(hinweis);
    form->addRow(u"&Nebenstelle (Kanal):"_s, m_nebenstelle);
    form->addRow(u"Kontext zum &Wählen:"_s, m_kontext);
    form->addRow(buttons);

    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    const auto check = [this, ok] {
        ok->setEnabled(!Endpunkt::hostname(m_host->text()).isEmpty() && !m_benutzer->text().trimmed().isEmpty());
    };
    check();
    connect(m_host, &QLineEdit::textChanged, this, check);
    connect(m_benutzer, &QLineEdit::textChanged, this, check);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::accepted, &device, [this, &device] {
        const QString host = Endpunkt::hostname(m_host->text());
        if (host.isEmpty() || m_benutzer->text().trimmed().isEmpty())
            return;
        TelefonanlageDevice::Anlage anlage = device.anlage();
        anlage.adresse = {host, static_cast<quint16>(m_port->value())};
        anlage.benutzer = m_benutzer->text().trimmed();
        anlage.nebenstelle = m_nebenstelle->text().trimmed();
        anlage.kontext = m_kontext->text().trimmed();
        const QString kennwort = m_kennwort->text();
        device.saveSettings(anlage, kennwort.isEmpty() ? std::nullopt : std::optional<QString>(kennwort));
    });
}
