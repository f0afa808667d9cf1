// The boxes as Qt shows them, for the question that waits beside the
// program: answered by a click, closed from outside, dropped, or ended with
// the program.
#include "platform/dialogs/Frage.h"
#include "platform/dialogs/QtDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
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

    // Where to save: the suggestion's ending picks the filter, a name typed
    // without an ending gets the filter's, one with an ending keeps it.
    void saveFileName_data()
    {
        QTest::addColumn<QString>("vorschlag");
        QTest::addColumn<int>("filter"); // the one the user picks; -1: as offered
        QTest::addColumn<QString>("name");  // typed; empty: as suggested; "-": cancelled
        QTest::addColumn<QString>("pfad");
        QTest::newRow("as suggested") << u"Anruferliste.csv"_s << -1 << QString() << u"Anruferliste.csv"_s;
        QTest::newRow("typed without an ending") << u"Anruferliste.csv"_s << -1 << u"Anrufe"_s << u"Anrufe.csv"_s;
        QTest::newRow("address book picked") << u"Anruferliste.csv"_s << 1 << u"Kontakte"_s << u"Kontakte.vcf"_s;
        QTest::newRow("suggested as an address book") << u"Kontakte.vcf"_s << -1 << u"Alle"_s << u"Alle.vcf"_s;
        QTest::newRow("typed with an ending") << u"Anruferliste.csv"_s << 1 << u"Anrufe.txt"_s << u"Anrufe.txt"_s;
        QTest::newRow("cancelled") << u"Anruferliste.csv"_s << -1 << u"-"_s << QString();
    }

    void saveFileName()
    {
        QFETCH(QString, vorschlag);
        QFETCH(int, filter);
        QFETCH(QString, name);
        QFETCH(QString, pfad);
        QTemporaryDir dir;
        QWidget haupt;
        haupt.show();
        QtDialogs dialogs;
        dialogs.setParentWindow(&haupt);
        bool gesehen = false;
        QTimer::singleShot(0, &haupt, [&] {
            auto *dialog = haupt.findChild<QFileDialog *>();
            if (!dialog)
                return;
            gesehen = true;
            QCOMPARE(dialog->windowTitle(), u"Rufmon - Anruferliste exportieren"_s);
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            if (filter >= 0) {
                auto *filterwahl = dialog->findChild<QComboBox *>(u"fileTypeCombo"_s);
                // What the box says when the user picks an entry.
                filterwahl->setCurrentIndex(filter);
                emit filterwahl->activated(filter);
                emit filterwahl->textActivated(filterwahl->itemText(filter));
            }
            if (name == u"-"_s) {
                dialog->reject();
                return;
            }
            if (!name.isEmpty())
                dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->setText(name);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const QString gewaehlt = dialogs.GetSaveFileName(u"Rufmon - Anruferliste exportieren"_s,
                                                         dir.filePath(vorschlag), u"Tabelle (*.csv);;Adressbuch (*.vcf)"_s);
        QVERIFY(gesehen);
        QCOMPARE(gewaehlt, pfad.isEmpty() ? QString() : dir.filePath(pfad));
    }
};

QTEST_MAIN(tst_QtDialogs)
#include "tst_QtDialogs.moc"
