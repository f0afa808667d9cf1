// The about box: its texts, the credits that run while it shows, and the
// ways to close it.
#include "windows/Infobefehl.h"
#include "windows/frmInfo.h"

#include "doubles/FakeSystem.h"
#include "doubles/FakeTapi.h"

#include <QApplication>
#include <QLabel>
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

} // namespace

class tst_frmInfo : public QObject
{
    Q_OBJECT

private slots:
    void creditsRunWhileShown()
    {
        Box b;
        QVERIFY(!b.f.Timer1().isActive());
        b.f.show();
        QTRY_VERIFY(b.f.Scrollposition() > 2);
        b.f.close();
        QVERIFY(!b.f.Timer1().isActive());
    }

    void closing_data()
    {
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<int>("taste"); // 0: a click
        QTest::addColumn<bool>("schliesst");
        QTest::addColumn<QList<QUrl>>("geoeffnet");
        QTest::newRow("click on the window") << u"frmInfo"_s << 0 << true << QList<QUrl>{};
        QTest::newRow("click on a label") << u"lbVersion"_s << 0 << true << QList<QUrl>{};
        QTest::newRow("click on the link") << u"lbLink"_s << 0 << true
                                           << QList<QUrl>{QUrl(u"https://rufmon.example.org"_s)};
        QTest::newRow("Esc") << u"frmInfo"_s << int(Qt::Key_Escape) << true << QList<QUrl>{};
        // Not the dialog's default button either.
        QTest::newRow("return") << u"frmInfo"_s << int(Qt::Key_Return) << false << QList<QUrl>{};
    }

    void closing()
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

    void commandShowsBoxModally()
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
};

QTEST_MAIN(tst_frmInfo)
#include "tst_frmInfo.moc"
