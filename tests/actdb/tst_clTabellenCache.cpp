// The number cache: built from contact tables made by the generator into
// real database files, opened again, searched, and its messages as the user
// would see them.
#include "actdb/clActDBF.h"
#include "actdb/clTabellenCache.h"
#include "app/modOptionen.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetFehler.h"
#include "platform/settings/IniSettingsStore.h"
#include "tools/actgen/ActGenerator.h"

#include "doubles/FakeSystem.h"
#include "doubles/MemoryClipboard.h"
#include "doubles/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString Telefonfelder = u"PHONE,FAX,HOME_PHONE,MOBILE_PH,ALT_PHONE"_s;
const QString Quellfelder = Telefonfelder + u",NAME,COMPANY,CITY"_s;
const QString CRLF = u"\r\n"_s;

template <typename F>
long fehlernummer(F f)
{
    try {
        f();
    } catch (const JetFehler &e) {
        return e.Number();
    }
    return 0;
}

// Boxes answered as by ScriptedDialogs, with a look at the world the moment one shows.
class BeobachtendeDialogs : public ScriptedDialogs
{
public:
    Answer MsgBox(const QString &text, Buttons buttons, Icon icon, const QString &title,
                  bool systemModal = false) override
    {
        if (beimZeigen)
            beimZeigen();
        return ScriptedDialogs::MsgBox(text, buttons, icon, title, systemModal);
    }

    std::function<void()> beimZeigen;
};

ActGenerator::Contact kontakt(const QString &id, const QString &name, const QString &phone,
                              const QString &fax = {})
{
    ActGenerator::Contact c;
    c.uniqueId = id;
    c.name = name;
    c.lastName = name;
    c.phone = phone;
    c.fax = fax;
    return c;
}

// The rows of a recordset, every field, Null as an invalid value.
QList<QVariantList> zeilen(Recordset &rs)
{
    QList<QVariantList> alle;
    while (!rs.Eof()) {
        QVariantList z;
        for (const Field &f : rs.Fields())
            z.append(f.isNull() ? QVariant() : f.Value());
        alle.append(z);
        rs.MoveNext();
    }
    return alle;
}

// A look at the file past the engine.
QStringList rohListe(const QString &pfad, const QString &sql)
{
    sqlite3 *db = nullptr;
    QStringList liste;
    sqlite3_open_v2(QFile::encodeName(pfad).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            QStringList teile;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i)
                teile.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i))));
            liste.append(teile.join(u'|'));
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close_v2(db);
    return liste;
}

} // namespace

class tst_clTabellenCache : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void anweisung_data();
    void anweisung();
    void initNeuUndVorhanden();
    void initFehler_data();
    void initFehler();
    void statuszeilen_data();
    void statuszeilen();
    void tabelleWieDieQuelle();
    void werteUnveraendert();
    void alteTabelleWirdErsetzt();
    void gleichnamigeTabelleAndersGeschrieben();
    void fehlerhafteZeileBehaeltDieVorigen();
    void quelleFaelltAus();
    void sucheFindet();
    void sucheFehler_data();
    void sucheFehler();
    void tabellendatumUndAlter();
    void tabelleVorhanden_data();
    void tabelleVorhanden();
    void zerstoerenSchliesstUndGibtAnzeigeFrei();

private:
    QString kontakttabelle(const QString &ordner, qint64 anzahl, const QList<ActGenerator::Contact> &bekannte = {});
    std::unique_ptr<Recordset> quelle(const QString &dbf, const QString &felder = Quellfelder);
    bool aufbauen(clTabellenCache &cache, const QString &dbf, const QString &indexfelder = Telefonfelder);

    QTemporaryDir m_dir;
    QString m_dbf250;
    FakeSystem m_system;
    std::unique_ptr<IniSettingsStore> m_store;
    std::unique_ptr<modOptionen> m_optionen;
    std::unique_ptr<clActDBF> m_act;
    BeobachtendeDialogs m_dialogs;
    MemoryClipboard m_clipboard;
};

void tst_clTabellenCache::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_store = std::make_unique<IniSettingsStore>(m_dir.filePath(u"Rufmon.conf"_s));
    // Searches of the contact table keep the clipboard to themselves.
    m_store->SaveSetting(u"Optionen"_s, u"Debug"_s, u"0"_s);
    m_optionen = std::make_unique<modOptionen>(*m_store, m_system);
    m_dbf250 = kontakttabelle(u"act250"_s, 250,
                              {kontakt(u"BEKANNT00001"_s, u"Jörg Testmann"_s, u"0212 9876543"_s, u"0212 9876544"_s),
                               kontakt(u"BEKANNT00002"_s, u"Zehn Ziffern"_s, u"0891234567"_s)});
    QVERIFY(!m_dbf250.isEmpty());
}

