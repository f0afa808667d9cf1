#include "core/Anruferliste.h"
#include "platform/registry/RegionalSettings.h"
#include "phonedb/AnruferlisteLoeschen.h"
#include "phonedb/NummernMdbOrt.h"
#include "phonedb/clRufmonDaten.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"

#include "TestPaths.h"
#include "doubles/Umgebung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDateTime Jetzt(QDate(2026, 12, 6), QTime(11, 30, 15));
const QString Einfuegen
    = u"INSERT INTO Anrufspeicher (UniqueID, Icon, Nummer, Datum, Ort, Kontakt) VALUES (?, ?, ?, ?, ?, ?)"_s;

// A call as the identification leaves it: `tag` "[id]" for a contact,
// "Unbekannt" for nobody, empty while it is searched.
Anruf anruf(const QString &nummer, const QString &datum = {}, int icon = 1, const QString &tag = {})
{
    Anruf a;
    a.nummer = nummer;
    a.zeit = RegionalSettings::ParseDateTime(datum).value_or(QDateTime());
    a.ort = u"Ort"_s;
    a.name = u"Kontakt"_s;
    a.bild = icon;
    if (tag.startsWith(u'[')) {
        a.ergebnis = Anruf::Ergebnis::Erkannt;
        a.kontaktId = tag.mid(1, tag.size() - 2).trimmed();
    } else if (!tag.isEmpty()) {
        a.ergebnis = Anruf::Ergebnis::Unbekannt;
    }
    return a;
}

// What the caller list shows and keeps of a call, as texts.
QStringList alles(const Anruf &a)
{
    return {a.nummer, QString::number(a.bild), a.Tag(), a.Datumstext(), a.ort, a.name};
}

using Liste = Anruferliste;

} // namespace

