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

struct Box
{
    FakeTapi tapi;
    FakeSystem system;
    frmInfo f{tapi, system};
};

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
    void creditsScrollAndRestart();
    void timerRunsWhileShown();
    void closing_data();
    void closing();
    void pointerOverLink();
    void commandShowsBoxModally();
};

void tst_frmInfo::creditsScrollAndRestart()
{
    Box b;
    frmInfo &f = b.f;
    // Taller than its box, or there would be nothing to scroll.
    QCOMPARE(f.Creditsbild().width(), f.picScrollText()->width());
    QVERIFY(f.Creditsbild().height() > 2 * f.picScrollText()->height());
    QCOMPARE(gezeigt(f), ausschnitt(f, 0));

    // A tick paints the row it stands on, then moves on; the tick that
    // shows the last row starts over.
    const int letzte = f.Creditsbild().height() - f.picScrollText()->height() - 1;
    QVERIFY(ausschnitt(f, letzte) != ausschnitt(f, 0));
    for (int i = 0; i < letzte; ++i)
        f.Timer1_Timer();
    QCOMPARE(f.Scrollposition(), letzte);
    QCOMPARE(gezeigt(f), ausschnitt(f, letzte - 1));
    f.Timer1_Timer();
    QCOMPARE(gezeigt(f), ausschnitt(f, letzte));
    QCOMPARE(f.Scrollposition(), 0);
    f.Timer1_Timer();
    QCOMPARE(gezeigt(f), ausschnitt(f, 0));
    QCOMPARE(f.Scrollposition(), 1);
}

void tst_frmInfo::timerRunsWhileShown()
{
    Box b;
    QVERIFY(!b.f.Timer1().isActive());
    b.f.show();
    QTRY_VERIFY(b.f.Scrollposition() > 2);
    b.f.close();
    QVERIFY(!b.f.Timer1().isActive());
}

void tst_frmInfo::closing_data()
{
    QTest::addColumn<QString>("ziel");
    QTest::addColumn<int>("taste"); // 0: a click
    QTest::addColumn<bool>("schliesst");
    QTest::addColumn<QList<QUrl>>("geoeffnet");
    QTest::newRow("click on the window") << u"frmInfo"_s << 0 << true << QList<QUrl>{};
    QTest::newRow("click on lbVersion") << u"lbVersion"_s << 0 << true << QList<QUrl>{};
    QTest::newRow("click on lbCopyright") << u"lbCopyright"_s << 0 << true << QList<QUrl>{};
    QTest::newRow("click on picScrollText") << u"picScrollText"_s << 0 << true << QList<QUrl>{};
    QTest::newRow("click on lbLink") << u"lbLink"_s << 0 << true << QList<QUrl>{QUrl(u"https://rufmon.example.org"_s)};
    QTest::newRow("Esc") << u"frmInfo"_s << int(Qt::Key_Escape) << true << QList<QUrl>{};
    QTest::newRow("a") << u"frmInfo"_s << int(Qt::Key_A) << false << QList<QUrl>{};
    QTest::newRow("return") << u"frmInfo"_s << int(Qt::Key_Return) << false << QList<QUrl>{};
}

void tst_frmInfo::closing()
{
    QFETCH(QString, ziel);
    QFETCH(int, taste);
    QFETCH(bool, schliesst);
    QFETCH(QList<QUrl>, geoeffnet);
    Box b;
    b.f.show();
    QWidget *w = ziel == b.f.objectName() ? &b.f : b.f.findChild<QWidget *>(ziel);
    QVERIFY(w);
    // On the window itself: a spot where no control lies.
    if (taste == 0)
        QTest::mouseClick(w, Qt::LeftButton, {}, w == &b.f ? QPoint(4, b.f.height() - 4) : w->rect().center());
    else
        QTest::keyClick(w, Qt::Key(taste));
    QCOMPARE(b.f.isVisible(), !schliesst);
    QCOMPARE(b.system.openedUrls, geoeffnet);
}

void tst_frmInfo::pointerOverLink()
{
    Box b;
    b.f.show();
    QVERIFY(!b.f.lbLink()->font().underline());
    bewege(b.f.lbLink());
    QVERIFY(b.f.lbLink()->font().underline());
    QCOMPARE(b.f.cursor().shape(), Qt::PointingHandCursor);
    bewege(&b.f);
    QVERIFY(!b.f.lbLink()->font().underline());
    QCOMPARE(b.f.cursor().shape(), Qt::ArrowCursor);
    QVERIFY(b.f.isVisible());
}

void tst_frmInfo::commandShowsBoxModally()
{
    FakeTapi tapi;
    FakeSystem system;
    QWidget haupt;
    Infobefehl befehl(tapi, system, &haupt);
    QStringList texte;
    QTimer::singleShot(0, this, [&] {
        auto *f = qobject_cast<frmInfo *>(QApplication::activeModalWidget());
        QVERIFY(f);
        texte << f->lbVersion()->text() << f->lbCopyright()->text().split(u'\n');
        QTest::keyClick(f, Qt::Key_Escape);
    });
    befehl.imBanner_Click();
    QCOMPARE(texte.size(), 3);
    QCOMPARE(texte[0], u"Version "_s + QStringLiteral(RUFMON_VERSION_TEXT));
    QCOMPARE(texte[2], u"TopTapi: Fake 1.0"_s);
}

QTEST_MAIN(tst_frmInfo)
#include "tst_frmInfo.moc"
