#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

class Leitungsfenster;
class Protokoll;
class modHaupt;
class topTapi;

// The handlers of the telephony control's events: the log lines, the
// telephony panel, and the start of the caller identification for an
// incoming call or a connected number, with the guards that keep two
// identifications from overlapping.
class Anrufereignisse : public QObject
{
    Q_OBJECT

public:
    // The caller identification: number, name, party flags, call id, call
    // handle, and whether it is a connected number.
    using Auswertung = std::function<void(const QString &, const QString &, const QString &, std::int32_t,
                                          std::int32_t, bool)>;

    Anrufereignisse(topTapi &tapi, Leitungsfenster &fenster, Protokoll &protokoll, modHaupt &haupt,
                    QObject *parent = nullptr);

    void setAuswertung(Auswertung auswertung) { m_auswertung = std::move(auswertung); }

    // Number of OnCallerID handlers running; reset by every (de)activation.
    int lSuche = 0;
    // The record of the last accepted OnCallerID, extended by the identification.
    QString LetzterAnruf;

    void OnCallState(const QString &CCallstate, std::int32_t CCallHandle, std::int32_t CCallID);
    void OnCallerID(const QString &CNumber, const QString &CName, const QString &CPartyID, std::int32_t CCallID,
                    std::int32_t CCallHandle);
    void OnConnectedID(const QString &CNumber, std::int32_t CCallID, std::int32_t CCallHandle);
    void OnCalledID(const QString &CNumber, std::int32_t CCallID, std::int32_t CCallHandle);
    void OnRinging(std::int32_t CRingMode, std::int32_t CRingCount);
    void OnConnected(const QString &CConnectedMode, std::int32_t CCallHandle);
    void OnError(const QString &ErrorText, const QString &ErrorSource, std::int32_t ErrorNumber);

    // The values text of a log line: items "name=value", text values in
    // double quotes, joined by CR LF.
    static QString Text(const QString &name, const QString &wert);
    static QString Zahl(const QString &name, std::int32_t wert);

private:
    void wartendeAufnehmen();
    void protokolliere(const QString &ereignis, const QStringList &werte);

    topTapi &m_tapi;
    Leitungsfenster &m_fenster;
    Protokoll &m_protokoll;
    modHaupt &m_haupt;
    Auswertung m_auswertung;
};
