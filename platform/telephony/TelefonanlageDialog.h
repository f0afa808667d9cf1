#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QSpinBox;
class TelefonanlageDevice;

// "Telefonanlage einrichten": address, user, password, extension and
// context of one system. Accepting it saves the keys and puts the password
// (only when one was typed) into the keyring; the device uses them from its
// next openLine().
class TelefonanlageDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TelefonanlageDialog(TelefonanlageDevice &device, QWidget *parent = nullptr);

private:
    QLineEdit *m_host;
    QSpinBox *m_port;
    QLineEdit *m_benutzer;
    QLineEdit *m_kennwort;
    QLineEdit *m_nebenstelle;
    QLineEdit *m_kontext;
};