void tst_clTabellenCache::init()
{
    m_dialogs.clear();
    m_dialogs.beimZeigen = nullptr;
}

void tst_clTabellenCache::cleanup()
{
    DBEngine::instance().setUhr({});
    if (m_act)
        m_act->kill();
    m_act.reset();
}

QString tst_clTabellenCache::kontakttabelle(const QString &ordner, qint64 anzahl,
                                            const QList<ActGenerator::Contact> &bekannte)
{
    ActGenerator g;
    g.options().seed = 31;
    g.options().contacts = anzahl;
    g.options().deletedPercent = 0;
    for (const ActGenerator::Contact &c : bekannte)
        g.addKnownContact(c);
    if (!g.write(m_dir.filePath(ordner)))
        return {};
    return g.summary().dbfPath;
}

std::unique_ptr<Recordset> tst_clTabellenCache::quelle(const QString &dbf, const QString &felder)
{
    if (m_act)
        m_act->kill();
    m_act = std::make_unique<clActDBF>(m_dialogs, m_clipboard, *m_optionen);
    if (!m_act->init(dbf))
        return nullptr;
    return m_act->Suche(QString(), felder, QString(), QString(), false);
}

bool tst_clTabellenCache::aufbauen(clTabellenCache &cache, const QString &dbf, const QString &indexfelder)
{
    auto q = quelle(dbf);
    return q && cache.ADDRecordset(*q, u"ACTNR"_s, u"UNIQUE_ID"_s, indexfelder);
}

void tst_clTabellenCache::anweisung_data()
{
    QTest::addColumn<QString>("such");
    QTest::addColumn<QString>("ergebnis");
    QTest::addColumn<QString>("wert");
    QTest::addColumn<QString>("verknuepfung");
    QTest::addColumn<bool>("erstes");
    QTest::addColumn<QString>("sql");

    QTest::newRow("two fields, OR") << u"PHONE,FAX"_s << u"UNIQUE_ID,NAME,CITY"_s << u"0891"_s << u"OR"_s << false
                                    << u"SELECT [ACTNR].[PHONE], [ACTNR].[FAX], [ACTNR].[UNIQUE_ID], [ACTNR].[NAME], "
                                       u"[ACTNR].[CITY] FROM [ACTNR] WHERE [ACTNR].[PHONE] LIKE '*0891*' OR "
                                       u"[ACTNR].[FAX] LIKE '*0891*'"_s;
    QTest::newRow("first field only") << u"PHONE,FAX,HOME_PHONE"_s << u"UNIQUE_ID"_s << u"12"_s << u"OR"_s << true
                                      << u"SELECT [ACTNR].[PHONE], [ACTNR].[FAX], [ACTNR].[HOME_PHONE], "
                                         u"[ACTNR].[UNIQUE_ID] FROM [ACTNR] WHERE [ACTNR].[PHONE] LIKE '*12*'"_s;
    QTest::newRow("AND") << u"PHONE,FAX"_s << QString() << u"1"_s << u"AND"_s << false
                         << u"SELECT [ACTNR].[PHONE], [ACTNR].[FAX] FROM [ACTNR] WHERE [ACTNR].[PHONE] LIKE '*1*' AND "
                            u"[ACTNR].[FAX] LIKE '*1*'"_s;
    QTest::newRow("entries trimmed") << u" PHONE , FAX "_s << u" NAME"_s << u"030"_s << u"OR"_s << false
                                     << u"SELECT [ACTNR].[PHONE], [ACTNR].[FAX], [ACTNR].[NAME] FROM [ACTNR] WHERE "
                                        u"[ACTNR].[PHONE] LIKE '*030*' OR [ACTNR].[FAX] LIKE '*030*'"_s;
    QTest::newRow("no search fields: every row") << QString() << u"NAME,CITY"_s << u"030"_s << u"OR"_s << false
                                                 << u"SELECT [ACTNR].[NAME], [ACTNR].[CITY] FROM [ACTNR] "_s;
    QTest::newRow("no fields at all") << QString() << QString() << QString() << QString() << false
                                      << u"SELECT FROM [ACTNR] "_s;
    QTest::newRow("value is data") << u"PHONE"_s << QString() << u"O'k*1?#[x"_s << u"OR"_s << false
                                   << u"SELECT [ACTNR].[PHONE] FROM [ACTNR] WHERE [ACTNR].[PHONE] LIKE "
                                      u"'*[Oo]''[kK][*]1[?][#][[][xX]*'"_s;
}

