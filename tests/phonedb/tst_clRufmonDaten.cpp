#include "app/ListViewModel.h"
#include "app/modOptionen.h"
#include "phonedb/AnruferlisteLoeschen.h"
#include "phonedb/NummernMdbOrt.h"
#include "phonedb/clRufmonDaten.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetFehler.h"
#include "platform/settings/IniSettingsStore.h"

#include "TestPaths.h"
#include "doubles/FakeSystem.h"
#include "doubles/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDateTime Jetzt(QDate(2026, 12, 6), QTime(11, 30, 15));

ListItem anruf(const QString &nummer, const QString &datum, const QString &ort, const QString &kontakt,
               int icon, const QString &tag)
{
    ListItem item;
    item.Text = nummer;
    item.SubItems = {datum, ort, kontakt};
    item.SmallIcon = icon;
    item.Tag = tag;
    return item;
}

void spalten(ListViewModel &m)
{
    m.setColumns({{u"Nummer"_s, u"Nummer"_s, {}},
                  {u"Datum"_s, u"Datum"_s, {}},
                  {u"Ort"_s, u"Ort"_s, {}},
                  {u"Kontakt"_s, u"Kontakt"_s, {}}});
}

} // namespace

// The phone database with its real area codes, on a copy of the file the
// build makes.
class tst_clRufmonDaten : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void places_data();
    void places();
    void otherLocaleHasNoNationalPlaces();
    void emptyInternationalPrefixMakesEveryNumberInternational();
    void numbersAreOnlyData();
    void placeQueryErrorIsReported();
    void initFailureMessage();
    void freeList();
    void callerListRoundTrip();
    void iconRulesAndNullColumns();
    void olderDatabaseWithoutIcon();
    void pruningByDayBoundaries();
    void deleteCommands();
    void installedDatabaseIsCopiedForTheUser();

private:
    std::unique_ptr<clRufmonDaten> oeffne(const QString &locale = u"00000407"_s);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<IniSettingsStore> m_store;
    FakeSystem m_system;
    std::unique_ptr<modOptionen> m_optionen;
    ScriptedDialogs m_dialogs;
    QString m_pfad;
};

void tst_clRufmonDaten::initTestCase()
{
    QVERIFY2(QFile::exists(QStringLiteral(RUFMON_NUMMERN_MDB)), RUFMON_NUMMERN_MDB);
}

void tst_clRufmonDaten::init()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    DBEngine::instance().setUhr([] { return Jetzt; });
    m_dir = std::make_unique<QTemporaryDir>();
    m_pfad = m_dir->filePath(u"Nummern.mdb"_s);
    QVERIFY(QFile::copy(QStringLiteral(RUFMON_NUMMERN_MDB), m_pfad));
    QFile::setPermissions(m_pfad, QFile::ReadOwner | QFile::WriteOwner);
    m_store = std::make_unique<IniSettingsStore>(m_dir->filePath(u"Rufmon.conf"_s));
    m_optionen = std::make_unique<modOptionen>(*m_store, m_system);
    m_dialogs.clear();
}

void tst_clRufmonDaten::cleanup()
{
    DBEngine::instance().setUhr({});
    QCOMPARE(m_dialogs.unanswered(), 0);
}

std::unique_ptr<clRufmonDaten> tst_clRufmonDaten::oeffne(const QString &locale)
{
    auto daten = std::make_unique<clRufmonDaten>(m_dialogs, *m_optionen, [locale] { return locale; });
    daten->init(m_pfad);
    return daten;
}

