#include "platform/telephony/CallMonitorDialog.h"

#include "platform/telephony/CallMonitorDevice.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;

CallMonitorDialog::CallMonitorDialog(CallMonitorDevice &device, QWidget *parent)
    : QDialog(parent)
    , m_host(new QLineEdit(device.host(), this))
    , m_port(new QSpinBox(this))
{
    setWindowTitle(u"Anrufmonitor einrichten"_s);
    m_host->setObjectName(u"host"_s);
    m_port->setObjectName(u"port"_s);
    m_port->setRange(1, 65535);
    m_port->setValue(device.port());
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *form = new QFormLayout(this);
    form->addRow(u"&Router (Name oder Adresse):"_s, m_host);
    form->addRow(u"&Port:"_s, m_port);
    form->addRow(buttons);

    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    const auto check = [this, ok] { ok->setEnabled(!CallMonitorDevice::normalizedHost(m_host->text()).isEmpty()); };
    check();
    connect(m_host, &QLineEdit::textChanged, this, check);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::accepted, &device, [this, &device] {
        const QString host = CallMonitorDevice::normalizedHost(m_host->text());
        if (!host.isEmpty())
            device.saveEndpoint(host, static_cast<quint16>(m_port->value()));
    });
}
