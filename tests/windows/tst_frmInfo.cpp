// The about box: its texts, the scrolling credits and the ways to close it.
#include "windows/Infobefehl.h"
#include "windows/frmInfo.h"

#include "doubles/FakeSystem.h"
#include "doubles/FakeTapi.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

void bewege(QWidget *w)
{
    const QPointF innen(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent e(QEvent::MouseMove, innen, w->mapToGlobal(innen), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

QImage gezeigt(const frmInfo &f)
{
    return f.picScrollText()->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage ausschnitt(const frmInfo &f, int oben)
{
    const QSize box = f.picScrollText()->size();
    return f.Creditsbild().copy(0, oben, box.width(), box.height()).toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class tst_frmInfo : public QObject
{
    Q_OBJECT

private slots:
    void namesAndTexts();
    void versionOfTheBuild();
    void copyrightAndControlVersion();
    void creditsNameAuthorsAndLibraries();
    void creditsScrollOneRowPerTick();
    void creditsRestartFromTheTop();
    void timerRunsWhileShown();
    void escapeCloses();
    void otherKeysLeaveItOpen_data();
    void otherKeysLeaveItOpen();
    void clicksClose_data();
    void clicksClose();
    void linkOpensWebAddressAndCloses();
    void pointerOverLink();
    void commandShowsBoxModally();
};

void tst_frmInfo::namesAndTexts()
{
    FakeTapi tapi;
    FakeSystem system;
    frmInfo f(tapi, system);
    QCOMPARE(f.objectName(), u"frmInfo"_s);
    QCOMPARE(f.windowTitle(), u"Informationen über das Programm"_s);
    for (const QString &name : {u"lbVersion"_s, u"lbCopyright"_s, u"lbLink"_s, u"picScrollText"_s})
        QVERIFY2(f.findChild<QLabel *>(name), qPrintable(name));
    QCOMPARE(f.Scrollposition(), 0);
}

void tst_frmInfo::versionOfTheBuild()
{
    FakeTapi tapi;
    FakeSystem system;
    frmInfo f(tapi, system);
    // The project's version as CMake writes it, "major.minor.patch".
    QCOMPARE(f.lbVersion()->text(), u"Version "_s + QStringLiteral(RUFMON_VERSION_TEXT));
}

void tst_frmInfo::copyrightAndControlVersion()
{
    FakeTapi tapi;
    FakeSystem system;
    frmInfo f(tapi, system);
    const QStringList zeilen = f.lbCopyright()->text().split(u'\n');
    QCOMPARE(zeilen.size(), 2);
    QVERIFY(zeilen[0].startsWith(u"Copyright"_s));
    QCOMPARE(zeilen[1], u"TopTapi: "_s + tapi.Version());
}

void tst_frmInfo::creditsNameAuthorsAndLibraries()
{
    const QStringList zeilen = frmInfo::Creditszeilen();
    QVERIFY(zeilen.contains(u"Idee und Entwicklung: Rufmon-Team"_s));
    QVERIFY(zeilen.contains(u"Qt (LGPL-3.0)"_s));
    QVERIFY(zeilen.contains(u"SQLite (Public Domain)"_s));
    QVERIFY(zeilen.contains(u"Vorwahlen: libphonenumber (Apache-2.0)"_s));
    QVERIFY(zeilen.contains(u"Ländernamen: Unicode CLDR (Unicode-Lizenz)"_s));

    FakeTapi tapi;
    FakeSystem system;
    frmInfo f(tapi, system);
    // Taller than its box, or there would be nothing to scroll.
    QCOMPARE(f.Creditsbild().width(), f.picScrollText()->width());
    QVERIFY(f.Creditsbild().height() > 2 * f.picScrollText()->height());
}

void tst_frmInfo::creditsScrollOneRowPerTick()
{
    FakeTapi tapi;
    FakeSystem system;
    frmInfo f(tapi, system);
    // Freshly loaded, the box shows the top of the credits.
    QCOMPARE(gezeigt(f), ausschnitt(f, 0));
    for (int i = 0; i < 25; ++i)
        f.Timer1_Timer();
    QCOMPARE(f.Scrollposition(), 25);
    // A tick paints the row it stands on, then moves on.
    QCOMPARE(gezeigt(f), ausschnitt(f, 24));
    QVERIFY(gezeigt(f) != ausschnitt(f, 0));
}

void tst_frmInfo::creditsRestartFromTheTop()
{
    FakeTapi tapi;
    FakeSystem system;
    frmInfo f(tapi, system);
    const int letzte = f.Creditsbild().height() - f.picScrollText()->height() - 1;
    for (int i = 0; i < letzte; ++i)
        f.Timer1_Timer();
    QCOMPARE(f.Scrollposition(), letzte);
    // The tick that shows the last row starts over.
    f.Timer1_Timer();
    QCOMPARE(gezeigt(f), ausschnitt(f, letzte));
    QCOMPARE(f.Scrollposition(), 0);
    f.Timer1_Timer();
    QCOMPARE(gezeigt(f), ausschnitt(f, 0));
    QCOMPARE(f.Scrollposition(), 1);
}

void tst_frmInfo::timerRunsWhileShown()
{
    FakeTapi tapi;
    FakeSystem system;
    frmInfo f(tapi, system);
    QVERIFY(!f.Timer1().isActive());
    f.show();
    QVERIFY(f.Timer1().isActive());
    QTRY_VERIFY(f.Scrollposition() > 2);
    f.close();
    QVERIFY(!f.Timer1().isActive());
}

void tst_frmInfo::escapeCloses()
{
    FakeTapi tapi;
    FakeSystem system;
    frmInfo f(tapi, system);
    f.show();
    QTest::keyClick(&f, Qt::Key_Escape);
    QVERIFY(!f.isVisible());
}

void tst_frmInfo::otherKeysLeaveItOpen_data()
{
    QTest::addColumn<int>("taste");
    QTest::newRow("a") << int(Qt::Key_A);
    QTest::newRow("return") << int(Qt::Key_Return);
    QTest::newRow("space") << int(Qt::Key_Space);
    QTest::newRow("F1") << int(Qt::Key_F1);
}

void tst_frmInfo::otherKeysLeaveItOpen()
{
    QFETCH(int, taste);
    FakeTapi tapi;
    FakeSystem system;
    frmInfo f(tapi, system);
    f.show();
    QTest::keyClick(&f, Qt::Key(taste));
    QVERIFY(f.isVisible());
}

void tst_frmInfo::clicksClose_data()
{
    QTest::addColumn<QString>("ziel");
    QTest::newRow("window") << u"frmInfo"_s;
    QTest::newRow("lbVersion") << u"lbVersion"_s;
    QTest::newRow("lbCopyright") << u"lbCopyright"_s;
    QTest::newRow("picScrollText") << u"picScrollText"_s;
}

void tst_frmInfo::clicksClose()
{
    QFETCH(QString, ziel);
    FakeTapi tapi;
    FakeSystem system;
    frmInfo f(tapi, system);
    f.show();
    QWidget *w = ziel == f.objectName() ? &f : f.findChild<QWidget *>(ziel);
    QVERIFY(w);
    // On the window itself: a spot where no control lies.
    const QPoint wo = w == &f ? QPoint(4, f.height() - 4) : w->rect().center();
    QTest::mouseClick(w, Qt::LeftButton, {}, wo);
    QVERIFY(!f.isVisible());
    QVERIFY(system.openedUrls.isEmpty());
}

void tst_frmInfo::linkOpensWebAddressAndCloses()
{
    FakeTapi tapi;
    FakeSystem system;
    frmInfo f(tapi, system);
    f.show();
    QTest::mouseClick(f.lbLink(), Qt::LeftButton);
    QCOMPARE(system.openedUrls, QList<QUrl>{QUrl(u"https://rufmon.example.org"_s)});
    QVERIFY(!f.isVisible());
}

void tst_frmInfo::pointerOverLink()
{
    FakeTapi tapi;
    FakeSystem system;
    frmInfo f(tapi, system);
    f.show();
    QVERIFY(!f.lbLink()->font().underline());

    bewege(f.lbLink());
    QVERIFY(f.lbLink()->font().underline());
    QCOMPARE(f.cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(f.isVisible());

    bewege(&f);
    QVERIFY(!f.lbLink()->font().underline());
    QCOMPARE(f.cursor().shape(), Qt::ArrowCursor);
    QVERIFY(f.isVisible());
}

void tst_frmInfo::commandShowsBoxModally()
{
    FakeTapi tapi;
    FakeSystem system;
    QWidget haupt;
    Infobefehl befehl(tapi, system, &haupt);
    QString version;
    QTimer::singleShot(0, this, [&] {
        auto *f = qobject_cast<frmInfo *>(QApplication::activeModalWidget());
        QVERIFY(f);
        version = f->lbCopyright()->text();
        QTest::keyClick(f, Qt::Key_Escape);
    });
    befehl.imBanner_Click();
    QVERIFY(version.endsWith(u"TopTapi: Fake 1.0"_s));
}

QTEST_MAIN(tst_frmInfo)
#include "tst_frmInfo.moc"
