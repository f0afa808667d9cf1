// The free-list editor on a copy of the phone database the build makes.
#include "phonedb/clRufmonDaten.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "windows/Nummernlistenbefehl.h"
#include "windows/NummernlisteModell.h"
#include "windows/frmNummernliste.h"

#include "TestPaths.h"
#include "doubles/Umgebung.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString Unbekannt = u"Unbekannt"_s;
const QStringList Albers = {u"0221100"_s, u"Albers"_s, u"Köln"_s};
const QStringList Brandt = {u"089200"_s, u"Brandt"_s, u"München"_s};

struct Aufbau : Umgebung
{
    QString pfad = dir.filePath(u"Nummern.mdb"_s);
    std::unique_ptr<clRufmonDaten> daten;
    std::unique_ptr<frmNummernliste> f;

    // A fresh database holding the given rows, and the editor on it, loaded and shown.
    bool zeige(const QList<QStringList> &zeilen = {}, bool nurLesen = false)
    {
        if (!QFile::copy(QStringLiteral(RUFMON_NUMMERN_MDB), pfad))
            return false;
        QFile(pfad).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        daten = std::make_unique<clRufmonDaten>(dialogs, optionen);
        daten->init(pfad);
        if (!daten->istOffen())
            return false;
        for (const QStringList &z : zeilen)
            daten->Datenbank()->Execute(u"INSERT INTO Liste (Nummer, Name, Ort) VALUES (?, ?, ?)"_s,
                                        QVariantList{z[0], z[1], z[2]});
        f = std::make_unique<frmNummernliste>(
            dialogs, nurLesen ? DBEngine::instance().OpenDatabase(pfad, false, true) : daten->Datenbank());
        if (!f->Form_Load())
            return false;
        f->show();
        return true;
    }

    // The free-list look-up of the caller identification, through the editor's
    // connection or through one of its own, which sees only committed rows.
    QStringList suche(const QString &nummer, bool getrennt = false)
    {
        QString name, ort;
        clRufmonDaten andere(dialogs, optionen);
        if (getrennt)
            andere.init(pfad);
        (getrennt ? andere : *daten).SucheNameOrtAusFreierListe(nummer, name, ort);
        andere.kill();
        return {name, ort};
    }

    int zeilen()
    {
        return daten->Datenbank()->OpenRecordset(u"SELECT COUNT(*) FROM Liste"_s, QVariantList())->Wert(0).toInt();
    }

    void waehle(int row) { f->dbgNummern()->setCurrentIndex(f->Modell().index(row, 0)); }
};

void tippe(frmNummernliste &f, int row, const QStringList &werte)
{
    NummernlisteModell &m = f.Modell();
    for (int s = 0; s < werte.size(); ++s)
        QVERIFY(m.setData(m.index(row, s), werte[s]));
}

} // namespace

class tst_frmNummernliste : public QObject
{
    Q_OBJECT

private slots:
    void savedRowIsFoundRightAway()
    {
        Aufbau a;
        QVERIFY(a.zeige({Albers}));
        // Leaving a row saves it, before OK.
        a.waehle(1);
        tippe(*a.f, 1, Brandt);
        QCOMPARE(a.suche(u"089200"_s, true), (QStringList{Unbekannt, Unbekannt}));
        a.waehle(0);
        QCOMPARE(a.suche(u"089200"_s, true), (QStringList{u"Brandt"_s, u"München"_s}));
        // Blanks around the number would keep a caller's number from matching it;
        // an empty cell reads as unknown; what the user types is never SQL.
        const QString boese = u"1'); DELETE FROM Liste; --"_s;
        tippe(*a.f, 2, {u" 0221123456 "_s, u"Muster GmbH"_s, QString()});
        tippe(*a.f, 3, {boese, u"\"Name\" mit [Klammern]"_s, u"O'Ort"_s});
        a.f->cmOK()->click();

        QCOMPARE(a.f->result(), int(QDialog::Accepted));
        QCOMPARE(a.suche(u"0221123456"_s, true), (QStringList{u"Muster GmbH"_s, Unbekannt}));
        QCOMPARE(a.suche(boese), (QStringList{u"\"Name\" mit [Klammern]"_s, u"O'Ort"_s}));
        QCOMPARE(a.zeilen(), 4);
        QVERIFY(a.dialogs.boxes().isEmpty());
    }

    void changedRowKeepsItsPlace()
    {
        Aufbau a;
        QVERIFY(a.zeige({Albers, Brandt}));
        // A change that fails is taken back whole, not left open: the old row is still there.
        tippe(*a.f, 0, {QString(51, u'2'), u"Albers & Co"_s});
        QVERIFY(!a.f->ZeileSpeichern(0));
        QCOMPARE(a.suche(u"0221100"_s), (QStringList{u"Albers"_s, u"Köln"_s}));

        // Mended, it takes the old row's place.
        tippe(*a.f, 0, {u"0221101"_s});
        a.f->cmOK()->click();
        QCOMPARE(a.suche(u"0221101"_s), (QStringList{u"Albers & Co"_s, u"Köln"_s}));
        QCOMPARE(a.suche(u"0221100"_s), (QStringList{Unbekannt, Unbekannt}));
        // Loaded again: the stored rows in their order, and the empty row for a new one.
        frmNummernliste wieder(a.dialogs, a.daten->Datenbank());
        QVERIFY(wieder.Form_Load());
        QCOMPARE(wieder.Modell().rowCount(), 3);
        QCOMPARE(wieder.Modell().Wert(0, NummernlisteModell::Nummer), u"0221101"_s);
        QCOMPARE(wieder.Modell().Wert(1, NummernlisteModell::Nummer), u"089200"_s);
    }

