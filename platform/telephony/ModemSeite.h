#pragma once

#include "platform/telephony/Leitungsseite.h"
#include "platform/telephony/ModemPruefung.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// A modem with caller ID: the serial ports the machine names by their
// device, or a device file typed in. A port is added only once it has
// answered "AT" with "OK".
class ModemSeite : public Leitungsseite
{
    Q_OBJECT

public:
    ModemSeite(const QString &ordner, int warteMs, QWidget *parent = nullptr);

    bool fertig() const override;
    QString speichern(Leitungseinrichtung &einrichtung) override;

private:
    void gewaehlt(QListWidgetItem *eintrag);
    void pruefen();
    void geprueft(bool ok, const QString &grund);

    ModemPruefung m_pruefung;
    QListWidget *m_liste;
    QLabel *m_suchstand;
    QLineEdit *m_pfad;
    QPushButton *m_pruefen;
    QLabel *m_ergebnis;
    QString m_pruefend; // the device file being asked
    QString m_geprueft; // the device file that answered OK
};
