#include "platform/telephony/ModemDialog.h"

#include "platform/telephony/Feldbreite.h"
#include "platform/telephony/ModemDevice.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

ModemDialog::ModemDialog(ModemDevice &device, QWidget *parent)
    : QDialog(parent)
    , m_port(new QComboBox(this))
    , m_speed(new QComboBox(this))
    , m_init(new QLineEdit(device.initString(), this))
{
    setWindowTitle(u"Modem einrichten"_s);
    auto *layout = new QFormLayout(this);

    m_port->setObjectName(u"port"_s);
    m_port->setEditable(true);
    m_port->addItems(ModemDevice::configuredPorts(device.settings()));
    m_port->setCurrentText(device.portName());
    layout->addRow(u"&Schnittstelle:"_s, m_port);

    m_speed->setObjectName(u"speed"_s);
    m_speed->setEditable(true);
    for (const int rate : {9600, 19200, 38400, 57600, 115200, 230400})
        m_speed->addItem(QString::number(rate));
    m_speed->setValidator(new QIntValidator(300, 4000000, m_speed));
    m_speed->setCurrentText(QString::number(device.baudRate()));
    layout->addRow(u"&Geschwindigkeit (Baud):"_s, m_speed);

    m_init->setObjectName(u"init"_s);
    // Wide enough for the usual init string with room for a command or two
    // more, and for the one set now.
    const QString platz = ModemDevice::defaultInitString() + QString(8, u'0');
    m_init->setMinimumWidth(std::max(Feldbreite(*m_init, platz), Feldbreite(*m_init, m_init->text())));
    layout->addRow(u"&Initialisierung:"_s, m_init);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(this, &QDialog::accepted, &device, [this, &device] {
        // The validator lets unfinished input ("30") stand; only a speed it
        // accepts is saved, otherwise the previous one stays.
        std::optional<int> baud;
        if (m_speed->lineEdit()->hasAcceptableInput())
            baud = m_speed->currentText().trimmed().toInt();
        device.saveSettings(m_port->currentText(), baud, m_init->text());
    });
}
