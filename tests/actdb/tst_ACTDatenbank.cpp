// An ACT! database made by our generator, read through the table access,
// the field definitions, the periodic check and the contact card.
#include "actcontrol/clACTApplication.h"
#include "actcontrol/frmKontaktkarte.h"
#include "actdb/ACTPruefung.h"
#include "actdb/clACTFelder.h"
#include "actdb/clActDBF.h"
#include "app/modHaupt.h"
#include "app/modOptionen.h"
#include "platform/actole/ActDatenbankAdapter.h"
#include "platform/jet/Recordset.h"
#include "platform/settings/IniSettingsStore.h"
#include "tools/actgen/ActGenerator.h"

#include "TestPaths.h"
#include "doubles/FakeSystem.h"
#include "doubles/MemoryClipboard.h"
#include "doubles/ScriptedDialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_ACTDatenbank : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void statementText_data();
    void statementText();
    void searchPattern_data();
    void searchPattern();
    void searchFindsTheContact();
    void valueIsData();
    void debugPutsTheStatementOnTheClipboard();
    void openFailures();
    void maxValueAndCount();
    void fieldDefinitions();
    void filesFromWindows();
    void checkKeepsPanelFlagAndPhoneFields();
    void brokenDefinitionsEndTheCheckAndRetry();
    void contactCard();

private:
    QString kontaktTabelle() const { return m_dir.filePath(u"act/KUNDEN.dbf"_s); }

    QTemporaryDir m_dir;
    QString m_id;
    std::unique_ptr<IniSettingsStore> m_store;
    FakeSystem m_system;
    std::unique_ptr<modOptionen> m_optionen;
    ScriptedDialogs m_dialogs;
    MemoryClipboard m_clipboard;
};

void tst_ACTDatenbank::initTestCase()
{
    ActGenerator g;
    g.options().seed = 7;
    g.options().contacts = 300;
    ActGenerator::Contact c;
    c.firstName = u"Jörg"_s;
    c.lastName = u"Testmann"_s;
    c.company = u"Prüfstand GmbH"_s;
    c.city = u"Solingen"_s;
    c.phone = u"0212 9876543"_s;
    c.mobilePhone = u"0171/5550123"_s;
    m_id = g.addKnownContact(c);
    ActGenerator::Contact stern;
    stern.firstName = u"Sonder"_s;
    stern.lastName = u"Zeichen"_s;
    stern.phone = u"0301*"_s;
    g.addKnownContact(stern);
    QVERIFY2(g.write(m_dir.filePath(u"act"_s)), qPrintable(g.errorString()));
}

void tst_ACTDatenbank::init()
{
    m_store = std::make_unique<IniSettingsStore>(m_dir.filePath(u"Rufmon.conf"_s));
    m_store->SaveSetting(u"Optionen"_s, u"Debug"_s, u"0"_s);
    m_optionen = std::make_unique<modOptionen>(*m_store, m_system);
    m_dialogs.clear();
    modHaupt::instance().zuruecksetzen();
}

void tst_ACTDatenbank::statementText_data()
{
    QTest::addColumn<QString>("such");
    QTest::addColumn<QString>("ergebnis");
    QTest::addColumn<QString>("wert");
    QTest::addColumn<QString>("verknuepfung");
    QTest::addColumn<bool>("erstes");
    QTest::addColumn<QString>("sql");

    QTest::newRow("worked example") << u"PHONE,FAX"_s << u"NAME,CITY"_s << u"0891"_s << u"OR"_s << false
                                    << u"SELECT [KUNDEN].PHONE, [KUNDEN].FAX, [KUNDEN].NAME, [KUNDEN].CITY, "
                                       u"[KUNDEN].UNIQUE_ID FROM [KUNDEN] WHERE [KUNDEN].PHONE LIKE '*0891*' OR "
                                       u"[KUNDEN].FAX LIKE '*0891*'"_s;
    QTest::newRow("all rows") << QString() << u" PHONE , NAME"_s << QString() << QString() << false
                              << u"SELECT [KUNDEN].PHONE, [KUNDEN].NAME, [KUNDEN].UNIQUE_ID FROM [KUNDEN] "_s;
    QTest::newRow("every id") << u"UNIQUE_ID"_s << QString() << QString() << u"OR"_s << false
                              << u"SELECT [KUNDEN].UNIQUE_ID, [KUNDEN].UNIQUE_ID FROM [KUNDEN] WHERE "
                                 u"[KUNDEN].UNIQUE_ID LIKE '**'"_s;
    QTest::newRow("first field only") << u"PHONE,FAX,HOME_PHONE"_s << QString() << u"12"_s << u"OR"_s << true
                                      << u"SELECT [KUNDEN].PHONE, [KUNDEN].FAX, [KUNDEN].HOME_PHONE, "
                                         u"[KUNDEN].UNIQUE_ID FROM [KUNDEN] WHERE [KUNDEN].PHONE LIKE '*12*'"_s;
}