// The phone database with its real area codes, on a copy of the file the build makes.
class tst_clRufmonDaten : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        DBEngine::instance().setUhr([] { return Jetzt; });
        m_u = std::make_unique<Umgebung>();
        m_pfad = m_u->dir.filePath(u"Nummern.mdb"_s);
        QVERIFY2(QFile::copy(QStringLiteral(RUFMON_NUMMERN_MDB), m_pfad), RUFMON_NUMMERN_MDB);
        QFile::setPermissions(m_pfad, QFile::ReadOwner | QFile::WriteOwner);
    }

    void cleanup()
    {
        DBEngine::instance().setUhr({});
        QCOMPARE(m_u->dialogs.unanswered(), 0);
    }

    void places_data()
    {
        // Expected: country code|area code|line|country|place.
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("nummer");
        QTest::addColumn<QString>("erwartet");

        const QString de = u"00000407"_s;
        const QString at = u"00000c07"_s;
        QTest::newRow("longest code") << de << u"0212912345"_s << u"|02129|12345||Haan Rheinland"_s;
        QTest::newRow("without national zero") << de << u"301234567"_s << u"|030|1234567||Berlin"_s;
        QTest::newRow("no code fits") << de << u"08001234567"_s << u"||08001234567||Unbekannt"_s;
        QTest::newRow("number is an area code") << de << u"030"_s << u"|030|||Berlin"_s;
        QTest::newRow("Austrian locale") << at << u"0316123456"_s << u"|0316|123456||Graz"_s;
        QTest::newRow("other locale has no places") << u"00000409"_s << u"301234567"_s << u"||0301234567||Unbekannt"_s;
        QTest::newRow("international") << de << u"0043316123456"_s << u"43|0316|123456|Österreich|Graz"_s;
        QTest::newRow("country without area codes") << de << u"0033123456789"_s << u"33||0123456789|Frankreich|Unbekannt"_s;
        QTest::newRow("New York is not the Bahamas") << de << u"0012125551234"_s << u"1||02125551234|USA/Kanada|Unbekannt"_s;
        QTest::newRow("Bahamas") << de << u"0012423221234"_s << u"1242||03221234|Bahamas|Unbekannt"_s;
        QTest::newRow("unknown country") << de << u"00999123"_s << u"||0999123|Unbekannt|Unbekannt"_s;
    }
    void places()
    {
        QFETCH(QString, locale);
        QFETCH(QString, nummer);

        auto daten = oeffne(locale);
        QString lv, v, a, l, o;
        daten->BestimmeVorwahlAnschlussOrtLand(nummer, lv, v, a, l, o);
        QTEST(QStringList({lv, v, a, l, o}).join(u'|'), "erwartet");
        QCOMPARE(m_u->dialogs.boxes().size(), 0);
    }

    void numbersAreOnlyData()
    {
        sql(u"INSERT INTO Liste (Nummer, Name, Ort) VALUES (?, ?, NULL)"_s, {u"0\"8'9"_s, u"Sonder"_s});
        auto daten = oeffne();
        QString name, ort;
        daten->SucheNameOrtAusFreierListe(u"0\"8'9"_s, name, ort);
        QCOMPARE(name, u"Sonder"_s);
        QCOMPARE(ort, u"Unbekannt"_s); // an empty column reads as unknown
        // The whole number, not a beginning of it.
        daten->SucheNameOrtAusFreierListe(u"0\"8'"_s, name, ort);
        QCOMPARE(name, u"Unbekannt"_s);

        for (const QString &boese : {u"030' OR '1'='1"_s, u"030*"_s, u"0049\"; DROP TABLE Laender; --"_s}) {
            QString lv, v, a, l, o;
            daten->BestimmeVorwahlAnschlussOrtLand(boese, lv, v, a, l, o);
            daten->SucheNameOrtAusFreierListe(boese, name, ort);
            QCOMPARE(name, u"Unbekannt"_s);
        }
        QCOMPARE(m_u->dialogs.boxes().size(), 0);
        QVERIFY(daten->Datenbank()->OpenRecordset(u"SELECT COUNT(*) FROM Laender"_s)->Wert(0).toInt() > 200);
    }

    void placeQueryErrorIsReported()
    {
        // A country table without the place column.
        sql(u"INSERT INTO Laender (Vorwahl, Land) VALUES ('999', 'Testland')"_s);
        sql(u"CREATE TABLE Testland (Vorwahl TEXT(10), Stadt TEXT(50))"_s);
        QString lv, v, a, l, o;
        oeffne()->BestimmeVorwahlAnschlussOrtLand(u"00999301234"_s, lv, v, a, l, o);
        QCOMPARE(o, u"Unbekannt"_s);
        QCOMPARE(m_u->dialogs.boxes().size(), 1);
        const QString text = m_u->dialogs.boxes().first().text;
        QVERIFY2(text.startsWith(u"Fehler  3061: "_s) && text.contains(u"\r\nSQL: SELECT Vorwahl, Ort FROM [Testland]"_s),
                 qPrintable(text));
    }

    void initFailureMessage()
    {
        clRufmonDaten daten(m_u->dialogs, m_u->optionen);
        const QString fehlt = m_u->dir.filePath(u"fehlt.mdb"_s);
        daten.init(fehlt);
        QVERIFY(!daten.istOffen());
        QCOMPARE(m_u->dialogs.boxes().size(), 1);
        const QString text = m_u->dialogs.boxes().first().text;
        QVERIFY2(text.contains(u":"_s + fehlt + u"\r\n"_s) && text.contains(u"3024"_s), qPrintable(text));
        // Later operations fail at their first database access, to their caller.
        QString name, ort;
        QVERIFY_THROWS_EXCEPTION(JetFehler, daten.SucheNameOrtAusFreierListe(u"1"_s, name, ort));
        QVERIFY(!daten.speichere(anruf(u"1"_s)));
        QVERIFY(m_u->dialogs.boxes().last().text.contains(u"(schreibItemInMDB, OpenRecordset)."_s));
    }

    void callerListRoundTrip()
    {
        // Rows as an older program or a damaged file may have left them.
        const QDateTime d(QDate(2026, 12, 1), QTime(8, 0));
        sql(Einfuegen, {u"a"_s, QVariant(), u"1"_s, d, u"Ort"_s, u"K"_s});
        sql(Einfuegen, {u"c"_s, 11, u"3"_s, d, QVariant(), QVariant()});
        sql(Einfuegen, {u"d"_s, 10, u"4"_s, QDateTime(QDate(2026, 12, 2), QTime(0, 0)), u"O"_s, u"K"_s});
        auto daten = oeffne();
        const Anruf bekannt = anruf(u"0301234567"_s, u"06.12.2026 10:15:30"_s, 6, u"[ABCDEFGHIJKL]"_s);
        const Anruf unbekannt = anruf(u"00431234567"_s, u"05.12.2026 23:59:59"_s, 1, u"Unbekannt"_s);
        const Anruf kurz = anruf(u"089123"_s, u"05.12.2026 10:00:00"_s, 6, u"[42          ]"_s);
        QVERIFY(daten->speichere(bekannt));
        QVERIFY(daten->speichere(unbekannt));
        QVERIFY(daten->speichere(kurz));
        daten->kill();

        Liste geladen;
        geladen.hinzufuegen(anruf(u"alt"_s)); // replaced, not kept
        oeffne()->leseMDBinListview(geladen);
        QCOMPARE(geladen.Anzahl(), 6);
        QCOMPARE(alles(geladen.an(3)), alles(bekannt));
        QCOMPARE(alles(geladen.an(4)), alles(unbekannt));
        QCOMPARE(alles(geladen.an(5)), alles(kurz));
        // The records, not only their texts: the moment, the contact, who is known.
        QCOMPARE(geladen.an(3).zeit, bekannt.zeit);
        QCOMPARE(geladen.an(3).kontaktId, u"ABCDEFGHIJKL"_s);
        QVERIFY(geladen.an(3).erkannt());
        QCOMPARE(geladen.an(5).kontaktId, u"42"_s);
        QCOMPARE(geladen.an(5).Tag(), u"[42          ]"_s);
        QVERIFY(!geladen.an(4).erkannt());
        // Missing or out-of-range pictures (1 to 10 are valid) show as 4; empty
        // columns are still shown; a moment at midnight shows as the date alone.
        QCOMPARE(alles(geladen.an(0)), (QStringList{u"1"_s, u"4"_s, u"Unbekannt"_s, u"01.12.2026 08:00:00"_s, u"Ort"_s, u"K"_s}));
        QCOMPARE(alles(geladen.an(1)), (QStringList{u"3"_s, u"4"_s, u"Unbekannt"_s, u"01.12.2026 08:00:00"_s, QString(), QString()}));
        QCOMPARE(alles(geladen.an(2)), (QStringList{u"4"_s, u"10"_s, u"Unbekannt"_s, u"02.12.2026"_s, u"O"_s, u"K"_s}));

        // A number longer than its column is stored cut, not lost.
        auto wieder = oeffne();
        QVERIFY(wieder->speichere(anruf(QString(60, u'7'), u"06.12.2026 11:00:00"_s, 2, u"Unbekannt"_s)));
        QVERIFY(m_u->dialogs.boxes().isEmpty());
        Liste mitLangem;
        wieder->leseMDBinListview(mitLangem);
        QCOMPARE(mitLangem.an(mitLangem.Anzahl() - 1).nummer, QString(50, u'7'));
    }

    // Files from before the number called was kept get its field when opened;
    // their rows and other fields stay as they were.
    void olderFileGetsTheFieldOfTheNumberCalled()
    {
        const QDateTime d(QDate(2026, 12, 1), QTime(8, 0));
        sql(Einfuegen, {u"Unbekannt"_s, 2, u"0301234567"_s, d, u"Berlin"_s, u"Unbekannt"_s});
        {
            auto db = DBEngine::instance().OpenDatabase(m_pfad);
            auto rs = db->OpenRecordset(u"Anrufspeicher"_s, Recordset::dbOpenTable);
            QCOMPARE(rs->Fields().indexOf(u"Angerufen"_s), -1);
            rs->Close();
            db->Close();
        }
        auto daten = oeffne();
        Liste liste;
        daten->leseMDBinListview(liste);
        QCOMPARE(liste.Anzahl(), 1);
        QCOMPARE(alles(liste.an(0)), (QStringList{u"0301234567"_s, u"2"_s, u"Unbekannt"_s, u"01.12.2026 08:00:00"_s,
                                                  u"Berlin"_s, u"Unbekannt"_s}));
        QCOMPARE(liste.an(0).angerufen, QString());

        Anruf neu = anruf(u"0891234567"_s, u"06.12.2026 10:15:30"_s, 2, u"Unbekannt"_s);
        neu.angerufen = u"987654"_s;
        QVERIFY(daten->speichere(neu));
        daten->kill();
        // Opened again: the field is there once, the number called kept.
        Liste wieder;
        oeffne()->leseMDBinListview(wieder);
        QCOMPARE(wieder.Anzahl(), 2);
        QCOMPARE(wieder.an(1).angerufen, u"987654"_s);
        QCOMPARE(wieder.an(0).angerufen, QString());
        QVERIFY(m_u->dialogs.boxes().isEmpty());
        auto db = DBEngine::instance().OpenDatabase(m_pfad);
        QCOMPARE(db->OpenRecordset(u"SELECT COUNT(*) FROM Anrufspeicher WHERE Angerufen = '987654'"_s)->Wert(0).toInt(), 1);
    }

    void olderDatabaseWithoutIcon()
    {
        sql(u"DROP TABLE Anrufspeicher"_s);
        sql(u"CREATE TABLE Anrufspeicher (UniqueID TEXT ZEROLENGTH(50), Nummer TEXT ZEROLENGTH(50), "
            u"Datum DATETIME TEXT, Ort TEXT ZEROLENGTH(255), Kontakt TEXT ZEROLENGTH(255))"_s);
        auto daten = oeffne();
        Liste liste;
        QVERIFY(!daten->speichere(anruf(u"0301234567"_s, u"06.12.2026 10:15:30"_s, 6, u"[A           ]"_s)));
        QCOMPARE(m_u->dialogs.boxes().size(), 1);
        const QString text = m_u->dialogs.boxes().first().text;
        QVERIFY2(text.contains(u"SetField Icon"_s) && text.contains(u"3265"_s) && text.contains(u"ältere Version"_s),
                 qPrintable(text));
        // The row begun is dropped, and reading the older file still shows its rows.
        QCOMPARE(daten->Datenbank()->OpenRecordset(u"SELECT COUNT(*) FROM Anrufspeicher"_s)->Wert(0).toInt(), 0);
        daten->Datenbank()->Execute(u"INSERT INTO Anrufspeicher VALUES ('x', '1', '2026-12-06 10:00:00', 'O', 'K')"_s);
        daten->leseMDBinListview(liste);
        QCOMPARE(liste.Anzahl(), 1);
        QCOMPARE(liste.an(0).bild, 4);
    }

    void deleteCommands()
    {
        // "Older than a day" means before yesterday's midnight.
        const QDate heute = Jetzt.date();
        sql(Einfuegen, {u"u"_s, 2, u"gestern"_s, QDateTime(heute.addDays(-1), QTime(0, 0, 1)), u"O"_s, u"K"_s});
        sql(Einfuegen, {u"u"_s, 2, u"vorgestern"_s, QDateTime(heute.addDays(-2), QTime(23, 59, 59)), u"O"_s, u"K"_s});
        sql(Einfuegen, {u"u"_s, 2, u"vor acht Tagen"_s, Jetzt.addDays(-8), u"O"_s, u"K"_s});
        auto daten = oeffne();
        Liste liste;
        AnruferlisteLoeschen befehle(m_u->dialogs, *daten, liste);

        // An empty list asks nothing and deletes nothing.
        QVERIFY(!befehle.mnuAlleLoeschen());
        QCOMPARE(m_u->dialogs.boxes().size(), 0);

        // No still reloads the list from the table.
        liste.hinzufuegen(anruf(u"nur angezeigt"_s));
        m_u->dialogs.answer(Dialogs::Answer::No);
        QVERIFY(befehle.mnuAlleLoeschen());
        QCOMPARE(liste.Anzahl(), 3);

        m_u->dialogs.answer(Dialogs::Answer::Yes);
        befehle.mnuWocheLoeschen();
        QCOMPARE(liste.Anzahl(), 2);
        m_u->dialogs.answer(Dialogs::Answer::Yes);
        befehle.mnuTagLoeschen();
        QCOMPARE(liste.Anzahl(), 1);
        QCOMPARE(liste.an(0).nummer, u"gestern"_s);
        m_u->dialogs.answer(Dialogs::Answer::Yes);
        befehle.mnuAlleLoeschen();
        QCOMPARE(liste.Anzahl(), 0);
    }

    void installedDatabaseIsCopiedForTheUser()
    {
        // An installed program: bin/ holds no database, share/rufmon/ the supplied one.
        const QString bin = m_u->dir.filePath(u"prefix/bin"_s);
        QVERIFY(QDir().mkpath(bin));
        QVERIFY(QDir().mkpath(m_u->dir.filePath(u"prefix/share/rufmon"_s)));
        QVERIFY(QFile::copy(m_pfad, m_u->dir.filePath(u"prefix/share/rufmon/Nummern.mdb"_s)));
        const QByteArray alt = qgetenv("XDG_DATA_HOME");
        const auto zurueck = qScopeGuard(
            [&] { alt.isEmpty() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", alt); });
        qputenv("XDG_DATA_HOME", m_u->dir.filePath(u"daten"_s).toUtf8());
        const QString pfad = NummernMdbOrt::Pfad(bin);
        QCOMPARE(pfad, m_u->dir.filePath(u"daten/Rufmon/Nummern.mdb"_s));
        QVERIFY(QFileInfo(pfad).isWritable());

        // The user's copy, with the user's entries in it, is kept from then on.
        m_pfad = pfad;
        sql(u"INSERT INTO Liste (Nummer, Name, Ort) VALUES ('1', 'eigen', 'x')"_s);
        QCOMPARE(NummernMdbOrt::Pfad(bin), pfad);
        auto db = DBEngine::instance().OpenDatabase(pfad);
        QCOMPARE(db->OpenRecordset(u"SELECT COUNT(*) FROM Liste"_s)->Wert(0).toInt(), 1);
        db->Close();

        // A newer shipped version (corrected area codes) reaches that copy, its
        // caller list and free list untouched; a file from before the version
        // was kept counts as older.
        for (const bool ohneVersion : {false, true}) {
            sql(u"INSERT INTO Anrufspeicher (UniqueID, Icon, Nummer, Datum, Ort, Kontakt) "
                u"VALUES ('Unbekannt', 2, '0301234567', '2026-12-01 10:00:00', 'Berlin', 'Unbekannt')"_s);
            sql(u"DELETE FROM Laender WHERE Vorwahl = '43'"_s);
            sql(u"UPDATE Deutschland SET Ort = 'veraltet' WHERE Vorwahl = '030'"_s);
            sql(ohneVersion ? u"DROP TABLE MSysDatenstand"_s : u"UPDATE MSysDatenstand SET Datenstand = 'alt'"_s);
            QCOMPARE(NummernMdbOrt::Bereitstellen(bin), pfad);
            auto neu = DBEngine::instance().OpenDatabase(pfad);
            const auto wert = [&](const QString &abfrage) { return neu->OpenRecordset(abfrage)->Fields()[0].Text(); };
            QCOMPARE(wert(u"SELECT Land FROM Laender WHERE Vorwahl = '43'"_s), u"Österreich"_s);
            QCOMPARE(wert(u"SELECT Ort FROM Deutschland WHERE Vorwahl = '030'"_s), u"Berlin"_s);
            QCOMPARE(wert(u"SELECT COUNT(*) FROM Liste"_s), u"1"_s);
            QCOMPARE(wert(u"SELECT COUNT(*) FROM Anrufspeicher"_s), ohneVersion ? u"2"_s : u"1"_s);
            QVERIFY(!wert(u"SELECT Datenstand FROM MSysDatenstand"_s).isEmpty());
            QVERIFY(wert(u"SELECT Datenstand FROM MSysDatenstand"_s) != u"alt"_s);
            neu->Close();
        }
    }

private:
    std::unique_ptr<clRufmonDaten> oeffne(const QString &locale = u"00000407"_s)
    {
        auto daten = std::make_unique<clRufmonDaten>(m_u->dialogs, m_u->optionen, [locale] { return locale; });
        daten->init(m_pfad);
        return daten;
    }
    // Changes the file through a connection of its own, before the class opens it.
    void sql(const QString &anweisung, const QVariantList &werte = {})
    {
        auto db = DBEngine::instance().OpenDatabase(m_pfad);
        db->Execute(anweisung, werte);
        db->Close();
    }

    std::unique_ptr<Umgebung> m_u; // anew for every test
    QString m_pfad;
};

QTEST_GUILESS_MAIN(tst_clRufmonDaten)
#include "tst_clRufmonDaten.moc"
