// The free-list editor on a copy of the phone database the build makes.
#include "app/modOptionen.h"
#include "phonedb/clRufmonDaten.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "platform/settings/IniSettingsStore.h"
#include "windows/Nummernlistenbefehl.h"
#include "windows/NummernlisteModell.h"
#include "windows/frmNummernliste.h"

#include "TestPaths.h"
#include "doubles/FakeSystem.h"
#include "doubles/ScriptedDialogs.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString Unbekannt = u"Unbekannt"_s;

struct Aufbau
{
    QTemporaryDir dir;
    QString pfad = dir.filePath(u"Nummern.mdb"_s);
    IniSettingsStore store{dir.filePath(u"Rufmon.conf"_s)};
    FakeSystem system;
    modOptionen optionen{store, system};
    ScriptedDialogs dialogs;
    std::unique_ptr<clRufmonDaten> daten;

    bool oeffne()
    {
        if (!QFile::copy(QStringLiteral(RUFMON_NUMMERN_MDB), pfad))
            return false;
        QFile(pfad).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        daten = std::make_unique<clRufmonDaten>(dialogs, optionen);
        daten->init(pfad);
        return daten->istOffen();
    }

    // The free-list look-up of the caller identification.
    QStringList suche(const QString &nummer)
    {
        QString name;
        QString ort;
        daten->SucheNameOrtAusFreierListe(nummer, name, ort);
        return {name, ort};
    }

    // The same through a connection of its own: only committed rows show.
    QStringList sucheGetrennt(const QString &nummer)
    {
        clRufmonDaten andere(dialogs, optionen);
        andere.init(pfad);
        QString name;
        QString ort;
        andere.SucheNameOrtAusFreierListe(nummer, name, ort);
        andere.kill();
        return {name, ort};
    }

    int zeilen()
    {
        auto rs = daten->Datenbank()->OpenRecordset(u"SELECT COUNT(*) AS N FROM Liste"_s, QVariantList());
        return rs->Wert(0).toInt();
    }

    void zeile(const QString &nummer, const QString &name, const QString &ort)
    {
        daten->Datenbank()->Execute(u"INSERT INTO Liste (Nummer, Name, Ort) VALUES (?, ?, ?)"_s,
                                    QVariantList{nummer, name, ort});
    }
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
    void namesAndColumns();
    void savedRowIsFoundRightAway();
    void leavingRowSavesIt();
    void changedRowKeepsItsPlace();
    void emptyCellsReadAsUnknown();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void failingSaveKeepsInput_data();
    void failingSaveKeepsInput();
    void failedChangeLeavesOldRow();
    void escapeTakesChangesBack();
    void valuesAreNeverSql();
    void commandWithoutDatabase();
    void commandShowsListModally();
};

void tst_frmNummernliste::namesAndColumns()
{
    Aufbau a;
    QVERIFY(a.oeffne());
    a.zeile(u"0221100"_s, u"Albers"_s, u"Köln"_s);
    frmNummernliste f(a.dialogs, a.daten->Datenbank());
    QVERIFY(f.Form_Load());
    QCOMPARE(f.objectName(), u"frmNummernliste"_s);
    QCOMPARE(f.windowTitle(), u"Rufmon Nummernliste"_s);
    QVERIFY(f.findChild<QPushButton *>(u"cmOK"_s));
    QVERIFY(f.findChild<QTableView *>(u"dbgNummern"_s));
    const NummernlisteModell &m = f.Modell();
    QCOMPARE(m.headerData(0, Qt::Horizontal).toString(), u"Nummer"_s);
    QCOMPARE(m.headerData(1, Qt::Horizontal).toString(), u"Name"_s);
    QCOMPARE(m.headerData(2, Qt::Horizontal).toString(), u"Ort"_s);
    // The stored row and the empty row for a new one.
    QCOMPARE(m.rowCount(), 2);
    QCOMPARE(m.data(m.index(0, 1)).toString(), u"Albers"_s);
    QVERIFY(a.dialogs.boxes().isEmpty());
}

