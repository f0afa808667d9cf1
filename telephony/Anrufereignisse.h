#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <cstdint>

class Leitungsfenster;
class Optionsschalter;
class Telefonieprotokoll;
class topTapi;

// The handlers of the telephony control's events: the log lines, the
// telephony panel, and the numbers handed to the caller identification
// (signals Anrufer and VerbundeneNummer; the identification starts inside
// the emit and ends later, when its searches have answered).
class Anrufereignisse : public QObject
{
    Q_OBJECT

public:
    Anrufereignisse(topTapi &tapi, Leitungsfenster &fenster, Telefonieprotokoll &protokoll,
                    const Optionsschalter &schalter, QObject *parent = nullptr);

    // Number of OnCallerID handlers running, the identification a caller's
    // event started counted until it ends; reset by every (de)activation.
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

    // The number or extension the line named as called for that call (it
    // tells it before the caller); empty when it named none.
    QString AngerufeneNummer(std::int32_t CCallID) const { return m_angerufen.value(CCallID); }

    // The values text of a log line: items "name=value", text values in
    // double quotes, joined by CR LF.
    static QString Text(const QString &name, const QString &wert);
    static QString Zahl(const QString &name, std::int32_t wert);

signals:
    // An incoming call's number, not empty.
    void Anrufer(const QString &CNumber, const QString &CName, const QString &CPartyID, std::int32_t CCallID,
                 std::int32_t CCallHandle);
    // A connected party's number (a forwarded call), when the option asks for them.
    void VerbundeneNummer(const QString &CNumber, std::int32_t CCallID, std::int32_t CCallHandle);

private:
    void protokolliere(const QString &ereignis, const QStringList &werte);

    topTapi &m_tapi;
    Leitungsfenster &m_fenster;
    Telefonieprotokoll &m_protokoll;
    const Optionsschalter &m_schalter;
    QHash<std::int32_t, QString> m_angerufen; // by call id, until the call is idle
};