void tst_clTabellenCache::anweisung()
{
    QFETCH(QString, such);
    QFETCH(QString, ergebnis);
    QFETCH(QString, wert);
    QFETCH(QString, verknuepfung);
    QFETCH(bool, erstes);
    QFETCH(QString, sql);
    QCOMPARE(clTabellenCache::Anweisung(u"ACTNR"_s, such, ergebnis, wert, verknuepfung, erstes), sql);
}

void tst_clTabellenCache::initNeuUndVorhanden()
{
    const QString pfad = m_dir.filePath(u"Neu.mdb"_s);
    QFile::remove(pfad);
    {
        clTabellenCache cache(m_dialogs, m_clipboard);
        QVERIFY(cache.init(pfad, false, {}));
        QVERIFY(cache.istOffen());
        QVERIFY(QFile::exists(pfad));
        QCOMPARE(cache.Tabellenanzahl(), 1);
        QVERIFY(aufbauen(cache, m_dbf250));
        QCOMPARE(cache.Tabellenanzahl(), 2);
    }
    {
        // Opened again, the table is still there.
        clTabellenCache cache(m_dialogs, m_clipboard);
        QVERIFY(cache.init(pfad, false, {}));
        QCOMPARE(cache.Tabellenanzahl(), 2);
        auto rs = cache.Suche(u"ACTNR"_s, u"PHONE"_s, u"NAME"_s, u"9876543"_s, u"OR"_s, false);
        QVERIFY(rs);
        QCOMPARE(rs->Wert(u"NAME"_s).toString(), u"Jörg Testmann"_s);
    }
    {
        // A new cache starts empty in its place.
        clTabellenCache cache(m_dialogs, m_clipboard);
        QVERIFY(cache.init(pfad, true, {}));
        QCOMPARE(cache.Tabellenanzahl(), 1);
        QVERIFY(!clTabellenCache::TabelleVorhanden(pfad, u"ACTNR"_s));
    }
    QCOMPARE(m_dialogs.boxes().size(), 0);
}

void tst_clTabellenCache::initFehler_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<bool>("neu");
    QTest::addColumn<long>("nummer");

    QTest::newRow("folder missing, new") << u"ordner"_s << true << 3044L;
    QTest::newRow("folder missing, open") << u"ordner"_s << false << 3044L;
    QTest::newRow("not a database") << u"unsinn"_s << false << 3343L;
    QTest::newRow("a folder in the way, new") << u"verzeichnis"_s << true << 70L;
    QTest::newRow("a folder in the way, open") << u"verzeichnis"_s << false << 3024L;
}

void tst_clTabellenCache::initFehler()
{
    QFETCH(QString, art);
    QFETCH(bool, neu);
    QFETCH(long, nummer);

    QString pfad;
    if (art == u"ordner"_s) {
        pfad = m_dir.filePath(u"gibt es nicht/Cache.mdb"_s);
    } else if (art == u"unsinn"_s) {
        pfad = m_dir.filePath(u"Unsinn.mdb"_s);
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, 'x'));
    } else {
        pfad = m_dir.filePath(u"Verzeichnis.mdb"_s);
        QVERIFY(QDir().mkpath(pfad));
    }
    int angezeigt = 0;
    clTabellenCache cache(m_dialogs, m_clipboard);
    QVERIFY(!cache.init(pfad, neu, [&](const QString &) { ++angezeigt; }));
    QVERIFY(!cache.istOffen());
    QCOMPARE(angezeigt, 0);
    QCOMPARE(m_dialogs.boxes().size(), 1);
    const ScriptedDialogs::Box box = m_dialogs.boxes().first();
    QCOMPARE(box.title, Dialogs::defaultTitle());
    QCOMPARE(box.icon, Dialogs::Icon::Exclamation);
    QCOMPARE(box.buttons, Dialogs::Buttons::Ok);
    QVERIFY2(box.text.startsWith(u"Fehler in TabCache - Init"_s + CRLF + u"Fehlernummer: "_s + QString::number(nummer)
                                 + CRLF + u"Fehlerbeschreibung: "_s),
             qPrintable(box.text));
    QVERIFY(box.text.endsWith(CRLF + u"MDB-Name: "_s + pfad));
    // Searches of a cache that did not open are errors, not crashes.
    QVERIFY(!cache.Suche(u"ACTNR"_s, u"PHONE"_s, QString(), u"123"_s, u"OR"_s, false));
    QCOMPARE(fehlernummer([&] { cache.Tabellenanzahl(); }), 3420L);
}