void tst_ACTDatenbank::statementText()
{
    QFETCH(QString, such);
    QFETCH(QString, ergebnis);
    QFETCH(QString, wert);
    QFETCH(QString, verknuepfung);
    QFETCH(bool, erstes);
    QFETCH(QString, sql);
    QCOMPARE(clActDBF::Anweisung(u"KUNDEN"_s, such, ergebnis, wert, verknuepfung, erstes), sql);
}

void tst_ACTDatenbank::searchPattern_data()
{
    QTest::addColumn<QString>("wert");
    QTest::addColumn<QString>("muster");

    QTest::newRow("letters either case") << u"ab1"_s << u"[aA][bB]1"_s;
    QTest::newRow("umlauts") << u"Müß"_s << u"[Mm][üÜ]ß"_s;
    QTest::newRow("quote doubled") << u"O'Neil"_s << u"[Oo]''[Nn][eE][iI][lL]"_s;
    QTest::newRow("pattern characters stand for themselves") << u"0301*?#["_s << u"0301[*][?][#][[]"_s;
    QTest::newRow("digits and blanks unchanged") << u"030 12-3"_s << u"030 12-3"_s;
}

void tst_ACTDatenbank::searchPattern()
{
    QFETCH(QString, wert);
    QFETCH(QString, muster);
    QCOMPARE(clActDBF::Suchmuster(wert), muster);
}

void tst_ACTDatenbank::searchFindsTheContact()
{
    clActDBF dbf(m_dialogs, m_clipboard, *m_optionen);
    QVERIFY(dbf.init(kontaktTabelle()));
    QCOMPARE(dbf.Tabellenname(), u"KUNDEN"_s);
    QCOMPARE(dbf.Ordner(), m_dir.filePath(u"act"_s));
    auto rs = dbf.Suche(u"PHONE,FAX,HOME_PHONE,MOBILE_PH,ALT_PHONE"_s, u"NAME,CITY"_s, u"9876543"_s, u"OR"_s, false);
    QVERIFY(rs);
    QVERIFY(!rs->Eof());
    QCOMPARE(rs->Wert(u"UNIQUE_ID"_s).toString(), m_id);
    QCOMPARE(rs->Wert(u"CITY"_s).toString(), u"Solingen"_s);
    QVERIFY(rs->Wert(u"NAME"_s).toString().contains(u"Jörg"_s));
    rs->MoveNext();
    QVERIFY(rs->Eof());
    dbf.kill();
    QCOMPARE(m_dialogs.boxes().size(), 0);
}

void tst_ACTDatenbank::valueIsData()
{
    clActDBF dbf(m_dialogs, m_clipboard, *m_optionen);
    QVERIFY(dbf.init(kontaktTabelle()));
    // "0301*" is found as itself, not as every number containing 0301.
    auto rs = dbf.Suche(u"PHONE"_s, u"NAME"_s, u"0301*"_s, u"OR"_s, false);
    QVERIFY(rs);
    rs->MoveLast();
    QCOMPARE(rs->RecordCount(), 1L);
    // A quote is no end of the statement.
    auto quote = dbf.Suche(u"PHONE"_s, u"NAME"_s, u"03'01"_s, u"OR"_s, false);
    QVERIFY(quote);
    QVERIFY(quote->Eof());
    QCOMPARE(m_dialogs.boxes().size(), 0);
}

