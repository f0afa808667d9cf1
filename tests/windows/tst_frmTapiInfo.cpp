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
    void keys_data();
    void keys();
    void okCloses();
    void commandShowsTextOfControlModally_data();
    void commandShowsTextOfControlModally();
};

void tst_frmTapiInfo::keys_data()
{
    QTest::addColumn<QString>("ziel");
    QTest::addColumn<int>("taste");
    QTest::addColumn<bool>("schliesst");
    // Escape closes when let go, wherever the focus is; other keys never.
    for (const QString &ziel : {u"txbInfo"_s, u"cmdOK"_s, u"frmTapiInfo"_s}) {
        QTest::addRow("Esc on %s", qPrintable(ziel)) << ziel << int(Qt::Key_Escape) << true;
        QTest::addRow("a on %s", qPrintable(ziel)) << ziel << int(Qt::Key_A) << false;
    }
    QTest::newRow("space on the window") << u"frmTapiInfo"_s << int(Qt::Key_Space) << false;
    QTest::newRow("F4 on the text") << u"txbInfo"_s << int(Qt::Key_F4) << false;
}

void tst_frmTapiInfo::keys()
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

    QString gezeigt, anzeige;
    bool nurLesen = false;
    QTimer::singleShot(0, this, [&] {
        auto *f = qobject_cast<frmTapiInfo *>(QApplication::activeModalWidget());
        QVERIFY(f);
        gezeigt = f->Info();
        anzeige = f->txbInfo()->toPlainText();
        nurLesen = f->txbInfo()->isReadOnly();
        QTest::keyRelease(f->txbInfo(), Qt::Key_Escape);
    });
    befehl.mnuTapiInfos();

    QVERIFY2(gezeigt.startsWith(anfang), qPrintable(gezeigt));
    // Read-only, the same lines, empty ones included, without stray CRs.
    QVERIFY(nurLesen);
    QCOMPARE(anzeige.split(u'\n'), gezeigt.split(u"\r\n"_s));
    QVERIFY(gezeigt.endsWith(u"Features:\t"_s));
}

QTEST_MAIN(tst_frmTapiInfo)
#include "tst_frmTapiInfo.moc"
