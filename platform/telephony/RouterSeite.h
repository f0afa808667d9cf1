#pragma once

#include "platform/telephony/Leitungsseite.h"
#include "platform/telephony/RouterSuche.h"
#include "platform/telephony/Verbindungsprobe.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSpinBox;

// A router's call monitor: the routers the search finds on the local
// network, or an address typed in. The call monitor's port is tried as soon
// as a router is chosen, and a refusal says how to switch it on.
class RouterSeite : public Leitungsseite
{
    Q_OBJECT

public:
    // The search goes to `ziel` (the multicast group unless a test names another).
    RouterSeite(const QHostAddress &ziel, quint16 zielPort, int suchdauerMs, QWidget *parent = nullptr);

    bool fertig() const override;
    QString speichern(Leitungseinrichtung &einrichtung) override;

    // What a refusal of the call monitor's port tells the user.
    static QString TextAbgewiesen(const QString &host, quint16 port);

private:
    void suchen();
    void zeigeRouter();
    void gewaehlt(QListWidgetItem *eintrag);
    void pruefen();
    void geprueft(Verbindungsprobe::Ergebnis ergebnis, const QString &grund);
    QString host() const;

    RouterSuche m_suche;
    Verbindungsprobe m_probe;
    QListWidget *m_liste;
    QPushButton *m_suchen;
    QLabel *m_suchstand;
    QLineEdit *m_adresse;
    QSpinBox *m_port;
    QPushButton *m_pruefen;
    QLabel *m_pruefung;
    QString m_geprueft; // "host:port" of the probe running or done
};