void tst_clRufmonDaten::places_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("nummer");
    QTest::addColumn<QString>("laendervorwahl");
    QTest::addColumn<QString>("vorwahl");
    QTest::addColumn<QString>("anschluss");
    QTest::addColumn<QString>("land");
    QTest::addColumn<QString>("ort");

    const QString de = u"00000407"_s;
    const QString at = u"00000c07"_s;
    QTest::newRow("Berlin") << de << u"0301234567"_s << QString() << u"030"_s << u"1234567"_s << QString() << u"Berlin"_s;
    QTest::newRow("München") << de << u"089123456"_s << QString() << u"089"_s << u"123456"_s << QString() << u"München"_s;
    QTest::newRow("Hamburg") << de << u"040123456"_s << QString() << u"040"_s << u"123456"_s << QString() << u"Hamburg"_s;
    QTest::newRow("Solingen") << de << u"02121234"_s << QString() << u"0212"_s << u"1234"_s << QString() << u"Solingen"_s;
    QTest::newRow("Haan beside Solingen") << de << u"0212912345"_s << QString() << u"02129"_s << u"12345"_s
                                          << QString() << u"Haan Rheinland"_s;
    QTest::newRow("without national zero") << de << u"301234567"_s << QString() << u"030"_s << u"1234567"_s
                                           << QString() << u"Berlin"_s;
    QTest::newRow("free-phone has no place") << de << u"08001234567"_s << QString() << QString()
                                             << u"08001234567"_s << QString() << u"Unbekannt"_s;
    QTest::newRow("premium rate has no place") << de << u"09001234567"_s << QString() << QString()
                                               << u"09001234567"_s << QString() << u"Unbekannt"_s;
    QTest::newRow("no area code fits") << de << u"01234567"_s << QString() << QString() << u"01234567"_s << QString()
                                       << u"Unbekannt"_s;
    QTest::newRow("number is an area code") << de << u"030"_s << QString() << u"030"_s << QString() << QString()
                                            << u"Berlin"_s;
    QTest::newRow("Graz nationally in Austria") << at << u"0316123456"_s << QString() << u"0316"_s << u"123456"_s
                                                << QString() << u"Graz"_s;
    QTest::newRow("Wien internationally") << de << u"00431234567"_s << u"43"_s << u"012"_s << u"34567"_s
                                          << u"Österreich"_s << u"Wien"_s;
    QTest::newRow("Graz internationally") << de << u"0043316123456"_s << u"43"_s << u"0316"_s << u"123456"_s
                                          << u"Österreich"_s << u"Graz"_s;
    QTest::newRow("Zürich internationally") << de << u"0041441234567"_s << u"41"_s << u"044"_s << u"1234567"_s
                                            << u"Schweiz"_s << u"Zürich"_s;
    QTest::newRow("Berlin internationally") << at << u"0049301234567"_s << u"49"_s << u"030"_s << u"1234567"_s
                                            << u"Deutschland"_s << u"Berlin"_s;
    QTest::newRow("country without area codes") << de << u"0033123456789"_s << u"33"_s << QString()
                                                << u"0123456789"_s << u"Frankreich"_s << u"Unbekannt"_s;
    QTest::newRow("New York is not the Bahamas") << de << u"0012125551234"_s << u"1"_s << QString()
                                                 << u"02125551234"_s << u"USA/Kanada"_s << u"Unbekannt"_s;
    QTest::newRow("Bahamas") << de << u"0012423221234"_s << u"1242"_s << QString() << u"03221234"_s
                             << u"Bahamas"_s << u"Unbekannt"_s;
    QTest::newRow("unknown country") << de << u"00999123"_s << QString() << QString() << u"0999123"_s
                                     << u"Unbekannt"_s << u"Unbekannt"_s;
}

void tst_clRufmonDaten::places()
{
    QFETCH(QString, locale);
    QFETCH(QString, nummer);
    QFETCH(QString, laendervorwahl);
    QFETCH(QString, vorwahl);
    QFETCH(QString, anschluss);
    QFETCH(QString, land);
    QFETCH(QString, ort);

    auto daten = oeffne(locale);
    QString lv, v, a, l, o;
    daten->BestimmeVorwahlAnschlussOrtLand(nummer, lv, v, a, l, o);
    QCOMPARE(lv, laendervorwahl);
    QCOMPARE(v, vorwahl);
    QCOMPARE(a, anschluss);
    QCOMPARE(l, land);
    QCOMPARE(o, ort);
    QCOMPARE(m_dialogs.boxes().size(), 0);
}