void tst_ACTDatenbank::debugPutsTheStatementOnTheClipboard()
{
    m_store->SaveSetting(u"Optionen"_s, u"Debug"_s, u"1"_s);
    clActDBF dbf(m_dialogs, m_clipboard, *m_optionen);
    QVERIFY(dbf.init(kontaktTabelle()));
    dbf.Suche(u"PHONE"_s, u"NAME"_s, u"12"_s, u"OR"_s, false);
    QCOMPARE(m_clipboard.GetText(),
             u"SELECT [KUNDEN].PHONE, [KUNDEN].NAME, [KUNDEN].UNIQUE_ID FROM [KUNDEN] WHERE [KUNDEN].PHONE LIKE '*12*'"_s);
}

void tst_ACTDatenbank::openFailures()
{
    clActDBF dbf(m_dialogs, m_clipboard, *m_optionen);
    QVERIFY(!dbf.init(QString()));
    QCOMPARE(m_dialogs.boxes().last().text,
             u"Fehler in Methode init in Klasse clACTDBF\r\nDer übergebende Datenbankpfad ist leer."_s);
    QCOMPARE(m_dialogs.boxes().last().icon, Dialogs::Icon::Information);

    QVERIFY(!dbf.init(m_dir.filePath(u"gibtsnicht/KUNDEN.dbf"_s)));
    const QString text = m_dialogs.boxes().last().text;
    QVERIFY2(text.startsWith(u"Konnte Ihre ACT!-Datenbank nicht öffnen !\r\nError # 3044 ("_s), qPrintable(text));
    QCOMPARE(m_dialogs.boxes().last().icon, Dialogs::Icon::None);

    // A search on a closed table access is the same open failure, no crash.
    QVERIFY(!dbf.Suche(u"PHONE"_s, QString(), u"1"_s, u"OR"_s, false));
}

void tst_ACTDatenbank::maxValueAndCount()
{
    clActDBF dbf(m_dialogs, m_clipboard, *m_optionen);
    QVERIFY(dbf.init(kontaktTabelle()));
    const long mitNummer = dbf.getRecordcount(u"PHONE"_s, u"Kontakt"_s);
    QVERIFY(mitNummer > 100 && mitNummer < 300);
    QCOMPARE(dbf.getRecordcount(u"GROUP_NAME"_s, u"groups"_s) > 0, true);
    QCOMPARE(dbf.SucheMaxWert(u"UNIQUE_ID"_s, u"Firma"_s, u"ZZZ"_s), 0L);
    QCOMPARE(m_dialogs.boxes().last().text, u"Tabellentyp ist fremd (Firma). Es wird die Kontakt-Tabelle benutzt."_s);
}

void tst_ACTDatenbank::fieldDefinitions()
{
    clACTFelder felder(m_dialogs);
    QVERIFY(felder.init(kontaktTabelle()));
    QCOMPARE(felder.ACTPfad(), m_dir.filePath(u"act"_s));
    QCOMPARE(felder.ACTDateiname(), u"KUNDEN"_s);
    QVERIFY(!felder.Felder_eingelesen());
    QStringList fortschritt;
    felder.Felder_einlesen([&](const QString &t) { fortschritt << t; });
    QVERIFY(felder.Felder_eingelesen());
    QCOMPARE(fortschritt.first(), u"Searching positions ..."_s);
    QVERIFY(fortschritt.contains(u"scanning ACT! contactfields ... (0%)"_s));

    QHash<QString, clACTFeld> nachName;
    for (int i = 0; i < felder.AnzahlKontaktfelder(); ++i)
        nachName.insert(felder.KontaktFeld(i).Feldname, felder.KontaktFeld(i));
    for (const QString &telefon : {u"PHONE"_s, u"FAX"_s, u"HOME_PHONE"_s, u"MOBILE_PH"_s, u"ALT_PHONE"_s})
        QCOMPARE(nachName.value(telefon).Feldart, 7);
    QCOMPARE(nachName.value(u"PHONE"_s).Bezeichnung, u"Telefon"_s);
    QCOMPARE(nachName.value(u"MOBILE_PH"_s).Bezeichnung, u"Mobiltelefon"_s);
    QVERIFY(nachName.value(u"PHONE_EXT"_s).Feldart != 7);
    QVERIFY(nachName.value(u"NAME"_s).Feldart != 7);
    QVERIFY(felder.AnzahlGruppenfleder() > 0);
    QVERIFY(felder.checkeACTFeldnamen(u"GROUP_NAME"_s));
    QVERIFY(!felder.checkeACTFeldnamen(u"phone"_s));
}

