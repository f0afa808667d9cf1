// The driver information text, its window and its menu command.
#include "telephony/Treiberinformation.h"
#include "windows/TapiInfobefehl.h"
#include "windows/frmTapiInfo.h"

#include "doubles/FakeTapi.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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
    QString BusyModes(std::int32_t) const override { return u"<B1>>B2>"_s; }
    QString CallFeatures(std::int32_t) const override { return {}; }
};

} // namespace

class tst_frmTapiInfo : public QObject
{
    Q_OBJECT

private slots:
    void text_data()
    {
        QTest::addColumn<QString>("letzterAnruf");
        QTest::addColumn<QStringList>("zeilen"); // lines that follow each other in the text
        QTest::addColumn<int>("ab");             // where they start; -1: anywhere

        QTest::newRow("the current device's answers, groups apart")
            << QString() << QStringList{u"Device:\tModem /dev/ttyACM0"_s, QString(), u"Tapiversion:\t65541"_s,
                                        u"Providerinfo:\tProvider1"_s, u"Switchinfo:\tSwitch1"_s, QString(),
                                        u"Tapidevice Modes"_s}
            << 0;
        QTest::newRow("a flag a line") << QString()
                                       << QStringList{u"Media:\t\tM1"_s, u"\t\tM2"_s, u"Adress:\t\tA1"_s} << -1;
        QTest::newRow("a text that is no list as it is") << QString() << QStringList{u"Park:\tkeine"_s} << -1;
        QTest::newRow("a missing '<'") << QString() << QStringList{u"Busy:\t\tB1"_s, u"\t\tB2"_s} << -1;
        QTest::newRow("the last call first")
            << u"CNumber:0221123\r\n"_s
            << QStringList{u"Letzter CallEvent:"_s, u"CNumber:0221123"_s, QString(), QString(),
                           u"Device:\tModem /dev/ttyACM0"_s}
            << 0;
    }
    void text()
    {
        QFETCH(QString, letzterAnruf);
        QFETCH(QStringList, zeilen);
        QFETCH(int, ab);
        Geraet tapi;
        tapi.devices = {u"Rufmon-Simulator"_s, u"Modem /dev/ttyACM0"_s};
        tapi.current = 1;
        const QStringList text = Treiberinformation(tapi, letzterAnruf).split(u"\r\n"_s);
        const qsizetype i = text.indexOf(zeilen.first());
        QVERIFY2(ab < 0 ? i >= 0 : i == ab, qPrintable(text.join(u'|')));
        QCOMPARE(text.mid(i, zeilen.size()), zeilen);
        // An empty list leaves its label last.
        QCOMPARE(text.last(), u"Features:\t"_s);
    }

    void keys_data()
    {
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<int>("taste");
        QTest::addColumn<bool>("schliesst");
        // Escape closes when let go, wherever the focus is; other keys never.
        for (const QString &ziel : {u"txbInfo"_s, u"cmdOK"_s, u"frmTapiInfo"_s})
            QTest::addRow("Esc on %s", qPrintable(ziel)) << ziel << int(Qt::Key_Escape) << true;
        QTest::newRow("a on the text") << u"txbInfo"_s << int(Qt::Key_A) << false;
        QTest::newRow("space on the window") << u"frmTapiInfo"_s << int(Qt::Key_Space) << false;
    }
    void keys()
    {
        QFETCH(QString, ziel);
        QFETCH(int, taste);
        QFETCH(bool, schliesst);
        frmTapiInfo f;
        f.show();
        QWidget *w = ziel == f.objectName() ? &f : f.findChild<QWidget *>(ziel);
        QVERIFY(w);
        QTest::keyPress(w, Qt::Key(taste));
        QVERIFY(f.isVisible());
        QTest::keyRelease(w, Qt::Key(taste));
        QCOMPARE(f.isVisible(), !schliesst);
    }

    // The control's text with the last call before it, shown until OK.
    void commandShowsTextOfControlModally()
    {
        FakeTapi tapi;
        tapi.devices = {u"Rufmon-Simulator"_s};
        QWidget haupt;
        TapiInfobefehl befehl(tapi, [] { return u"CNumber:0221123\r\n"_s; }, &haupt);

        QString gezeigt, anzeige;
        bool nurLesen = false;
        QTimer::singleShot(0, this, [&] {
            auto *f = qobject_cast<frmTapiInfo *>(QApplication::activeModalWidget());
            QVERIFY(f);
            gezeigt = f->Info();
            anzeige = f->txbInfo()->toPlainText();
            nurLesen = f->txbInfo()->isReadOnly();
            f->cmdOK()->click();
        });
        befehl.mnuTapiInfos();

        QCOMPARE(gezeigt, Treiberinformation(tapi, u"CNumber:0221123\r\n"_s));
        // Read-only, the same lines, empty ones included, without stray CRs.
        QVERIFY(nurLesen);
        QCOMPARE(anzeige.split(u'\n'), gezeigt.split(u"\r\n"_s));
    }
};

QTEST_MAIN(tst_frmTapiInfo)
#include "tst_frmTapiInfo.moc"