void tst_clRufmonDaten::otherLocaleHasNoNationalPlaces()
{
    auto daten = oeffne(u"00000409"_s);
    QString lv, v, a, l, o;
    daten->BestimmeVorwahlAnschlussOrtLand(u"301234567"_s, lv, v, a, l, o);
    QCOMPARE(o, u"Unbekannt"_s);
    QCOMPARE(v, QString());
    QCOMPARE(a, u"0301234567"_s);
    QCOMPARE(l, QString());
    QCOMPARE(m_dialogs.boxes().size(), 0);
}

void tst_clRufmonDaten::emptyInternationalPrefixMakesEveryNumberInternational()
{
    m_store->SaveSetting(u"Optionen"_s, u"InternationaleKennung"_s, QString());
    auto daten = oeffne();
    QString lv, v, a, l, o;
    daten->BestimmeVorwahlAnschlussOrtLand(u"49301234567"_s, lv, v, a, l, o);
    QCOMPARE(lv, u"49"_s);
    QCOMPARE(o, u"Berlin"_s);
}

void tst_clRufmonDaten::numbersAreOnlyData()
{
    auto daten = oeffne();
    for (const QString &boese : {u"030\" OR \"1\"=\"1"_s, u"030' OR '1'='1"_s, u"030*"_s, u"0[3]0"_s,
                                 u"0049\"; DROP TABLE Laender; --"_s}) {
        QString lv, v, a, l, o;
        daten->BestimmeVorwahlAnschlussOrtLand(boese, lv, v, a, l, o);
        QString name, ort;
        daten->SucheNameOrtAusFreierListe(boese, name, ort);
        QCOMPARE(name, u"Unbekannt"_s);
    }
    QCOMPARE(m_dialogs.boxes().size(), 0);
    auto rs = daten->Datenbank()->OpenRecordset(u"SELECT COUNT(*) FROM Laender"_s);
    QVERIFY(rs->Wert(0).toInt() > 200);
}

void tst_clRufmonDaten::placeQueryErrorIsReported()
{
    {
        auto db = DBEngine::instance().OpenDatabase(m_pfad);
        db->Execute(u"INSERT INTO Laender (Vorwahl, Land) VALUES ('999', 'Testland')"_s);
        db->Execute(u"CREATE TABLE Testland (Vorwahl TEXT(10), Stadt TEXT(50))"_s);
        db->Close();
    }
    auto daten = oeffne();
    QString lv, v, a, l, o;
    daten->BestimmeVorwahlAnschlussOrtLand(u"00999301234"_s, lv, v, a, l, o);
    QCOMPARE(l, u"Testland"_s);
    QCOMPARE(o, u"Unbekannt"_s);
    QCOMPARE(m_dialogs.boxes().size(), 1);
    const ScriptedDialogs::Box box = m_dialogs.boxes().first();
    QVERIFY2(box.text.startsWith(u"Fehler  3061: "_s), qPrintable(box.text));
    QVERIFY(box.text.contains(u"\r\nSQL: SELECT Vorwahl, Ort FROM [Testland]"_s));
    QCOMPARE(box.icon, Dialogs::Icon::Exclamation);
}

void tst_clRufmonDaten::initFailureMessage()
{
    clRufmonDaten daten(m_dialogs, *m_optionen);
    const QString fehlt = m_dir->filePath(u"fehlt.mdb"_s);
    daten.init(fehlt);
    QVERIFY(!daten.istOffen());
    QCOMPARE(m_dialogs.boxes().size(), 1);
    QCOMPARE(m_dialogs.boxes().first().text,
             u"Fehler in Klasse clRufmonDaten\r\nFehler beim Öffnen der Datenbank:"_s + fehlt
                 + u"\r\nFehlernummer:3024\r\nFehlerbeschreibung:Datei '"_s + fehlt + u"' nicht gefunden."_s);
    QCOMPARE(m_dialogs.boxes().first().icon, Dialogs::Icon::Exclamation);
    // Later operations fail at their first database access, to their caller.
    QString name, ort;
    QVERIFY_THROWS_EXCEPTION(JetFehler, daten.SucheNameOrtAusFreierListe(u"1"_s, name, ort));
    ListViewModel liste;
    spalten(liste);
    liste.Add(anruf(u"1"_s, u"06.12.2026 10:00:00"_s, u"x"_s, u"y"_s, 2, u"Unbekannt"_s));
    m_dialogs.clear();
    QVERIFY(!daten.schreibIteminMDB(liste, 0));
    QVERIFY(m_dialogs.boxes().first().text.contains(u"(schreibItemInMDB, OpenRecordset)."_s));
}

