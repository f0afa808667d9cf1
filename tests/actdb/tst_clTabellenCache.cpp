// The number cache: built from contact tables made by the generator into
// real database files, opened again, searched, and its messages.
#include "actdb/Zeilenleser.h"
#include "actdb/clActDBF.h"
#include "actdb/clTabellenCache.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/DaoTyp.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetSql.h"
#include "platform/system/LinuxSystem.h"
#include "tools/actgen/ActGenerator.h"

#include "doubles/Rohzeilen.h"
#include "doubles/Umgebung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>


using namespace Qt::StringLiterals;

namespace {

const QString Telefonfelder = u"PHONE,FAX,HOME_PHONE,MOBILE_PH,ALT_PHONE"_s;
const QString Quellfelder = Telefonfelder + u",NAME,COMPANY,CITY"_s;

ActGenerator::Contact kontakt(const QString &id, const QString &name, const QString &phone, const QString &fax = {})
{
    ActGenerator::Contact c;
    c.uniqueId = id;
    c.name = c.lastName = name;
    c.phone = phone;
    c.fax = fax;
    return c;
}

// A field of the first row a search finds; empty for none.
QString erster(clTabellenCache &cache, const QString &suchfelder, const QString &wert, const QString &feld = u"NAME"_s,
               const QString &verknuepfung = u"OR"_s, bool nurErstesFeld = false)
{
    const auto rs = cache.Suche(u"ACTNR"_s, suchfelder, feld, wert, verknuepfung, nurErstesFeld);
    return !rs ? u"(Fehler)"_s : rs->Eof() ? QString() : rs->Wert(feld).toString();
}

// The rows of a recordset, every field, Null as an invalid value.
QList<QVariantList> zeilen(Recordset &rs)
{
    QList<QVariantList> alle;
    for (; !rs.Eof(); rs.MoveNext()) {
        QVariantList z;
        for (const Field &f : rs.Fields())
            z.append(f.isNull() ? QVariant() : f.Value());
        alle.append(z);
    }
    return alle;
}

} // namespace

class tst_clTabellenCache : public QObject
{
    Q_OBJECT

    Umgebung m_u;
    QString m_dbf250;
    std::unique_ptr<clActDBF> m_act;

    QString kontakttabelle(const QString &ordner, qint64 anzahl, const QList<ActGenerator::Contact> &bekannte)
    {
        ActGenerator g;
        g.options().seed = 31;
        g.options().contacts = anzahl;
        g.options().deletedPercent = 0;
        for (const ActGenerator::Contact &c : bekannte)
            g.addKnownContact(c);
        return g.write(m_u.dir.filePath(ordner)) ? g.summary().dbfPath : QString();
    }
    // All rows of the contact table with the fields the program copies.
    std::unique_ptr<Recordset> quelle(const QString &dbf)
    {
        if (m_act)
            m_act->kill();
        m_act = std::make_unique<clActDBF>(m_u.dialogs, m_u.clipboard, m_u.optionen);
        if (!m_act->init(dbf))
            return nullptr;
        return m_act->Suche(QString(), Quellfelder, QString(), QString(), false);
    }
    // As the program builds it with `direkt`: the phone fields with their keys, read straight from the file.
    bool aufbauen(clTabellenCache &cache, const QString &dbf, const QString &indexfelder = Telefonfelder,
                  bool direkt = false)
    {
        auto q = quelle(dbf);
        if (!direkt)
            return q && cache.ADDRecordset(*q, u"ACTNR"_s, u"UNIQUE_ID"_s, indexfelder);
        q = m_act->Cachequelle(Telefonfelder);
        const auto zeilen = m_act->Cachezeilen(Telefonfelder);
        return q && zeilen && cache.ADDRecordset(*q, u"ACTNR"_s, u"UNIQUE_ID"_s, indexfelder, zeilen.get());
    }
    // Whether one box was shown, an exclamation with OK under the program's title,
    // reading `anfang`, the engine's description of the error and `ende`.
    bool gemeldet(const QString &anfang, const QString &ende = {}) const
    {
        const QList<ScriptedDialogs::Box> &boxes = m_u.dialogs.boxes();
        const QString text = boxes.value(0).text;
        if (boxes.size() == 1 && text.startsWith(anfang) && text.endsWith(ende)
            && text.size() > anfang.size() + ende.size() && boxes[0].title == Dialogs::defaultTitle()
            && boxes[0].icon == Dialogs::Icon::Exclamation && boxes[0].buttons == Dialogs::Buttons::Ok)
            return true;
        qWarning("%d Meldungen: %s", int(boxes.size()), qPrintable(text));
        return false;
    }

private slots:
    void initTestCase()
    {
        // Searches of the contact table keep the clipboard to themselves.
        m_u.store.SaveSetting(u"Optionen"_s, u"Debug"_s, u"0"_s);
        m_dbf250 = kontakttabelle(u"act250"_s, 250,
                                  {kontakt(u"BEKANNT00001"_s, u"Jörg Testmann"_s, u"0212 9876543"_s, u"0212 9876544"_s),
                                   kontakt(u"BEKANNT00002"_s, u"Zehn Ziffern"_s, u"0891234567"_s)});
        QVERIFY(!m_dbf250.isEmpty());
    }
    void init() { m_u.dialogs.clear(); }
    void cleanup()
    {
        DBEngine::instance().setUhr({});
        if (m_act)
            m_act->kill();
        m_act.reset();
    }

