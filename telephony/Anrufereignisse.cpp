#include "telephony/Anrufereignisse.h"

#include "core/Optionsschalter.h"
#include "platform/registry/RegionalSettings.h"
#include "platform/telephony/topTapi.h"
#include "telephony/Leitungsfenster.h"
#include "telephony/Telefonieprotokoll.h"

#include <QDateTime>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

const QString CRLF = u"\r\n"_s;

} // namespace

Anrufereignisse::Anrufereignisse(topTapi &tapi, Leitungsfenster &fenster, Telefonieprotokoll &protokoll,
                                 const Optionsschalter &schalter, QObject *parent)
    : QObject(parent)
    , m_tapi(tapi)
    , m_fenster(fenster)
    , m_protokoll(protokoll)
    , m_schalter(schalter)
{
    connect(&tapi, &topTapi::OnCallState, this, &Anrufereignisse::OnCallState);
    connect(&tapi, &topTapi::OnCallerID, this, &Anrufereignisse::OnCallerID);
    connect(&tapi, &topTapi::OnConnectedID, this, &Anrufereignisse::OnConnectedID);
    connect(&tapi, &topTapi::OnCalledID, this, &Anrufereignisse::OnCalledID);
    connect(&tapi, &topTapi::OnRinging, this, &Anrufereignisse::OnRinging);
    connect(&tapi, &topTapi::OnConnected, this, &Anrufereignisse::OnConnected);
    connect(&tapi, &topTapi::OnError, this, &Anrufereignisse::OnError);

    // Events that are only logged.
    const auto nummer = [this](const char16_t *ereignis) {
        return [this, ereignis](const QString &CNumber, std::int32_t CCallID, std::int32_t CCallHandle) {
            protokolliere(QString::fromUtf16(ereignis),
                          {Text(u"CNumber"_s, CNumber), Zahl(u"CCallID"_s, CCallID), Zahl(u"CCallHandle"_s, CCallHandle)});
        };
    };
    connect(&tapi, &topTapi::OnRedirectingID, this, nummer(u"OnRedirectingID"));
    connect(&tapi, &topTapi::OnRedirectionID, this, nummer(u"OnRedirectionID"));
    connect(&tapi, &topTapi::OnCallOrigin, this,
            [this](const QString &CCallOrigin, std::int32_t CCallID, std::int32_t CCallHandle) {
                protokolliere(u"OnCallOrigin"_s, {Text(u"CCallOrigin"_s, CCallOrigin), Zahl(u"CCallID"_s, CCallID),
                                                   Zahl(u"CCallHandle"_s, CCallHandle)});
            });
    const auto modus = [this](const char16_t *ereignis, const char16_t *name) {
        return [this, ereignis, name](const QString &mode, std::int32_t CCallHandle) {
            protokolliere(QString::fromUtf16(ereignis),
                          {Text(QString::fromUtf16(name), mode), Zahl(u"CCallHandle"_s, CCallHandle)});
        };
    };
    connect(&tapi, &topTapi::OnBusy, this, modus(u"OnBusy", u"CBusyMode"));
    connect(&tapi, &topTapi::OnDialtone, this, modus(u"OnDialtone", u"CDialtoneMode"));
    connect(&tapi, &topTapi::OnDisconnected, this, modus(u"OnDisconnected", u"CDisconnectedMode"));
    connect(&tapi, &topTapi::OnOffering, this, modus(u"OnOffering", u"COfferingMode"));
    connect(&tapi, &topTapi::OnPhoneRing, this,
            [this](std::int32_t CRingMode) { protokolliere(u"OnPhoneRing"_s, {Zahl(u"CRingMode"_s, CRingMode)}); });
}

QString Anrufereignisse::Text(const QString &name, const QString &wert)
{
    return name + u"=\""_s + wert + u'"';
}

QString Anrufereignisse::Zahl(const QString &name, std::int32_t wert)
{
    return name + u'=' + QString::number(wert);
}

void Anrufereignisse::protokolliere(const QString &ereignis, const QStringList &werte)
{
    if (m_protokoll.Protokolliert())
        m_protokoll.PrintProtokoll(ereignis, werte.join(CRLF));
}

