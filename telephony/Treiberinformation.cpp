#include "telephony/Treiberinformation.h"

#include "platform/telephony/topTapi.h"

using namespace Qt::StringLiterals;

namespace {

const QString CRLF = u"\r\n"_s;
const QString TAB = u"\t"_s;

} // namespace

QString Flagliste(const QString &flags)
{
    QString s = flags;
    s.replace(u">>"_s, u"><"_s);
    s.replace(u'<', TAB);
    s.replace(u">"_s, CRLF + TAB);
    // Every flag got a line break behind it; the last one needs none.
    if (s.endsWith(CRLF + TAB))
        s.chop(CRLF.size() + TAB.size());
    return s;
}

QString Treiberinformation(const topTapi &tapi, const QString &letzterAnruf)
{
    const std::int32_t d = tapi.DeviceIndex();
    QString s;
    if (!letzterAnruf.isEmpty())
        s += u"Letzter CallEvent:"_s + CRLF + letzterAnruf + CRLF + CRLF;
    s += u"Device:"_s + TAB + tapi.CurrentDeviceName() + CRLF + CRLF;
    s += u"Tapiversion:"_s + TAB + QString::number(tapi.ApiVersion(d)) + CRLF;
    s += u"Providerinfo:"_s + TAB + tapi.ProviderInfo(d) + CRLF;
    s += u"Switchinfo:"_s + TAB + tapi.SwitchInfo(d) + CRLF + CRLF;
    s += u"Tapidevice Modes"_s + CRLF;
    s += u"Media:"_s + TAB + Flagliste(tapi.MediaModes(d)) + CRLF;
    s += u"Adress:"_s + TAB + Flagliste(tapi.AddressModes(d)) + CRLF;
    s += u"Park:"_s + TAB + Flagliste(tapi.ParkModes(d)) + CRLF;
    s += u"Dialtone:"_s + TAB + Flagliste(tapi.DialtoneModes(d)) + CRLF;
    s += u"Busy:"_s + TAB + Flagliste(tapi.BusyModes(d)) + CRLF;
    s += u"Disconnect:"_s + Flagliste(tapi.DisconnectModes(d)) + CRLF;
    s += u"Bearer:"_s + TAB + Flagliste(tapi.BearerModes(d)) + CRLF + CRLF;
    s += u"Tapidevice Call"_s + CRLF;
    s += u"States:"_s + TAB + Flagliste(tapi.CallStates(d)) + CRLF;
    s += u"Infostates:"_s + Flagliste(tapi.CallInfoStates(d)) + CRLF;
    s += u"Features:"_s + TAB + Flagliste(tapi.CallFeatures(d));
    return s;
}
