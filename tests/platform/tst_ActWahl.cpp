// Which ACT! the program talks to: the one under Wine when its window is in
// the prefix, else the Linux adapter over the database files; and a bridge
// that fails for good, reported once. "wine" here is a shell script that
// speaks the bridge's protocol in place of Wine and the bridge.
#include "platform/actole/ActDatenbankAdapter.h"
#include "platform/actole/ActWahl.h"
#include "platform/actole/Kontaktanzeige.h"
#include "platform/actole/WineBruecke.h"
#include "platform/actole/WineUmgebung.h"
#include "platform/desktop/X11Desktop.h"

#include "doubles/MemorySettings.h"
#include "doubles/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// ACT! under Wine while the file "act" lies in the folder; the bridge dies
// on every request while "stirb" does.
const char *const Wine = R"(#!/bin/sh
ordner=$(dirname "$0")
echo start >> "$ordner/starts"
printf 'BEREIT\t1\n'
while IFS= read -r zeile; do
  [ -e "$ordner/stirb" ] && exit 3
  case "$zeile" in
    "SUCHE	act3.0frameclass	ACT") if [ -e "$ordner/act" ]; then printf 'OK\t4711\n'; else printf 'OK\t0\n'; fi ;;
    SUCHE*) printf 'OK\t0\n' ;;
    NACHVORNE*) printf 'OK\t1\n' ;;
    ENDE) printf 'OK\n'; exit 0 ;;
    *) printf 'OK\t-\n' ;;
  esac
done
)";

class KeineAnzeige : public Kontaktanzeige
{
public:
    bool zeige(const QString &, const QString &) override { return false; }
    QString aktuelleID() const override { return {}; }
    void sichtbar() override {}
    void nachVorne() override {}
};

struct Aufbau
{
    QTemporaryDir ordner;
    MemorySettings settings;
    ScriptedDialogs dialogs;
    KeineAnzeige anzeige;
    ActDatenbankAdapter adapter{settings, anzeige};
    X11Desktop x11;
    std::unique_ptr<ActWahl> wahl;

    Aufbau()
    {
        const QString praefix = ordner.filePath(u"praefix"_s);
        QDir().mkpath(praefix);
        QFile reg(praefix + u"/system.reg"_s);
        reg.open(QIODevice::WriteOnly);
        QFile wine(ordner.filePath(u"wine"_s));
        wine.open(QIODevice::WriteOnly);
        wine.write(Wine);
        wine.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        wine.close();
        settings.SaveSetting(u"ACT"_s, u"WinePrefix"_s, praefix);
        settings.SaveSetting(u"ACT"_s, u"Wine"_s, wine.fileName());
        wahl = std::make_unique<ActWahl>(settings, dialogs, adapter, x11);
    }
    void setze(const QString &datei, bool da)
    {
        QFile f(ordner.filePath(datei));
        if (da)
            f.open(QIODevice::WriteOnly);
        else
            f.remove();
    }
};

} // namespace

class tst_ActWahl : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Wine is only used where the bridge has been built.
        if (WineUmgebung(MemorySettings()).Bruecke().isEmpty())
            QSKIP("rufmon-bruecke.exe fehlt (x86_64-w64-mingw32-g++)");
    }

    void unterWineOderDatenbank()
    {
        Aufbau a;
        QTemporaryDir db;
        QFile tabelle(db.filePath(u"kunden.dbf"_s));
        QVERIFY(tabelle.open(QIODevice::WriteOnly));
        a.settings.SaveSetting(u"ACT"_s, u"Datenbank"_s, tabelle.fileName());

        // ACT! not under Wine: the database adapter answers.
        QVERIFY(a.wahl->Hauptfenster(u"ACT"_s));
        QVERIFY(!a.wahl->unterWine());
        // ACT! appears under Wine.
        a.setze(u"act"_s, true);
        QVERIFY(a.wahl->Hauptfenster(u"ACT"_s));
        QVERIFY(a.wahl->unterWine());
        QVERIFY(a.wahl->NachVorne(u"ACT"_s));
        // It ends: the adapter again, and its desktop for the dialogs.
        a.setze(u"act"_s, false);
        QVERIFY(a.wahl->Hauptfenster(u"ACT"_s));
        QVERIFY(!a.wahl->unterWine());
        QCOMPARE(a.dialogs.boxes().size(), 0);
    }

    void ausfallEinmalGemeldet()
    {
        Aufbau a;
        a.setze(u"act"_s, true);
        QVERIFY(a.wahl->Hauptfenster(u"ACT"_s));
        a.setze(u"stirb"_s, true);
        QVERIFY(!a.wahl->Hauptfenster(u"ACT"_s));
        QVERIFY(!a.wahl->unterWine());
        QCOMPARE(a.dialogs.boxes().size(), 1);
        const ScriptedDialogs::Box box = a.dialogs.boxes().first();
        QCOMPARE(box.text, u"Die Verbindung zu ACT! unter Wine ist ausgefallen.\r\n"
                           u"Das Hilfsprogramm rufmon-bruecke.exe wurde neu gestartet und antwortet wieder nicht."_s);
        QCOMPARE(box.icon, Dialogs::Icon::Exclamation);
        // Given up: asked no more, reported no more.
        a.setze(u"stirb"_s, false);
        QVERIFY(!a.wahl->Hauptfenster(u"ACT"_s));
        QVERIFY(!a.wahl->ErstelleObjekt());
        QCOMPARE(a.dialogs.boxes().size(), 1);
        QCOMPARE(a.wahl->bruecke().aufgegeben(), true);
    }
};

QTEST_GUILESS_MAIN(tst_ActWahl)
#include "tst_ActWahl.moc"