void tst_ACTDatenbank::filesFromWindows()
{
    // KUNDEN.DBF beside kunden.gdb and Kunden.DDF is one database.
    const QString pfad = QStringLiteral(RUFMON_TEST_DATA) + u"/act/windows/kunden.dbf"_s;
    clACTFelder felder(m_dialogs);
    QVERIFY(felder.init(pfad));
    felder.Felder_einlesen();
    QVERIFY(felder.Felder_eingelesen());
    int telefon = 0;
    for (int i = 0; i < felder.AnzahlKontaktfelder(); ++i)
        telefon += felder.KontaktFeld(i).Feldart == 7;
    QCOMPARE(telefon, 5);
    clActDBF dbf(m_dialogs, m_clipboard, *m_optionen);
    QVERIFY(dbf.init(pfad));
    auto rs = dbf.Suche(QString(), u"PHONE"_s, QString(), QString(), false);
    QVERIFY(rs);
    QVERIFY(!rs->Eof());
    QCOMPARE(m_dialogs.boxes().size(), 0);
}

void tst_ACTDatenbank::checkKeepsPanelFlagAndPhoneFields()
{
    frmKontaktkarte karte;
    ActDatenbankAdapter adapter(*m_store, karte);
    clACTApplication app(adapter, m_dialogs, {});
    clACTFelder felder(m_dialogs);
    QString text, tip;
    int bild = 0;
    bool timer = false;
    std::vector<clACTFeld> gesetzt;
    QString ausschluss;
    int cache = 0;
    ACTPruefung::Umgebung u;
    u.ACTgestartet = [&] { return app.ACTgestartet(); };
    u.ACTDatenbank = [&] { return app.ACTDatenbank(); };
    u.PanelText = [&](const QString &t) { text = t; };
    u.PanelBild = [&](int b) { bild = b; };
    u.PanelToolTip = [&](const QString &t) { tip = t; };
    u.TimerACT = [&](bool an) { timer = an; };
    u.TelefonfelderSetzen = [&](const std::vector<clACTFeld> &f, const QString &a) {
        gesetzt = f;
        ausschluss = a;
    };
    u.CacheSchritt = [&] { ++cache; };
    ACTPruefung pruefung(felder, modHaupt::instance(), m_dialogs, *m_optionen, u);

    pruefung.PruefeACTDatenbank();
    QCOMPARE(text, u"Kein ACT! gestartet"_s);
    QCOMPARE(bild, 8);
    QCOMPARE(tip, QString());
    QVERIFY(timer);
    QVERIFY(!modHaupt::instance().ACTBereit);

    m_store->SaveSetting(u"Optionen"_s, u"Ausschlussfelder"_s, u"FAX; ALT_PHONE ;"_s);
    m_store->SaveSetting(u"ACT"_s, u"Datenbank"_s, kontaktTabelle());
    pruefung.PruefeACTDatenbank();
    QCOMPARE(text, kontaktTabelle());
    QCOMPARE(tip, kontaktTabelle());
    QCOMPARE(bild, 6);
    QVERIFY(modHaupt::instance().ACTBereit);
    QCOMPARE(ausschluss, u"FAX; ALT_PHONE ;"_s);
    QCOMPARE(cache, 1);
    QVERIFY(!gesetzt.empty());

    // While ready, a check only refreshes the panel.
    gesetzt.clear();
    pruefung.PruefeACTDatenbank();
    QVERIFY(gesetzt.empty());
    QCOMPARE(cache, 1);
    QCOMPARE(m_dialogs.boxes().size(), 0);
}

