#pragma once

#include "platform/telephony/Leitungsseite.h"
#include "platform/telephony/NebenstellenAbfrage.h"

class Kennwortspeicher;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// An Asterisk telephone system: its address, the user of its manager
// interface and the password, then the extensions read from the system to
// choose the user's own from, and the context numbers are dialled in.
class TelefonanlageSeite : public Leitungsseite
{
    Q_OBJECT

public:
    TelefonanlageSeite(Kennwortspeicher &kennwoerter, QWidget *parent = nullptr);

    bool fertig() const override;
    QString speichern(Leitungseinrichtung &einrichtung) override;

private:
    void lesen();
    void gelesen(const QStringList &nebenstellen);
    QString host() const;

    NebenstellenAbfrage m_abfrage;
    QLineEdit *m_host;
    QSpinBox *m_port;
    QLineEdit *m_benutzer;
    QLineEdit *m_kennwort;
    QPushButton *m_lesen;
    QLabel *m_stand;
    QComboBox *m_nebenstelle;
    QLineEdit *m_kontext;
};
