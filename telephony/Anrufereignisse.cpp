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

// How a driver flags the caller's number.
QString CPartyID(Rufnummernanzeige anzeige)
{
    switch (anzeige) {
    case Rufnummernanzeige::Nummer:
        return u"<ADDRESS>"_s;
    case Rufnummernanzeige::Unterdrueckt:
        return u"<BLOCKED>"_s;
    case Rufnummernanzeige::NichtVerfuegbar:
        break;
    }
    return u"<UNAVAIL>"_s;
}

} // namespace

Anrufereignisse::Anrufereignisse(topTapi &tapi, Leitungsfenster &fenster, Telefonieprotokoll &protokoll,
                                 const Optionsschalter &schalter, QObject *parent)
    : QObject(parent)
    , m_tapi(tapi)
    , m_fenster(fenster)
    , m_protokoll(protokoll)
    , m_schalter(schalter)
{
    connect(&tapi, &topTapi::AnrufKommt, this, &Anrufereignisse::anrufKommt);
    connect(&tapi, &topTapi::AngerufeneNummer, this, &Anrufereignisse::angerufen);
    connect(&tapi, &topTapi::AnruferBekannt, this, &Anrufereignisse::anruferBekannt);
    connect(&tapi, &topTapi::Klingelt, this, &Anrufereignisse::klingelt);
    connect(&tapi, &topTapi::Waehlt, this, &Anrufereignisse::waehlt);
    connect(&tapi, &topTapi::Rufaufbau, this, &Anrufereignisse::rufaufbau);
    connect(&tapi, &topTapi::Abgenommen, this, &Anrufereignisse::abgenommen);
    connect(&tapi, &topTapi::VerbundenMit, this, &Anrufereignisse::verbundenMit);
    connect(&tapi, &topTapi::Beendet, this, &Anrufereignisse::beendet);
    connect(&tapi, &topTapi::OnError, this, &Anrufereignisse::OnError);
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

void Anrufereignisse::modus(const QString &ereignis, const QString &name, const QString &mode, Anrufkennung anruf)
{
    protokolliere(ereignis, {Text(name, mode), Zahl(u"CCallHandle"_s, anruf.handle)});
}

void Anrufereignisse::zustand(const QString &CCallstate, Anrufkennung anruf)
{
    protokolliere(u"OnCallState"_s, {Text(u"CCallstate"_s, CCallstate), Zahl(u"CCallID"_s, anruf.id),
                                      Zahl(u"CCallHandle"_s, anruf.handle)});
    if (CCallstate == u"IDLE"_s) {
        m_angerufen.remove(anruf.id);
        m_fenster.setTelefonBild(4);
        m_fenster.setKnopfBild(u"aktiv"_s);
        m_fenster.setTelefonText(u"TAPI aktiv"_s);
    } else if (CCallstate == u"DIALTONE"_s) {
        m_fenster.setTelefonBild(3);
        m_fenster.setKnopfBild(u"abgenommen"_s);
        m_fenster.setTelefonText(u"Wählton"_s);
    } else if (CCallstate == u"CONNECTED"_s) {
        m_fenster.setTelefonBild(7);
    }
    m_fenster.setTelefonToolTip(m_fenster.TelefonText());
}

void Anrufereignisse::anrufKommt(Anrufkennung anruf)
{
    zustand(u"OFFERING"_s, anruf);
    modus(u"OnOffering"_s, u"COfferingMode"_s, u"<OWNER>"_s, anruf);
}

void Anrufereignisse::klingelt(int anzahl)
{
    protokolliere(u"OnRinging"_s, {Zahl(u"CRingMode"_s, 0), Zahl(u"CRingCount"_s, anzahl)});
    m_fenster.setTelefonBild(5);
    const QString text = QString::number(anzahl).trimmed() + u". Klingeln"_s;
    m_fenster.setTelefonText(text);
    m_fenster.setTelefonToolTip(text);
}

void Anrufereignisse::waehlt(Anrufkennung anruf, bool waehlton)
{
    zustand(u"DIALTONE"_s, anruf);
    if (waehlton)
        modus(u"OnDialtone"_s, u"CDialtoneMode"_s, u"<NORMAL>"_s, anruf);
}

void Anrufereignisse::rufaufbau(Anrufkennung anruf)
{
    zustand(u"PROCEEDING"_s, anruf);
}

void Anrufereignisse::abgenommen(Anrufkennung anruf)
{
    zustand(u"CONNECTED"_s, anruf);
    const QString CConnectedMode = u"<ACTIVE>"_s;
    modus(u"OnConnected"_s, u"CConnectedMode"_s, CConnectedMode, anruf);
    m_fenster.setTelefonBild(7);
    m_fenster.setTelefonText(CConnectedMode);
}

void Anrufereignisse::beendet(Anrufkennung anruf, Anrufende ende)
{
    if (ende == Anrufende::Besetzt)
        modus(u"OnBusy"_s, u"CBusyMode"_s, u"<STATION>"_s, anruf);
    // A modem only hears the ringing stop: the call goes idle without a disconnect.
    if (ende != Anrufende::Ausgeklungen)
        zustand(u"DISCONNECTED"_s, anruf);
    if (ende == Anrufende::Aufgelegt)
        modus(u"OnDisconnected"_s, u"CDisconnectedMode"_s, u"<NORMAL>"_s, anruf);
    zustand(u"IDLE"_s, anruf);
}

void Anrufereignisse::angerufen(Anrufkennung anruf, const QString &nummer)
{
    protokolliere(u"OnCalledID"_s,
                  {Text(u"CNumber"_s, nummer), Zahl(u"CCallID"_s, anruf.id), Zahl(u"CCallHandle"_s, anruf.handle)});
    // A line that never says idle must not collect numbers without end.
    if (m_angerufen.size() > 64)
        m_angerufen.clear();
    m_angerufen.insert(anruf.id, nummer);
    m_fenster.setLbIDText(u"Nummer "_s + nummer + u" ID "_s + QString::number(anruf.id));
}

void Anrufereignisse::anruferBekannt(Anrufkennung anruf, const QString &nummer, const QString &name,
                                     Rufnummernanzeige anzeige)
{
    ++lSuche;
    if (lSuche >= 2) {
        // Another caller is still being handled: this one is dropped unseen.
        --lSuche;
        return;
    }
    const QString CNumber = nummer;
    const QString CName = name;
    const QString partyId = CPartyID(anzeige);
    const std::int32_t CCallID = anruf.id;
    const std::int32_t CCallHandle = anruf.handle;
    protokolliere(u"OnCallerID"_s, {Text(u"lSuche"_s, QString::number(lSuche)), Text(u"CNumber"_s, CNumber),
                                     Text(u"CName"_s, CName), Text(u"CPartyID"_s, partyId),
                                     Zahl(u"CCallID"_s, CCallID), Zahl(u"CCallHandle"_s, CCallHandle)});
    const QDateTime jetzt = m_tapi.Ereigniszeit();
    LetzterAnruf = u"OnCallerEvent:"_s + QString::number(lSuche) + u' ' + RegionalSettings::ShortDate(jetzt.date())
                   + u' ' + RegionalSettings::LongTime(jetzt.time()) + CRLF + u"CNumber:"_s + CNumber + CRLF
                   + u"CName:"_s + CName + CRLF + u"CPartyID:"_s + partyId + CRLF + u"CCallID:"_s
                   + QString::number(CCallID) + CRLF + u"CCallHandle:"_s + QString::number(CCallHandle) + CRLF;
    if (!CNumber.trimmed().isEmpty())
        emit Anrufer(CNumber, CName, partyId, CCallID, CCallHandle);
    --lSuche;
}

void Anrufereignisse::verbundenMit(Anrufkennung anruf, const QString &nummer)
{
    protokolliere(u"OnConnectedID"_s,
                  {Text(u"CNumber"_s, nummer), Zahl(u"CCallID"_s, anruf.id), Zahl(u"CCallHandle"_s, anruf.handle)});
    if (nummer.trimmed().isEmpty() || !m_schalter.gesetzt(Optionsschalter::Schalter::VerbundeneNummern))
        return;
    emit VerbundeneNummer(nummer, anruf.id, anruf.handle);
}

void Anrufereignisse::OnError(const QString &ErrorText, const QString &ErrorSource, std::int32_t ErrorNumber)
{
    const QString text = ErrorText + u" from "_s + ErrorSource + u" #"_s + QString::number(ErrorNumber);
    m_fenster.setTelefonText(text);
    m_fenster.setTelefonToolTip(text);
}