void tst_clTabellenCache::statuszeilen_data()
{
    QTest::addColumn<qint64>("kontakte");
    QTest::addColumn<QStringList>("import");

    const auto zeile = [](int prozent) {
        return u"TabCache: Datenimport in Tabelle ACTNR (%1% fertig)"_s.arg(prozent);
    };
    QTest::newRow("no rows") << qint64(0) << QStringList();
    QTest::newRow("one row") << qint64(1) << QStringList{zeile(0)};
    QTest::newRow("100 rows") << qint64(100) << QStringList{zeile(0)};
    // 100 of 102, and 100 and 200 of 251
    QTest::newRow("101 rows") << qint64(101) << QStringList{zeile(0), zeile(98)};
    QTest::newRow("250 rows") << qint64(250) << QStringList{zeile(0), zeile(39), zeile(79)};
}

void tst_clTabellenCache::statuszeilen()
{
    QFETCH(qint64, kontakte);
    QFETCH(QStringList, import);

    std::unique_ptr<Recordset> q;
    if (kontakte == 0) {
        // A search that finds nothing gives the columns without rows.
        m_act = std::make_unique<clActDBF>(m_dialogs, m_clipboard, *m_optionen);
        QVERIFY(m_act->init(m_dbf250));
        q = m_act->Suche(u"PHONE"_s, u"FAX,HOME_PHONE,MOBILE_PH,ALT_PHONE,NAME,COMPANY,CITY"_s, u"nirgends"_s, u"OR"_s,
                         true);
    } else {
        const QString dbf = kontakttabelle(u"status%1"_s.arg(kontakte), kontakte);
        QVERIFY(!dbf.isEmpty());
        q = quelle(dbf);
    }
    QVERIFY(q);

    QStringList angezeigt;
    clTabellenCache cache(m_dialogs, m_clipboard);
    QVERIFY(cache.init(m_dir.filePath(u"Status.mdb"_s), true, [&](const QString &t) { angezeigt.append(t); }));
    QVERIFY(cache.ADDRecordset(*q, u"ACTNR"_s, u"UNIQUE_ID"_s, u"PHONE, FAX"_s));
    const QStringList erwartet = QStringList{u"TabCache: Tabelle ACTNR wird erstellt"_s,
                                             u"TabCache: PrimeryKey-Index für Feld UNIQUE_ID wird erstellt"_s,
                                             u"TabCache: Index für Feld PHONE wird erstellt"_s,
                                             u"TabCache: Index für Feld FAX wird erstellt"_s}
                                 + import + QStringList{QString()};
    QCOMPARE(angezeigt, erwartet);
    auto alle = cache.Suche(u"ACTNR"_s, QString(), u"UNIQUE_ID"_s, QString(), QString(), false);
    QVERIFY(alle);
    if (kontakte > 0)
        alle->MoveLast();
    QCOMPARE(qint64(alle->RecordCount()), kontakte);
    QCOMPARE(m_dialogs.boxes().size(), 0);
}

void tst_clTabellenCache::tabelleWieDieQuelle()
{
    const QString pfad = m_dir.filePath(u"Aufbau.mdb"_s);
    clTabellenCache cache(m_dialogs, m_clipboard);
    QVERIFY(cache.init(pfad, true, {}));
    auto q = quelle(m_dbf250);
    QVERIFY(q);
    QVERIFY(cache.ADDRecordset(*q, u"ACTNR"_s, u"UNIQUE_ID"_s, Telefonfelder));

    auto db = DBEngine::instance().OpenDatabase(pfad, false, true);
    auto t = db->OpenRecordset(u"ACTNR"_s, Recordset::dbOpenTable);
    QCOMPARE(t->Fields().Count(), q->Fields().Count());
    QCOMPARE(t->Fields().Count(), 9);
    for (int i = 0; i < q->Fields().Count(); ++i) {
        const Field &soll = q->Fields()[i];
        const Field &ist = t->Fields()[i];
        QCOMPARE(ist.Name(), soll.Name());
        QCOMPARE(ist.Type(), soll.Type());
        QCOMPARE(ist.Size(), soll.Size());
        QCOMPARE(ist.AllowZeroLength(), soll.Type() == 10);
    }
    QCOMPARE(t->Fields()[8].Name(), u"UNIQUE_ID"_s);
    t.reset();
    db->Close();

    QStringList indexe = rohListe(pfad, u"SELECT name, \"unique\", partial FROM pragma_index_list('ACTNR')"_s);
    indexe.sort();
    QCOMPARE(indexe, (QStringList{u"ACTNR.ALT_PHONE|0|0"_s, u"ACTNR.FAX|0|0"_s, u"ACTNR.HOME_PHONE|0|0"_s,
                                  u"ACTNR.MOBILE_PH|0|0"_s, u"ACTNR.PHONE|0|0"_s, u"ACTNR.PrimaryKey|1|0"_s}));
    QCOMPARE(rohListe(pfad, u"SELECT name FROM pragma_index_info('ACTNR.PrimaryKey')"_s), QStringList{u"UNIQUE_ID"_s});
    QCOMPARE(rohListe(pfad, u"SELECT name FROM pragma_index_info('ACTNR.MOBILE_PH')"_s), QStringList{u"MOBILE_PH"_s});
}

