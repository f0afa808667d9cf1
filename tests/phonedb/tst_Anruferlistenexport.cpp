// The caller list as a file: the table read back as a spreadsheet with
// German settings reads it (Python's csv module, ";" between fields), its
// bytes, the moments, the address book of the contacts, and a target that
// cannot be written, which leaves no file behind.
#include "core/Anruf.h"
#include "core/modHaupt.h"
#include "phonedb/Anruferlistenexport.h"

#include "doubles/Dateien.h"
#include "doubles/Schreibschutz.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Zeile = Anruferlistenexport::Zeile;

// Calls with what a spreadsheet stumbles over: umlauts, quotes, the
// separator, a line break, an empty field.
QList<Zeile> beispiel()
{
    return {
        {u"0301234567"_s, u"06.12.2026 09:05:07"_s, u"Berlin"_s, u"Greta Grünwald"_s, u"GRETA0000001"_s,
         u"Grünwald & Söhne"_s, u"987654"_s},
        {u"0043316123456"_s, u"31.12.2025 23:59:59"_s, u"Österreich/Graz"_s, u"Unbekannt"_s, QString(), QString()},
        {u"089123"_s, u"01.01.2026 00:00:00"_s, u"München"_s, u"Pizzeria \"Roma\"; Lieferdienst"_s, QString(),
         QString()},
        {u"+49 (0)211 / 55-0"_s, u"kein Datum"_s, u"Düsseldorf"_s, u"Keine Angaben im ACT!"_s, u"HOESS0000001"_s,
         u"Höß Optik\nFiliale Nord"_s},
    };
}

// The table as Python's csv module reads it with ";" between the fields,
// the byte-order mark taken off as a spreadsheet does.
QList<QStringList> mitPythonGelesen(const QString &datei)
{
    QProcess python;
    python.start(QStandardPaths::findExecutable(u"python3"_s),
                 {u"-c"_s, u"import csv, json, sys\n"
                           "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                           "    print(json.dumps(list(csv.reader(f, delimiter=';'))))\n"_s,
                  datei});
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        qWarning("%s", python.readAllStandardError().constData());
        return {};
    }
    QList<QStringList> zeilen;
    for (const QJsonValue &z : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList felder;
        for (const QJsonValue &f : z.toArray())
            felder << f.toString();
        zeilen << felder;
    }
    return zeilen;
}

} // namespace