    void failingSaveKeepsInput_data()
    {
        QTest::addColumn<bool>("nurLesen");
        QTest::addColumn<QString>("nummer");
        QTest::addColumn<int>("fehlernummer");

        QTest::newRow("number longer than the column") << false << QString(51, u'1') << 3163;
        QTest::newRow("read-only database") << true << u"0221123456"_s << 3027;
    }
    void failingSaveKeepsInput()
    {
        QFETCH(bool, nurLesen);
        QFETCH(QString, nummer);
        QFETCH(int, fehlernummer);

        Aufbau a;
        QVERIFY(a.zeige({}, nurLesen));
        tippe(*a.f, 0, {nummer, u"Muster GmbH"_s, u"Köln"_s});
        a.f->cmOK()->click();

        // Still open, with what the user typed, and told why.
        QVERIFY(a.f->isVisible());
        QCOMPARE(a.f->Modell().Wert(0, NummernlisteModell::Nummer), nummer);
        QCOMPARE(a.dialogs.boxes().size(), 1);
        const QString text = a.dialogs.boxes().first().text;
        QVERIFY2(text.contains(u"Fehlernummer: %1\r\nFehlerbeschreibung: "_s.arg(fehlernummer)) && !text.endsWith(u": "_s),
                 qPrintable(text));
        QCOMPARE(a.zeilen(), 0);

        // Closing by the close box tries again and stays open as well.
        QVERIFY(!a.f->close());
        QVERIFY(a.f->isVisible());
        QCOMPARE(a.dialogs.boxes().size(), 2);
    }

    void escapeTakesChangesBack()
    {
        Aufbau a;
        QVERIFY(a.zeige({Albers}));
        tippe(*a.f, 0, {u"0221100"_s, u"Anders"_s});
        QTest::keyClick(a.f->dbgNummern(), Qt::Key_Escape);

        QVERIFY(a.f->isVisible());
        QCOMPARE(a.f->Modell().Wert(0, NummernlisteModell::Name), u"Albers"_s);
        QCOMPARE(a.suche(u"0221100"_s).first(), u"Albers"_s);

        // Nothing left to take back: Escape closes.
        QTest::keyClick(a.f->dbgNummern(), Qt::Key_Escape);
        QVERIFY(!a.f->isVisible());
        QVERIFY(a.dialogs.boxes().isEmpty());
    }

    // Deleting asks first; a row deleted or taken back is not saved on the way out.
    void removedRowIsGone_data()
    {
        QTest::addColumn<int>("zeile");
        QTest::addColumn<QStringList>("getippt"); // an empty last value: typed, then emptied
        QTest::addColumn<int>("taste");
        QTest::addColumn<bool>("ja");
        QTest::addColumn<int>("inDerDatenbank");
        QTest::addColumn<int>("imGitter");
        const int entf = Qt::Key_Delete;
        QTest::newRow("saved row deleted") << 0 << QStringList() << entf << true << 0 << 0;
        QTest::newRow("saved row, deleting refused") << 0 << QStringList() << entf << false << 1 << 1;
        QTest::newRow("saved row changed, deleted") << 0 << QStringList{u"0221100"_s, u"Anders"_s} << entf << true << 0 << 0;
        QTest::newRow("new row typed, deleted") << 1 << Brandt << entf << true << 1 << 1;
        QTest::newRow("new row typed, taken back") << 1 << Brandt << int(Qt::Key_Escape) << true << 1 << 1;
        QTest::newRow("new row typed and emptied, deleted") << 1 << QStringList{u"x"_s, QString()} << entf << true << 1 << 1;
    }
    void removedRowIsGone()
    {
        QFETCH(int, zeile);
        QFETCH(QStringList, getippt);
        QFETCH(int, taste);
        QFETCH(bool, ja);
        Aufbau a;
        QVERIFY(a.zeige({Albers}));
        a.waehle(zeile);
        if (getippt.size() == 2 && getippt[1].isEmpty()) {
            tippe(*a.f, zeile, {getippt[0]});
            tippe(*a.f, zeile, {getippt[1]});
        } else {
            tippe(*a.f, zeile, getippt);
        }
        a.waehle(zeile);
        a.dialogs.answer(ja ? Dialogs::Answer::Yes : Dialogs::Answer::No);
        QTest::keyClick(a.f->dbgNummern(), Qt::Key(taste));
        QTEST(a.zeilen(), "inDerDatenbank");
        QTEST(a.f->Modell().Anzahl(), "imGitter");
        if (zeile == 0)
            QCOMPARE(a.dialogs.boxes().size(), 1);
    }

    void commandShowsListModally()
    {
        Aufbau a;
        QVERIFY(a.zeige({Albers}));
        a.f.reset();
        QWidget haupt;
        bool offen = false;
        Nummernlistenbefehl befehl(a.dialogs, [&] { return offen ? a.daten->Datenbank() : nullptr; }, &haupt);
        // Without the phone database the user is told so.
        befehl.mnuNummern();
        QCOMPARE(a.dialogs.boxes().size(), 1);

        offen = true;
        bool modal = false;
        QTimer::singleShot(0, this, [&] {
            auto *f = qobject_cast<frmNummernliste *>(QApplication::activeModalWidget());
            QVERIFY(f);
            modal = f->isModal();
            tippe(*f, 1, Brandt);
            f->cmOK()->click();
        });
        befehl.mnuNummern();

        QVERIFY(modal);
        QCOMPARE(a.suche(u"089200"_s), (QStringList{u"Brandt"_s, u"München"_s}));
        QCOMPARE(a.dialogs.boxes().size(), 1);
    }
};

QTEST_MAIN(tst_frmNummernliste)
#include "tst_frmNummernliste.moc"
