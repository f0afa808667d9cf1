#pragma once

#include <QDialog>

class ModemDevice;
class QComboBox;
class QLineEdit;

// "Modem einrichten": port, speed and init string; OK writes the settings.
class ModemDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ModemDialog(ModemDevice &device, QWidget *parent = nullptr);

private:
    QComboBox *m_port;
    QComboBox *m_speed;
    QLineEdit *m_init;
};