void tst_clRufmonDaten::freeList()
{
    {
        auto db = DBEngine::instance().OpenDatabase(m_pfad);
        db->Execute(u"INSERT INTO Liste (Nummer, Name, Ort) VALUES (?, ?, ?)"_s,
                    {u"0301234567"_s, u"Pizzadienst"_s, u"Berlin-Mitte"_s});
        db->Execute(u"INSERT INTO Liste (Nummer, Name, Ort) VALUES (?, ?, NULL)"_s, {u"0\"8'9"_s, u"Sonder"_s});
        db->Close();
    }
    auto daten = oeffne();
    QString name, ort;
    daten->SucheNameOrtAusFreierListe(u"0301234567"_s, name, ort);
    QCOMPARE(name, u"Pizzadienst"_s);
    QCOMPARE(ort, u"Berlin-Mitte"_s);
    daten->SucheNameOrtAusFreierListe(u"030123456"_s, name, ort);
    QCOMPARE(name, u"Unbekannt"_s);
    QCOMPARE(ort, u"Unbekannt"_s);
    daten->SucheNameOrtAusFreierListe(u"0\"8'9"_s, name, ort);
    QCOMPARE(name, u"Sonder"_s);
    QCOMPARE(ort, u"Unbekannt"_s);
}

void tst_clRufmonDaten::callerListRoundTrip()
{
    auto daten = oeffne();
    ListViewModel liste;
    spalten(liste);
    liste.Add(anruf(u"0301234567"_s, u"06.12.2026 10:15:30"_s, u"Berlin"_s, u"Müller, Jürgen"_s, 6,
                    u"[ABCDEFGHIJKL]"_s));
    liste.Add(anruf(u"00431234567"_s, u"05.12.2026 23:59:59"_s, u"Wien"_s, u"Unbekannt"_s, 2, u"Unbekannt"_s));
    QVERIFY(daten->schreibIteminMDB(liste, 0));
    QVERIFY(daten->schreibIteminMDB(liste, 1));
    daten->kill();

    auto wieder = oeffne();
    ListViewModel geladen;
    spalten(geladen);
    geladen.Add(anruf(u"alt"_s, QString(), QString(), QString(), 1, QString()));
    wieder->leseMDBinListview(geladen);
    QCOMPARE(geladen.Count(), 2);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(geladen.Item(i).Text, liste.Item(i).Text);
        QCOMPARE(geladen.Item(i).SubItems, liste.Item(i).SubItems);
        QCOMPARE(geladen.Item(i).SmallIcon, liste.Item(i).SmallIcon);
        QCOMPARE(geladen.Item(i).Tag, liste.Item(i).Tag);
    }
}

void tst_clRufmonDaten::iconRulesAndNullColumns()
{
    {
        auto db = DBEngine::instance().OpenDatabase(m_pfad);
        const QString sql = u"INSERT INTO Anrufspeicher (UniqueID, Icon, Nummer, Datum, Ort, Kontakt) VALUES (?, ?, ?, ?, ?, ?)"_s;
        const QDateTime d(QDate(2026, 12, 1), QTime(8, 0));
        db->Execute(sql, {u"a"_s, QVariant(), u"1"_s, d, u"Ort"_s, u"K"_s});
        db->Execute(sql, {u"b"_s, 0, u"2"_s, d, u"Ort"_s, u"K"_s});
        db->Execute(sql, {u"c"_s, 11, u"3"_s, d, u"Ort"_s, u"K"_s});
        db->Execute(sql, {u"d"_s, 10, u"4"_s, d, QVariant(), QVariant()});
        db->Execute(sql, {u"e"_s, 1, u"5"_s, QDateTime(QDate(2026, 12, 2), QTime(0, 0)), u"O"_s, u"K"_s});
        db->Close();
    }
    auto daten = oeffne();
    ListViewModel liste;
    spalten(liste);
    daten->leseMDBinListview(liste);
    QCOMPARE(liste.Count(), 5);
    QCOMPARE(liste.Item(0).SmallIcon, 4);
    QCOMPARE(liste.Item(1).SmallIcon, 4);
    QCOMPARE(liste.Item(2).SmallIcon, 4);
    QCOMPARE(liste.Item(3).SmallIcon, 10);
    QCOMPARE(liste.Item(4).SmallIcon, 1);
    // A row with empty columns is still shown.
    QCOMPARE(liste.Item(3).columnText(2), QString());
    QCOMPARE(liste.Item(3).columnText(1), u"01.12.2026 08:00:00"_s);
    // A moment at midnight shows as the date alone.
    QCOMPARE(liste.Item(4).columnText(1), u"02.12.2026"_s);
}

