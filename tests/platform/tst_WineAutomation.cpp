// ACT! under Wine as the program calls it, request by request: the main
// window by class and caption, the automation object created and called by
// member name with the argument types the program passes, every object let
// go again, ACT!'s errors raised, and the Windows path of ACT!'s database
// mapped into the prefix. The bridge is a shell script that answers as the
// real one would and writes down what it was asked; the real bridge is
// tested under Wine in tst_WineACT.
#include "platform/actole/ActDatenbankAdapter.h"
#include "platform/actole/Kontaktanzeige.h"
#include "platform/actole/WineAutomation.h"
#include "platform/actole/WineBruecke.h"
#include "platform/actole/WineDesktop.h"
#include "platform/actole/WineUmgebung.h"

#include "doubles/MemorySettings.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const char *const Skript = R"(
printf 'BEREIT\t1\n'
while IFS= read -r zeile; do
  printf '%s\n' "$zeile" >> "$ORDNER/anfragen"
  case "$zeile" in
    "SUCHE	act3.0frameclass	ACT") printf 'OK\t4711\n' ;;
    SUCHE*) printf 'OK\t0\n' ;;
    NACHVORNE*) printf 'OK\t1\n' ;;
    OBJEKT*) printf 'OK\to:1\n' ;;
    *"	GetOpenDBName") printf 'OK\ts:%s\n' "$DATENBANK" ;;
    *"	Views") printf 'OK\to:2\n' ;;
    *"	Create	"*) printf 'OK\to:3\n' ;;
    *"	GetActive") printf 'OK\to:4\n' ;;
    *"	Type") printf 'OK\ti:1\n' ;;
    *"	GetCurrentID") printf 'OK\ts:ABC123      \n' ;;
    *"	GetVersion	"*) printf 'OK\ts:3.0\n' ;;
    *"	Command	"*) printf 'OK\ti:1\n' ;;
    *"	getfield	"*) printf 'FEHLER\t-2147352567\tFeld gibt es nicht.\n' ;;
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
    KeineAnzeige anzeige;
    ActDatenbankAdapter adapter{settings, anzeige};
    WineUmgebung umgebung{settings};
    std::unique_ptr<WineBruecke> bruecke;
    std::unique_ptr<WineDesktop> desktop;
    std::unique_ptr<WineAutomation> act;

    explicit Aufbau(const QString &datenbank = u"C:\\ACT\\KUNDEN.DBF"_s)
    {
        // A prefix whose drive C: holds ACT!'s table in its own letter case.
        const QString praefix = ordner.filePath(u"praefix"_s);
        QDir().mkpath(praefix + u"/drive_c/Act"_s);
        QDir().mkpath(praefix + u"/dosdevices"_s);
        QFile::link(u"../drive_c"_s, praefix + u"/dosdevices/c:"_s);
        QFile tabelle(praefix + u"/drive_c/Act/Kunden.dbf"_s);
        tabelle.open(QIODevice::WriteOnly);
        settings.SaveSetting(u"ACT"_s, u"WinePrefix"_s, praefix);

        QProcessEnvironment u = QProcessEnvironment::systemEnvironment();
        u.insert(u"ORDNER"_s, ordner.path());
        u.insert(u"DATENBANK"_s, WineBruecke::maskiere(datenbank));
        bruecke = std::make_unique<WineBruecke>(u"sh"_s, QStringList{u"-c"_s, QString::fromUtf8(Skript)}, u);
        desktop = std::make_unique<WineDesktop>(*bruecke);
        act = std::make_unique<WineAutomation>(*bruecke, *desktop, umgebung, adapter);
    }

    QStringList anfragen() const
    {
        QFile f(ordner.filePath(u"anfragen"_s));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList zeilen;
        for (const QByteArray &z : f.readAll().split('\n')) {
            if (!z.isEmpty())
                zeilen << WineBruecke::zerlege(z).join(u' ');
        }
        return zeilen;
    }
    QString linux(const QString &unterPraefix) const
    {
        return QFileInfo(ordner.filePath(u"praefix/"_s + unterPraefix)).canonicalFilePath();
    }
};

} // namespace

