// The team journal against a real PostgreSQL server the test starts itself:
// the schema and its upgrades, two desks, an outage, hostile values, and the
// window's query.
#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "platform/teamjournal/Journalleser.h"
#include "platform/teamjournal/Journalschema.h"
#include "platform/teamjournal/Journalschreiber.h"
#include "platform/teamjournal/PgVerbindung.h"
#include "team/Teamabfrage.h"
#include "team/Teamausgang.h"
#include "team/Teamjournal.h"
#include "core/Anruf.h"

#include "doubles/PgCluster.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

Anruf anruf(const QString &nummer, const QString &kontakt = u"Unbekannt"_s, std::int32_t callId = 1)
{
    Anruf a;
    a.nummer = nummer;
    a.ort = u"Berlin"_s;
    a.name = kontakt;
    const bool unbekannt = kontakt == u"Unbekannt";
    a.ergebnis = unbekannt ? Anruf::Ergebnis::Unbekannt : Anruf::Ergebnis::Erkannt;
    a.kontaktId = unbekannt ? QString() : u"ABC123      "_s;
    a.callId = callId;
    a.angerufen = u"987654"_s;
    a.zeit = QDateTime::currentDateTime();
    return a;
}

int anzahl(PgCluster &pg, const QByteArray &sql, const QVariantList &werte = {})
{
    PgVerbindung db;
    if (!db.oeffnen(pg.zugang(), 5, nullptr))
        return -1;
    const auto e = db.ausfuehren(sql, werte);
    return e.ok ? e.zeilen.value(0).value(0).toInt() : -1;
}

// A desk's store: a database file of its own for the outbox.
struct Platz
{
    QTemporaryDir dir;
    std::shared_ptr<Database> db;
    std::unique_ptr<Teamjournal> journal;

    Platz(const Teamzugang &zugang, const QString &name)
    {
        db = DBEngine::instance().CreateDatabase(dir.filePath(u"Nummern.mdb"_s));
        oeffne(zugang, name);
    }
    void oeffne(Teamzugang zugang, const QString &name)
    {
        zugang.arbeitsplatz = name;
        journal = std::make_unique<Teamjournal>(zugang);
        journal->setWiederholungMs(100);
        journal->setAusgang(db);
    }
};

} // namespace

class tst_Teamjournal : public QObject
{
    Q_OBJECT

    PgCluster m_pg;

private slots:
    void initTestCase()
    {
        if (const QString grund = PgCluster::fehlt(); !grund.isEmpty())
            QSKIP(qPrintable(grund));
        QString fehler;
        QVERIFY2(m_pg.starten(&fehler), qPrintable(fehler));
    }

    void init()
    {
        if (!m_pg.laeuft()) {
            QString fehler;
            QVERIFY2(m_pg.starten(&fehler), qPrintable(fehler));
        }
        m_pg.sql(u"DROP TABLE IF EXISTS rufmon_anrufe, rufmon_anrufausgang, rufmon_schema, probe"_s);
    }

    void schemaIsCreatedOnceAndVersioned()
    {
        PgVerbindung db;
        QVERIFY(db.oeffnen(m_pg.zugang(), 5, nullptr));
        QString fehler;
        QCOMPARE(Journalschema::Version(db, &fehler), 0);
        QVERIFY2(Journalschema::einrichten(db, &fehler), qPrintable(fehler));
        QCOMPARE(Journalschema::Version(db, &fehler), Journalschema::AktuelleVersion());
        // Up to date: nothing runs a second time.
        QVERIFY2(Journalschema::einrichten(db, &fehler), qPrintable(fehler));
        QCOMPARE(anzahl(m_pg, "SELECT count(*) FROM rufmon_schema"), 1);
        QCOMPARE(anzahl(m_pg, "SELECT count(*) FROM pg_indexes WHERE tablename = 'rufmon_anrufe'"), 3);
    }

    void upgradesRunInOneTransaction()
    {
        PgVerbindung db;
        QVERIFY(db.oeffnen(m_pg.zugang(), 5, nullptr));
        QString fehler;
        QList<QByteArrayList> schritte = Journalschema::Schritte();
        QVERIFY(Journalschema::einrichten(db, schritte, &fehler));
        // Two more upgrades, the second failing: the first is not kept either.
        schritte.append(QByteArrayList{"CREATE TABLE probe (x integer)"});
        schritte.append(QByteArrayList{"ALTER TABLE probe ADD COLUMN y integer", "SELECT * FROM gibt_es_nicht"});
        QVERIFY(!Journalschema::einrichten(db, schritte, &fehler));
        QVERIFY(fehler.contains(u"gibt_es_nicht"_s));
        QCOMPARE(Journalschema::Version(db, &fehler), 1);
        QCOMPARE(anzahl(m_pg, "SELECT count(*) FROM pg_tables WHERE tablename = 'probe'"), 0);
        schritte.removeLast();
        QVERIFY2(Journalschema::einrichten(db, schritte, &fehler), qPrintable(fehler));
        QCOMPARE(Journalschema::Version(db, &fehler), 2);
        QCOMPARE(anzahl(m_pg, "SELECT count(*) FROM pg_tables WHERE tablename = 'probe'"), 1);
    }

