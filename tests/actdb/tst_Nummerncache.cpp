// The number cache in front of a contact source: built from the source's
// contacts, whatever the source, and searched as the source is searched.
#include "actdb/ActKontaktquelle.h"
#include "actdb/ActZugang.h"
#include "actdb/CacheKontaktquelle.h"
#include "actdb/clActDBF.h"
#include "actdb/clTabellenCache.h"
#include "platform/jet/Recordset.h"
#include "tools/actgen/ActGenerator.h"

#include "doubles/Rohzeilen.h"
#include "doubles/Kontaktliste.h"
#include "doubles/Umgebung.h"

#include <QFile>
#include <QHash>
#include <QTest>


using namespace Qt::StringLiterals;

namespace {

// The program's record of ACT! and the chosen phone fields, as a cache reads it.
class Zugang : public ActZugang
{
public:
    QString datenbank;
    QString felder;
    QHash<QString, QString> bezeichnungen;

    bool ACTBereit() const override { return true; }
    QString ACTDatenbank() const override { return datenbank; }
    QString AusgewaehlteFelder() const override { return felder; }
    QString Bezeichnung(const QString &feldname) const override { return bezeichnungen.value(feldname); }
};


// What a search found, as the identification and the similar list read it.
QString gefunden(const Kontaktsuchlauf::Fund &f)
{
    if (!f.gelungen)
        return u"(Fehler)"_s;
    if (!f.kontakt)
        return {};
    return f.kontakt->id + u'|' + f.kontakt->name + u'|' + f.kontakt->ort.value_or(u"(kein Ort)"_s);
}

QStringList aehnlich(const Kontaktsuchlauf::Aehnliche &a)
{
    QStringList z{QString::number(a.anzahl)};
    for (const Kontaktsuchlauf::Aehnlicher &t : a.treffer)
        z << t.kontakt.id + u'|' + t.bezeichnung + u'|' + t.nummer + u'|' + t.kontakt.name + u'|' + t.kontakt.firma;
    return z;
}

// An address book whose numbers are written in the ways people write them.
QList<Kontakt> adressbuch()
{
    return {
        {u"A1"_s, u"Greta Grünwald"_s, u"Grünwald & Söhne"_s, u"Berlin-Mitte"_s,
         {{u"Mobil"_s, u"0171 5550000"_s}, {u"Telefon"_s, u"+49 (30) 123 45-67"_s}}},
        {u"A2"_s, u"Nachbar"_s, u"Hof KG"_s, std::nullopt, {{u"Fax"_s, u"0301234599 Zentrale"_s}}},
        {u"A3"_s, QString(), QString(), std::nullopt, {{u"Telefon"_s, u"089 4444444"_s}}},
        {u"A4"_s, u"Ohne Nummer"_s, u"Leer GmbH"_s, u"Köln"_s, {}},
        {u"A5"_s, u"Zweite Greta"_s, QString(), u"Potsdam"_s,
         {{u"Telefon"_s, u"0301234567"_s}, {u"Privat"_s, u"0891111111"_s}}},
        {u"A6"_s, u"Nur Text"_s, u"Firma's"_s, u""_s, {{u"Fax"_s, u"siehe Zentrale"_s}}},
    };
}

} // namespace

class tst_Nummerncache : public QObject
{
    Q_OBJECT

    Umgebung m_u;
    Zugang m_zugang;
    Kontaktliste m_buch;
    std::unique_ptr<CacheKontaktquelle> m_cache;
    QStringList m_status;

    CacheKontaktquelle::Bau bauen(Kontaktquelle &quelle)
    {
        m_status.clear();
        return m_cache->Erstellen(quelle, [this](const QString &t) { m_status << t; });
    }

private slots:
    void initTestCase()
    {
        m_u.store.SaveSetting(u"Optionen"_s, u"Debug"_s, u"0"_s);
        m_zugang.felder = u"Telefon,Mobil,Fax"_s;
        m_zugang.bezeichnungen = {{u"Telefon"_s, u"Telefon"_s}, {u"Mobil"_s, u"Handy"_s}};
        m_buch.kontakte = adressbuch();
    }
    void init()
    {
        m_u.dialogs.clear();
        m_buch.bereit = true;
        m_buch.lesbar = -1;
        m_cache = std::make_unique<CacheKontaktquelle>(m_u.dialogs, m_u.clipboard, m_zugang);
        m_cache->setPfad(m_u.dir.filePath(u"RUFMON.MDB"_s));
    }

