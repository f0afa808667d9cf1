#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

class Anrufereignisse;
class Dialogs;
class Leitungsfenster;
class modOptionen;
class topTapi;

// Choosing the line device and switching the monitor on and off: the device
// and address boxes, the activation button and its menu item, and the
// question after a lost line.
class Leitungssteuerung : public QObject
{
    Q_OBJECT

public:
    Leitungssteuerung(topTapi &tapi, Leitungsfenster &fenster, Dialogs &dialogs, modOptionen &optionen,
                      Anrufereignisse &ereignisse, QObject *parent = nullptr);

    // The device list at start: every device, the saved one selected.
    void GeraetelisteFuellen();
    void cmdInitTapi_Click();
    bool Aktiv() const;
    void Aktivieren();
    void Deaktivieren();
    // The user picked a device in the box.
    void cbxTapiDevices_Click(int index);
    void mnuTapiEinstellungen();
    // On a device change: the driver menu caption and the address list.
    void OnDeviceChanged();
    // A lost line (error 1013 while active): switched off, the user asked.
    void OnError(const QString &ErrorText, const QString &ErrorSource, std::int32_t ErrorNumber);

private:
    topTapi &m_tapi;
    Leitungsfenster &m_fenster;
    Dialogs &m_dialogs;
    modOptionen &m_optionen;
    Anrufereignisse &m_ereignisse;
};
