// The driver information window and its menu command.
#include "windows/TapiInfobefehl.h"
#include "windows/frmTapiInfo.h"

#include "doubles/FakeTapi.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class tst_frmTapiInfo : public QObject
{
    Q_OBJECT

private slots:
    void namesAndTexts();
    void escapeReleaseCloses_data();
    void escapeReleaseCloses();
    void escapePressAloneKeepsItOpen();
    void otherKeysKeepItOpen_data();
    void otherKeysKeepItOpen();
    void okCloses();
    void commandShowsTextOfControlModally_data();
    void commandShowsTextOfControlModally();
};

void tst_frmTapiInfo::namesAndTexts()
{
    frmTapiInfo f;
    QCOMPARE(f.objectName(), u"frmTapiInfo"_s);
    QCOMPARE(f.windowTitle(), u"Tapi-Informationen"_s);
    QVERIFY(f.findChild<QPlainTextEdit *>(u"txbInfo"_s));
    QVERIFY(f.findChild<QPushButton *>(u"cmdOK"_s));

    f.setInfo(u"Device:\tA\r\n\r\nTapiversion:\t1"_s);
    QCOMPARE(f.Info(), u"Device:\tA\r\n\r\nTapiversion:\t1"_s);
    // Shown as three lines, without stray carriage returns.
    QCOMPARE(f.txbInfo()->toPlainText(), u"Device:\tA\n\nTapiversion:\t1"_s);
    QVERIFY(f.txbInfo()->isReadOnly());
}

void tst_frmTapiInfo::escapeReleaseCloses_data()
{
    QTest::addColumn<QString>("ziel");
    QTest::newRow("on the text") << u"txbInfo"_s;
    QTest::newRow("on the button") << u"cmdOK"_s;
    QTest::newRow("on the window") << u"frmTapiInfo"_s;
}

void tst_frmTapiInfo::escapeReleaseCloses()
{
    QFETCH(QString, ziel);
    frmTapiInfo f;
    f.show();
    QWidget *w = ziel == f.objectName() ? &f : f.findChild<QWidget *>(ziel);
    QVERIFY(w);
    QTest::keyPress(w, Qt::Key_Escape);
    QVERIFY(f.isVisible());
    QTest::keyRelease(w, Qt::Key_Escape);
    QVERIFY(!f.isVisible());
}

void tst_frmTapiInfo::escapePressAloneKeepsItOpen()
{
    frmTapiInfo f;
    f.show();
    QTest::keyPress(f.txbInfo(), Qt::Key_Escape);
    QTest::keyPress(&f, Qt::Key_Escape);
    QVERIFY(f.isVisible());
}

void tst_frmTapiInfo::otherKeysKeepItOpen_data()
{
    QTest::addColumn<int>("taste");
    QTest::newRow("a") << int(Qt::Key_A);
    QTest::newRow("space") << int(Qt::Key_Space);
    QTest::newRow("F4") << int(Qt::Key_F4);
}

void tst_frmTapiInfo::otherKeysKeepItOpen()
{
    QFETCH(int, taste);
    frmTapiInfo f;
    f.show();
    QTest::keyClick(f.txbInfo(), Qt::Key(taste));
    QTest::keyClick(&f, Qt::Key(taste));
    QVERIFY(f.isVisible());
}

void tst_frmTapiInfo::okCloses()
{
    frmTapiInfo f;
    f.show();
    f.cmdOK()->click();
    QVERIFY(!f.isVisible());
}

void tst_frmTapiInfo::commandShowsTextOfControlModally_data()
{
    QTest::addColumn<QString>("letzterAnruf");
    QTest::addColumn<QString>("anfang");
    QTest::newRow("before any call") << QString() << u"Device:\tRufmon-Simulator\r\n"_s;
    QTest::newRow("after a call")
        << u"CNumber:0221123\r\n"_s
        << u"Letzter CallEvent:\r\nCNumber:0221123\r\n\r\n\r\nDevice:\tRufmon-Simulator\r\n"_s;
}

void tst_frmTapiInfo::commandShowsTextOfControlModally()
{
    QFETCH(QString, letzterAnruf);
    QFETCH(QString, anfang);

    FakeTapi tapi;
    tapi.devices = {u"Rufmon-Simulator"_s};
    QWidget haupt;
    TapiInfobefehl befehl(tapi, [letzterAnruf] { return letzterAnruf; }, &haupt);

    QString gezeigt;
    bool modal = false;
    QTimer::singleShot(0, this, [&] {
        auto *f = qobject_cast<frmTapiInfo *>(QApplication::activeModalWidget());
        QVERIFY(f);
        modal = f->isModal();
        gezeigt = f->Info();
        QTest::keyRelease(f->txbInfo(), Qt::Key_Escape);
    });
    befehl.mnuTapiInfos();

    QVERIFY(modal);
    QVERIFY2(gezeigt.startsWith(anfang), qPrintable(gezeigt));
    QVERIFY(gezeigt.endsWith(u"Features:\t"_s));
}

QTEST_MAIN(tst_frmTapiInfo)
#include "tst_frmTapiInfo.moc"