    // Built from an address book held in memory, no ACT! file anywhere: the
    // chosen fields, each with its key, name, company, city and id; the
    // steps on the status display as with ACT!'s table.
    void ausEinemAdressbuch()
    {
        QCOMPARE(bauen(m_buch), CacheKontaktquelle::Bau::Erstellt);
        const QString pfad = m_cache->Pfad();
        QCOMPARE(rohzeilen(pfad, u"SELECT name || ' ' || type FROM pragma_table_info('ACTNR')"_s),
                 (QStringList{u"Telefon TEXT ZEROLENGTH(255)"_s, u"Telefon_SCHL TEXT ZEROLENGTH(255)"_s,
                              u"Mobil TEXT ZEROLENGTH(255)"_s, u"Mobil_SCHL TEXT ZEROLENGTH(255)"_s,
                              u"Fax TEXT ZEROLENGTH(255)"_s, u"Fax_SCHL TEXT ZEROLENGTH(255)"_s,
                              u"NAME TEXT ZEROLENGTH(255)"_s, u"COMPANY TEXT ZEROLENGTH(255)"_s,
                              u"CITY TEXT ZEROLENGTH(255)"_s, u"UNIQUE_ID TEXT ZEROLENGTH(255)"_s}));
        QCOMPARE(rohzeilen(pfad, u"SELECT * FROM ACTNR ORDER BY rowid"_s),
                 (QStringList{
                     u"+49 (30) 123 45-67|0301234567|0171 5550000|01715550000|NULL|NULL|Greta Grünwald|Grünwald & Söhne|Berlin-Mitte|A1"_s,
                     u"NULL|NULL|NULL|NULL|0301234599 Zentrale|0301234599|Nachbar|Hof KG|NULL|A2"_s,
                     u"089 4444444|0894444444|NULL|NULL|NULL|NULL|NULL|NULL|NULL|A3"_s,
                     u"NULL|NULL|NULL|NULL|NULL|NULL|Ohne Nummer|Leer GmbH|Köln|A4"_s,
                     u"0301234567|0301234567|NULL|NULL|NULL|NULL|Zweite Greta|NULL|Potsdam|A5"_s,
                     u"NULL|NULL|NULL|NULL|siehe Zentrale||Nur Text|Firma's||A6"_s}));
        QCOMPARE(m_status, (QStringList{u"TabCache: Tabelle ACTNR wird erstellt"_s,
                                        u"TabCache: PrimeryKey-Index für Feld UNIQUE_ID wird erstellt"_s,
                                        u"TabCache: Index für Feld Telefon wird erstellt"_s,
                                        u"TabCache: Index für Feld Mobil wird erstellt"_s,
                                        u"TabCache: Index für Feld Fax wird erstellt"_s,
                                        u"TabCache: Index für Feld Telefon_SCHL wird erstellt"_s,
                                        u"TabCache: Index für Feld Mobil_SCHL wird erstellt"_s,
                                        u"TabCache: Index für Feld Fax_SCHL wird erstellt"_s,
                                        u"TabCache: Datenimport in Tabelle ACTNR (0% fertig)"_s, QString()}));
        QVERIFY(m_u.dialogs.boxes().isEmpty());
    }

    // Through the cache a caller is found as in the address book itself: by
    // the number as written, else by its key; the similar numbers and the
    // company the same.
    void suchtWieDieQuelle_data()
    {
        QTest::addColumn<QString>("nummer");
        QTest::addColumn<QString>("ziffern");
        QTest::addColumn<QString>("erwartet");

        QTest::newRow("as written, before a key") << u"0301234567"_s << u"030123"_s << u"A5|Zweite Greta|Potsdam"_s;
        QTest::newRow("as written, part of a fax") << u"0301234599"_s << u"0301234599"_s << u"A2|Nachbar|(kein Ort)"_s;
        QTest::newRow("by key, +49 and blanks") << u"3012345-67"_s << u"30123"_s << u"A1|Greta Grünwald|Berlin-Mitte"_s;
        QTest::newRow("no name, no city") << u"4444444"_s << u"4444"_s << u"A3||(kein Ort)"_s;
        QTest::newRow("mobile by key") << u"017155"_s << u"5550000"_s << u"A1|Greta Grünwald|Berlin-Mitte"_s;
        QTest::newRow("a field not chosen") << u"0891111111"_s << u"0891111"_s << QString();
        QTest::newRow("nobody") << u"0401111111"_s << u"040111"_s << QString();
        QTest::newRow("letters, a quote") << u"Zentrale'"_s << u"Zentrale"_s << QString();
    }
    void suchtWieDieQuelle()
    {
        QFETCH(QString, nummer);
        QFETCH(QString, ziffern);
        QFETCH(QString, erwartet);
        QCOMPARE(bauen(m_buch), CacheKontaktquelle::Bau::Erstellt);
        // The address book searches all its numbers: what it knows of the fields not chosen goes.
        Kontaktliste gewaehlt;
        for (Kontakt k : adressbuch()) {
            k.telefon.removeIf([](const Telefonwert &t) { return t.feld == u"Privat"_s; });
            gewaehlt.kontakte << k;
        }
        Kontaktquelle::Oeffnung direkt = gewaehlt.oeffnen();
        Kontaktquelle::Oeffnung zwischen = m_cache->oeffnen();
        QCOMPARE(zwischen.zustand, Kontaktquelle::Oeffnung::Zustand::Offen);
        const QString schluessel = clActDBF::Schluessel(nummer);

        QCOMPARE(gefunden(zwischen.lauf->erster(nummer, schluessel)), erwartet);
        QCOMPARE(gefunden(direkt.lauf->erster(nummer, schluessel)), erwartet);
        // Labels: the chosen field's, else its name.
        QStringList ausDemBuch = aehnlich(direkt.lauf->aehnliche(ziffern));
        ausDemBuch.replaceInStrings(u"|Mobil|"_s, u"|Handy|"_s);
        QCOMPARE(aehnlich(zwischen.lauf->aehnliche(ziffern)), ausDemBuch);
        for (const Kontakt &k : std::as_const(gewaehlt.kontakte))
            QCOMPARE(zwischen.lauf->firma(k.id), k.firma);
        QVERIFY(m_u.dialogs.boxes().isEmpty());
    }