void tst_frmNummernliste::savedRowIsFoundRightAway()
{
    Aufbau a;
    QVERIFY(a.oeffne());
    QCOMPARE(a.suche(u"0221123456"_s), (QStringList{Unbekannt, Unbekannt}));
    frmNummernliste f(a.dialogs, a.daten->Datenbank());
    QVERIFY(f.Form_Load());
    f.show();
    tippe(f, 0, {u"0221123456"_s, u"Muster GmbH"_s, u"Köln"_s});
    f.cmOK()->click();

    QVERIFY(!f.isVisible());
    QCOMPARE(f.result(), int(QDialog::Accepted));
    QCOMPARE(a.suche(u"0221123456"_s), (QStringList{u"Muster GmbH"_s, u"Köln"_s}));
    QCOMPARE(a.sucheGetrennt(u"0221123456"_s), (QStringList{u"Muster GmbH"_s, u"Köln"_s}));
    QVERIFY(a.dialogs.boxes().isEmpty());
}

void tst_frmNummernliste::leavingRowSavesIt()
{
    Aufbau a;
    QVERIFY(a.oeffne());
    a.zeile(u"0221100"_s, u"Albers"_s, u"Köln"_s);
    frmNummernliste f(a.dialogs, a.daten->Datenbank());
    QVERIFY(f.Form_Load());
    f.show();
    f.dbgNummern()->setCurrentIndex(f.Modell().index(1, 0));
    tippe(f, 1, {u"089200"_s, u"Brandt"_s, u"München"_s});
    QCOMPARE(a.sucheGetrennt(u"089200"_s), (QStringList{Unbekannt, Unbekannt}));

    f.dbgNummern()->setCurrentIndex(f.Modell().index(0, 0));
    QCOMPARE(a.sucheGetrennt(u"089200"_s), (QStringList{u"Brandt"_s, u"München"_s}));
    QVERIFY(!f.Modell().geaendert(1));
    QCOMPARE(a.zeilen(), 2);
}

void tst_frmNummernliste::changedRowKeepsItsPlace()
{
    Aufbau a;
    QVERIFY(a.oeffne());
    a.zeile(u"0221100"_s, u"Albers"_s, u"Köln"_s);
    a.zeile(u"089200"_s, u"Brandt"_s, u"München"_s);
    frmNummernliste f(a.dialogs, a.daten->Datenbank());
    QVERIFY(f.Form_Load());
    f.show();
    tippe(f, 0, {u"0221101"_s, u"Albers & Co"_s});
    f.cmOK()->click();

    QCOMPARE(a.suche(u"0221101"_s), (QStringList{u"Albers & Co"_s, u"Köln"_s}));
    QCOMPARE(a.suche(u"0221100"_s), (QStringList{Unbekannt, Unbekannt}));
    QCOMPARE(a.zeilen(), 2);

    frmNummernliste wieder(a.dialogs, a.daten->Datenbank());
    QVERIFY(wieder.Form_Load());
    QCOMPARE(wieder.Modell().Wert(0, NummernlisteModell::Nummer), u"0221101"_s);
    QCOMPARE(wieder.Modell().Wert(1, NummernlisteModell::Nummer), u"089200"_s);
}

void tst_frmNummernliste::emptyCellsReadAsUnknown()
{
    Aufbau a;
    QVERIFY(a.oeffne());
    frmNummernliste f(a.dialogs, a.daten->Datenbank());
    QVERIFY(f.Form_Load());
    f.show();
    // Blanks around the number would keep a caller's number from matching it.
    tippe(f, 0, {u" 0711300 "_s, QString(), u"Stuttgart"_s});
    f.cmOK()->click();
    QCOMPARE(a.suche(u"0711300"_s), (QStringList{Unbekannt, u"Stuttgart"_s}));
}