class tst_Anruferlistenexport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void tableReadBackAsASpreadsheetReadsIt()
    {
        if (QStandardPaths::findExecutable(u"python3"_s).isEmpty())
            QSKIP("python3 fehlt (Debian-Paket python3)");
        QTemporaryDir dir;
        const QString datei = dir.filePath(u"Anruferliste.csv"_s);
        Anruferlistenexport e;
        QVERIFY2(e.schreibe(datei, beispiel()), qPrintable(e.Fehler()));
        const QList<QStringList> gelesen = mitPythonGelesen(datei);
        const QList<QStringList> erwartet = {
            {u"Nummer"_s, u"Datum"_s, u"Ort"_s, u"Kontakt"_s, u"Firma"_s, u"Ergebnis"_s, u"Angerufen"_s},
            {u"0301234567"_s, u"06.12.2026 09:05:07"_s, u"Berlin"_s, u"Greta Grünwald"_s, u"Grünwald & Söhne"_s,
             u"erkannt"_s, u"987654"_s},
            {u"0043316123456"_s, u"31.12.2025 23:59:59"_s, u"Österreich/Graz"_s, u"Unbekannt"_s, QString(),
             u"unbekannt"_s, QString()},
            {u"089123"_s, u"01.01.2026 00:00:00"_s, u"München"_s, u"Pizzeria \"Roma\"; Lieferdienst"_s, QString(),
             u"freie Liste"_s, QString()},
            {u"+49 (0)211 / 55-0"_s, u"kein Datum"_s, u"Düsseldorf"_s, u"Keine Angaben im ACT!"_s,
             u"Höß Optik\nFiliale Nord"_s, u"erkannt"_s, QString()},
        };
        QCOMPARE(gelesen, erwartet);
    }

    // What LibreOffice Calc needs to open it with German settings as they
    // are: the mark of UTF-8, CRLF, every field in quotes, ";" between them.
    void tableBytes()
    {
        const QByteArray t = Anruferlistenexport::Tabelle({{u"0301234567"_s, u"06.12.2026 09:05:07"_s,
                                                             u"Köln"_s, u"Jürgen \"Jupp\" Müller"_s, QString(),
                                                             QString()}});
        QCOMPARE(t,
                 u"\uFEFF\"Nummer\";\"Datum\";\"Ort\";\"Kontakt\";\"Firma\";\"Ergebnis\";\"Angerufen\"\r\n"
                 "\"0301234567\";\"06.12.2026 09:05:07\";\"Köln\";\"Jürgen \"\"Jupp\"\" Müller\";\"\";\"freie Liste\";\"\"\r\n"_s
                     .toUtf8());
        QVERIFY(t.startsWith("\xEF\xBB\xBF"));
        // An empty list is its header.
        QCOMPARE(Anruferlistenexport::Tabelle({}).count("\r\n"), 1);
    }

    // The moment as the list shows it, in any regional form, becomes TT.MM.JJJJ HH:MM:SS.
    void moments_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("liste");
        QTest::addColumn<QString>("datei");
        const QLocale de(QLocale::German, QLocale::Germany);
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("German") << de << u"06.12.2026 09:05:07"_s << u"06.12.2026 09:05:07"_s;
        QTest::newRow("Swiss German") << QLocale(QLocale::German, QLocale::Switzerland) << u"29.02.2028 23:00:01"_s
                                      << u"29.02.2028 23:00:01"_s;
        QTest::newRow("US English") << us << u"12/6/2026 9:05:07 PM"_s << u"06.12.2026 21:05:07"_s;
        QTest::newRow("ISO") << de << u"2026-12-06 09:05:07"_s << u"06.12.2026 09:05:07"_s;
        QTest::newRow("no moment") << de << u"gestern"_s << u"gestern"_s;
        QTest::newRow("empty") << de << QString() << QString();
    }

    void moments()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, liste);
        QLocale::setDefault(locale);
        const QString gelesen = Anruferlistenexport::Zeitpunkt(liste);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QTEST(gelesen, "datei");
    }

    // The calls as the list shows them: their order, their columns, the
    // contact's id without its padding.
    void rowsOfTheCallerList()
    {
        Anruf greta;
        greta.nummer = u"0301234567"_s;
        greta.zeit = QDateTime(QDate(2026, 12, 6), QTime(9, 5, 7));
        greta.ort = u"Berlin"_s;
        greta.name = u"Greta Grünwald"_s;
        greta.ergebnis = Anruf::Ergebnis::Erkannt;
        greta.kontaktId = u"GRETA01"_s;
        Anruf fremd;
        fremd.nummer = u"089123"_s;
        fremd.zeit = QDateTime(QDate(2026, 12, 5), QTime(8, 0));
        fremd.ort = u"München"_s;
        fremd.name = u"Unbekannt"_s;
        fremd.ergebnis = Anruf::Ergebnis::Unbekannt;
        const QList<Zeile> zeilen = Anruferlistenexport::ausAnrufen({greta, fremd, greta});
        QCOMPARE(zeilen.size(), 3);
        QCOMPARE(zeilen[0].nummer, u"0301234567"_s);
        QCOMPARE(zeilen[0].datum, u"06.12.2026 09:05:07"_s);
        QCOMPARE(zeilen[0].ort, u"Berlin"_s);
        QCOMPARE(zeilen[0].kontakt, u"Greta Grünwald"_s);
        QCOMPARE(zeilen[0].kontaktId, u"GRETA01"_s);
        QCOMPARE(zeilen[1].kontaktId, QString());
        QCOMPARE(Anruferlistenexport::KontaktIds(zeilen), QStringList{u"GRETA01"_s});
    }

    // One card a contact, whatever number it called from; a text value's
    // special characters escaped; a line longer than 75 bytes folded
    // between characters.
    void addressBook()
    {
        QList<Zeile> zeilen = beispiel();
        zeilen.append({u"030 1234567"_s, u"05.12.2026 09:00:00"_s, u"Berlin"_s, u"Greta Grünwald"_s,
                       u"GRETA0000001"_s, QString()});
        zeilen.append({u"0301234567"_s, u"04.12.2026 09:00:00"_s, u"Berlin"_s, u"Greta Grünwald"_s,
                       u"GRETA0000001"_s, QString()});
        zeilen.append({u"0221987"_s, u"04.12.2026 09:00:00"_s, u"Köln"_s, u"Müller, Jürgen"_s, u"MUELLER00001"_s,
                       u"Ämter; Behörden, Äußeres und Übriges für Öffentlichkeit und Köln"_s});
        zeilen.append({u"0221999"_s, u"04.12.2026 09:00:00"_s, u"Köln"_s, u"Keine Angaben im ACT!"_s,
                       u"OHNE00000001"_s, QString()});
        const QByteArray karten = Anruferlistenexport::Adressbuch(zeilen);
        const QByteArray erwartet =
            u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Greta Grünwald\r\nN:Grünwald;Greta;;;\r\nORG:Grünwald & Söhne\r\n"
            "TEL;TYPE=VOICE:0301234567\r\nTEL;TYPE=VOICE:030 1234567\r\nEND:VCARD\r\n"
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Höß Optik\\nFiliale Nord\r\nN:;;;;\r\nORG:Höß Optik\\nFiliale Nord\r\n"
            "TEL;TYPE=VOICE:+49 (0)211 / 55-0\r\nEND:VCARD\r\n"
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Müller\\, Jürgen\r\nN:Müller;Jürgen;;;\r\n"
            "ORG:Ämter\\; Behörden\\, Äußeres und Übriges für Öffentlichkeit und K\r\n öln\r\n"
            "TEL;TYPE=VOICE:0221987\r\nEND:VCARD\r\n"
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:0221999\r\nN:;;;;\r\nTEL;TYPE=VOICE:0221999\r\nEND:VCARD\r\n"_s.toUtf8();
        QCOMPARE(karten, erwartet);
        for (const QByteArray &zeile : karten.split('\n'))
            QVERIFY2(zeile.size() <= 76, zeile.constData()); // 75 and the CR
        QCOMPARE(Anruferlistenexport::Kontakte(zeilen), 4);
    }

    void formatByName_data()
    {
        QTest::addColumn<QString>("pfad");
        QTest::addColumn<bool>("adressbuch");
        QTest::newRow("csv") << u"/tmp/Anrufe.csv"_s << false;
        QTest::newRow("vcf") << u"/tmp/Anrufe.vcf"_s << true;
        QTest::newRow("VCF") << u"/tmp/ANRUFE.VCF"_s << true;
        QTest::newRow("no ending") << u"/tmp/Anrufe"_s << false;
        QTest::newRow("vcf in the folder") << u"/tmp/kontakte.vcf/Anrufe.txt"_s << false;
    }

    void formatByName()
    {
        QFETCH(QString, pfad);
        QFETCH(bool, adressbuch);
        QCOMPARE(Anruferlistenexport::FormatFuer(pfad) == Anruferlistenexport::Format::Adressbuch, adressbuch);
    }

    // A target that cannot be written: false with the reason, no file, no
    // part of one, and a file that was there stays as it was.
    void unwritableTargetLeavesNoFile_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::newRow("read-only folder") << u"ordner"_s;
        QTest::newRow("read-only file") << u"datei"_s;
        QTest::newRow("missing folder") << u"fehlt"_s;
        QTest::newRow("a folder of that name") << u"verzeichnis"_s;
    }

    void unwritableTargetLeavesNoFile()
    {
        QFETCH(QString, fall);
        Schreibschutz schutz;
        QVERIFY(schutz.bereit());
        QString ziel;
        QByteArray vorher;
        if (fall == u"ordner"_s) {
            ziel = schutz.geschuetzterOrdner() + u"/Anrufe.csv"_s;
        } else if (fall == u"datei"_s) {
            ziel = schutz.geschuetzteDatei("alt");
            vorher = "alt";
        } else if (fall == u"fehlt"_s) {
            ziel = schutz.offenerOrdner() + u"/fehlt/Anrufe.csv"_s;
        } else {
            ziel = schutz.offenerOrdner() + u"/Anrufe.csv"_s;
            QVERIFY(QDir().mkpath(ziel));
        }
        const QStringList davor = QDir(QFileInfo(ziel).absolutePath()).entryList(QDir::AllEntries | QDir::Hidden);
        Anruferlistenexport e;
        bool geschrieben = true;
        schutz.alsNutzer([&] { geschrieben = e.schreibe(ziel, beispiel()); });
        QVERIFY(!geschrieben);
        QVERIFY(!e.Fehler().isEmpty());
        QCOMPARE(QDir(QFileInfo(ziel).absolutePath()).entryList(QDir::AllEntries | QDir::Hidden), davor);
        if (fall == u"datei"_s)
            QCOMPARE(dateiInhalt(ziel), vorher);
        else if (fall != u"verzeichnis"_s)
            QVERIFY(!QFileInfo::exists(ziel));
    }

    // Written again, the file is replaced whole.
    void writtenAgainReplacesTheFile()
    {
        QTemporaryDir dir;
        const QString datei = dir.filePath(u"Kontakte.vcf"_s);
        QVERIFY(schreibeDatei(datei, QByteArray(5000, 'x')));
        Anruferlistenexport e;
        QVERIFY(e.schreibe(datei, beispiel()));
        QCOMPARE(dateiInhalt(datei), Anruferlistenexport::Adressbuch(beispiel()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"Kontakte.vcf"_s});
    }
};

QTEST_GUILESS_MAIN(tst_Anruferlistenexport)
#include "tst_Anruferlistenexport.moc"