void tst_clRufmonDaten::olderDatabaseWithoutIcon()
{
    {
        auto db = DBEngine::instance().OpenDatabase(m_pfad);
        db->Execute(u"DROP TABLE Anrufspeicher"_s);
        db->Execute(u"CREATE TABLE Anrufspeicher (UniqueID TEXT ZEROLENGTH(50), Nummer TEXT ZEROLENGTH(50), "
                    u"Datum DATETIME TEXT, Ort TEXT ZEROLENGTH(255), Kontakt TEXT ZEROLENGTH(255))"_s);
        db->Close();
    }
    auto daten = oeffne();
    ListViewModel liste;
    spalten(liste);
    liste.Add(anruf(u"0301234567"_s, u"06.12.2026 10:15:30"_s, u"Berlin"_s, u"X"_s, 6, u"[A           ]"_s));
    QVERIFY(!daten->schreibIteminMDB(liste, 0));
    QCOMPARE(m_dialogs.boxes().size(), 1);
    QCOMPARE(m_dialogs.boxes().first().text,
             u"Fehler in Klasse clRufmonDaten (schreibItemInMDB, SetField Icon).\r\nFehlernummer: 3265\r\n"
             u"Fehlerbeschreibung: Element in dieser Auflistung nicht gefunden."
             u"Eventuell verwenden Sie eine ältere Version der \"Nummern.mdb\" Datei."_s);
    QCOMPARE(m_dialogs.boxes().first().icon, Dialogs::Icon::Exclamation);
    auto rs = daten->Datenbank()->OpenRecordset(u"SELECT COUNT(*) FROM Anrufspeicher"_s);
    QCOMPARE(rs->Wert(0).toInt(), 0);
    // Reading an older file still shows its rows.
    daten->Datenbank()->Execute(u"INSERT INTO Anrufspeicher VALUES ('x', '1', '2026-12-06 10:00:00', 'O', 'K')"_s);
    ListViewModel geladen;
    spalten(geladen);
    daten->leseMDBinListview(geladen);
    QCOMPARE(geladen.Count(), 1);
    QCOMPARE(geladen.Item(0).SmallIcon, 4);
}

void tst_clRufmonDaten::pruningByDayBoundaries()
{
    auto daten = oeffne();
    const QString sql = u"INSERT INTO Anrufspeicher (UniqueID, Icon, Nummer, Datum, Ort, Kontakt) VALUES ('u', 2, ?, ?, 'O', 'K')"_s;
    daten->Datenbank()->Execute(sql, {u"heute"_s, QDateTime(QDate(2026, 12, 6), QTime(0, 0, 0))});
    daten->Datenbank()->Execute(sql, {u"gestern"_s, QDateTime(QDate(2026, 12, 5), QTime(0, 0, 1))});
    daten->Datenbank()->Execute(sql, {u"vorgestern"_s, QDateTime(QDate(2026, 12, 4), QTime(23, 59, 59))});
    int tage = 1;
    daten->LoescheAnruferliste(tage);
    ListViewModel liste;
    spalten(liste);
    daten->leseMDBinListview(liste);
    QCOMPARE(liste.Count(), 2);
    QCOMPARE(liste.Item(0).Text, u"heute"_s);
    QCOMPARE(liste.Item(1).Text, u"gestern"_s);
    tage = -1;
    daten->LoescheAnruferliste(tage);
    daten->leseMDBinListview(liste);
    QCOMPARE(liste.Count(), 0);
}