void tst_clTabellenCache::werteUnveraendert()
{
    const QString pfad = m_dir.filePath(u"Werte.mdb"_s);
    clTabellenCache cache(m_dialogs, m_clipboard);
    QVERIFY(cache.init(pfad, true, {}));
    QVERIFY(aufbauen(cache, m_dbf250));
    auto q = quelle(m_dbf250);
    const QList<QVariantList> soll = zeilen(*q);
    QCOMPARE(soll.size(), 250);
    auto ist = cache.Suche(u"ACTNR"_s, QString(), Quellfelder + u",UNIQUE_ID"_s, QString(), QString(), false);
    QVERIFY(ist);
    QCOMPARE(zeilen(*ist), soll);
    // Numbers stay as typed.
    auto bekannt = cache.Suche(u"ACTNR"_s, u"UNIQUE_ID"_s, u"PHONE,FAX"_s, u"BEKANNT00001"_s, u"OR"_s, false);
    QVERIFY(bekannt && !bekannt->Eof());
    QCOMPARE(bekannt->Wert(u"PHONE"_s).toString(), u"0212 9876543"_s);
    QCOMPARE(bekannt->Wert(u"FAX"_s).toString(), u"0212 9876544"_s);
}

void tst_clTabellenCache::alteTabelleWirdErsetzt()
{
    const QString pfad = m_dir.filePath(u"Ersetzt.mdb"_s);
    const QString klein = kontakttabelle(u"act20"_s, 20, {kontakt(u"NURKLEIN0001"_s, u"Klein"_s, u"040 55555"_s)});
    QVERIFY(!klein.isEmpty());
    {
        clTabellenCache cache(m_dialogs, m_clipboard);
        QVERIFY(cache.init(pfad, true, {}));
        QVERIFY(aufbauen(cache, m_dbf250));
    }
    clTabellenCache cache(m_dialogs, m_clipboard);
    QVERIFY(cache.init(pfad, false, {}));
    QVERIFY(aufbauen(cache, klein, u"PHONE"_s));
    auto alle = cache.Suche(u"ACTNR"_s, QString(), u"UNIQUE_ID"_s, QString(), QString(), false);
    alle->MoveLast();
    QCOMPARE(alle->RecordCount(), 20L);
    QCOMPARE(cache.Tabellenanzahl(), 2);
    // Only the index of this build.
    QCOMPARE(rohListe(pfad, u"SELECT count(*) FROM pragma_index_list('ACTNR')"_s), QStringList{u"2"_s});
    QVERIFY(!cache.Suche(u"ACTNR"_s, u"PHONE"_s, u"NAME"_s, u"55555"_s, u"OR"_s, false)->Eof());
    QVERIFY(cache.Suche(u"ACTNR"_s, u"PHONE"_s, u"NAME"_s, u"9876543"_s, u"OR"_s, false)->Eof());
}

void tst_clTabellenCache::gleichnamigeTabelleAndersGeschrieben()
{
    // Only a table of exactly that name goes; the file knows no case, so
    // making the new one fails, and the caller hears of it.
    const QString pfad = m_dir.filePath(u"Anders.mdb"_s);
    clTabellenCache cache(m_dialogs, m_clipboard);
    QVERIFY(cache.init(pfad, true, {}));
    auto q = quelle(m_dbf250);
    QVERIFY(cache.ADDRecordset(*q, u"actnr"_s, u"UNIQUE_ID"_s, QString()));
    q = quelle(m_dbf250);
    QCOMPARE(fehlernummer([&] { cache.ADDRecordset(*q, u"ACTNR"_s, u"UNIQUE_ID"_s, QString()); }), 3010L);
    QVERIFY(clTabellenCache::TabelleVorhanden(pfad, u"actnr"_s));
}

