#include "platform/telephony/CallMonitorDialog.h"

#include "platform/kennwort/Kennwortspeicher.h"
#include "platform/telephony/CallMonitorDevice.h"
#include "platform/telephony/Feldbreite.h"
#include "platform/telephony/KennwortHinweis.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;

CallMonitorDialog::CallMonitorDialog(CallMonitorDevice &device, QWidget *parent)
    : QDialog(parent)
    , m_host(new QLineEdit(device.host(), this))
    , m_port(new QSpinBox(this))
    , m_benutzer(new QLineEdit(device.tr064Benutzer(), this))
    , m_kennwort(new QLineEdit(this))
{
    setWindowTitle(u"Anrufmonitor einrichten"_s);
    m_host->setObjectName(u"host"_s);
    m_port->setObjectName(u"port"_s);
    m_port->setRange(1, 65535);
    m_port->setValue(device.port());
    m_benutzer->setObjectName(u"benutzer"_s);
    m_kennwort->setObjectName(u"kennwort"_s);
    m_kennwort->setEchoMode(QLineEdit::Password);
    m_benutzer->setPlaceholderText(u"leer: nicht über den Router wählen"_s);
    m_benutzer->setMinimumWidth(Feldbreite(*m_benutzer, m_benutzer->placeholderText()));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *form = new QFormLayout(this);
    form->addRow(u"&Router (Name oder Adresse):"_s, m_host);
    form->addRow(u"&Port:"_s, m_port);
    form->addRow(u"&Benutzer zum Wählen (TR-064):"_s, m_benutzer);
    form->addRow(u"&Kennwort:"_s, m_kennwort);
    if (device.kennwoerter()) {
        auto *hinweis = new QLabel(KennwortHinweis(device.kennwoerter()->dauerhaft()), this);
        hinweis->setObjectName(u"kennwortHinweis"_s);
        hinweis->setWordWrap(true);
        form->addRow(hinweis);
    } else {
        m_kennwort->setEnabled(false);
    }
    form->addRow(buttons);

    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    const auto check = [this, ok] { ok->setEnabled(!CallMonitorDevice::normalizedHost(m_host->text()).isEmpty()); };
    check();
    connect(m_host, &QLineEdit::textChanged, this, check);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::accepted, &device, [this, &device] {
        const QString host = CallMonitorDevice::normalizedHost(m_host->text());
        if (host.isEmpty())
            return;
        device.saveEndpoint(host, static_cast<quint16>(m_port->value()));
        const QString kennwort = m_kennwort->text();
        device.saveTr064(m_benutzer->text(), kennwort.isEmpty() ? std::nullopt : std::optional<QString>(kennwort));
    });
}
