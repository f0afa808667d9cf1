#pragma once

#include <QDialog>

class CallMonitorDevice;
class QLineEdit;
class QSpinBox;

// "Anrufmonitor einrichten": the router's host and port. Accepting it saves
// the entry; the device uses it from its next openLine().
class CallMonitorDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CallMonitorDialog(CallMonitorDevice &device, QWidget *parent = nullptr);

private:
    QLineEdit *m_host;
    QSpinBox *m_port;
};