void tst_clTabellenCache::fehlerhafteZeileBehaeltDieVorigen()
{
    const QString dbf = kontakttabelle(u"doppelt"_s, 60,
                                       {kontakt(u"DOPPELT00001"_s, u"Erste"_s, u"0301111111"_s),
                                        kontakt(u"ZWEITE000002"_s, u"Zweite"_s, u"0302222222"_s),
                                        kontakt(u"DRITTE000003"_s, u"Dritte"_s, u"0303333333"_s),
                                        kontakt(u"DOPPELT00001"_s, u"Vierte"_s, u"0304444444"_s)});
    QVERIFY(!dbf.isEmpty());
    const QString pfad = m_dir.filePath(u"Doppelt.mdb"_s);
    QStringList beimMelden;
    m_dialogs.beimZeigen = [&] {
        // What the user is told about is in the file already.
        beimMelden = rohListe(pfad, u"SELECT NAME FROM ACTNR ORDER BY rowid"_s);
    };
    QStringList angezeigt;
    clTabellenCache cache(m_dialogs, m_clipboard);
    QVERIFY(cache.init(pfad, true, [&](const QString &t) { angezeigt.append(t); }));
    QVERIFY(!aufbauen(cache, dbf));

    QCOMPARE(m_dialogs.boxes().size(), 1);
    const ScriptedDialogs::Box box = m_dialogs.boxes().first();
    QCOMPARE(box.icon, Dialogs::Icon::Exclamation);
    QCOMPARE(box.title, Dialogs::defaultTitle());
    QString beschreibung;
    {
        // The engine's own words for a duplicate key.
        auto db = DBEngine::instance().CreateDatabase(m_dir.filePath(u"Vergleich.mdb"_s), QString());
        db->Execute(u"CREATE TABLE T (A TEXT)"_s);
        db->Execute(u"CREATE UNIQUE INDEX TA ON T (A)"_s);
        db->Execute(u"INSERT INTO T VALUES ('x')"_s);
        try {
            db->Execute(u"INSERT INTO T VALUES ('x')"_s);
        } catch (const JetFehler &e) {
            beschreibung = e.Description();
        }
        db->Close();
    }
    QVERIFY(!beschreibung.isEmpty());
    QCOMPARE(box.text, u"Fehler in TabCache - AddRecordset - Update"_s + CRLF + u"Fehlernummer: 3022"_s + CRLF
                           + u"Fehlerbeschreibung: "_s + beschreibung);
    QCOMPARE(beimMelden, (QStringList{u"Erste"_s, u"Zweite"_s, u"Dritte"_s}));
    QVERIFY(!angezeigt.contains(QString()));

    // The rows before the failed one are searchable, by trigram and by scan.
    QCOMPARE(cache.Suche(u"ACTNR"_s, Telefonfelder, u"NAME"_s, u"3333"_s, u"OR"_s, false)->Wert(u"NAME"_s).toString(),
             u"Dritte"_s);
    QCOMPARE(cache.Suche(u"ACTNR"_s, Telefonfelder, u"NAME"_s, u"22"_s, u"OR"_s, false)->Wert(u"NAME"_s).toString(),
             u"Zweite"_s);
    QVERIFY(cache.Suche(u"ACTNR"_s, Telefonfelder, u"NAME"_s, u"4444"_s, u"OR"_s, false)->Eof());
}

void tst_clTabellenCache::quelleFaelltAus()
{
    // The contact table goes away in the middle of the import: the error goes
    // to the caller, the rows so far are kept, and nothing stays locked.
    const QString pfad = m_dir.filePath(u"Ausfall.mdb"_s);
    auto q = quelle(m_dbf250);
    QVERIFY(q);
    clTabellenCache cache(m_dialogs, m_clipboard);
    QVERIFY(cache.init(pfad, true, [&](const QString &t) {
        if (t.contains(u"(39% fertig)"_s))
            m_act->kill();
    }));
    QCOMPARE(fehlernummer([&] { cache.ADDRecordset(*q, u"ACTNR"_s, u"UNIQUE_ID"_s, Telefonfelder); }), 3420L);
    QCOMPARE(m_dialogs.boxes().size(), 0);

    auto db = DBEngine::instance().OpenDatabase(pfad);
    QCOMPARE(db->OpenRecordset(u"SELECT count(*) FROM ACTNR"_s)->Wert(0).toInt(), 101);
    db->Execute(u"INSERT INTO ACTNR (UNIQUE_ID, PHONE) VALUES ('DANACH000001', '0697777777')"_s);
    QCOMPARE(db->OpenRecordset(u"SELECT UNIQUE_ID FROM ACTNR WHERE PHONE LIKE '*7777777*'"_s)->Wert(0).toString(),
             u"DANACH000001"_s);
    QCOMPARE(rohListe(pfad, u"SELECT count(*) FROM pragma_index_list('ACTNR')"_s), QStringList{u"6"_s});
    db->Close();
}

