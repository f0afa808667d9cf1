// Where the team journal is, from the settings' section "Team".
#include "platform/teamjournal/Teamzugang.h"

#include "doubles/MemorySettings.h"

#include <QHostInfo>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Teamzugang : public QObject
{
    Q_OBJECT

private slots:
    void theAddress_data()
    {
        QTest::addColumn<QString>("adresse");
        QTest::addColumn<QString>("erwartet"); // host|port|db, empty: refused
        QTest::newRow("host and database") << u"postgresql://server.example/rufmon"_s
                                           << u"server.example|5432|rufmon"_s;
        QTest::newRow("port") << u"postgresql://10.0.0.5:6432/team"_s << u"10.0.0.5|6432|team"_s;
        QTest::newRow("short scheme") << u"postgres://db/team"_s << u"db|5432|team"_s;
        QTest::newRow("IPv6") << u"postgresql://[fe80::1]:5433/team"_s << u"fe80::1|5433|team"_s;
        QTest::newRow("blanks around") << u"  postgresql://db/team  "_s << u"db|5432|team"_s;
        QTest::newRow("no database") << u"postgresql://db/"_s << QString();
        QTest::newRow("a path, not a database") << u"postgresql://db/a/b"_s << QString();
        QTest::newRow("another scheme") << u"mysql://db/team"_s << QString();
        QTest::newRow("no host") << u"postgresql:///team"_s << QString();
        QTest::newRow("port out of range") << u"postgresql://db:70000/team"_s << QString();
        QTest::newRow("no address") << QString() << QString();
    }

    void theAddress()
    {
        QFETCH(QString, adresse);
        MemorySettings settings;
        settings.SaveSetting(u"Team"_s, u"Datenbank"_s, adresse);
        const Teamzugang z = Teamzugang::aus(settings);
        QTEST(z.eingerichtet() ? u"%1|%2|%3"_s.arg(z.host).arg(z.port).arg(z.datenbank) : QString(), "erwartet");
    }

    void userDeskAndTls_data()
    {
        QTest::addColumn<QString>("arbeitsplatz");
        QTest::addColumn<QString>("tls");
        QTest::addColumn<QString>("platzErwartet");
        QTest::addColumn<QString>("tlsErwartet");
        const QString rechner = QHostInfo::localHostName();
        QTest::newRow("defaults") << QString() << QString() << rechner << u"prefer"_s;
        QTest::newRow("desk named, TLS required") << u"Empfang"_s << u"require"_s << u"Empfang"_s << u"require"_s;
        QTest::newRow("TLS in other case") << u"Empfang"_s << u"Require"_s << u"Empfang"_s << u"require"_s;
        // Only "require" asks for more; anything else is the default, never less.
        QTest::newRow("TLS switched off is not taken") << u" "_s << u"disable"_s << rechner << u"prefer"_s;
    }

    void userDeskAndTls()
    {
        QFETCH(QString, arbeitsplatz);
        QFETCH(QString, tls);
        MemorySettings settings;
        settings.SaveSetting(u"Team"_s, u"Datenbank"_s, u"postgresql://db/team"_s);
        settings.SaveSetting(u"Team"_s, u"Benutzer"_s, u" empfang "_s);
        settings.SaveSetting(u"Team"_s, u"Arbeitsplatz"_s, arbeitsplatz);
        settings.SaveSetting(u"Team"_s, u"TLS"_s, tls);
        const Teamzugang z = Teamzugang::aus(settings);
        QCOMPARE(z.benutzer, u"empfang"_s);
        QTEST(z.arbeitsplatz, "platzErwartet");
        QTEST(z.tls, "tlsErwartet");
        QVERIFY(z.kennwort.isEmpty());
        QCOMPARE(z.konto(), u"Team-Journal db:5432/team empfang"_s);
        QCOMPARE(z.anzeige(), u"db:5432/team"_s);
    }
};

QTEST_GUILESS_MAIN(tst_Teamzugang)
#include "tst_Teamzugang.moc"