void tst_frmNummernliste::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("ja");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void tst_frmNummernliste::deleteAsksFirst()
{
    QFETCH(bool, ja);
    Aufbau a;
    QVERIFY(a.oeffne());
    a.zeile(u"0221100"_s, u"Albers"_s, u"Köln"_s);
    a.zeile(u"089200"_s, u"Brandt"_s, u"München"_s);
    frmNummernliste f(a.dialogs, a.daten->Datenbank());
    QVERIFY(f.Form_Load());
    f.show();
    f.dbgNummern()->setCurrentIndex(f.Modell().index(1, 0));
    a.dialogs.answer(ja ? Dialogs::Answer::Yes : Dialogs::Answer::No);
    QTest::keyClick(f.dbgNummern(), Qt::Key_Delete);

    QCOMPARE(a.dialogs.boxes().size(), 1);
    QCOMPARE(a.dialogs.boxes().first().icon, Dialogs::Icon::Question);
    QCOMPARE(a.dialogs.boxes().first().buttons, Dialogs::Buttons::YesNo);
    QCOMPARE(a.zeilen(), ja ? 1 : 2);
    QCOMPARE(f.Modell().Anzahl(), ja ? 1 : 2);
    QCOMPARE(a.suche(u"089200"_s).first(), ja ? Unbekannt : u"Brandt"_s);
    QCOMPARE(a.suche(u"0221100"_s).first(), u"Albers"_s);
}

void tst_frmNummernliste::failingSaveKeepsInput_data()
{
    QTest::addColumn<bool>("nurLesen");
    QTest::addColumn<QString>("nummer");
    QTest::addColumn<int>("fehlernummer");

    QTest::newRow("number longer than the column") << false << QString(51, u'1') << 3163;
    QTest::newRow("read-only database") << true << u"0221123456"_s << 3027;
}

void tst_frmNummernliste::failingSaveKeepsInput()
{
    QFETCH(bool, nurLesen);
    QFETCH(QString, nummer);
    QFETCH(int, fehlernummer);

    Aufbau a;
    QVERIFY(a.oeffne());
    std::shared_ptr<Database> db = nurLesen ? DBEngine::instance().OpenDatabase(a.pfad, false, true)
                                            : a.daten->Datenbank();
    frmNummernliste f(a.dialogs, db);
    QVERIFY(f.Form_Load());
    f.show();
    tippe(f, 0, {nummer, u"Muster GmbH"_s, u"Köln"_s});
    f.cmOK()->click();

    // Still open, with what the user typed, and told why.
    QVERIFY(f.isVisible());
    QCOMPARE(f.Modell().Wert(0, NummernlisteModell::Nummer), nummer);
    QCOMPARE(f.Modell().Wert(0, NummernlisteModell::Name), u"Muster GmbH"_s);
    QVERIFY(f.Modell().geaendert(0));
    QCOMPARE(a.dialogs.boxes().size(), 1);
    const ScriptedDialogs::Box &box = a.dialogs.boxes().first();
    QCOMPARE(box.icon, Dialogs::Icon::Exclamation);
    QCOMPARE(box.title, u"Rufmon"_s);
    const QStringList teile = box.text.split(u"\r\n"_s);
    QCOMPARE(teile.size(), 3);
    QCOMPARE(teile[0], u"Die Zeile konnte nicht gespeichert werden."_s);
    QCOMPARE(teile[1], u"Fehlernummer: %1"_s.arg(fehlernummer));
    QVERIFY(teile[2].startsWith(u"Fehlerbeschreibung: "_s));
    QVERIFY(teile[2].size() > u"Fehlerbeschreibung: "_s.size());
    QCOMPARE(a.zeilen(), 0);

    // Closing by the close box tries again and stays open as well.
    QVERIFY(!f.close());
    QVERIFY(f.isVisible());
    QCOMPARE(a.dialogs.boxes().size(), 2);
}

void tst_frmNummernliste::failedChangeLeavesOldRow()
{
    Aufbau a;
    QVERIFY(a.oeffne());
    a.zeile(u"0221100"_s, u"Albers"_s, u"Köln"_s);
    frmNummernliste f(a.dialogs, a.daten->Datenbank());
    QVERIFY(f.Form_Load());
    f.show();
    tippe(f, 0, {QString(51, u'2'), u"Neu"_s});
    QVERIFY(!f.ZeileSpeichern(0));

    // The whole change was taken back: the old row is still there.
    QCOMPARE(a.suche(u"0221100"_s), (QStringList{u"Albers"_s, u"Köln"_s}));
    QCOMPARE(a.sucheGetrennt(u"0221100"_s), (QStringList{u"Albers"_s, u"Köln"_s}));
    QCOMPARE(a.zeilen(), 1);

    // Mended, it saves.
    tippe(f, 0, {u"0221101"_s});
    QVERIFY(f.ZeileSpeichern(0));
    QCOMPARE(a.suche(u"0221101"_s), (QStringList{u"Neu"_s, u"Köln"_s}));
    QCOMPARE(a.zeilen(), 1);
}

