// The definition file read from bytes made by hand; and an ACT! database made
// by our generator, read through the table access, the field definitions, the
// periodic check and the contact card.
#include "actcontrol/clACTApplication.h"
#include "windows/frmKontaktkarte.h"
#include "actdb/ACTPruefung.h"
#include "actdb/ACTPruefungsumfeld.h"
#include "actdb/Meldungssperre.h"
#include "actdb/Felddefinitionen.h"
#include "actdb/clACTFelder.h"
#include "actdb/clActDBF.h"
#include "platform/actole/ActDatenbankAdapter.h"
#include "platform/jet/Recordset.h"
#include "tools/actgen/ActGenerator.h"
#include "tools/dbf/DbfWriter.h"

#include "TestPaths.h"
#include "doubles/Dateien.h"
#include "doubles/Umgebung.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A field record written byte by byte: some header bytes, the length byte
// and the name, the type code as the run's last byte, the zero, two unread
// bytes and the label with its length.
QByteArray feld(const QByteArray &name, char typ, const QByteArray &label)
{
    return QByteArray("\x11\x22") + char(name.size()) + name + '\x05' + typ + '\0' + QByteArray("\x01\x02")
        + char(label.size()) + label + '\0';
}

QByteArray marke(const char *text)
{
    return QByteArray("\x03") + text + QByteArray(1, '\0');
}

// The error number of a lookup, 0 without one; a fault of the file as a
// whole counts for either section.
long fehlerBei(const QByteArray &bytes, bool gruppen)
{
    try {
        const Felddefinitionen ddf(bytes);
        if (gruppen)
            ddf.Gruppenfelder({u"GRP"_s});
        else
            ddf.Kontaktfelder({u"PHONE"_s});
        return 0;
    } catch (const Felddefinitionen::Fehler &e) {
        return e.beschreibung.isEmpty() ? -1 : e.nummer;
    }
}

// The periodic check against the ACT! stand-in that reads the settings, with
// what it shows recorded.
struct Pruefstand : ACTPruefungsumfeld
{
    frmKontaktkarte karte;
    ActDatenbankAdapter adapter;
    clACTApplication app;
    Meldungssperre meldungen;
    clACTFelder felder;
    QString text, tip;
    int listen = 0, cache = 0;
    bool timer = false;
    bool bereit = false;
    std::function<void(const QString &)> beiText;
    std::unique_ptr<ACTPruefung> pruefung;

    explicit Pruefstand(Umgebung &u)
        : adapter(u.store, karte)
        , app(adapter, u.dialogs, {})
        , meldungen(u.dialogs)
        , felder(meldungen)
    {
        pruefung = std::make_unique<ACTPruefung>(felder, meldungen, u.optionen, *this);
    }

    bool ACTgestartet() override { return app.ACTgestartet(); }
    QString ACTDatenbank() override { return app.ACTDatenbank(); }
    void setACTText(const QString &t) override
    {
        text = t;
        if (beiText)
            beiText(t);
    }
    void setACTBereit(bool b) override { bereit = b; }
    void setACTHinweis(const QString &t) override { tip = t; }
    void setPruefungAktiv(bool an) override { timer = an; }
    void TelefonfelderSetzen(const std::vector<clACTFeld> &f, const QString &) override { listen += !f.empty(); }
    void CacheSchritt() override { ++cache; }
};

} // namespace