    void hostileValuesAreStoredAsText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("quote and statement") << u"Robert'); DROP TABLE rufmon_anrufe;--"_s;
        QTest::newRow("dollar quoting") << u"$$; DELETE FROM rufmon_anrufe; $$"_s;
        QTest::newRow("backslash and percent") << u"50% \\ Rabatt_"_s;
        QTest::newRow("umlauts") << u"Müller & Söhne „GmbH“"_s;
    }

    void hostileValuesAreStoredAsText()
    {
        QFETCH(QString, name);
        Platz platz(m_pg.zugang(), u"Empfang"_s);
        QSignalSpy geschrieben(platz.journal.get(), &Teamjournal::Geschrieben);
        platz.journal->Eintragen(anruf(u"0301234567"_s, name), u"Anrufmonitor fritz.box:1012"_s);
        QVERIFY(geschrieben.wait(10000));
        QCOMPARE(anzahl(m_pg, "SELECT count(*) FROM rufmon_anrufe WHERE kontakt_name = $1", {name}), 1);
        QCOMPARE(anzahl(m_pg, "SELECT count(*) FROM rufmon_anrufe"), 1);
    }

    void aUserWhoMayOnlyInsertAndSelectWritesAndReads()
    {
        // The owner sets the journal up; the desks' user may add and read, nothing else.
        PgVerbindung admin;
        QVERIFY(admin.oeffnen(m_pg.zugang(), 5, nullptr));
        QVERIFY(Journalschema::einrichten(admin, nullptr));
        m_pg.sql(u"DROP ROLE IF EXISTS schreibtisch"_s);
        QVERIFY(m_pg.sql(u"CREATE ROLE schreibtisch LOGIN"_s));
        QVERIFY(m_pg.sql(u"GRANT SELECT, INSERT ON rufmon_anrufe, rufmon_anrufausgang, rufmon_schema TO schreibtisch"_s));

        Platz platz(m_pg.zugang(u"schreibtisch"_s), u"Vertrieb"_s);
        QSignalSpy geschrieben(platz.journal.get(), &Teamjournal::Geschrieben);
        Anruf a = anruf(u"0401111111"_s);
        platz.journal->Eintragen(a, u"Telefonanlage pbx:5038"_s);
        QVERIFY(geschrieben.wait(10000));
        // What became of the call goes in as a row of its own.
        platz.journal->Abgenommen({a.callId, 1});
        platz.journal->Beendet({a.callId, 1});
        QVERIFY(geschrieben.wait(10000));
        QCOMPARE(anzahl(m_pg, "SELECT count(*) FROM rufmon_anrufe WHERE arbeitsplatz = 'Vertrieb'"), 1);
        QCOMPARE(anzahl(m_pg, "SELECT count(*) FROM rufmon_anrufausgang WHERE angenommen"), 1);
        QCOMPARE(platz.journal->Wartend(), 0);
        // The user cannot change what is there.
        PgVerbindung desk;
        QVERIFY(desk.oeffnen(m_pg.zugang(u"schreibtisch"_s), 5, nullptr));
        QVERIFY(!desk.ausfuehren("DELETE FROM rufmon_anrufe").ok);
    }

    void twoDesksSeeEachOthersCallsWithinASecond()
    {
        Platz empfang(m_pg.zugang(), u"Empfang"_s);
        Platz vertrieb(m_pg.zugang(), u"Vertrieb"_s);
        QSignalSpy bereit(vertrieb.journal.get(), &Teamjournal::ZustandGeaendert);
        QVERIFY(bereit.wait(10000));
        QVERIFY(vertrieb.journal->Erreichbar());

        Teamabfrage abfrage(m_pg.zugang());
        QSignalSpy zustand(&abfrage, &Teamabfrage::Zustand);
        QVERIFY(zustand.wait(10000));
        QSignalSpy neu(&abfrage, &Teamabfrage::Neu);
        QSignalSpy ergebnis(&abfrage, &Teamabfrage::Ergebnis);

        QElapsedTimer uhr;
        uhr.start();
        empfang.journal->Eintragen(anruf(u"0301234567"_s, u"Erika Mustermann"_s), u"Anrufmonitor fritz.box:1012"_s);
        QVERIFY(neu.wait(5000));
        abfrage.abfragen(Teamfilter{});
        QVERIFY(ergebnis.wait(5000));
        QVERIFY2(uhr.elapsed() < 1000, qPrintable(QString::number(uhr.elapsed())));
        const auto zeilen = ergebnis.last().at(0).value<QList<Journalzeile>>();
        QCOMPARE(zeilen.size(), 1);
        QCOMPARE(zeilen[0].arbeitsplatz, u"Empfang"_s);
        QCOMPARE(zeilen[0].kontaktName, u"Erika Mustermann"_s);
        QCOMPARE(zeilen[0].kontaktId, u"ABC123"_s);
        QCOMPARE(zeilen[0].angerufen, u"987654"_s);
        QVERIFY(zeilen[0].erkannt);
        QCOMPARE(ergebnis.last().at(1).toStringList(), QStringList{u"Empfang"_s});

        vertrieb.journal->Eintragen(anruf(u"0891234567"_s), u"Modem /dev/ttyACM0"_s);
        QVERIFY(neu.wait(5000));
        abfrage.abfragen(Teamfilter{});
        QVERIFY(ergebnis.wait(5000));
        const auto beide = ergebnis.last().at(0).value<QList<Journalzeile>>();
        QCOMPARE(beide.size(), 2);
        QCOMPARE(beide[0].arbeitsplatz, u"Vertrieb"_s); // newest first
    }

    void anOutageLosesNothingAndNothingArrivesTwice()
    {
        {
            PgVerbindung db;
            QVERIFY(db.oeffnen(m_pg.zugang(), 5, nullptr));
            QVERIFY(Journalschema::einrichten(db, nullptr));
        }
        QVERIFY(m_pg.stoppen());
        auto platz = std::make_unique<Platz>(m_pg.zugang(), u"Empfang"_s);
        QElapsedTimer uhr;
        uhr.start();
        for (int i = 0; i < 100; ++i)
            platz->journal->Eintragen(anruf(u"030%1"_s.arg(1000000 + i), u"Unbekannt"_s, i), u"Anrufmonitor"_s);
        // Nothing waits for the server that is down.
        QVERIFY2(uhr.elapsed() < 5000, qPrintable(QString::number(uhr.elapsed())));
        QCOMPARE(platz->journal->Wartend(), 100);
        QTRY_VERIFY_WITH_TIMEOUT(!platz->journal->Erreichbar() && platz->journal->ZustandText().contains(u"nicht erreichbar"_s), 10000);

        // Rufmon ends and starts again while the server is still down.
        platz->journal.reset();
        platz->oeffne(m_pg.zugang(), u"Empfang"_s);
        QCOMPARE(platz->journal->Wartend(), 100);

        QVERIFY(m_pg.starten());
        QTRY_COMPARE_WITH_TIMEOUT(platz->journal->Wartend(), 0, 30000);
        QCOMPARE(anzahl(m_pg, "SELECT count(*) FROM rufmon_anrufe"), 100);

        // A replay of rows the journal has already (a crash before the outbox
        // was emptied) changes nothing.
        Teamausgang ausgang(platz->db);
        Journalzeile z = Teamjournal::Zeile(anruf(u"0309999999"_s), u"Empfang"_s, u"x"_s);
        PgVerbindung db;
        QVERIFY(db.oeffnen(m_pg.zugang(), 5, nullptr));
        QVERIFY(db.ausfuehren(Journalschreiber::EinfuegenSql(), Journalschreiber::Werte(z)).ok);
        QVERIFY(ausgang.hinzufuegen(z));
        platz->journal.reset();
        platz->oeffne(m_pg.zugang(), u"Empfang"_s);
        QTRY_COMPARE_WITH_TIMEOUT(platz->journal->Wartend(), 0, 30000);
        QCOMPARE(anzahl(m_pg, "SELECT count(*) FROM rufmon_anrufe"), 101);
    }

    // The outcome of a call came while its row was on its way: the outbox
    // keeps the row until the outcome is in the journal too.
    void anOutcomeAfterTheRowWasSentStaysInTheOutbox()
    {
        QTemporaryDir dir;
        auto db = DBEngine::instance().CreateDatabase(dir.filePath(u"Nummern.mdb"_s));
        Teamausgang ausgang(db);
        QVERIFY(ausgang.bereit());
        Journalzeile z = Teamjournal::Zeile(anruf(u"0301234567"_s), u"Empfang"_s, u"x"_s);
        Journalzeile ohne = Teamjournal::Zeile(anruf(u"0891234567"_s), u"Empfang"_s, u"x"_s);
        z.angenommen = false;
        QVERIFY(ausgang.hinzufuegen(z));
        QVERIFY(ausgang.hinzufuegen(ohne));
        ausgang.entfernen({z.anrufId, ohne.anrufId}, {});
        QCOMPARE(ausgang.Anzahl(), 1);
        const QList<Journalzeile> rest = ausgang.alle();
        QCOMPARE(rest.value(0).anrufId, z.anrufId);
        QCOMPARE(rest.value(0).angenommen, std::optional<bool>(false));
        ausgang.entfernen({z.anrufId}, {z.anrufId});
        QCOMPARE(ausgang.Anzahl(), 0);
    }

    void tlsRequiredIsRefusedByAServerWithout()
    {
        Teamzugang z = m_pg.zugang();
        z.tls = u"require"_s;
        PgVerbindung db;
        QString fehler;
        QVERIFY(!db.oeffnen(z, 5, &fehler));
        QVERIFY2(fehler.contains(u"SSL"_s, Qt::CaseInsensitive), qPrintable(fehler));
        z.tls = u"prefer"_s;
        QVERIFY(db.oeffnen(z, 5, &fehler));
        QVERIFY(!db.verschluesselt());
    }

    void theWindowsQueryFilters_data()
    {
        QTest::addColumn<QString>("arbeitsplatz");
        QTest::addColumn<bool>("nurVerpasste");
        QTest::addColumn<QString>("suche");
        QTest::addColumn<QStringList>("nummern");
        QTest::newRow("all, newest first") << QString() << false << QString()
                                           << QStringList{u"4"_s, u"3"_s, u"2"_s, u"1"_s};
        QTest::newRow("one desk") << u"Vertrieb"_s << false << QString() << QStringList{u"3"_s, u"1"_s};
        QTest::newRow("missed only") << QString() << true << QString() << QStringList{u"2"_s};
        QTest::newRow("name, any case") << QString() << false << u"müller"_s << QStringList{u"3"_s};
        QTest::newRow("percent is a percent") << QString() << false << u"50%"_s << QStringList{u"4"_s};
        QTest::newRow("underscore is an underscore") << QString() << false << u"a_b"_s << QStringList{};
        QTest::newRow("number called") << QString() << false << u"555"_s << QStringList{u"2"_s};
    }

    void theWindowsQueryFilters()
    {
        QFETCH(QString, arbeitsplatz);
        QFETCH(bool, nurVerpasste);
        QFETCH(QString, suche);
        QFETCH(QStringList, nummern);
        PgVerbindung db;
        QVERIFY(db.oeffnen(m_pg.zugang(), 5, nullptr));
        QVERIFY(Journalschema::einrichten(db, nullptr));
        const QDateTime jetzt = QDateTime::currentDateTime();
        const auto zeile = [&](const QString &nr, const QString &platz, int minuten, std::optional<bool> angenommen,
                               const QString &name, const QString &angerufen) {
            Journalzeile z;
            z.anrufId = u"id-"_s + nr;
            z.nummer = nr;
            z.arbeitsplatz = platz;
            z.zeit = jetzt.addSecs(-60 * minuten);
            z.angenommen = angenommen;
            z.kontaktName = name;
            z.angerufen = angerufen;
            QVERIFY(db.ausfuehren(Journalschreiber::EinfuegenSql(), Journalschreiber::Werte(z)).ok);
        };
        zeile(u"1"_s, u"Vertrieb"_s, 40, true, u"Schmidt"_s, u"111"_s);
        zeile(u"2"_s, u"Empfang"_s, 30, false, u"Meier"_s, u"555"_s);
        zeile(u"3"_s, u"Vertrieb"_s, 20, std::nullopt, u"Müller"_s, u"111"_s);
        zeile(u"4"_s, u"Empfang"_s, 10, true, u"50% Rabatt GmbH"_s, u"111"_s);
        zeile(u"alt"_s, u"Empfang"_s, 60 * 24 * 9, true, u"Müller"_s, u"555"_s); // before the last 7 days

        Teamfilter f;
        f.arbeitsplatz = arbeitsplatz;
        f.nurVerpasste = nurVerpasste;
        f.suchtext = suche;
        const auto e = db.ausfuehren(Journalleser::AbfrageSql(), Journalleser::Werte(f, jetzt));
        QVERIFY2(e.ok, qPrintable(e.fehler));
        QStringList gefunden;
        for (const Journalzeile &z : Journalleser::zeilen(e))
            gefunden << z.nummer;
        QCOMPARE(gefunden, nummern);
    }
};

QTEST_GUILESS_MAIN(tst_Teamjournal)
#include "tst_Teamjournal.moc"
