#pragma once

#include <QDialog>

class QLineEdit;
class QSpinBox;
class SettingsStore;

// The dialing rules: which dialing location is current, and the code each
// location dials to reach an outside line. Kept in the settings section
// "Waehlregeln" as CurrentID and Location<N>/OutsideAccess.
class WaehlregelnDialog : public QDialog
{
    Q_OBJECT

public:
    explicit WaehlregelnDialog(SettingsStore &settings, QWidget *parent = nullptr);

    QSpinBox *Standort() const { return m_standort; }
    QLineEdit *Amtskennziffer() const { return m_amt; }
    // Writes the current location and its access code.
    void speichern();

private:
    void zeigeStandort(int nummer);

    SettingsStore &m_settings;
    QSpinBox *m_standort;
    QLineEdit *m_amt;
};