class tst_ACTDatenbank : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        ActGenerator g;
        g.options().seed = 7;
        g.options().contacts = 300;
        ActGenerator::Contact c;
        c.firstName = u"Jörg"_s;
        c.lastName = u"Testmann"_s;
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

    void init()
    {
        m_u = std::make_unique<Umgebung>();
        m_u->store.SaveSetting(u"Optionen"_s, u"Debug"_s, u"0"_s);
    }

    void sectionsAndRecords()
    {
        QByteArray d = QByteArray(4, '\0');
        d += feld("PHONE", 7, "Telefon");
        d += feld("NAME", 1, "Kontakt");
        d += feld("HOME_PHONE", 7, "Telefon privat");
        d += feld("STRASSE", 1, "Stra\xdf" "e");
        d += marke("ACTIVITY SCHEMA");
        d += feld("PHONE", 3, "falsch: nach dem Kontaktteil");
        d += marke("GROUP INFO SCHEMA");
        d += feld("GRP_PHONE", 7, "Gruppentelefon");
        d += marke("SALES SCHEMA");
        d += feld("LATE", 7, "zu spät");

        const Felddefinitionen ddf(d);
        const auto k = ddf.Kontaktfelder({u"PHONE"_s, u"NAME"_s, u"HOME_PHONE"_s, u"STRASSE"_s, u"FAX"_s});
        QCOMPARE(k.size(), 4);
        QCOMPARE(k.value(u"PHONE"_s).Feldart, 7);
        QCOMPARE(k.value(u"PHONE"_s).Bezeichnung, u"Telefon"_s);
        QCOMPARE(k.value(u"NAME"_s).Feldart, 1);
        QCOMPARE(k.value(u"HOME_PHONE"_s).Bezeichnung, u"Telefon privat"_s);
        QCOMPARE(k.value(u"STRASSE"_s).Bezeichnung, u"Straße"_s);

        const auto g = ddf.Gruppenfelder({u"GRP_PHONE"_s, u"PHONE"_s, u"LATE"_s});
        QCOMPARE(g.value(u"GRP_PHONE"_s).Feldart, 7);
        QCOMPARE(g.value(u"GRP_PHONE"_s).Bezeichnung, u"Gruppentelefon"_s);
        QVERIFY(!g.contains(u"PHONE"_s));
        // The sales marker ends the group section; the run after it is still
        // tested once, as the scan stops only after a run beyond the end.
        QCOMPARE(g.value(u"LATE"_s).Feldart, 7);
    }

    void contactLookup_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("bezeichnung"); // empty: not found

        const QByteArray gruppen = marke("GROUP INFO SCHEMA") + marke("SALES SCHEMA");
        const QByteArray schluss = marke("ACTIVITY SCHEMA") + gruppen;
        QTest::newRow("letter case counts") << feld("PHONE", 7, "Telefon") + schluss << u"phone"_s << QString();
        QTest::newRow("wrong length byte: the next record counts")
            << "\x11\x22\x09PHONE\x05\x07\0\0\0\x04" "Fehl\0"_ba + feld("PHONE", 7, "Telefon") + schluss
            << u"PHONE"_s << u"Telefon"_s;
        // "FAX" first appears inside "TELEFAX" without its length byte; only the
        // first occurrence in a run counts.
        QTest::newRow("first occurrence inside another name")
            << "\x11TELEFAX\x03" "FAX\x07\0\x01\x02\x03" "Fax\0"_ba + schluss << u"FAX"_s << QString();
        // Without the activity marker only the first run is tested.
        const QByteArray ohneMarke = feld("NAME", 1, "Kontakt") + feld("PHONE", 7, "Telefon") + gruppen;
        QTest::newRow("no activity marker: first run") << ohneMarke << u"NAME"_s << u"Kontakt"_s;
        QTest::newRow("no activity marker: second run") << ohneMarke << u"PHONE"_s << QString();
    }
    void contactLookup()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(QString, bezeichnung);
        const auto k = Felddefinitionen(bytes).Kontaktfelder({name});
        QCOMPARE(k.contains(name), !bezeichnung.isEmpty());
        QCOMPARE(k.value(name).Bezeichnung, bezeichnung);
    }

    void faults_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<long>("kontakt");
        QTest::addColumn<long>("gruppen");

        // 62: read past the end of the file; 9: no group section.
        const QByteArray phone = feld("PHONE", 7, "Telefon");
        const QByteArray abgeschnitten("\x11\x05PHONE\x07", 8);
        QTest::newRow("empty") << QByteArray() << 62L << 62L;
        QTest::newRow("only zeros") << QByteArray(100, '\0') << 62L << 62L;
        QTest::newRow("ends in zeros without a sales marker") << phone + marke("GROUP INFO SCHEMA") << 62L << 62L;
        QTest::newRow("no group marker") << phone + marke("SALES SCHEMA") << 0L << 9L;
        QTest::newRow("label running past the end") << abgeschnitten + '\0' + QByteArray("\x01\x02\xff" "Tel") << 62L << 9L;
        QTest::newRow("truncated after the run") << abgeschnitten << 62L << 9L;
        QTest::newRow("well formed") << phone + marke("ACTIVITY SCHEMA") + marke("GROUP INFO SCHEMA") + feld("GRP", 7, "G")
                                            + marke("SALES SCHEMA")
                                     << 0L << 0L;
    }
    void faults()
    {
        QFETCH(QByteArray, bytes);
        QTEST(fehlerBei(bytes, false), "kontakt");
        QTEST(fehlerBei(bytes, true), "gruppen");
    }

    void searchFindsTheContact()
    {
        // Letters match either case; a quote or a pattern character is only itself.
        QCOMPARE(clActDBF::Anweisung(u"KUNDEN"_s, u"PHONE,FAX"_s, u" NAME , CITY"_s, u"Müß O'N 0301*?#["_s, u"OR"_s, false),
                 u"SELECT [KUNDEN].PHONE, [KUNDEN].FAX, [KUNDEN].NAME, [KUNDEN].CITY, [KUNDEN].UNIQUE_ID FROM [KUNDEN] "
                 u"WHERE [KUNDEN].PHONE LIKE '*[Mm][üÜ]ß [Oo]''[Nn] 0301[*][?][#][[]*' OR "
                 u"[KUNDEN].FAX LIKE '*[Mm][üÜ]ß [Oo]''[Nn] 0301[*][?][#][[]*'"_s);

        // With the debug option the statement goes to the clipboard as well.
        m_u->store.SaveSetting(u"Optionen"_s, u"Debug"_s, u"1"_s);
        clActDBF dbf(m_u->dialogs, m_u->clipboard, m_u->optionen);
        QVERIFY(dbf.init(kontaktTabelle()));
        const QString such = u"PHONE,FAX,HOME_PHONE,MOBILE_PH,ALT_PHONE"_s;
        auto rs = dbf.Suche(such, u"NAME,CITY"_s, u"9876543"_s, u"OR"_s, false);
        QCOMPARE(m_u->clipboard.GetText(), clActDBF::Anweisung(u"KUNDEN"_s, such, u"NAME,CITY"_s, u"9876543"_s, u"OR"_s, false));
        QVERIFY(rs && !rs->Eof());
        QCOMPARE(rs->Wert(u"UNIQUE_ID"_s).toString(), m_id);
        rs->MoveNext();
        QVERIFY(rs->Eof());

        // "0301*" is found as itself, not as every number containing 0301; a quote ends nothing.
        rs = dbf.Suche(u"PHONE"_s, u"NAME"_s, u"0301*"_s, u"OR"_s, false);
        QVERIFY(rs);
        rs->MoveLast();
        QCOMPARE(rs->RecordCount(), 1L);
        rs = dbf.Suche(u"PHONE"_s, u"NAME"_s, u"03'01"_s, u"OR"_s, false);
        QVERIFY(rs && rs->Eof());
        QVERIFY(clActDBF::OhneFelder(u" , "_s) && clActDBF::OhneFelder(QString()) && !clActDBF::OhneFelder(u",FAX"_s));
        QCOMPARE(m_u->dialogs.boxes().size(), 0);
    }

    void openFailures()
    {
        clActDBF dbf(m_u->dialogs, m_u->clipboard, m_u->optionen);
        QVERIFY(!dbf.init(QString()));

        QVERIFY(!dbf.init(m_dir.filePath(u"gibtsnicht/KUNDEN.dbf"_s)));
        const QString text = m_u->dialogs.boxes().last().text;
        QVERIFY2(text.startsWith(u"Konnte Ihre ACT!-Datenbank nicht öffnen !\r\nError # 3044 ("_s), qPrintable(text));

        // A search on a closed table access is the same open failure, no crash.
        QVERIFY(!dbf.Suche(u"PHONE"_s, QString(), u"1"_s, u"OR"_s, false));
        QCOMPARE(m_u->dialogs.boxes().size(), 3);
    }

    void maxValueAndCount()
    {
        // Numbers after a prefix, as new ids are numbered: the prefix matches in
        // either case, and a "*" in it is only a star.
        QTemporaryDir dir;
        QString fehler;
        QVERIFY2(DbfWriter::writeTable(dir.filePath(u"KUNDEN.DBF"_s), 0x03, 0x03, {{u"NR"_s, 'C', 10}},
                                       {{{u"K1"_s}}, {{u"k12"_s}}, {{u"K7"_s}}, {{u"X99"_s}}, {{u"Q*5"_s}},
                                        {{u"Q150"_s}}, {{QString()}}},
                                       &fehler),
                 qPrintable(fehler));
        clActDBF dbf(m_u->dialogs, m_u->clipboard, m_u->optionen);
        QVERIFY(dbf.init(dir.filePath(u"KUNDEN.DBF"_s)));
        QCOMPARE(dbf.SucheMaxWert(u"NR"_s, u"Kontakt"_s, u"K"_s), 12L);
        QCOMPARE(dbf.SucheMaxWert(u"NR"_s, u"Kontakt"_s, u"Q*"_s), 5L);
        QCOMPARE(dbf.SucheMaxWert(u"NR"_s, u"Kontakt"_s, u"Z"_s), 0L);
        // A blank field is no value.
        QCOMPARE(dbf.getRecordcount(u"NR"_s, u"Kontakt"_s), 6L);
        QVERIFY(m_u->dialogs.boxes().isEmpty());
    }

    void fieldDefinitionsOfWindowsFiles()
    {
        // KUNDEN.DBF beside kunden.gdb and Kunden.DDF is one database.
        const QString ordner = QStringLiteral(RUFMON_TEST_DATA) + u"/act/windows"_s;
        clACTFelder felder(m_u->dialogs);
        QVERIFY(felder.init(ordner + u"/kunden.dbf"_s));
        QCOMPARE(felder.ACTPfad(), ordner);
        QCOMPARE(felder.ACTDateiname(), u"KUNDEN"_s);
        felder.Felder_einlesen();
        QVERIFY(felder.Felder_eingelesen());
        QStringList telefon;
        for (int i = 0; i < felder.AnzahlKontaktfelder(); ++i) {
            if (felder.KontaktFeld(i).Feldart == 7)
                telefon << felder.KontaktFeld(i).Feldname + u'=' + felder.KontaktFeld(i).Bezeichnung;
        }
        QCOMPARE(telefon.size(), 5);
        QVERIFY2(telefon.contains(u"MOBILE_PH=Mobiltelefon"_s), qPrintable(telefon.join(u',')));

        clActDBF dbf(m_u->dialogs, m_u->clipboard, m_u->optionen);
        QVERIFY(dbf.init(ordner + u"/kunden.dbf"_s));
        auto rs = dbf.Suche(QString(), u"PHONE"_s, QString(), QString(), false);
        QVERIFY(rs && !rs->Eof());
        QCOMPARE(m_u->dialogs.boxes().size(), 0);
    }

    void checkKeepsPanelFlagAndPhoneFields()
    {
        Pruefstand p(*m_u);
        p.pruefung->PruefeACTDatenbank();
        QCOMPARE(p.text, u"Kein ACT! gestartet"_s);
        QVERIFY(p.timer);
        QVERIFY(!p.pruefung->ACTBereit() && !p.bereit);

        m_u->store.SaveSetting(u"ACT"_s, u"Datenbank"_s, kontaktTabelle());
        p.pruefung->PruefeACTDatenbank();
        QCOMPARE(p.tip, kontaktTabelle());
        QVERIFY(p.pruefung->ACTBereit() && p.bereit);
        QCOMPARE((QList<int>{p.listen, p.cache}), (QList<int>{1, 1}));

        // While ready, a check neither reads the fields again nor steps the cache.
        p.pruefung->PruefeACTDatenbank();
        QCOMPARE((QList<int>{p.listen, p.cache}), (QList<int>{1, 1}));
        QCOMPARE(m_u->dialogs.boxes().size(), 0);

        // Another database chosen while the fields are being read: its check
        // follows the running one instead of reading into the same list.
        QTemporaryDir zweite;
        for (const QString &endung : {u".dbf"_s, u".gdb"_s, u".ddf"_s})
            QVERIFY(QFile::copy(m_dir.filePath(u"act/KUNDEN"_s + endung), zweite.filePath(u"ANDERE"_s + endung)));
        const QString andere = zweite.filePath(u"ANDERE.dbf"_s);
        m_u->store.SaveSetting(u"ACT"_s, u"Datenbank"_s, andere);
        p.pruefung->setACTBereit(false);
        bool zurueck = false;
        p.beiText = [&](const QString &t) {
            if (t != u"Searching positions ..."_s || std::exchange(zurueck, true))
                return;
            m_u->store.SaveSetting(u"ACT"_s, u"Datenbank"_s, kontaktTabelle());
            p.pruefung->setACTBereit(false);
            p.pruefung->PruefeACTDatenbank();
        };
        p.pruefung->PruefeACTDatenbank();
        QVERIFY(zurueck);
        QCOMPARE(p.tip, kontaktTabelle());
        QCOMPARE(p.felder.ACTDatenbankpfad, kontaktTabelle());
        QVERIFY(p.pruefung->ACTBereit());
        QCOMPARE(p.listen, 3);
    }

    void brokenDefinitionsEndTheCheckAndRetry_data()
    {
        QTest::addColumn<QString>("schaden");
        QTest::addColumn<QString>("meldung");
        // The help line sends the user to what comes with the program.
        const QString hilfe = u"aufgetreten.\r\nHilfe finden Sie in der Anleitung (man rufmon) und in der README-Datei "
                              u"von Rufmon.\r\n"_s;
        QTest::newRow("definitions damaged") << u"ddf"_s << hilfe + u"Fehlernummer:62\r\nFehlerbeschreibung: "_s;
        // The contact fields read, then the group section is missing: nothing of it counts.
        QTest::newRow("no group section") << u"no-group"_s << hilfe + u"Fehlernummer:9\r\n"_s;
        // The fields cannot be read at all: no phone fields, so not ready either.
        QTest::newRow("group table missing") << u"gdb"_s << u" (ConnectWithDBF)\r\n"_s;
    }
    void brokenDefinitionsEndTheCheckAndRetry()
    {
        QFETCH(QString, schaden);
        QFETCH(QString, meldung);
        QTemporaryDir kaputt;
        const QString act = m_dir.filePath(u"act/KUNDEN"_s);
        const QString tabelle = kaputt.filePath(u"KUNDEN.dbf"_s);
        if (schaden == u"no-group"_s) {
            ActGenerator g;
            g.options().contacts = 20;
            g.options().ddfVariant = ActDefinitionFile::Variant::WithoutGroupMarker;
            QVERIFY2(g.write(kaputt.path()), qPrintable(g.errorString()));
        } else {
            QVERIFY(QFile::copy(act + u".dbf"_s, tabelle));
            if (schaden == u"ddf"_s)
                QVERIFY(QFile::copy(act + u".gdb"_s, kaputt.filePath(u"KUNDEN.gdb"_s)));
            QVERIFY(schreibeDatei(kaputt.filePath(u"KUNDEN.ddf"_s),
                                  schaden == u"ddf"_s ? QByteArray(64, '\0') : dateiInhalt(act + u".ddf"_s)));
        }
        m_u->store.SaveSetting(u"ACT"_s, u"Datenbank"_s, tabelle);
        const QList<ScriptedDialogs::Box> &boxen = m_u->dialogs.boxes();

        Pruefstand p(*m_u);
        // Ticks of the timer: each tries again, the box shows once, the panel tells.
        for (int takt = 0; takt < 3; ++takt) {
            p.pruefung->PruefeACTDatenbank();
            QVERIFY(!p.pruefung->ACTBereit());
            QVERIFY(!p.felder.Felder_eingelesen());
            QVERIFY(p.timer);
            QCOMPARE(p.listen, 0);
            QCOMPARE(boxen.size(), 1);
            QCOMPARE(p.text, u"ACT!-Datenbank nicht lesbar"_s);
            QVERIFY2(p.tip.startsWith(tabelle + u"\r\n"_s), qPrintable(p.tip));
        }
        QVERIFY2(boxen.first().text.contains(meldung), qPrintable(boxen.first().text));
        if (schaden == u"gdb"_s)
            QVERIFY2(boxen.first().text.contains(u"'KUNDEN.gdb' nicht"_s), qPrintable(boxen.first().text));

        // Repaired: ready with its phone fields; a later failure shows again.
        for (const QString &endung : {u".gdb"_s, u".ddf"_s}) {
            QFile::remove(kaputt.filePath(u"KUNDEN"_s + endung));
            QVERIFY(QFile::copy(act + endung, kaputt.filePath(u"KUNDEN"_s + endung)));
        }
        p.pruefung->PruefeACTDatenbank();
        QVERIFY(p.pruefung->ACTBereit());
        QCOMPARE(p.listen, 1);
        QVERIFY(schreibeDatei(kaputt.filePath(u"KUNDEN.ddf"_s), QByteArray(64, '\0')));
        p.pruefung->setACTBereit(false);
        p.felder.kill();
        p.pruefung->PruefeACTDatenbank();
        QCOMPARE(boxen.size(), 2);
    }

    void contactCard()
    {
        m_u->store.SaveSetting(u"ACT"_s, u"Datenbank"_s, kontaktTabelle());
        Pruefstand p(*m_u);
        p.app.Zeigen();
        p.app.gehezuKonatkt(m_id);
        QVERIFY(p.karte.isVisible());
        QCOMPARE(p.app.AktuelleKontaktID(), m_id);
        QVERIFY(p.karte.Zeilen().contains(qMakePair(u"Mobiltelefon"_s, u"0171/5550123"_s)));
        // The adapter never writes: field writes are refused, commands answer 0.
        QVERIFY(!p.app.setFeldwert(u"Kontakt"_s, 1, u"x"_s));
        QCOMPARE(p.app.ExecuteCommand(310), 0);
        p.app.gehezuKonatkt(u"GIBTSNICHT"_s);
        QCOMPARE(p.app.AktuelleKontaktID(), QString());
    }

private:
    QString kontaktTabelle() const { return m_dir.filePath(u"act/KUNDEN.dbf"_s); }

    QTemporaryDir m_dir;
    QString m_id;
    std::unique_ptr<Umgebung> m_u; // anew for every test
};

QTEST_MAIN(tst_ACTDatenbank)
#include "tst_ACTDatenbank.moc"