    // ACT!'s contact table through its adapter gives the cache it always had:
    // the same columns, types, sizes, indexes and rows as the statement over
    // the table with the keys beside the numbers.
    void ausActWieBisher()
    {
        ActGenerator g;
        g.options().seed = 5;
        g.options().contacts = 400;
        g.options().deletedPercent = 10;
        ActGenerator::Contact c;
        c.uniqueId = u"GETRENNT0001"_s;
        c.name = c.lastName = u"Ärger Öztürk"_s;
        c.phone = u"+49 (0)89 / 12 34 56-0"_s;
        c.fax = u"Tel. 030 1234599"_s;
        c.city = u"Köln"_s;
        g.addKnownContact(c);
        QVERIFY(g.write(m_u.dir.filePath(u"act"_s)));
        m_zugang.datenbank = g.summary().dbfPath;
        const QString felder = u"PHONE,FAX,HOME_PHONE,MOBILE_PH,ALT_PHONE"_s;
        const QString vorher = std::exchange(m_zugang.felder, felder);

        const QString bisher = m_u.dir.filePath(u"Bisher.mdb"_s);
        {
            clActDBF act(m_u.dialogs, m_u.clipboard, m_u.optionen);
            QVERIFY(act.init(m_zugang.datenbank));
            auto quelle = act.Cachequelle(felder);
            QVERIFY(quelle);
            clTabellenCache cache(m_u.dialogs, m_u.clipboard);
            QVERIFY(cache.init(bisher, true, {}));
            QVERIFY(cache.ADDRecordset(*quelle, u"ACTNR"_s, u"UNIQUE_ID"_s,
                                       felder + u',' + clActDBF::Schluesselfelder(felder), nullptr));
            quelle->Close();
            act.kill();
        }
        ActKontaktquelle act(m_u.dialogs, m_u.clipboard, m_u.optionen, m_zugang);
        QCOMPARE(bauen(act), CacheKontaktquelle::Bau::Erstellt);
        m_zugang.felder = vorher;
        for (const QString &sql :
             {u"SELECT name, type, \"notnull\", dflt_value, pk FROM pragma_table_info('ACTNR')"_s,
              u"SELECT type, name, tbl_name, sql FROM sqlite_schema WHERE name NOT LIKE 'sqlite_autoindex%' ORDER BY name"_s,
              u"SELECT * FROM ACTNR ORDER BY rowid"_s}) {
            const QStringList erwartet = rohzeilen(bisher, sql);
            QVERIFY(erwartet.size() > 9);
            QCOMPARE(rohzeilen(m_cache->Pfad(), sql), erwartet);
        }
        QVERIFY(m_u.dialogs.boxes().isEmpty());
    }

    // A source that cannot be reached leaves the file as it was; one that
    // breaks off while it is read makes the build fail.
    void quelleFaelltAus()
    {
        QCOMPARE(bauen(m_buch), CacheKontaktquelle::Bau::Erstellt);
        m_buch.bereit = false;
        QCOMPARE(bauen(m_buch), CacheKontaktquelle::Bau::KeinACTZugriff);
        QVERIFY(m_status.isEmpty());
        QCOMPARE(rohzeilen(m_cache->Pfad(), u"SELECT count(*) FROM ACTNR"_s), QStringList{u"6"_s});

        m_buch.bereit = true;
        m_buch.lesbar = 4;
        QCOMPARE(bauen(m_buch), CacheKontaktquelle::Bau::Fehlgeschlagen);
        QCOMPARE(rohzeilen(m_cache->Pfad(), u"SELECT UNIQUE_ID FROM ACTNR"_s),
                 (QStringList{u"A1"_s, u"A2"_s, u"A3"_s, u"A4"_s}));
        // Not ended as a finished build.
        QVERIFY(!m_status.contains(QString()));
        QVERIFY(m_u.dialogs.boxes().isEmpty());

        // Nothing readable at all: the file is new and holds no table.
        m_buch.lesbar = 0;
        QCOMPARE(bauen(m_buch), CacheKontaktquelle::Bau::Fehlgeschlagen);
        QCOMPARE(rohzeilen(m_cache->Pfad(), u"SELECT count(*) FROM sqlite_schema WHERE name = 'ACTNR'"_s),
                 QStringList{u"0"_s});
    }
};

QTEST_GUILESS_MAIN(tst_Nummerncache)
#include "tst_Nummerncache.moc"
