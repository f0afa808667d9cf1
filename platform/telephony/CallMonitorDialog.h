#pragma once

#include <QDialog>

class CallMonitorDevice;
class QLineEdit;
class QSpinBox;

// "Anrufmonitor einrichten": the router's host and port, and the TR-064 user
// and password for dialing. Accepting it saves the entry and the user, and
// puts a password typed into the keyring; the device uses them from its next
// openLine() or dial.
class CallMonitorDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CallMonitorDialog(CallMonitorDevice &device, QWidget *parent = nullptr);

private:
    QLineEdit *m_host;
    QSpinBox *m_port;
    QLineEdit *m_benutzer;
    QLineEdit *m_kennwort;
};
