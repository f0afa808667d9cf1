#pragma once

#include "platform/telephony/Anrufkennung.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <cstdint>

class Leitungsfenster;
class Optionsschalter;
class Telefonieprotokoll;
class topTapi;

// What the telephony control reports of the line, turned into the telephony
// log's lines, the telephony panel, and the numbers handed to the caller identification
// (signals Anrufer and VerbundeneNummer; the identification starts inside
// the emit and ends later, when its searches have answered).
class Anrufereignisse : public QObject
{
    Q_OBJECT

public:
    Anrufereignisse(topTapi &tapi, Leitungsfenster &fenster, Telefonieprotokoll &protokoll,
                    const Optionsschalter &schalter, QObject *parent = nullptr);

    // Number of callers' events being handled, the identification a caller's
    // event started counted until it ends; reset by every (de)activation.
    int lSuche = 0;
    // The record of the last accepted caller, extended by the identification.
    QString LetzterAnruf;

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
    // What the line reports. Each is written to the telephony log as the
    // events and values a TAPI driver shows for it, in the driver's order.
    void anrufKommt(Anrufkennung anruf);
    void angerufen(Anrufkennung anruf, const QString &nummer);
    void anruferBekannt(Anrufkennung anruf, const QString &nummer, const QString &name, Rufnummernanzeige anzeige);
    void klingelt(int anzahl);
    void waehlt(Anrufkennung anruf, bool waehlton);
    void rufaufbau(Anrufkennung anruf);
    void abgenommen(Anrufkennung anruf);
    void verbundenMit(Anrufkennung anruf, const QString &nummer);
    void beendet(Anrufkennung anruf, Anrufende ende);

    void protokolliere(const QString &ereignis, const QStringList &werte);
    // A call state's log line and what the panel shows for it.
    void zustand(const QString &CCallstate, Anrufkennung anruf);
    // A log line of a mode event: its name, the mode's name and value, the handle.
    void modus(const QString &ereignis, const QString &name, const QString &mode, Anrufkennung anruf);

    topTapi &m_tapi;
    Leitungsfenster &m_fenster;
    Telefonieprotokoll &m_protokoll;
    const Optionsschalter &m_schalter;
    QHash<std::int32_t, QString> m_angerufen; // by call id, until the call is idle
};
