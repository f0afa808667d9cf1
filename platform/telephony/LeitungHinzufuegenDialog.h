#pragma once

#include "platform/telephony/ModemPruefung.h"
#include "platform/telephony/ModemSuche.h"
#include "platform/telephony/RouterSuche.h"

#include <QDialog>
#include <QHostAddress>

class Kennwortspeicher;
class Leitungsseite;
class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class SettingsStore;

// "Leitung hinzufügen": the kind of line (router, telephone system, modem)
// and its page. Accepting it writes the line to the settings, its password
// to the keyring.
class LeitungHinzufuegenDialog : public QDialog
{
    Q_OBJECT

public:
    // Where the pages look for lines; tests point them at their own.
    struct Suchorte
    {
        QHostAddress ssdpZiel = RouterSuche::ssdpGruppe();
        quint16 ssdpPort = RouterSuche::SsdpPort;
        int suchdauerMs = RouterSuche::SuchdauerMs;
        QString seriellOrdner = QString::fromUtf16(ModemSuche::StandardOrdner);
        int atWarteMs = ModemPruefung::WarteMs;
    };

    enum class Art { Router, Telefonanlage, Modem };

    LeitungHinzufuegenDialog(SettingsStore &settings, Kennwortspeicher &kennwoerter, const Suchorte &orte,
                             QWidget *parent = nullptr);

    void setArt(Art art);
    Leitungsseite *Seite(Art art) const;
    // The name of the device added; empty before accepting.
    QString neueLeitung() const { return m_neu; }

    void accept() override;

private:
    void pruefe();

    SettingsStore &m_settings;
    Kennwortspeicher &m_kennwoerter;
    QComboBox *m_art;
    QStackedWidget *m_seiten;
    QLabel *m_fehler;
    QPushButton *m_ok;
    QString m_neu;
};