    void oeffnenErsetzenNeu()
    {
        const QString pfad = m_u.dir.filePath(u"Neu.mdb"_s);
        {
            // Not there yet: made.
            clTabellenCache cache(m_u.dialogs, m_u.clipboard);
            QVERIFY(cache.init(pfad, false, {}));
            QVERIFY(aufbauen(cache, m_dbf250));
        }
        QVERIFY(clTabellenCache::TabelleVorhanden(pfad, u"ACTNR"_s));
        QVERIFY(!clTabellenCache::TabelleVorhanden(pfad, u"actnr"_s));
        {
            // Opened again, the table is there; a new build from a search that
            // finds nothing replaces it, index and all.
            QStringList angezeigt;
            clTabellenCache cache(m_u.dialogs, m_u.clipboard);
            QVERIFY(cache.init(pfad, false, [&](const QString &t) { angezeigt.append(t); }));
            QCOMPARE(erster(cache, u"PHONE"_s, u"9876543"_s), u"Jörg Testmann"_s);
            QVERIFY(quelle(m_dbf250));
            auto leer = m_act->Suche(u"PHONE"_s, Quellfelder.section(u',', 1), u"nirgends"_s, u"OR"_s, true);
            QVERIFY(leer && leer->Eof() && cache.ADDRecordset(*leer, u"ACTNR"_s, u"UNIQUE_ID"_s, u"PHONE"_s));
            QCOMPARE(rohzeilen(pfad, u"SELECT count(*) FROM ACTNR UNION ALL SELECT count(*) FROM pragma_index_list('ACTNR') "
                               u"UNION ALL SELECT count(*) FROM sqlite_schema WHERE sql GLOB 'CREATE VIRTUAL*'"_s),
                     (QStringList{u"0"_s, u"1"_s, u"1"_s}));
            // No import step on the status display, but its end.
            QVERIFY(!angezeigt.join(u'|').contains(u'%'));
            QCOMPARE(angezeigt.last(), QString());
            // Only a table of exactly that name goes; the file knows no case, so
            // making the new one fails, and the caller hears of it.
            QCOMPARE(fehlernummer([&] { cache.ADDRecordset(*leer, u"actnr"_s, u"UNIQUE_ID"_s, QString()); }), 3010L);
        }
        {
            // A new cache starts empty in its place.
            clTabellenCache cache(m_u.dialogs, m_u.clipboard);
            QVERIFY(cache.init(pfad, true, {}));
            QCOMPARE(cache.Tabellenanzahl(), 1);
        }
        // Empty, missing, not a database or a folder: no table and no message.
        for (const QString &p : {pfad, m_u.dir.filePath(u"GibtEsNicht.mdb"_s), m_dbf250, m_u.dir.path()})
            QVERIFY2(!clTabellenCache::TabelleVorhanden(p, u"ACTNR"_s), qPrintable(p));
        QVERIFY(m_u.dialogs.boxes().isEmpty());
    }