void tst_clRufmonDaten::deleteCommands()
{
    auto daten = oeffne();
    ListViewModel liste;
    spalten(liste);
    AnruferlisteLoeschen befehle(m_dialogs, *daten, liste);

    // An empty list asks nothing and deletes nothing.
    QVERIFY(!befehle.mnuAlleLoeschen());
    QCOMPARE(m_dialogs.boxes().size(), 0);

    const QString sql = u"INSERT INTO Anrufspeicher (UniqueID, Icon, Nummer, Datum, Ort, Kontakt) VALUES ('u', 2, ?, ?, 'O', 'K')"_s;
    daten->Datenbank()->Execute(sql, {u"heute"_s, Jetzt});
    daten->Datenbank()->Execute(sql, {u"vor acht Tagen"_s, Jetzt.addDays(-8)});
    liste.Add(anruf(u"nur angezeigt"_s, QString(), QString(), QString(), 1, QString()));

    // No still reloads the list from the table.
    m_dialogs.answer(Dialogs::Answer::No);
    QVERIFY(befehle.mnuAlleLoeschen());
    QCOMPARE(liste.Count(), 2);
    const ScriptedDialogs::Box frage = m_dialogs.boxes().last();
    QCOMPARE(frage.text, u"Sollen alle Einträge gelöscht werden ?"_s);
    QCOMPARE(frage.title, u"Rufmon - Anruferliste löschen"_s);
    QCOMPARE(frage.icon, Dialogs::Icon::Question);
    QCOMPARE(frage.buttons, Dialogs::Buttons::YesNo);

    m_dialogs.answer(Dialogs::Answer::Yes);
    befehle.mnuWocheLoeschen();
    QCOMPARE(m_dialogs.boxes().last().text, u"Sollen alle Einträge gelöscht werden, die älter als eine Woche sind ?"_s);
    QCOMPARE(liste.Count(), 1);
    QCOMPARE(liste.Item(0).Text, u"heute"_s);

    m_dialogs.answer(Dialogs::Answer::Yes);
    befehle.mnuTagLoeschen();
    QCOMPARE(m_dialogs.boxes().last().text, u"Sollen alle Einträge gelöscht werden, die älter als ein Tag sind ?"_s);
    QCOMPARE(liste.Count(), 1);

    m_dialogs.answer(Dialogs::Answer::Yes);
    befehle.mnuAlleLoeschen();
    QCOMPARE(liste.Count(), 0);
}

void tst_clRufmonDaten::installedDatabaseIsCopiedForTheUser()
{
    // An installed program: bin/ holds no database, share/rufmon/ the supplied one.
    const QString bin = m_dir->filePath(u"prefix/bin"_s);
    const QString share = m_dir->filePath(u"prefix/share/rufmon"_s);
    QDir().mkpath(bin);
    QDir().mkpath(share);
    QVERIFY(QFile::copy(m_pfad, share + u"/Nummern.mdb"_s));
    const QByteArray alt = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", m_dir->filePath(u"daten"_s).toUtf8());
    const QString pfad = NummernMdbOrt::Pfad(bin);
    QCOMPARE(pfad, m_dir->filePath(u"daten/Rufmon/Nummern.mdb"_s));
    QVERIFY(QFile::exists(pfad));
    QVERIFY(QFileInfo(pfad).isWritable());

    // The user's copy, with the user's caller list in it, is kept from then on.
    {
        auto db = DBEngine::instance().OpenDatabase(pfad);
        db->Execute(u"INSERT INTO Liste (Nummer, Name, Ort) VALUES ('1', 'eigen', 'x')"_s);
        db->Close();
    }
    QCOMPARE(NummernMdbOrt::Pfad(bin), pfad);
    auto db = DBEngine::instance().OpenDatabase(pfad);
    QCOMPARE(db->OpenRecordset(u"SELECT COUNT(*) FROM Liste"_s)->Wert(0).toInt(), 1);
    db->Close();
    if (alt.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", alt);
}

QTEST_GUILESS_MAIN(tst_clRufmonDaten)
#include "tst_clRufmonDaten.moc"
