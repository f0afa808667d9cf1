// The telephony log: its lines, its window and the menu command that shows and closes it.
#include "windows/Protokollbefehl.h"
#include "windows/frmProtokoll.h"

#include "doubles/FakeSystem.h"

#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_frmProtokoll : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void lines_data()
    {
        QTest::addColumn<QString>("ereignis");
        QTest::addColumn<QString>("werte");
        QTest::addColumn<QString>("hinten"); // the line after the moment

        // Every kind of line break in the values, a driver's bare ones too, keeps the entry on one line.
        QTest::newRow("line breaks")
            << u"OnCallerID"_s << u"CCallstate=\"IDLE\"\r\nCName=\"Meier\nKöln\"\r\nErrorText=\"a\rb\"\r\n"_s
            << u" Event: OnCallerID Values: CCallstate=\"IDLE\", CName=\"Meier, Köln\", ErrorText=\"a, b\", "_s;
        QTest::newRow("no values") << u"OnDeviceChanged"_s << QString() << u" Event: OnDeviceChanged Values: "_s;
    }
    void lines()
    {
        QFETCH(QString, ereignis);
        QFETCH(QString, werte);
        QFETCH(QString, hinten);
        FakeSystem system;
        frmProtokoll f(system);
        f.setUhr([] { return QDateTime(QDate(2026, 3, 1), QTime(7, 4, 8)); });
        // A German desktop writes the day first and the time with seconds. Every
        // line begins with its break, so the log begins with an empty line.
        const QString zeile = u"\r\n01.03.2026 07:04:08"_s + hinten;
        f.PrintProtokoll(ereignis, werte);
        f.PrintProtokoll(ereignis, werte);
        QCOMPARE(f.Text(), zeile + zeile);
        QCOMPARE(f.txbProtokoll()->toPlainText().split(u'\n').size(), 3);
        QVERIFY(!f.txbProtokoll()->toPlainText().contains(u'\r'));

        f.cmdReset()->click();
        QVERIFY(f.Text().isEmpty());
        f.PrintProtokoll(ereignis, werte);
        QCOMPARE(f.Text(), zeile);
    }

    void keepsTheNewestLines()
    {
        FakeSystem system;
        frmProtokoll f(system);
        const int mehr = 37;
        for (int i = 0; i < frmProtokoll::MaxZeilen + mehr; ++i)
            f.PrintProtokoll(u"OnRinging"_s, u"CRingCount=%1"_s.arg(i));

        const QStringList zeilen = f.Text().split(u"\r\n"_s);
        QCOMPARE(zeilen.size(), 10000);
        // The oldest lines, the empty first one among them, went from the top.
        QVERIFY2(zeilen.first().endsWith(u"Values: CRingCount=%1"_s.arg(mehr)), qPrintable(zeilen.first()));
        QVERIFY2(zeilen.last().endsWith(u"Values: CRingCount=%1"_s.arg(10000 + mehr - 1)), qPrintable(zeilen.last()));
    }

    void closingUnchecksMenu_data()
    {
        QTest::addColumn<int>("wie");
        QTest::newRow("menu item again") << 0;
        QTest::newRow("close box") << 1;
        QTest::newRow("cmdClose") << 2;
    }
    void closingUnchecksMenu()
    {
        QFETCH(int, wie);
        FakeSystem system;
        QWidget haupt;
        bool haken = false;
        Protokollbefehl befehl(system, [&haken](bool h) { haken = h; }, &haupt);

        befehl.mnuTAPIProtokoll(false);
        QVERIFY(haken);
        QPointer<frmProtokoll> f = befehl.Fenster();
        QVERIFY(f && f->isVisible());
        befehl.PrintProtokoll(u"OnRinging"_s, u"CRingCount=1"_s);
        QVERIFY(f->Text().endsWith(u" Event: OnRinging Values: CRingCount=1"_s));

        QSignalSpy geschlossen(f.data(), &frmProtokoll::Geschlossen);
        if (wie == 0)
            befehl.mnuTAPIProtokoll(true);
        else if (wie == 1)
            QVERIFY(f->close());
        else
            f->cmdClose()->click();
        QCOMPARE(geschlossen.count(), 1);
        QVERIFY(!haken);
        // Closing discards the log: the window is gone.
        QTRY_VERIFY(f.isNull());
        QVERIFY(!befehl.Fenster());
        // Nothing to write into any more, and nothing breaks.
        befehl.PrintProtokoll(u"OnRinging"_s, u"CRingCount=2"_s);

        // Opened again, the log starts afresh.
        befehl.mnuTAPIProtokoll(false);
        QVERIFY(haken);
        QVERIFY(befehl.Fenster());
        QVERIFY(befehl.Fenster()->Text().isEmpty());
    }
};

QTEST_MAIN(tst_frmProtokoll)
#include "tst_frmProtokoll.moc"