void tst_frmNummernliste::escapeTakesChangesBack()
{
    Aufbau a;
    QVERIFY(a.oeffne());
    a.zeile(u"0221100"_s, u"Albers"_s, u"Köln"_s);
    frmNummernliste f(a.dialogs, a.daten->Datenbank());
    QVERIFY(f.Form_Load());
    f.show();
    tippe(f, 0, {u"0221100"_s, u"Anders"_s});
    QTest::keyClick(f.dbgNummern(), Qt::Key_Escape);

    QVERIFY(f.isVisible());
    QCOMPARE(f.Modell().Wert(0, NummernlisteModell::Name), u"Albers"_s);
    QCOMPARE(a.suche(u"0221100"_s).first(), u"Albers"_s);

    // Nothing left to take back: Escape closes.
    QTest::keyClick(f.dbgNummern(), Qt::Key_Escape);
    QVERIFY(!f.isVisible());
    QVERIFY(a.dialogs.boxes().isEmpty());
}

void tst_frmNummernliste::valuesAreNeverSql()
{
    Aufbau a;
    QVERIFY(a.oeffne());
    a.zeile(u"0221100"_s, u"Albers"_s, u"Köln"_s);
    frmNummernliste f(a.dialogs, a.daten->Datenbank());
    QVERIFY(f.Form_Load());
    f.show();
    const QString boese = u"1'); DELETE FROM Liste; --"_s;
    tippe(f, 1, {boese, u"\"Name\" mit [Klammern]"_s, u"O'Ort"_s});
    f.cmOK()->click();

    QVERIFY(a.dialogs.boxes().isEmpty());
    QCOMPARE(a.zeilen(), 2);
    QCOMPARE(a.suche(boese), (QStringList{u"\"Name\" mit [Klammern]"_s, u"O'Ort"_s}));
    QCOMPARE(a.suche(u"0221100"_s).first(), u"Albers"_s);
}

void tst_frmNummernliste::commandWithoutDatabase()
{
    ScriptedDialogs dialogs;
    Nummernlistenbefehl befehl(dialogs, [] { return std::shared_ptr<Database>(); }, nullptr);
    befehl.mnuNummern();
    QCOMPARE(dialogs.boxes().size(), 1);
    QCOMPARE(dialogs.boxes().first().icon, Dialogs::Icon::Exclamation);
    QVERIFY(dialogs.boxes().first().text.contains(u"Nummern.mdb"_s));
}

void tst_frmNummernliste::commandShowsListModally()
{
    Aufbau a;
    QVERIFY(a.oeffne());
    a.zeile(u"0221100"_s, u"Albers"_s, u"Köln"_s);
    QWidget haupt;
    Nummernlistenbefehl befehl(a.dialogs, [&a] { return a.daten->Datenbank(); }, &haupt);
    bool modal = false;
    QString erster;
    QTimer::singleShot(0, this, [&] {
        auto *f = qobject_cast<frmNummernliste *>(QApplication::activeModalWidget());
        QVERIFY(f);
        modal = f->isModal();
        erster = f->Modell().Wert(0, NummernlisteModell::Name);
        tippe(*f, 1, {u"089200"_s, u"Brandt"_s, u"München"_s});
        f->cmOK()->click();
    });
    befehl.mnuNummern();

    QVERIFY(modal);
    QCOMPARE(erster, u"Albers"_s);
    QCOMPARE(a.suche(u"089200"_s), (QStringList{u"Brandt"_s, u"München"_s}));
    QVERIFY(a.dialogs.boxes().isEmpty());
}

QTEST_MAIN(tst_frmNummernliste)
#include "tst_frmNummernliste.moc"