void tst_clTabellenCache::sucheFindet()
{
    const QString pfad = m_dir.filePath(u"Suche.mdb"_s);
    clTabellenCache cache(m_dialogs, m_clipboard);
    QVERIFY(cache.init(pfad, true, {}));
    QVERIFY(aufbauen(cache, m_dbf250));
    const int geschrieben = m_clipboard.writes();
    auto rs = cache.Suche(u"ACTNR"_s, Telefonfelder, u"UNIQUE_ID,NAME,CITY"_s, u"0891234567"_s, u"OR"_s, false);
    QVERIFY(rs);
    QStringList namen;
    for (const Field &f : rs->Fields())
        namen.append(f.Name());
    QCOMPARE(namen, (QStringList{u"PHONE"_s, u"FAX"_s, u"HOME_PHONE"_s, u"MOBILE_PH"_s, u"ALT_PHONE"_s,
                                 u"UNIQUE_ID"_s, u"NAME"_s, u"CITY"_s}));
    QCOMPARE(rs->Wert(u"UNIQUE_ID"_s).toString(), u"BEKANNT00002"_s);
    rs->MoveNext();
    QVERIFY(rs->Eof());
    // The fax of the first known contact only, in the first field only not.
    QCOMPARE(cache.Suche(u"ACTNR"_s, u"FAX,PHONE"_s, u"UNIQUE_ID"_s, u"9876544"_s, u"OR"_s, true)
                 ->Wert(u"UNIQUE_ID"_s)
                 .toString(),
             u"BEKANNT00001"_s);
    QVERIFY(cache.Suche(u"ACTNR"_s, u"PHONE,FAX"_s, u"UNIQUE_ID"_s, u"9876544"_s, u"OR"_s, true)->Eof());
    QVERIFY(!cache.Suche(u"ACTNR"_s, u"PHONE,FAX"_s, u"UNIQUE_ID"_s, u"987654"_s, u"AND"_s, false)->Eof());
    QVERIFY(cache.Suche(u"ACTNR"_s, u"PHONE,FAX"_s, u"UNIQUE_ID"_s, u"9876543"_s, u"AND"_s, false)->Eof());
    QCOMPARE(m_clipboard.writes(), geschrieben);
    QCOMPARE(m_dialogs.boxes().size(), 0);
}

void tst_clTabellenCache::sucheFehler_data()
{
    QTest::addColumn<QString>("tabelle");
    QTest::addColumn<QString>("felder");
    QTest::addColumn<long>("nummer");

    QTest::newRow("no such table") << u"FEHLT"_s << u"PHONE"_s << 3078L;
    QTest::newRow("no such field") << u"ACTNR"_s << u"GIBTESNICHT"_s << 3061L;
}

void tst_clTabellenCache::sucheFehler()
{
    QFETCH(QString, tabelle);
    QFETCH(QString, felder);
    QFETCH(long, nummer);

    const QString pfad = m_dir.filePath(u"Fehler.mdb"_s);
    clTabellenCache cache(m_dialogs, m_clipboard);
    QVERIFY(cache.init(pfad, true, {}));
    QVERIFY(aufbauen(cache, m_dbf250, u"PHONE"_s));
    m_clipboard.SetText(u"vorher"_s);
    const int geleert = m_clipboard.clears();

    const QString sql = clTabellenCache::Anweisung(tabelle, felder, u"NAME"_s, u"030'1"_s, u"OR"_s, false);
    QString beschreibung;
    {
        auto db = DBEngine::instance().OpenDatabase(pfad, false, true);
        QCOMPARE(fehlernummer([&] {
                     try {
                         db->OpenRecordset(sql);
                     } catch (const JetFehler &e) {
                         beschreibung = e.Description();
                         throw;
                     }
                 }),
                 nummer);
        db->Close();
    }
    QVERIFY(!cache.Suche(tabelle, felder, u"NAME"_s, u"030'1"_s, u"OR"_s, false));
    QCOMPARE(m_clipboard.clears(), geleert + 1);
    QCOMPARE(m_clipboard.GetText(), sql);
    QCOMPARE(m_dialogs.boxes().size(), 1);
    const ScriptedDialogs::Box box = m_dialogs.boxes().first();
    QCOMPARE(box.icon, Dialogs::Icon::Exclamation);
    QCOMPARE(box.buttons, Dialogs::Buttons::Ok);
    QCOMPARE(box.text, u"Fehler in TabCache - Suche"_s + CRLF + u"Fehlernummer: "_s + QString::number(nummer) + u" ("_s
                           + JetFehler::StandardHelpFile() + u") "_s + CRLF + u"Fehlerbeschreibung: "_s + beschreibung
                           + CRLF + u"MDB-Name: "_s + pfad + CRLF + u"(SQL-Befehl in der Zwischenablage)"_s);
}