    void initFehler_data()
    {
        QTest::addColumn<QString>("pfad");
        QTest::addColumn<bool>("neu");
        QTest::addColumn<long>("nummer");

        QTest::newRow("folder missing") << m_u.dir.filePath(u"gibt es nicht/Cache.mdb"_s) << false << 3044L;
        QTest::newRow("not a database") << m_dbf250 << false << 3343L;
        QTest::newRow("a folder in the way, new") << m_u.dir.path() << true << 70L;
    }
    void initFehler()
    {
        QFETCH(QString, pfad);
        QFETCH(bool, neu);
        QFETCH(long, nummer);

        clTabellenCache cache(m_u.dialogs, m_u.clipboard);
        QVERIFY(!cache.init(pfad, neu, {}));
        QVERIFY(!cache.istOffen());
        // Two lines after the heading, the description last.
        QVERIFY(gemeldet(u"Fehler in TabCache - init\r\nFehlernummer: %1\r\nFehlerbeschreibung: "_s.arg(nummer)));
        QCOMPARE(m_u.dialogs.boxes().last().text.count(u"\r\n"_s), 2);
        // Searches of a cache that did not open are errors, not crashes.
        QVERIFY(!cache.Suche(u"ACTNR"_s, u"PHONE"_s, QString(), u"123"_s, u"OR"_s, false));
        QCOMPARE(fehlernummer([&] { cache.Tabellenanzahl(); }), 3420L);
    }

    void nurDesBenutzersEigeneDatei()
    {
        // The default place is a folder only this user may enter.
        const QString lauf = m_u.dir.filePath(u"lauf"_s);
        QVERIFY(QDir().mkpath(lauf));
        const QByteArray vorher = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", lauf.toLocal8Bit());
        const QString ordner = LinuxSystem().GetTempFolder();
        qputenv("XDG_RUNTIME_DIR", vorher);
        QCOMPARE(ordner, lauf + u"/Rufmon/"_s);
        const auto nurBesitzer = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        QCOMPARE(QFileInfo(ordner).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), nurBesitzer);

        // The file: for its owner alone.
        const QString pfad = ordner + u"RUFMON.MDB"_s;
        {
            clTabellenCache cache(m_u.dialogs, m_u.clipboard);
            QVERIFY(cache.init(pfad, true, {}));
        }
        QCOMPARE(QFileInfo(pfad).permissions() & ~(QFile::ReadUser | QFile::WriteUser),
                 QFile::ReadOwner | QFile::WriteOwner);

