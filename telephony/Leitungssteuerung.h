#pragma once

#include "platform/dialogs/Dialogs.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <memory>

class Anrufereignisse;
class Frage;
class Leitungsfenster;
class Telefonieprotokoll;
class modOptionen;
class topTapi;

// Choosing the line device and switching the monitor on and off: the device
// and address boxes, the activation button and its menu item, the line's
// state in the telephony panel, and the question after a lost line.
class Leitungssteuerung : public QObject
{
    Q_OBJECT

public:
    static constexpr int NeuerVersuchMs = 5000;

    Leitungssteuerung(topTapi &tapi, Leitungsfenster &fenster, Dialogs &dialogs, modOptionen &optionen,
                      Anrufereignisse &ereignisse, Telefonieprotokoll &protokoll, QObject *parent = nullptr);
    ~Leitungssteuerung() override;

    // The device list at start: every device, the saved one selected.
    void GeraetelisteFuellen();
    void cmdInitTapi_Click();
    // The monitor is on: the line is open and its calls are identified.
    bool Aktiv() const { return m_aktiv; }
    void Aktivieren();
    void Deaktivieren();
    // The user picked a device in the box.
    void cbxTapiDevices_Click(int index);
    void mnuTapiEinstellungen();
    // A line set up in the program is chosen at once while the monitor is off.
    void mnuLeitungHinzufuegen();
    // The device in the box goes, with its settings, after the user agreed.
    void mnuLeitungEntfernen();
    // On a device change: the driver menu caption and the address list.
    void OnDeviceChanged();
    // A lost line (error 1013 while active): switched off, the user asked,
    // and the line tried again quietly meanwhile.
    void OnError(const QString &ErrorText, const QString &ErrorSource, std::int32_t ErrorNumber);
    // The open line's connection changed: the telephony panel says so; a
    // line that is back while the question after its loss waits answers it.
    void OnLineConnection(bool connected, const QString &reason);
    // At exit: no question waits any more, and no quiet attempt follows.
    void Beenden();

    // The driver menu's caption for a device. Its mnemonic stays on the A,
    // whatever the name holds: an "&" in it shows as itself.
    static QString Treibermenue(const QString &geraet);
    // How long the quiet attempts wait after one failed, while the question waits.
    void setNeuerVersuchMs(int ms) { m_neuerVersuchMs = ms; }
    // The question after a lost line while it waits for an answer; null otherwise.
    Frage *OffeneFrage() const { return m_frage.get(); }

    // Telephony panel texts of the line's own states.
    static QString TextAktiv();
    static QString TextAufbau();
    static QString TextGetrennt(const QString &grund);
    // The hint while no line but the simulator is set up.
    static QString TextKeineLeitung();

signals:
    // The monitor was switched on or off.
    void MonitorGeaendert(bool aktiv);

private:
    void setAktiv(bool aktiv);
    void abschalten();
    // The device box anew after devices came or went, the current one chosen.
    void listeNeu();
    void zeigeHinweis();
    void zeigeLeitung();
    void zeigeTelefon(const QString &text, const QString &toolTip, int bild);
    void neuerVersuch();
    void frageBeantwortet(Dialogs::Answer antwort);
    void wiederDa();

    topTapi &m_tapi;
    Leitungsfenster &m_fenster;
    Dialogs &m_dialogs;
    modOptionen &m_optionen;
    Anrufereignisse &m_ereignisse;
    Telefonieprotokoll &m_protokoll;
    std::unique_ptr<Frage> m_frage;
    // While the question waits: the next quiet attempt to open the line.
    QTimer m_versuch;
    int m_neuerVersuchMs = NeuerVersuchMs;
    // Why the open line's connection is down; empty while it stands or is being made.
    QString m_grund;
    bool m_aktiv = false;
};
