// The driver information text with its flag lists, one flag a line; what
// comes before the device (the last call) is checked in tst_frmTapiInfo.
#include "telephony/Treiberinformation.h"

#include "doubles/FakeTapi.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A device whose every query answers something of its own, so that each
// piece of the text shows where it came from; among the flag lists one with
// a missing "<", one that is none, and an empty one.
class Geraet : public FakeTapi
{
public:
    QString ProviderInfo(std::int32_t d) const override { return u"Provider%1"_s.arg(d); }
    QString SwitchInfo(std::int32_t d) const override { return u"Switch%1"_s.arg(d); }
    std::int32_t ApiVersion(std::int32_t d) const override { return 65540 + d; }
    QString MediaModes(std::int32_t) const override { return u"<M1><M2>"_s; }
    QString AddressModes(std::int32_t) const override { return u"<A1>"_s; }
    QString ParkModes(std::int32_t) const override { return u"keine"_s; }
    QString DialtoneModes(std::int32_t) const override { return u"<T1>"_s; }
    QString BusyModes(std::int32_t) const override { return u"<B1>>B2>"_s; }
    QString DisconnectModes(std::int32_t) const override { return u"<D1><D2>"_s; }
    QString BearerModes(std::int32_t) const override { return u"<V1>"_s; }
    QString CallStates(std::int32_t) const override { return u"<S1><S2><S3>"_s; }
    QString CallInfoStates(std::int32_t) const override { return u"<I1>"_s; }
    QString CallFeatures(std::int32_t) const override { return {}; }
};

} // namespace

class tst_Treiberinformation : public QObject
{
    Q_OBJECT

private slots:
    void piecesInOrder();
};

void tst_Treiberinformation::piecesInOrder()
{
    Geraet tapi;
    tapi.devices = {u"Rufmon-Simulator"_s, u"Modem /dev/ttyACM0"_s};
    tapi.current = 1;
    // Assembled by hand: each label, a tab except after "Disconnect:" and
    // "Infostates:", the device's value, and the blank lines between groups.
    const QString erwartet = u"Device:\tModem /dev/ttyACM0\r\n\r\n"
                             u"Tapiversion:\t65541\r\n"
                             u"Providerinfo:\tProvider1\r\n"
                             u"Switchinfo:\tSwitch1\r\n\r\n"
                             u"Tapidevice Modes\r\n"
                             u"Media:\t\tM1\r\n\t\tM2\r\n"
                             u"Adress:\t\tA1\r\n"
                             u"Park:\tkeine\r\n"
                             u"Dialtone:\t\tT1\r\n"
                             u"Busy:\t\tB1\r\n\t\tB2\r\n"
                             u"Disconnect:\tD1\r\n\t\tD2\r\n"
                             u"Bearer:\t\tV1\r\n\r\n"
                             u"Tapidevice Call\r\n"
                             u"States:\t\tS1\r\n\t\tS2\r\n\t\tS3\r\n"
                             u"Infostates:\tI1\r\n"
                             u"Features:\t"_s;
    QCOMPARE(Treiberinformation(tapi, QString()), erwartet);
}

QTEST_GUILESS_MAIN(tst_Treiberinformation)
#include "tst_Treiberinformation.moc"