        // A link planted in its place is refused, new or not, and nothing appears where it points.
        const QString ziel = m_u.dir.filePath(u"ziel.mdb"_s);
        const QString verweis = m_u.dir.filePath(u"verweis.mdb"_s);
        QVERIFY(QFile::link(ziel, verweis));
        for (const bool neu : {true, false}) {
            clTabellenCache cache(m_u.dialogs, m_u.clipboard);
            QVERIFY(!cache.init(verweis, neu, {}));
            QVERIFY(m_u.dialogs.boxes().last().text.startsWith(u"Fehler in TabCache - init\r\nFehlernummer: 70\r\n"_s));
        }
        QCOMPARE(m_u.dialogs.boxes().size(), 2);
        QVERIFY(!QFile::exists(ziel));
        QVERIFY(!clTabellenCache::TabelleVorhanden(verweis, u"ACTNR"_s));
        // Nor does the engine follow it when asked to make a database there.
        QCOMPARE(fehlernummer([&] { DBEngine::instance().CreateDatabase(verweis); }), 3204L);
        QVERIFY(!QFile::exists(ziel));
    }

    void aufbau()
    {
        // Columns as in the contact table, the primary key and an index per phone
        // field, every row as it was, and the steps on the status display.
        const QString pfad = m_u.dir.filePath(u"Aufbau.mdb"_s);
        QStringList angezeigt;
        clTabellenCache cache(m_u.dialogs, m_u.clipboard);
        QVERIFY(cache.init(pfad, true, [&](const QString &t) { angezeigt.append(t); }));
        auto q = quelle(m_dbf250);
        QVERIFY(q && cache.ADDRecordset(*q, u"ACTNR"_s, u"UNIQUE_ID"_s, u"PHONE, FAX"_s));
        // Table, key and two indexes, then the import counted from 0 before every hundredth of 251 rows.
        QCOMPARE(angezeigt.size(), 8);
        QVERIFY2(angezeigt[4].contains(u"(0%"_s) && angezeigt[5].contains(u"(39%"_s) && angezeigt[6].contains(u"(79%"_s),
                 qPrintable(angezeigt.join(u'|')));
        QCOMPARE(angezeigt.last(), QString());
        // Name, type, size and whether empty text is allowed, as it is for every text field.
        auto t = DBEngine::instance().OpenDatabase(pfad, false, true)->OpenRecordset(u"ACTNR"_s, Recordset::dbOpenTable);
        QStringList soll;
        QStringList ist;
        for (const Field &f : q->Fields())
            soll << u"%1 %2 %3 %4"_s.arg(f.Name()).arg(f.Type()).arg(f.Size()).arg(f.Type() == DaoTyp::dbText);
        for (const Field &f : t->Fields())
            ist << u"%1 %2 %3 %4"_s.arg(f.Name()).arg(f.Type()).arg(f.Size()).arg(f.AllowZeroLength());
        QCOMPARE(ist, soll);
        // The phone fields are searched only for a part: trigrams, no sorted index.
        QCOMPARE(rohzeilen(pfad, u"SELECT l.name || '|' || l.\"unique\" || '|' || i.name FROM pragma_index_list('ACTNR') AS l, "
                           u"pragma_index_info(l.name) AS i UNION ALL SELECT name FROM sqlite_schema "
                           u"WHERE sql GLOB 'CREATE VIRTUAL*' ORDER BY 1"_s),
                 (QStringList{u"ACTNR.PrimaryKey|1|UNIQUE_ID"_s, u"MSysTrigramm:actnr:fax"_s,
                              u"MSysTrigramm:actnr:phone"_s}));

        auto kopie = cache.Suche(u"ACTNR"_s, QString(), Quellfelder + u",UNIQUE_ID"_s, QString(), QString(), false);
        QVERIFY(kopie);
        const QList<QVariantList> original = zeilen(*quelle(m_dbf250));
        QCOMPARE(original.size(), 250);
        QCOMPARE(zeilen(*kopie), original);
    }

    void fehlerhafteZeileBehaeltDieVorigen_data()
    {
        QTest::addColumn<bool>("direkt");
        QTest::newRow("statement") << false;
        QTest::newRow("file read directly") << true;
    }
    void fehlerhafteZeileBehaeltDieVorigen()
    {
        QFETCH(bool, direkt);
        const QString dbf = kontakttabelle(u"doppelt"_s, 60,
                                           {kontakt(u"DOPPELT00001"_s, u"Erste"_s, u"0301111111"_s),
                                            kontakt(u"ZWEITE000002"_s, u"Zweite"_s, u"0302222222"_s),
                                            kontakt(u"DRITTE000003"_s, u"Dritte"_s, u"0303333333"_s),
                                            kontakt(u"DOPPELT00001"_s, u"Vierte"_s, u"0304444444"_s)});
        QVERIFY(!dbf.isEmpty());
        const QString pfad = m_u.dir.filePath(u"Doppelt%1.mdb"_s.arg(direkt));
        QStringList beimMelden;
        // What the user is told about is in the file already.
        m_u.dialogs.beimZeigen = [&] { beimMelden = rohzeilen(pfad, u"SELECT NAME FROM ACTNR ORDER BY rowid"_s); };
        QStringList angezeigt;
        clTabellenCache cache(m_u.dialogs, m_u.clipboard);
        QVERIFY(cache.init(pfad, true, [&](const QString &t) { angezeigt.append(t); }));
        QVERIFY(!aufbauen(cache, dbf, Telefonfelder, direkt));
        QCOMPARE(beimMelden, (QStringList{u"Erste"_s, u"Zweite"_s, u"Dritte"_s}));
        QVERIFY(!angezeigt.contains(QString()));
        QVERIFY(gemeldet(u"Fehler in TabCache - AddRecordset - Update\r\nFehlernummer: 3022\r\n"_s));

        // The rows before the failed one are searchable.
        QCOMPARE(erster(cache, Telefonfelder, u"3333"_s), u"Dritte"_s);
        QCOMPARE(erster(cache, Telefonfelder, u"4444"_s), QString());
    }

    // The contact table goes away (statement) or is cut short (read directly)
    // in the middle of the import: the error goes to the caller, the rows so
    // far are kept, and nothing stays locked.
    void quelleFaelltAus_data()
    {
        QTest::addColumn<bool>("direkt");
        QTest::addColumn<long>("nummer");
        QTest::newRow("statement, table closed") << false << 3420L;
        QTest::newRow("file read directly, cut short") << true << 3049L;
    }
    void quelleFaelltAus()
    {
        QFETCH(bool, direkt);
        // Read directly, the file is read some thousand rows ahead: it has to be longer than that.
        const QString dbf = direkt ? kontakttabelle(u"kurz"_s, 8000, {}) : m_dbf250;
        QVERIFY(!dbf.isEmpty());
        const QString pfad = m_u.dir.filePath(u"Ausfall%1.mdb"_s.arg(direkt));
        clTabellenCache cache(m_u.dialogs, m_u.clipboard);
        QVERIFY(cache.init(pfad, true, [&](const QString &t) {
            if (t.contains(u"(39% fertig)"_s) && !(direkt && QFile::resize(dbf, 2000)))
                m_act->kill();
        }));
        QTEST(fehlernummer([&] { aufbauen(cache, dbf, Telefonfelder, direkt); }), "nummer");
        QVERIFY(m_u.dialogs.boxes().isEmpty());

        auto db = DBEngine::instance().OpenDatabase(pfad);
        const int zeilen = db->OpenRecordset(u"SELECT count(*) FROM ACTNR"_s)->Wert(0).toInt();
        QVERIFY2(direkt ? zeilen >= 100 : zeilen == 101, qPrintable(QString::number(zeilen)));
        db->Execute(u"INSERT INTO ACTNR (UNIQUE_ID, PHONE) VALUES ('DANACH000001', '0697777777')"_s);
        QCOMPARE(db->OpenRecordset(u"SELECT UNIQUE_ID FROM ACTNR WHERE PHONE LIKE '*7777777*'"_s)->Wert(0).toString(),
                 u"DANACH000001"_s);
        db->Close();
    }

    void direktGelesenWieDieAnweisung()
    {
        // Read straight from the file, the cache holds what the statement gives:
        // every row but the deleted ones, in file order, Null and empty text
        // kept apart, umlauts, and each phone field's key.
        ActGenerator g;
        g.options().seed = 5;
        g.options().contacts = 400;
        g.options().deletedPercent = 10;
        ActGenerator::Contact c = kontakt(u"GETRENNT0001"_s, u"Ärger Öztürk"_s, u"+49 (0)89 / 12 34 56-0"_s, u"Tel. 030 1234599"_s);
        c.city = u"Köln"_s;
        g.addKnownContact(c);
        const QString dir = m_u.dir.filePath(u"direkt"_s);
        QVERIFY(g.write(dir));
        const QString dbf = g.summary().dbfPath;
        QStringList spalten;
        for (const QString &f : Telefonfelder.split(u','))
            spalten << f << clActDBF::Schluesselfeld(f);
        spalten << u"NAME"_s << u"COMPANY"_s << u"CITY"_s << u"UNIQUE_ID"_s;
        const QString inhalt = u"SELECT rowid, "_s + u"quote(%1)"_s.arg(spalten.join(u"), quote("_s)) + u" FROM ACTNR ORDER BY rowid"_s;
        QStringList gelesen[2];
        for (const bool direkt : {false, true}) {
            const QString pfad = m_u.dir.filePath(u"Direkt%1.mdb"_s.arg(direkt));
            clTabellenCache cache(m_u.dialogs, m_u.clipboard);
            QVERIFY(cache.init(pfad, true, {}));
            QVERIFY(m_act ? (m_act->kill(), true) : true);
            m_act = std::make_unique<clActDBF>(m_u.dialogs, m_u.clipboard, m_u.optionen);
            QVERIFY(m_act->init(dbf));
            auto q = m_act->Cachequelle(Telefonfelder);
            const auto zeilen = direkt ? m_act->Cachezeilen(Telefonfelder) : nullptr;
            QVERIFY(q && (zeilen || !direkt));
            QVERIFY(cache.ADDRecordset(*q, u"ACTNR"_s, u"UNIQUE_ID"_s, Telefonfelder, zeilen.get()));
            gelesen[direkt] = rohzeilen(pfad, inhalt);
        }
        QCOMPARE(gelesen[1], gelesen[0]);
        QVERIFY(gelesen[0].size() > 300 && gelesen[0].size() < 401);
        const QString alle = gelesen[0].join(u'\n');
        QVERIFY(alle.contains(u"'+49 (0)89 / 12 34 56-0'"_s) && alle.contains(u"'Tel. 030 1234599'|'0301234599'"_s));
        QVERIFY(alle.contains(u"'Ärger Öztürk'"_s) && alle.contains(u"|NULL|NULL|"_s));

        // A field that is missing or no character field: the statement's way, with its message.
        QVERIFY(!m_act->Cachezeilen(u"PHONE,GIBTESNICHT"_s));
        QVERIFY(m_u.dialogs.boxes().isEmpty());
    }

    void suche()
    {
        const QString pfad = m_u.dir.filePath(u"Suche.mdb"_s);
        clTabellenCache cache(m_u.dialogs, m_u.clipboard);
        QVERIFY(cache.init(pfad, true, {}) && aufbauen(cache, m_dbf250));
        const int geschrieben = m_u.clipboard.writes();
        const QString id = u"UNIQUE_ID"_s;
        QCOMPARE(erster(cache, Telefonfelder, u"0891234567"_s, id), u"BEKANNT00002"_s);
        // The first known contact's fax, not found when only the first field, PHONE, is searched.
        QCOMPARE(erster(cache, u"FAX,PHONE"_s, u"9876544"_s, id, u"OR"_s, true), u"BEKANNT00001"_s);
        QCOMPARE(erster(cache, u"PHONE,FAX"_s, u"9876544"_s, id, u"OR"_s, true), QString());
        QCOMPARE(erster(cache, u"PHONE, FAX"_s, u"987654"_s, id, u"AND"_s), u"BEKANNT00001"_s);
        QCOMPARE(erster(cache, u"PHONE,FAX"_s, u"9876543"_s, id, u"AND"_s), QString());
        // A quote in the value is data, not the end of the statement.
        QCOMPARE(erster(cache, u"PHONE"_s, u"9876543'"_s), QString());
        QCOMPARE(m_u.clipboard.writes(), geschrieben);
        QVERIFY(m_u.dialogs.boxes().isEmpty());

        // A field the table does not have: the statement goes to the clipboard for the support.
        QVERIFY(!cache.Suche(u"ACTNR"_s, u"GIBTESNICHT"_s, u"NAME"_s, u"030'1"_s, u"OR"_s, false));
        QCOMPARE(m_u.clipboard.GetText(),
                 clTabellenCache::Anweisung(u"ACTNR"_s, u"GIBTESNICHT"_s, u"NAME"_s, u"030'1"_s, u"OR"_s, false));
        QVERIFY(gemeldet(u"Fehler in TabCache - Suche\r\nFehlernummer: 3061 "_s,
                         u"\r\nMDB-Name: %1\r\n(SQL-Befehl in der Zwischenablage)"_s.arg(pfad)));
    }

    // Digits are searched through one statement with the value as its
    // parameters; it finds the rows the statement with the value in its
    // text finds, in the same order, in the phone fields and in their keys.
    void ziffernWieDieAnweisung_data()
    {
        QTest::addColumn<QString>("felder");
        QTest::addColumn<QString>("wert");
        QTest::addColumn<int>("treffer"); // 1: some rows, 0: none, -1: either
        const QList<std::tuple<QString, int, int>> werte{
            {u"0891234567"_s, 1, 1}, {u"9876543"_s, 1, 1}, {u"0212987654"_s, 0, 1}, {u"07114839201"_s, 0, 0},
            {u"030"_s, -1, 1},       {u"123"_s, -1, 1},    {u"0000"_s, -1, -1},      {u"89"_s, -1, -1}};
        for (const auto &[wert, geschrieben, schluessel] : werte) {
            QTest::addRow("written %s", qPrintable(wert)) << Telefonfelder << wert << geschrieben;
            QTest::addRow("keys %s", qPrintable(wert)) << clActDBF::Schluesselfelder(Telefonfelder) << wert << schluessel;
        }
    }
    void ziffernWieDieAnweisung()
    {
        QFETCH(QString, felder);
        QFETCH(QString, wert);
        const QString pfad = m_u.dir.filePath(u"Ziffern.mdb"_s);
        if (!clTabellenCache::TabelleVorhanden(pfad, u"ACTNR"_s)) {
            clTabellenCache neu(m_u.dialogs, m_u.clipboard);
            QVERIFY(neu.init(pfad, true, {}));
            QVERIFY(aufbauen(neu, m_dbf250, Telefonfelder + u',' + clActDBF::Schluesselfelder(Telefonfelder), true));
        }
        clTabellenCache cache(m_u.dialogs, m_u.clipboard);
        QVERIFY(cache.init(pfad, false, {}));
        // Not the statement with the value in its text, which would say why.
        QTest::failOnWarning(QRegularExpression(u"Suche ohne Trigrammtabellen"_s));
        const QString ergebnis = u"UNIQUE_ID,NAME,CITY"_s;
        auto db = DBEngine::instance().OpenDatabase(pfad, false, true);
        const QList<QVariantList> erwartet =
            zeilen(*db->OpenRecordset(clTabellenCache::Anweisung(u"ACTNR"_s, felder, ergebnis, wert, u"OR"_s, false)));
        db->Close();
        // Twice: the second search runs the statement the first one made.
        for (int i = 0; i < 2; ++i) {
            auto rs = cache.Suche(u"ACTNR"_s, felder, ergebnis, wert, u"OR"_s, false);
            QVERIFY(rs);
            QCOMPARE(zeilen(*rs), erwartet);
        }
        QFETCH(int, treffer);
        if (treffer >= 0)
            QCOMPARE(!erwartet.isEmpty(), treffer == 1);
        QVERIFY(m_u.dialogs.boxes().isEmpty());
    }

    // The lookup reads the trigrams few rows share. Here a fifth of the
    // contacts have numbers ending as the caller's does: its end would read
    // their lists, while the caller is found through the other trigrams.
    void gemeinsamesEndeWirdGemieden()
    {
        QList<ActGenerator::Contact> bekannte{kontakt(u"ANRUFER00001"_s, u"Anrufer"_s, u"030 987 6543"_s)};
        for (int i = 0; i < 50; ++i) {
            bekannte.append(kontakt(u"GLEICH%1"_s.arg(i, 6, 10, QChar(u'0')), u"Gleiches Ende"_s,
                                    u"07%1 1%2 6543"_s.arg(i % 9 + 1).arg(i, 2, 10, QChar(u'0'))));
        }
        const QString dbf = kontakttabelle(u"gleichesEnde"_s, 200, bekannte);
        QVERIFY(!dbf.isEmpty());
        const QString pfad = m_u.dir.filePath(u"GleichesEnde.mdb"_s);
        const QString schluesselfelder = clActDBF::Schluesselfelder(Telefonfelder);
        {
            clTabellenCache neu(m_u.dialogs, m_u.clipboard);
            QVERIFY(neu.init(pfad, true, {}));
            QVERIFY(aufbauen(neu, dbf, Telefonfelder + u',' + schluesselfelder, true));
        }
        clTabellenCache cache(m_u.dialogs, m_u.clipboard);
        QVERIFY(cache.init(pfad, false, {}));
        QTest::failOnWarning(QRegularExpression(u"Suche ohne Trigrammtabellen|keine Stichprobe"_s));
        const QString nummer = u"0309876543"_s;
        // Chosen by place alone, the end is read.
        QVERIFY(JetSql::Trigrammabfrage(nummer).contains(u"\"543\""_s));
        for (const QString &felder : {Telefonfelder, schluesselfelder}) {
            const QString abfrage = cache.Ziffernabfrage(u"ACTNR"_s, felder, nummer);
            QVERIFY2(!abfrage.contains(u"543"_s) && abfrage.count(u" AND "_s) == 1, qPrintable(abfrage));
        }
        QCOMPARE(erster(cache, schluesselfelder, nummer, u"UNIQUE_ID"_s), u"ANRUFER00001"_s);
        QCOMPARE(erster(cache, schluesselfelder, u"1076543"_s, u"UNIQUE_ID"_s), u"GLEICH000007"_s);
        QVERIFY(m_u.dialogs.boxes().isEmpty());
    }

    void datumAlterUndEnde()
    {
        const QDateTime erstellt(QDate(2026, 3, 14), QTime(9, 26, 53));
        DBEngine::instance().setUhr([&] { return erstellt; });
        std::unique_ptr<Recordset> rs;
        {
            clTabellenCache cache(m_u.dialogs, m_u.clipboard);
            QVERIFY(cache.init(m_u.dir.filePath(u"Ende.mdb"_s), true, {}) && aufbauen(cache, m_dbf250, u"PHONE"_s));
            QCOMPARE(cache.Tabellendatum(u"ACTNR"_s), erstellt);
            DBEngine::instance().setUhr([&] { return erstellt.addSecs(36 * 3600 + 864); });
            QVERIFY(qFuzzyCompare(cache.Tabellenalter(u"ACTNR"_s), 1.51));
            QCOMPARE(fehlernummer([&] { cache.Tabellendatum(u"FEHLT"_s); }), 3265L);
            rs = cache.Suche(u"ACTNR"_s, u"PHONE"_s, u"NAME"_s, u"030"_s, u"OR"_s, false);
            QVERIFY(rs && !rs->Eof());
        }
        // Gone, the cache closes its database, and with it the rows of a search.
        QCOMPARE(fehlernummer([&] { rs->MoveNext(); }), 3420L);
    }
};

QTEST_GUILESS_MAIN(tst_clTabellenCache)
#include "tst_clTabellenCache.moc"
