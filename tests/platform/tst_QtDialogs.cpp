// The boxes as Qt shows them, for the question that waits beside the
// program: answered by a click, closed from outside, dropped, or ended with
// the program.
#include "platform/dialogs/Frage.h"
#include "platform/dialogs/QtDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_QtDialogs : public QObject
{
    Q_OBJECT

private slots:
    void questionWaitsBesideTheProgram_data()
    {
        QTest::addColumn<QString>("weg");
        QTest::addColumn<int>("antworten");
        QTest::addColumn<Dialogs::Answer>("antwort");
        QTest::newRow("the user says yes") << u"Ja"_s << 1 << Dialogs::Answer::Yes;
        QTest::newRow("the user says no") << u"Nein"_s << 1 << Dialogs::Answer::No;
        QTest::newRow("closed by the window's close box") << u"Schliessen"_s << 1 << Dialogs::Answer::No;
        QTest::newRow("answered from outside") << u"von aussen"_s << 1 << Dialogs::Answer::Yes;
        QTest::newRow("the program ends") << u"Ende"_s << 1 << Dialogs::Answer::No;
        QTest::newRow("the handle dropped") << u"fallen gelassen"_s << 0 << Dialogs::Answer::No;
    }
    void questionWaitsBesideTheProgram()
    {
        QFETCH(QString, weg);
        QFETCH(int, antworten);
        QFETCH(Dialogs::Answer, antwort);

        QWidget haupt;
        haupt.show();
        QtDialogs dialogs;
        dialogs.setParentWindow(&haupt);
        std::unique_ptr<Frage> frage = dialogs.FrageStellen(u"Soll Rufmon wieder aktiviert werden?"_s,
                                                            Dialogs::Buttons::YesNo, Dialogs::Icon::Question,
                                                            Dialogs::defaultTitle());
        QSignalSpy beantwortet(frage.get(), &Frage::Beantwortet);
        const QPointer<QMessageBox> box = haupt.findChild<QMessageBox *>();
        QVERIFY(box);
        QVERIFY(box->isVisible());
        // Nothing waits for it: no box is modal, the call has returned.
        QVERIFY(!box->isModal());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(box->text(), u"Soll Rufmon wieder aktiviert werden?"_s);
        QCOMPARE(box->windowTitle(), u"Rufmon"_s);
        QVERIFY(frage->Offen());

        if (weg == u"Ja"_s)
            box->button(QMessageBox::Yes)->click();
        else if (weg == u"Nein"_s)
            box->button(QMessageBox::No)->click();
        else if (weg == u"Schliessen"_s)
            box->close();
        else if (weg == u"von aussen"_s)
            frage->Schliessen(Dialogs::Answer::Yes);
        else if (weg == u"Ende"_s)
            dialogs.beenden();
        else
            frage.reset();

        QTRY_VERIFY(!box);
        QCOMPARE(beantwortet.size(), antworten);
        if (antworten > 0) {
            QCOMPARE(beantwortet.at(0).at(0).value<Dialogs::Answer>(), antwort);
            QVERIFY(frage->Antwort() == antwort);
            // Only the first answer counts.
            frage->Schliessen(Dialogs::Answer::Cancel);
            QCOMPARE(beantwortet.size(), 1);
        }
    }

    void noQuestionOnceTheProgramEnds()
    {
        QtDialogs dialogs;
        dialogs.beenden();
        std::unique_ptr<Frage> frage = dialogs.FrageStellen(u"Frage"_s, Dialogs::Buttons::YesNo,
                                                            Dialogs::Icon::Question, Dialogs::defaultTitle());
        QSignalSpy beantwortet(frage.get(), &Frage::Beantwortet);
        // Answered after the call, so that the caller hears it.
        QVERIFY(frage->Offen());
        QTRY_COMPARE(beantwortet.size(), 1);
        QVERIFY(frage->Antwort() == Dialogs::Answer::No);
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<QMessageBox *>(w) || !w->isVisible());
    }
};

QTEST_MAIN(tst_QtDialogs)
#include "tst_QtDialogs.moc"
