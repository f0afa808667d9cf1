// The identification's searches over ACT!'s contact table: the records read
// straight from the file must give exactly the rows, in the order, that the
// statements over every row give, and only those rows are decoded.
#include "actdb/Kontaktscan.h"
#include "actdb/clActDBF.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/xbase/DbfModule.h"
#include "tools/dbf/DbfWriter.h"

#include "doubles/Sondernummern.h"
#include "doubles/Umgebung.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

const QString Telefonfelder = u"PHONE,FAX,HOME_PHONE,MOBILE_PH,ALT_PHONE"_s;

QStringList ids(std::unique_ptr<Recordset> rs)
{
    QStringList liste;
    for (; rs && !rs->Eof(); rs->MoveNext())
        liste.append(rs->Wert(u"UNIQUE_ID"_s).toString());
    return liste;
}

bool nurZiffern(const QString &wert)
{
    return !wert.isEmpty() && std::all_of(wert.begin(), wert.end(), [](QChar c) { return c.isDigit(); });
}

} // namespace

class tst_Kontaktscan : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QString fehler;
        m_dbf = schreibeSondernummern(m_dir.path(),
                                      {{u"Blumen"_s, u"0800 FLOWERS"_s}, {u"Stern"_s, u"0301*"_s},
                                       {u"Hochkomma"_s, u"089 12'34"_s}, {u"International"_s, u"+49 (0)30 555 123"_s}},
                                      &fehler);
        QVERIFY2(!m_dbf.isEmpty(), qPrintable(fehler));

        // Pieces of numbers that are there, of 3, 4 and 10 characters and whole.
        auto db = ordner();
        auto rs = db->OpenRecordset(u"SELECT coalesce("_s + Telefonfelder + u") FROM ["_s + tabelle() + u"]"_s);
        for (int i = 0; !rs->Eof(); rs->MoveNext(), ++i) {
            const QString t = rs->Wert(0).toString();
            if (i % 97 == 0 && t.size() >= 4)
                m_werte << t.mid(1, 3) << t.left(4) << t.right(10) << t;
        }
        m_werte << u"9999999999"_s << u"0800 FLOWERS"_s << u"12'34"_s << u"030555123"_s << u"555"_s;
        m_werte.removeDuplicates();
        QVERIFY(m_werte.size() > 60);
    }

    void init() { m_u = std::make_unique<Umgebung>(); }

    // The literal search: the rows of the statement over every row, and for
    // digits only the rows found are decoded.
    void woertlichWieDieAnweisung()
    {
        clActDBF dbf(m_u->dialogs, m_u->clipboard, m_u->optionen);
        QVERIFY(dbf.init(m_dbf));
        auto db = ordner();
        for (const QString &wert : m_werte) {
            const quint64 vorher = DbfModule::decodedValueCount();
            const QStringList gefunden = ids(dbf.Suche(Telefonfelder, u"NAME"_s, wert, u"OR"_s, false));
            const quint64 decodiert = DbfModule::decodedValueCount() - vorher;
            const QStringList alle = ids(db->OpenRecordset(
                clActDBF::Anweisung(tabelle(), Telefonfelder, u"NAME"_s, wert, u"OR"_s, false)));
            QCOMPARE(gefunden, alle);
            if (nurZiffern(wert))
                QVERIFY2(decodiert <= quint64(gefunden.size()) * 12,
                         qPrintable(u"%1: %2 Werte für %3 Zeilen"_s.arg(wert).arg(decodiert).arg(gefunden.size())));
            else
                QVERIFY2(decodiert > 3000, qPrintable(wert));
        }
        // A date field reads differently as text ("2026-12-06") than it is stored (20230301).
        const QStringList datum = ids(dbf.Suche(u"PHONE,LASTEDIT"_s, QString(), u"030"_s, u"OR"_s, false));
        QCOMPARE(datum, ids(db->OpenRecordset(u"SELECT UNIQUE_ID FROM [%1] WHERE instr(PHONE, '030') > 0 OR "
                                              u"instr(LASTEDIT, '030') > 0"_s.arg(tabelle()))));
        QVERIFY(!datum.isEmpty());
        QVERIFY(m_u->dialogs.boxes().isEmpty());
    }

    // The identification's two searches from one read: the first row as
    // written, else the key's rows, each as the statement over every row has them.
    void beideSuchenAusEinemLauf()
    {
        clActDBF dbf(m_u->dialogs, m_u->clipboard, m_u->optionen);
        QVERIFY(dbf.init(m_dbf));
        const Kontaktscan::Zeilen jedeZeile;
        int mitSchluessel = 0;
        for (const QString &wert : m_werte) {
            const QString schluessel = clActDBF::Schluessel(wert);
            const Kontaktscan::Treffer vorab = dbf.Vorauswahl(Telefonfelder, wert, schluessel, true);
            const QStringList erster = ids(dbf.Suche(Telefonfelder, u"NAME"_s, wert, u"OR"_s, false, &vorab.woertlich));
            const QStringList alle = ids(dbf.Suche(Telefonfelder, u"NAME"_s, wert, u"OR"_s, false, &jedeZeile));
            QCOMPARE(erster.value(0), alle.value(0));
            if (!alle.isEmpty() || schluessel.isEmpty())
                continue;
            ++mitSchluessel;
            QCOMPARE(ids(dbf.SchluesselSuche(Telefonfelder, u"NAME"_s, schluessel, &vorab.nachSchluessel)),
                     ids(dbf.SchluesselSuche(Telefonfelder, u"NAME"_s, schluessel, &jedeZeile)));
        }
        QVERIFY(mitSchluessel > 0);
        // Written with a country code and brackets, found by its key alone.
        const Kontaktscan::Treffer vorab = dbf.Vorauswahl(Telefonfelder, u"030555123"_s, u"030555123"_s, true);
        QVERIFY(vorab.woertlich && vorab.woertlich->empty());
        QVERIFY(vorab.nachSchluessel && !vorab.nachSchluessel->empty());
        QVERIFY(m_u->dialogs.boxes().isEmpty());
    }

    // A large table is read in two halves at once: every search finds what
    // one read from the first record to the last finds, in the same order.
    void zweiHaelftenWieEinLauf()
    {
        int gefunden = 0;
        for (const QString &wert : m_werte) {
            for (const bool nurErster : {false, true}) {
                Kontaktscan::Auftrag auftrag;
                auftrag.felder = Telefonfelder.split(u',');
                auftrag.ziffern = wert;
                auftrag.schluessel = clActDBF::Schluessel(wert);
                auftrag.heimatvorwahl = u"49"_s;
                auftrag.nurErsterWoertlich = nurErster;
                auftrag.teilenAb = std::numeric_limits<quint32>::max();
                const Kontaktscan::Treffer ganz = Kontaktscan::lesen(m_dbf, auftrag);
                auftrag.teilenAb = 1;
                const Kontaktscan::Treffer geteilt = Kontaktscan::lesen(m_dbf, auftrag);
                QCOMPARE(geteilt.woertlich, ganz.woertlich);
                QCOMPARE(geteilt.nachSchluessel, ganz.nachSchluessel);
                gefunden += ganz.woertlich && !ganz.woertlich->empty();
                gefunden += ganz.nachSchluessel && !ganz.nachSchluessel->empty();
            }
        }
        QVERIFY(gefunden > 40);
    }

    void lesen_data()
    {
        QTest::addColumn<QString>("felder");
        QTest::addColumn<QString>("ziffern");
        QTest::addColumn<QString>("schluessel");
        QTest::addColumn<bool>("nurErster");
        QTest::addColumn<int>("hoechstens");
        QTest::addColumn<QString>("woertlich"); // rowids, "-" for none
        QTest::addColumn<QString>("nachSchluessel");

        const QString beide = u"TEL,TEL2"_s;
        QTest::newRow("both searches") << beide << u"301"_s << u"0301"_s << false << 10 << u"1,3"_s << u"1,2,3"_s;
        QTest::newRow("the first literal ends the read") << beide << u"301"_s << u"0301"_s << true << 10 << u"1"_s
                                                         << u"-"_s;
        QTest::newRow("no literal: the key read to the end") << beide << u"777"_s << u"0301"_s << true << 10 << u""_s
                                                             << u"1,2,3"_s;
        QTest::newRow("too many for one") << beide << u"301"_s << u"0301"_s << false << 2 << u"1,3"_s << u"-"_s;
        QTest::newRow("a pattern character is no digit") << beide << u"30*"_s << u"0301"_s << false << 10 << u"-"_s
                                                         << u"1,2,3"_s;
        QTest::newRow("a number field") << u"TEL,NR"_s << u"301"_s << u"0301"_s << false << 10 << u"-"_s << u"-"_s;
        QTest::newRow("a missing field") << u"TEL,GIBTESNICHT"_s << u"301"_s << u"0301"_s << false << 10 << u"-"_s
                                         << u"-"_s;
        QTest::newRow("no key asked for") << beide << u"301"_s << QString() << false << 10 << u"1,3"_s << u"-"_s;
        QTest::newRow("deleted records are passed over") << beide << u"4711"_s << u"04711"_s << false << 10 << u""_s
                                                         << u""_s;
    }
    void lesen()
    {
        QFETCH(QString, felder);
        QFETCH(QString, ziffern);
        QFETCH(QString, schluessel);
        QFETCH(bool, nurErster);
        QFETCH(int, hoechstens);
        QTemporaryDir dir;
        const QString datei = dir.filePath(u"KUNDEN.DBF"_s);
        QString fehler;
        QVERIFY2(DbfWriter::writeTable(datei, 0x03, 0x03, {{u"TEL"_s, 'C', 20}, {u"TEL2"_s, 'C', 20}, {u"NR"_s, 'N', 8}},
                                       {{{u"0301234"_s, QString(), 1}},
                                        {{QString(), u"+49 30 1999"_s, 2}},
                                        {{u"(0301) 55"_s, u"0301"_s, 3}},
                                        {{u"04711"_s, QString(), 4}, true}},
                                       &fehler),
                 qPrintable(fehler));
        Kontaktscan::Auftrag auftrag;
        auftrag.felder = felder.split(u',');
        auftrag.ziffern = ziffern;
        auftrag.schluessel = schluessel;
        auftrag.heimatvorwahl = u"49"_s;
        auftrag.hoechstens = std::size_t(hoechstens);
        auftrag.nurErsterWoertlich = nurErster;
        const auto text = [](const Kontaktscan::Zeilen &z) {
            if (!z)
                return u"-"_s;
            QStringList l;
            for (const qint64 n : *z)
                l << QString::number(n);
            return l.join(u',');
        };
        // Read whole, and in two halves read at once: the same records.
        for (const quint32 teilenAb : {quint32(1000), quint32(1)}) {
            auftrag.teilenAb = teilenAb;
            const Kontaktscan::Treffer t = Kontaktscan::lesen(datei, auftrag);
            QTEST(text(t.woertlich), "woertlich");
            QTEST(text(t.nachSchluessel), "nachSchluessel");
        }
        // A file that cannot be read: the statements decide.
        const Kontaktscan::Treffer ohne = Kontaktscan::lesen(dir.filePath(u"GIBTESNICHT.DBF"_s), auftrag);
        QVERIFY(!ohne.woertlich && !ohne.nachSchluessel);
    }

private:
    std::shared_ptr<Database> ordner() const
    {
        return DBEngine::instance().OpenDatabase(QFileInfo(m_dbf).absolutePath(), false, true, u"FoxPro 2.6;"_s);
    }
    QString tabelle() const { return QFileInfo(m_dbf).fileName(); }

    QTemporaryDir m_dir;
    QString m_dbf;
    QStringList m_werte;
    std::unique_ptr<Umgebung> m_u;
};

QTEST_GUILESS_MAIN(tst_Kontaktscan)
#include "tst_Kontaktscan.moc"
