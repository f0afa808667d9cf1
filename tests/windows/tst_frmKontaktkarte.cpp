// The contact card: one contact of a generated ACT! database, and how the
// user closes it again.
#include "windows/frmKontaktkarte.h"

#include "doubles/Beispielkontakte.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

class tst_frmKontaktkarte : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_kontakte = Beispielkontakte::schreibe(m_dir.filePath(u"act"_s));
    }

    void showsTheContact()
    {
        frmKontaktkarte karte;
        QVERIFY(karte.zeige(m_kontakte.tabelle, m_kontakte.greta));
        QCOMPARE(karte.aktuelleID(), m_kontakte.greta);
        QCOMPARE(karte.Meldung(), u"Greta Grünwald"_s);
        QVERIFY(karte.Zeilen().contains({u"Firma"_s, u"Grünwald & Söhne"_s})
                || karte.Zeilen().contains({u"COMPANY"_s, u"Grünwald & Söhne"_s}));
        // It opens in the middle of the screen, whole.
        karte.sichtbar();
        QVERIFY(QTest::qWaitForWindowExposed(&karte));
        // Once the desktop has framed it.
        const QRect frei = karte.screen()->availableGeometry();
        QVERIFY2(QTest::qWaitFor(
                     [&] {
                         return karte.frameGeometry() != karte.geometry()
                                && (karte.frameGeometry().center() - frei.center()).manhattanLength() <= 2;
                     },
                     3000),
                 qPrintable(u"%1,%2"_s.arg(karte.frameGeometry().x()).arg(karte.frameGeometry().y())));
        QVERIFY(frei.contains(karte.frameGeometry()));
    }

    // Esc wherever the focus is, and the button; other keys leave it open.
    void closing_data()
    {
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<int>("taste"); // 0: a click
        QTest::addColumn<bool>("schliesst");
        QTest::newRow("Esc on the card") << u"frmKontaktkarte"_s << int(Qt::Key_Escape) << true;
        QTest::newRow("Esc on the fields") << u"lvFelder"_s << int(Qt::Key_Escape) << true;
        QTest::newRow("Esc on the button") << u"cmdSchliessen"_s << int(Qt::Key_Escape) << true;
        QTest::newRow("the button clicked") << u"cmdSchliessen"_s << 0 << true;
        QTest::newRow("space on the button") << u"cmdSchliessen"_s << int(Qt::Key_Space) << true;
        QTest::newRow("a letter on the fields") << u"lvFelder"_s << int(Qt::Key_A) << false;
        QTest::newRow("Return on the fields") << u"lvFelder"_s << int(Qt::Key_Return) << false;
    }
    void closing()
    {
        QFETCH(QString, ziel);
        QFETCH(int, taste);
        QFETCH(bool, schliesst);
        frmKontaktkarte karte;
        QVERIFY(karte.zeige(m_kontakte.tabelle, m_kontakte.greta));
        karte.nachVorne();
        QVERIFY(QTest::qWaitForWindowActive(&karte));
        auto *knopf = karte.findChild<QPushButton *>(u"cmdSchliessen"_s);
        QVERIFY(knopf);
        QCOMPARE(knopf->text(), u"&Schließen"_s);
        QWidget *w = ziel == karte.objectName() ? &karte : karte.findChild<QWidget *>(ziel);
        QVERIFY(w);
        w->setFocus();
        if (taste == 0)
            QTest::mouseClick(w, Qt::LeftButton);
        else
            QTest::keyClick(w, Qt::Key(taste));
        QCOMPARE(karte.isVisible(), !schliesst);
        // Shown again, it has the contact still.
        karte.nachVorne();
        QCOMPARE(karte.aktuelleID(), m_kontakte.greta);
    }

private:
    QTemporaryDir m_dir;
    Beispielkontakte m_kontakte;
};

QTEST_MAIN(tst_frmKontaktkarte)
#include "tst_frmKontaktkarte.moc"