void tst_clTabellenCache::tabellendatumUndAlter()
{
    const QDateTime erstellt(QDate(2026, 3, 14), QTime(9, 26, 53));
    DBEngine::instance().setUhr([&] { return erstellt; });
    clTabellenCache cache(m_dialogs, m_clipboard);
    QVERIFY(cache.init(m_dir.filePath(u"Datum.mdb"_s), true, {}));
    QVERIFY(aufbauen(cache, m_dbf250, QString()));
    QCOMPARE(cache.Tabellendatum(u"ACTNR"_s), erstellt);
    QCOMPARE(cache.Tabellenalter(u"ACTNR"_s), 0.0);
    DBEngine::instance().setUhr([&] { return erstellt.addSecs(36 * 3600 + 864); });
    QVERIFY(qFuzzyCompare(cache.Tabellenalter(u"ACTNR"_s), 1.51));
    QCOMPARE(fehlernummer([&] { cache.Tabellendatum(u"FEHLT"_s); }), 3265L);
}

void tst_clTabellenCache::tabelleVorhanden_data()
{
    QTest::addColumn<QString>("datei");
    QTest::addColumn<QString>("tabelle");
    QTest::addColumn<bool>("vorhanden");

    QTest::newRow("with the table") << u"Vorhanden.mdb"_s << u"ACTNR"_s << true;
    QTest::newRow("other case") << u"Vorhanden.mdb"_s << u"actnr"_s << false;
    QTest::newRow("trailing blank") << u"Vorhanden.mdb"_s << u"ACTNR "_s << false;
    QTest::newRow("catalogue") << u"Vorhanden.mdb"_s << u"MSysObjects"_s << true;
    QTest::newRow("empty cache") << u"Leer.mdb"_s << u"ACTNR"_s << false;
    QTest::newRow("no file") << u"GibtEsNicht.mdb"_s << u"ACTNR"_s << false;
    QTest::newRow("not a database") << u"Kaputt.mdb"_s << u"ACTNR"_s << false;
    QTest::newRow("a folder") << u"Ordner.mdb"_s << u"ACTNR"_s << false;
}

void tst_clTabellenCache::tabelleVorhanden()
{
    QFETCH(QString, datei);
    QFETCH(QString, tabelle);
    QFETCH(bool, vorhanden);

    const QString pfad = m_dir.filePath(datei);
    if (datei == u"Vorhanden.mdb"_s && !QFile::exists(pfad)) {
        clTabellenCache cache(m_dialogs, m_clipboard);
        QVERIFY(cache.init(pfad, true, {}));
        QVERIFY(aufbauen(cache, m_dbf250, u"PHONE"_s));
    } else if (datei == u"Leer.mdb"_s) {
        clTabellenCache cache(m_dialogs, m_clipboard);
        QVERIFY(cache.init(pfad, true, {}));
    } else if (datei == u"Kaputt.mdb"_s) {
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("SQLite format 3");
        f.write(QByteArray(4096, '\x07'));
    } else if (datei == u"Ordner.mdb"_s) {
        QVERIFY(QDir().mkpath(pfad));
    }
    QCOMPARE(clTabellenCache::TabelleVorhanden(pfad, tabelle), vorhanden);
    QCOMPARE(m_dialogs.boxes().size(), 0);
}

void tst_clTabellenCache::zerstoerenSchliesstUndGibtAnzeigeFrei()
{
    auto anzeige = std::make_shared<QStringList>();
    std::unique_ptr<Recordset> rs;
    {
        clTabellenCache cache(m_dialogs, m_clipboard);
        QVERIFY(cache.init(m_dir.filePath(u"Ende.mdb"_s), true, [anzeige](const QString &t) { anzeige->append(t); }));
        QCOMPARE(anzeige.use_count(), 2);
        QVERIFY(aufbauen(cache, m_dbf250, u"PHONE"_s));
        rs = cache.Suche(u"ACTNR"_s, u"PHONE"_s, u"NAME"_s, u"030"_s, u"OR"_s, false);
        QVERIFY(rs && !rs->Eof());
    }
    QCOMPARE(anzeige.use_count(), 1);
    QVERIFY(!anzeige->isEmpty());
    // The rows of a search go with the cache's database.
    QCOMPARE(fehlernummer([&] { rs->MoveNext(); }), 3420L);
}

QTEST_GUILESS_MAIN(tst_clTabellenCache)
#include "tst_clTabellenCache.moc"
