// The status window of the start-up and of the cache build: where it opens,
// how wide it is, and its banner.
#include "app/frmStatus.h"

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QRect frei()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// The window is framed by the desktop, and the frame lies whole on the free
// part of a screen. A window manager frames a window a moment after it shows.
bool imBild(const QWidget &fenster)
{
    const auto aufEinem = [&] {
        for (const QScreen *bildschirm : QGuiApplication::screens()) {
            if (bildschirm->availableGeometry().contains(fenster.frameGeometry()))
                return true;
        }
        return false;
    };
    return QTest::qWaitFor([&] { return fenster.frameGeometry() != fenster.geometry() && aufEinem(); }, 3000);
}

QString beschreibe(const QRect &r)
{
    return u"%1,%2 %3x%4"_s.arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

class tst_frmStatus : public QObject
{
    Q_OBJECT

private slots:
    // The pictures live in a static library; a test that links it registers
    // them itself, as the main window does in the program.
    void initTestCase() { Q_INIT_RESOURCE(rufmon); }

    // Over the main window, shown or only placed yet (the start-up); over
    // the screen without one; and always whole on the screen, also when the
    // main window is not.
    void opensCentredInsideTheScreen_data()
    {
        QTest::addColumn<QRect>("haupt"); // the main window; none when empty
        QTest::addColumn<bool>("gezeigt");
        QTest::addColumn<bool>("mittig");
        const QRect f = frei();
        QTest::newRow("no main window") << QRect() << false << true;
        QTest::newRow("main window shown") << QRect(f.left() + 40, f.top() + 30, 500, 420) << true << true;
        QTest::newRow("main window placed, not yet shown") << QRect(f.left() + 60, f.top() + 20, 500, 420) << false
                                                           << true;
        QTest::newRow("main window off the bottom right corner")
            << QRect(f.right() - 120, f.bottom() - 40, 500, 420) << true << false;
        QTest::newRow("main window off the top left corner") << QRect(f.left() - 450, f.top() - 400, 500, 420) << true
                                                             << false;
    }
    void opensCentredInsideTheScreen()
    {
        QFETCH(QRect, haupt);
        QFETCH(bool, gezeigt);
        QFETCH(bool, mittig);

        QWidget hauptfenster;
        if (!haupt.isEmpty()) {
            hauptfenster.resize(haupt.size());
            hauptfenster.move(haupt.topLeft());
            if (gezeigt) {
                hauptfenster.show();
                QVERIFY(QTest::qWaitForWindowExposed(&hauptfenster));
            }
        }
        frmStatus status(haupt.isEmpty() ? nullptr : &hauptfenster);
        status.setHauptInfo(u"Nummern-Cache..."_s);
        status.show();
        QVERIFY(QTest::qWaitForWindowExposed(&status));
        QVERIFY2(imBild(status), qPrintable(beschreibe(status.frameGeometry()) + u" in "_s + beschreibe(frei())));
        if (mittig) {
            // Once more as soon as the desktop has framed it.
            const auto abstand = [&] {
                const QPoint mitte = haupt.isEmpty() ? frei().center() : hauptfenster.frameGeometry().center();
                return status.frameGeometry().center() - mitte;
            };
            QVERIFY2(QTest::qWaitFor([&] { return abstand().manhattanLength() <= 2; }, 3000),
                     qPrintable(beschreibe(status.frameGeometry()) + u" um "_s + QString::number(abstand().x()) + u','
                                + QString::number(abstand().y()) + u" neben der Mitte"_s));
        }
    }

    // With two screens, on the one where the main window is.
    void opensOnTheMainWindowsScreen()
    {
        const QList<QScreen *> bildschirme = QGuiApplication::screens();
        if (bildschirme.size() < 2)
            QSKIP("Nur ein Bildschirm");
        const QRect zweiter = bildschirme[1]->availableGeometry();
        QWidget hauptfenster;
        hauptfenster.resize(500, 420);
        hauptfenster.move(zweiter.topLeft() + QPoint(100, 100));
        hauptfenster.show();
        QVERIFY(QTest::qWaitForWindowExposed(&hauptfenster));
        frmStatus status(&hauptfenster);
        status.show();
        QVERIFY(QTest::qWaitForWindowExposed(&status));
        QVERIFY2(QTest::qWaitFor([&] { return zweiter.contains(status.frameGeometry()); }, 3000),
                 qPrintable(beschreibe(status.frameGeometry())));
        QVERIFY((status.frameGeometry().center() - hauptfenster.frameGeometry().center()).manhattanLength() <= 2);
    }

    // The longest texts of the cache build show whole; a shorter one after
    // them leaves the window as it is, so that it does not jump from step to step.
    void sizedToItsTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("import") << u"TabCache: Datenimport in Tabelle ACTNR (100% fertig)"_s;
        QTest::newRow("primary key") << u"TabCache: PrimeryKey-Index für Feld UNIQUE_ID wird erstellt"_s;
        QTest::newRow("start-up step") << u"ACT!-Monitor initialisieren"_s;
    }
    void sizedToItsTexts()
    {
        QFETCH(QString, text);
        frmStatus status;
        status.setHauptInfo(u"Nummern-Cache..."_s);
        status.show();
        QVERIFY(QTest::qWaitForWindowExposed(&status));
        status.setInfo(text);
        auto *info = status.findChild<QLabel *>(u"lbInfo"_s);
        QVERIFY(info);
        QCOMPARE(info->text(), text);
        QVERIFY2(info->contentsRect().width() >= info->fontMetrics().horizontalAdvance(text),
                 qPrintable(QString::number(info->contentsRect().width())));
        QVERIFY(imBild(status));

        const QSize breit = status.size();
        status.setInfo(u"TabCache: Tabelle ACTNR wird erstellt"_s);
        QCOMPARE(status.size(), breit);
        QCOMPARE(status.Info(), u"TabCache: Tabelle ACTNR wird erstellt"_s);
    }

    // A text wider than the screen: the window as wide as the screen allows,
    // the text shortened in its middle and whole in the tool tip.
    void aTextWiderThanTheScreen()
    {
        const QString lang = u"TabCache: Datenimport in Tabelle "_s + QString(300, u'X') + u" (7% fertig)"_s;
        frmStatus status;
        status.show();
        QVERIFY(QTest::qWaitForWindowExposed(&status));
        status.setInfo(lang);
        QVERIFY2(imBild(status), qPrintable(beschreibe(status.frameGeometry())));
        auto *info = status.findChild<QLabel *>(u"lbInfo"_s);
        QVERIFY(info->text().startsWith(u"TabCache: Datenimport"_s));
        QVERIFY(info->text().endsWith(u"(7% fertig)"_s));
        QVERIFY(info->text().contains(QChar(0x2026)));
        QVERIFY(info->fontMetrics().horizontalAdvance(info->text()) <= info->contentsRect().width());
        QCOMPARE(info->toolTip(), lang);
        QCOMPARE(status.Info(), lang);
    }

    // The banner runs back and forth through its pictures while the program
    // loads, one step per tick.
    void bannerRunsBackAndForth()
    {
        frmStatus fenster;
        const auto *banner = fenster.findChild<QLabel *>(u"imBanner"_s);
        QVERIFY(banner);
        QList<int> folge;
        for (int tick = 0; tick < 12; ++tick) {
            folge << fenster.Bildnummer();
            const QImage vorher = banner->pixmap().toImage();
            QVERIFY(!vorher.isNull());
            fenster.Timer1_Timer();
            QVERIFY(banner->pixmap().toImage() != vorher);
        }
        QCOMPARE(folge, (QList<int>{1, 2, 3, 4, 5, 6, 5, 4, 3, 2, 1, 2}));
    }
};

QTEST_MAIN(tst_frmStatus)
#include "tst_frmStatus.moc"