class tst_WineAutomation : public QObject
{
    Q_OBJECT

private slots:
    void hauptfenster()
    {
        Aufbau a;
        QVERIFY(a.act->Hauptfenster(u"ACT"_s));
        QVERIFY(!a.act->Hauptfenster(u"Kundenmanager"_s));
        QVERIFY(a.act->NachVorne(u"ACT"_s));
        QVERIFY(!a.act->NachVorne(u"Kundenmanager"_s));
        QCOMPARE(a.anfragen(), (QStringList{u"SUCHE act3.0frameclass ACT"_s, u"SUCHE act3.0frameclass Kundenmanager"_s,
                                            u"SUCHE act3.0frameclass ACT"_s, u"NACHVORNE 4711"_s,
                                            u"SUCHE act3.0frameclass Kundenmanager"_s}));
    }

    // The calls of "Kontakt anzeigen" and the timer, with their arguments'
    // types; every object is let go at the end.
    void aufrufeNachMitgliedsnamen()
    {
        Aufbau a;
        {
            auto anwendung = a.act->ErstelleObjekt();
            QVERIFY(anwendung);
            anwendung->Show(true);
            std::int32_t befehl = 310;
            QCOMPARE(anwendung->Command(befehl), 1);
            QCOMPARE(anwendung->GetVersion(1), u"3.0"_s);
            auto ansichten = anwendung->Views();
            QVERIFY(ansichten);
            auto kontakte = ansichten->Create(1, 2);
            QVERIFY(kontakte);
            kontakte->lookupall();
            kontakte->GoTo(u"ABC123      "_s);
            auto aktiv = ansichten->GetActive();
            QCOMPARE(aktiv->Type(), 1);
            QCOMPARE(aktiv->GetCurrentID(), u"ABC123      "_s);
            QVERIFY(aktiv->setfield(12, u"Grünwald\tGreta"_s));
            // An error of ACT!'s in a field read: no text.
            QCOMPARE(aktiv->getfield(99), QString());
        }
        QCOMPARE(a.anfragen(), (QStringList{
                                   u"OBJEKT ACTOLE.APPOBJECT"_s,
                                   u"RUFE 1 Show b:1"_s,
                                   u"RUFE 1 Command &i4:310"_s,
                                   u"RUFE 1 GetVersion i2:1"_s,
                                   u"RUFE 1 Views"_s,
                                   u"RUFE 2 Create i2:1 i2:2"_s,
                                   u"RUFE 3 lookupall"_s,
                                   u"RUFE 3 GoTo s:ABC123      "_s,
                                   u"RUFE 2 GetActive"_s,
                                   u"RUFE 4 Type"_s,
                                   u"RUFE 4 GetCurrentID"_s,
                                   u"RUFE 4 setfield i4:12 s:Grünwald\tGreta"_s,
                                   u"RUFE 4 getfield i4:99"_s,
                                   u"LOS 4"_s,
                                   u"LOS 3"_s,
                                   u"LOS 2"_s,
                                   u"LOS 1"_s,
                               }));
    }

    void datenbank_data()
    {
        QTest::addColumn<QString>("windows");
        QTest::addColumn<QString>("erwartet"); // below the prefix, or as ACT! names it
        QTest::newRow("in the prefix, other letter case") << u"C:\\ACT\\KUNDEN.DBF"_s << u"drive_c/Act/Kunden.dbf"_s;
        QTest::newRow("not in the prefix: as named") << u"D:\\ACT\\KUNDEN.DBF"_s << u"D:\\ACT\\KUNDEN.DBF"_s;
        QTest::newRow("no database open") << QString() << QString();
    }
    void datenbank()
    {
        QFETCH(QString, windows);
        QFETCH(QString, erwartet);
        Aufbau a(windows);
        auto anwendung = a.act->ErstelleObjekt();
        QVERIFY(anwendung);
        const QString linux = a.linux(erwartet);
        QCOMPARE(anwendung->GetOpenDBName(), erwartet.startsWith(u"drive_c"_s) ? linux : erwartet);
    }

    // A database set in the settings takes the place of the one ACT! names.
    void festeDatenbank()
    {
        Aufbau a;
        QTemporaryDir anderswo;
        QFile tabelle(anderswo.filePath(u"Lieferanten.dbf"_s));
        QVERIFY(tabelle.open(QIODevice::WriteOnly));
        a.settings.SaveSetting(ActDatenbankAdapter::Abschnitt(), ActDatenbankAdapter::Schluessel(), tabelle.fileName());
        auto anwendung = a.act->ErstelleObjekt();
        QCOMPARE(anwendung->GetOpenDBName(), QFileInfo(tabelle.fileName()).absoluteFilePath());
    }
};

QTEST_GUILESS_MAIN(tst_WineAutomation)
#include "tst_WineAutomation.moc"
