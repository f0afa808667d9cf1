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
    const LineDevice::Faehigkeiten f = tapi.Faehigkeiten(tapi.DeviceIndex());
    QString s;
    if (!letzterAnruf.isEmpty())
        s += u"Letzter CallEvent:"_s + CRLF + letzterAnruf + CRLF + CRLF;
    s += u"Device:"_s + TAB + tapi.CurrentDeviceName() + CRLF + CRLF;
    s += u"Tapiversion:"_s + TAB + QString::number(f.apiVersion) + CRLF;
    s += u"Providerinfo:"_s + TAB + f.providerInfo + CRLF;
    s += u"Switchinfo:"_s + TAB + f.switchInfo + CRLF + CRLF;
    s += u"Tapidevice Modes"_s + CRLF;
    s += u"Media:"_s + TAB + Flagliste(f.mediaModes) + CRLF;
    s += u"Adress:"_s + TAB + Flagliste(f.addressModes) + CRLF;
    s += u"Park:"_s + TAB + Flagliste(f.parkModes) + CRLF;
    s += u"Dialtone:"_s + TAB + Flagliste(f.dialtoneModes) + CRLF;
    s += u"Busy:"_s + TAB + Flagliste(f.busyModes) + CRLF;
    s += u"Disconnect:"_s + Flagliste(f.disconnectModes) + CRLF;
    s += u"Bearer:"_s + TAB + Flagliste(f.bearerModes) + CRLF + CRLF;
    s += u"Tapidevice Call"_s + CRLF;
    s += u"States:"_s + TAB + Flagliste(f.callStates) + CRLF;
    s += u"Infostates:"_s + Flagliste(f.callInfoStates) + CRLF;
    s += u"Features:"_s + TAB + Flagliste(f.callFeatures);
    return s;
}