void tst_ACTDatenbank::brokenDefinitionsEndTheCheckAndRetry()
{
    QTemporaryDir kaputt;
    for (const QString &endung : {u".dbf"_s, u".gdb"_s})
        QVERIFY(QFile::copy(m_dir.filePath(u"act/KUNDEN"_s + endung), kaputt.filePath(u"KUNDEN"_s + endung)));
    QFile ddf(kaputt.filePath(u"KUNDEN.ddf"_s));
    QVERIFY(ddf.open(QIODevice::WriteOnly));
    ddf.write(QByteArray(64, '\0'));
    ddf.close();

    frmKontaktkarte karte;
    m_store->SaveSetting(u"ACT"_s, u"Datenbank"_s, kaputt.filePath(u"KUNDEN.dbf"_s));
    ActDatenbankAdapter adapter(*m_store, karte);
    clACTApplication app(adapter, m_dialogs, {});
    clACTFelder felder(m_dialogs);
    QString text;
    bool timer = false;
    ACTPruefung::Umgebung u;
    u.ACTgestartet = [&] { return app.ACTgestartet(); };
    u.ACTDatenbank = [&] { return app.ACTDatenbank(); };
    u.PanelText = [&](const QString &t) { text = t; };
    u.PanelBild = [](int) {};
    u.PanelToolTip = [](const QString &) {};
    u.TimerACT = [&](bool an) { timer = an; };
    u.TelefonfelderSetzen = [](const std::vector<clACTFeld> &, const QString &) { QFAIL("no list from broken definitions"); };
    ACTPruefung pruefung(felder, modHaupt::instance(), m_dialogs, *m_optionen, u);
    pruefung.PruefeACTDatenbank();
    QVERIFY(!modHaupt::instance().ACTBereit);
    QCOMPARE(text, u"Kein ACT! gestartet"_s);
    QVERIFY(timer);
    QCOMPARE(m_dialogs.boxes().size(), 1);
    QVERIFY(m_dialogs.boxes().first().text.startsWith(
        u"Es ist ein Fehler beim Analysieren der Felddefinitionen in Ihrer ACT!-Datenbank aufgetreten.\r\n"_s));
    QVERIFY(m_dialogs.boxes().first().text.contains(u"\r\nFehlernummer:62\r\nFehlerbeschreibung: "_s));
}

void tst_ACTDatenbank::contactCard()
{
    frmKontaktkarte karte;
    m_store->SaveSetting(u"ACT"_s, u"Datenbank"_s, kontaktTabelle());
    ActDatenbankAdapter adapter(*m_store, karte);
    clACTApplication app(adapter, m_dialogs, {});
    app.Zeigen();
    app.gehezuKonatkt(m_id);
    QVERIFY(karte.isVisible());
    QCOMPARE(app.AktuelleKontaktID(), m_id);
    const auto zeilen = karte.Zeilen();
    QVERIFY(zeilen.contains(qMakePair(u"Telefon"_s, u"0212 9876543"_s)));
    QVERIFY(zeilen.contains(qMakePair(u"Mobiltelefon"_s, u"0171/5550123"_s)));
    // Empty fields are left out.
    for (const auto &z : zeilen)
        QVERIFY(!z.second.trimmed().isEmpty());
    // The adapter never writes: field writes are refused, commands answer 0.
    QVERIFY(!app.setFeldwert(u"Kontakt"_s, 1, u"x"_s));
    QCOMPARE(app.ExecuteCommand(310), 0);
    app.gehezuKonatkt(u"GIBTSNICHT"_s);
    QCOMPARE(app.AktuelleKontaktID(), QString());
}

QTEST_MAIN(tst_ACTDatenbank)
#include "tst_ACTDatenbank.moc"