void Anrufereignisse::OnCallState(const QString &CCallstate, std::int32_t CCallHandle, std::int32_t CCallID)
{
    protokolliere(u"OnCallState"_s, {Text(u"CCallstate"_s, CCallstate), Zahl(u"CCallID"_s, CCallID),
                                      Zahl(u"CCallHandle"_s, CCallHandle)});
    if (CCallstate == u"IDLE"_s) {
        m_angerufen.remove(CCallID);
        m_fenster.setTelefonBild(4);
        m_fenster.setKnopfBild(u"aktiv"_s);
        m_fenster.setTelefonText(u"TAPI aktiv"_s);
    } else if (CCallstate == u"DIALTONE"_s) {
        m_fenster.setTelefonBild(3);
        m_fenster.setKnopfBild(u"abgenommen"_s);
        m_fenster.setTelefonText(u"Wählton"_s);
    } else if (CCallstate == u"CONNECTED"_s) {
        m_fenster.setTelefonBild(7);
    } else if (CCallstate == u"ACCEPTED"_s) {
        m_fenster.setTelefonBild(5);
    }
    m_fenster.setTelefonToolTip(m_fenster.TelefonText());
}

void Anrufereignisse::OnRinging(std::int32_t CRingMode, std::int32_t CRingCount)
{
    protokolliere(u"OnRinging"_s, {Zahl(u"CRingMode"_s, CRingMode), Zahl(u"CRingCount"_s, CRingCount)});
    m_fenster.setTelefonBild(5);
    const QString text = QString::number(CRingCount).trimmed() + u". Klingeln"_s;
    m_fenster.setTelefonText(text);
    m_fenster.setTelefonToolTip(text);
}

void Anrufereignisse::OnConnected(const QString &CConnectedMode, std::int32_t CCallHandle)
{
    protokolliere(u"OnConnected"_s, {Text(u"CConnectedMode"_s, CConnectedMode), Zahl(u"CCallHandle"_s, CCallHandle)});
    m_fenster.setTelefonBild(7);
    m_fenster.setTelefonText(CConnectedMode);
}

void Anrufereignisse::OnCalledID(const QString &CNumber, std::int32_t CCallID, std::int32_t CCallHandle)
{
    protokolliere(u"OnCalledID"_s,
                  {Text(u"CNumber"_s, CNumber), Zahl(u"CCallID"_s, CCallID), Zahl(u"CCallHandle"_s, CCallHandle)});
    // A line that never says idle must not collect numbers without end.
    if (m_angerufen.size() > 64)
        m_angerufen.clear();
    m_angerufen.insert(CCallID, CNumber);
    m_fenster.setLbIDText(u"Nummer "_s + CNumber + u" ID "_s + QString::number(CCallID));
}

void Anrufereignisse::OnCallerID(const QString &CNumber, const QString &CName, const QString &CPartyID,
                                 std::int32_t CCallID, std::int32_t CCallHandle)
{
    ++lSuche;
    if (lSuche >= 2) {
        // Another OnCallerID is still being handled: this one is dropped unseen.
        --lSuche;
        return;
    }
    protokolliere(u"OnCallerID"_s, {Text(u"lSuche"_s, QString::number(lSuche)), Text(u"CNumber"_s, CNumber),
                                     Text(u"CName"_s, CName), Text(u"CPartyID"_s, CPartyID),
                                     Zahl(u"CCallID"_s, CCallID), Zahl(u"CCallHandle"_s, CCallHandle)});
    const QDateTime jetzt = m_tapi.Ereigniszeit();
    LetzterAnruf = u"OnCallerEvent:"_s + QString::number(lSuche) + u' ' + RegionalSettings::ShortDate(jetzt.date())
                   + u' ' + RegionalSettings::LongTime(jetzt.time()) + CRLF + u"CNumber:"_s + CNumber + CRLF
                   + u"CName:"_s + CName + CRLF + u"CPartyID:"_s + CPartyID + CRLF + u"CCallID:"_s
                   + QString::number(CCallID) + CRLF + u"CCallHandle:"_s + QString::number(CCallHandle) + CRLF;
    if (!CNumber.trimmed().isEmpty())
        emit Anrufer(CNumber, CName, CPartyID, CCallID, CCallHandle);
    --lSuche;
}

void Anrufereignisse::OnConnectedID(const QString &CNumber, std::int32_t CCallID, std::int32_t CCallHandle)
{
    protokolliere(u"OnConnectedID"_s,
                  {Text(u"CNumber"_s, CNumber), Zahl(u"CCallID"_s, CCallID), Zahl(u"CCallHandle"_s, CCallHandle)});
    if (CNumber.trimmed().isEmpty() || !m_schalter.gesetzt(Optionsschalter::Schalter::VerbundeneNummern))
        return;
    emit VerbundeneNummer(CNumber, CCallID, CCallHandle);
}

void Anrufereignisse::OnError(const QString &ErrorText, const QString &ErrorSource, std::int32_t ErrorNumber)
{
    const QString text = ErrorText + u" from "_s + ErrorSource + u" #"_s + QString::number(ErrorNumber);
    m_fenster.setTelefonText(text);
    m_fenster.setTelefonToolTip(text);
}
