#include "core/Nummernschluessel.h"
#include "core/modHaupt.h"
#include "platform/registry/RegionalSettings.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

// Contact identifiers are kept in fixed twelve-character fields, lists are
// plain separated texts and the moments of calls regional texts; all come
// from stored data, so every position and every blank counts. The number key
// as one table: numbers as people write them in Germany, Austria and
// Switzerland and from abroad, extensions, text around them, junk; each with
// the home country it is read in.
class tst_modHaupt : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void cleanupTestCase() { QLocale::setDefault(m_vorher); }

    void id_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("feld");

        QTest::newRow("empty") << QString() << u"            "_s;
        QTest::newRow("eleven chars") << u"ABCDEFGHIJK"_s << u"ABCDEFGHIJK "_s;
        QTest::newRow("exactly twelve") << u"000000000123"_s << u"000000000123"_s;
        QTest::newRow("thirteen stays whole") << u"ABCDEFGHIJKLM"_s << u"ABCDEFGHIJKLM"_s;
        QTest::newRow("much longer stays whole") << u"kontakt-00000000000042"_s << u"kontakt-00000000000042"_s;
        QTest::newRow("blanks kept") << u" 4 2"_s << u" 4 2        "_s;
    }
    void id()
    {
        QFETCH(QString, id);
        QFETCH(QString, feld);
        QCOMPARE(Auffuellen12(id), feld);
        QCOMPARE(IDInKlammern(id), u'[' + feld + u']');
        // What goes into brackets comes out as the field again.
        QCOMPARE(IDAusKlammern(IDInKlammern(id)), feld);
    }

    void idAusText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("text after the field is cut off") << u"[4711        ] Meier, Hans"_s << u"4711        "_s;
        QTest::newRow("short text padded") << u"[12"_s << u"12          "_s;
        QTest::newRow("empty") << QString() << u"            "_s;
    }
    void idAusText()
    {
        QFETCH(QString, text);
        QTEST(IDAusKlammern(text), "expected");
    }

    void element_data()
    {
        QTest::addColumn<QString>("liste");
        QTest::addColumn<QString>("trenner");
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<int>("i");
        QTest::addColumn<QString>("expected");

        QTest::newRow("last") << u"a;b;c"_s << u";"_s << 3 << 3 << u"c"_s;
        QTest::newRow("past the end") << u"a;b;c"_s << u";"_s << 3 << 4 << QString();
        QTest::newRow("zero") << u"a;b;c"_s << u";"_s << 3 << 0 << QString();
        QTest::newRow("empty list") << QString() << u";"_s << 0 << 1 << QString();
        QTest::newRow("leading separator belongs to element 1") << u";a"_s << u";"_s << 1 << 1 << u";a"_s;
        QTest::newRow("only blanks trimmed") << u"x ; \ty ;z"_s << u";"_s << 3 << 2 << u"\ty"_s;
        QTest::newRow("empty between two separators") << u"a;;b"_s << u";"_s << 3 << 2 << QString();
        QTest::newRow("after empty element") << u"a;;b"_s << u";"_s << 3 << 3 << u"b"_s;
        QTest::newRow("empty after trailing separator") << u"a;"_s << u";"_s << 2 << 2 << QString();
        QTest::newRow("two-char separator") << u"a::b::c"_s << u"::"_s << 3 << 2 << u"b"_s;
        // The next search starts one character after a find, so overlapping
        // separators count twice.
        QTest::newRow("overlapping two-char separator") << u"a;;;b"_s << u";;"_s << 3 << 3 << u"b"_s;
        QTest::newRow("other separator ignored") << u"a,b;c"_s << u","_s << 2 << 2 << u"b;c"_s;
        QTest::newRow("pipe, blank kept inside")
            << u"OK|Button|Protokoll aufzeichnen |#32770"_s << u"|"_s << 4 << 3 << u"Protokoll aufzeichnen"_s;
    }
    void element()
    {
        QFETCH(QString, liste);
        QFETCH(QString, trenner);
        QFETCH(int, i);
        QTEST(AnzahlElemente(liste, trenner), "anzahl");
        QTEST(Element(liste, trenner, i), "expected");
    }

    void inListe_data()
    {
        QTest::addColumn<QString>("liste");
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("expected");

        QTest::newRow("found") << u"PHONE;FAX;"_s << u"FAX"_s << true;
        QTest::newRow("case matters") << u"PHONE;FAX;"_s << u"fax"_s << false;
        QTest::newRow("blanks around element ignored") << u"PHONE; FAX ;"_s << u"FAX"_s << true;
        QTest::newRow("part of an element is no match") << u"PHONE;FAX;"_s << u"PHON"_s << false;
        QTest::newRow("empty list") << QString() << u"FAX"_s << false;
        QTest::newRow("leading separator glued to element 1") << u";PHONE;FAX"_s << u"PHONE"_s << false;
    }
    void inListe()
    {
        QFETCH(QString, liste);
        QFETCH(QString, item);
        QTEST(InListe(liste, item, u";"_s), "expected");
    }

    // A moment is written in the user's regional form and read back for sorting
    // and filtering, so writing and reading must agree to the second.
    void lesen_data()
    {
        QTest::addColumn<QString>("text");
        // Invalid when the text cannot be read.
        QTest::addColumn<QDateTime>("expected");
        QTest::addColumn<bool>("geschrieben"); // exactly as the moment is written

        const QDateTime morgens(QDate(2024, 3, 5), QTime(7, 8, 9));
        QTest::newRow("regional with seconds") << u"05.03.2024 07:08:09"_s << morgens << true;
        QTest::newRow("blanks around") << u"  05.03.2024 07:08:09 "_s << morgens << false;
        QTest::newRow("iso") << u"2024-03-05 07:08:09"_s << morgens << false;
        QTest::newRow("date alone is midnight") << u"02.01.2025"_s << QDateTime(QDate(2025, 1, 2), QTime(0, 0)) << false;
        QTest::newRow("time alone is on day zero") << u"07:08:09"_s << QDateTime(QDate(1899, 12, 30), QTime(7, 8, 9))
                                                   << false;
        QTest::newRow("leap day, evening") << u"29.02.2024 23:59:59"_s << QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59))
                                           << true;
        QTest::newRow("empty") << QString() << QDateTime() << false;
        QTest::newRow("letters") << u"abc"_s << QDateTime() << false;
        QTest::newRow("letter in the year") << u"05.03.2O24 07:08:09"_s << QDateTime() << false;
        QTest::newRow("day and month out of range") << u"32.13.2024 12:00:00"_s << QDateTime() << false;
        QTest::newRow("no such day") << u"30.02.2024 12:00:00"_s << QDateTime() << false;
        QTest::newRow("hour out of range") << u"05.03.2024 25:00:00"_s << QDateTime() << false;
    }
    void lesen()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        QFETCH(bool, geschrieben);

        if (geschrieben)
            QCOMPARE(RegionalSettings::DateTimeText(expected), text);
        const std::optional<QDateTime> moment = RegionalSettings::ParseDateTime(text);
        QCOMPARE(moment.has_value(), expected.isValid());
        if (moment)
            QCOMPARE(*moment, expected);
    }

    // Other regional forms go through the general formats, which must still keep
    // four-digit years and the seconds.
    void rundreise_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QDateTime>("moment");

        for (const char *name : {"de_DE", "de_CH", "en_US", "en_GB", "fr_FR", "it_IT", "nl_NL", "es_ES"}) {
            QTest::addRow("%s, afternoon", name) << QString::fromLatin1(name)
                                                << QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59));
            QTest::addRow("%s, morning long ago", name) << QString::fromLatin1(name)
                                                       << QDateTime(QDate(1999, 7, 4), QTime(0, 0, 1));
        }
    }
    void rundreise()
    {
        QFETCH(QString, locale);
        QFETCH(QDateTime, moment);

        QLocale::setDefault(QLocale(locale));
        const QString text = RegionalSettings::DateTimeText(moment);
        const std::optional<QDateTime> gelesen = RegionalSettings::ParseDateTime(text);
        QVERIFY2(gelesen, qPrintable(text));
        QCOMPARE(*gelesen, moment);
        // No remains of the time zone that is left out.
        QVERIFY2(!text.contains(u'(') && text == text.trimmed(), qPrintable(text));
    }

    void schluessel_data()
    {
        QTest::addColumn<QString>("geschrieben");
        QTest::addColumn<QString>("heimat");
        QTest::addColumn<QString>("schluessel");
        const QString de = u"49"_s, at = u"43"_s, ch = u"41"_s;
        QTest::newRow("as the line delivers it") << u"0301234567"_s << de << u"0301234567"_s;
        QTest::newRow("blanks, slash, dash") << u"030 / 123 45-67"_s << de << u"0301234567"_s;
        QTest::newRow("brackets") << u"(030) 1234567"_s << de << u"0301234567"_s;
        QTest::newRow("home country with +") << u"+49 30 1234567"_s << de << u"0301234567"_s;
        QTest::newRow("home country with 00") << u"0049 30 1234567"_s << de << u"0301234567"_s;
        QTest::newRow("(0) after the country code") << u"+49 (0)89 / 12 34 56-0"_s << de << u"0891234560"_s;
        QTest::newRow("(0) after 00 and the code") << u"0049 (0)30 1234567"_s << de << u"0301234567"_s;
        QTest::newRow("trunk zero written twice") << u"+49 030 1234567"_s << de << u"0301234567"_s;
        QTest::newRow("extension stays digits") << u"030 1234567-12"_s << de << u"030123456712"_s;
        QTest::newRow("text before") << u"Tel. 030 1234567"_s << de << u"0301234567"_s;
        QTest::newRow("a word ends it") << u"030 1234567 Zentrale"_s << de << u"0301234567"_s;
        QTest::newRow("a second number is not added") << u"030 1234567 oder 1234568"_s << de << u"0301234567"_s;
        QTest::newRow("Austria at home") << u"+43 316 123456"_s << at << u"0316123456"_s;
        QTest::newRow("Austria from Germany") << u"+43 (0)316 123456"_s << de << u"0043316123456"_s;
        QTest::newRow("Switzerland at home") << u"+41 44 123 45 67"_s << ch << u"0441234567"_s;
        QTest::newRow("Germany from Switzerland") << u"+49 30 1234567"_s << ch << u"0049301234567"_s;
        QTest::newRow("abroad, dashes") << u"+1 (555) 123-4567"_s << de << u"0015551234567"_s;
        QTest::newRow("abroad with 00 stays") << u"0033 1 23 45 67 89"_s << de << u"0033123456789"_s;
        QTest::newRow("no home country known") << u"+49 30 1234567"_s << QString() << u"0049301234567"_s;
        QTest::newRow("mobile with dots") << u"0171.123.45.67"_s << de << u"01711234567"_s;
        QTest::newRow("empty") << QString() << de << QString();
        QTest::newRow("no digit") << u"keine Angabe"_s << de << QString();
        QTest::newRow("plus alone") << u"+"_s << de << QString();
        QTest::newRow("other scripts' digits do not count") << u"٠٣٠ 123"_s << de << u"123"_s;
    }

    void schluessel()
    {
        QFETCH(QString, geschrieben);
        QFETCH(QString, heimat);
        QFETCH(QString, schluessel);
        QCOMPARE(Nummernschluessel::schluessel(geschrieben, heimat), schluessel);
    }

    void heimatvorwahl()
    {
        QCOMPARE(Nummernschluessel::Heimatvorwahl(u"00000407"_s), u"49"_s);
        QCOMPARE(Nummernschluessel::Heimatvorwahl(u"00000C07"_s), u"43"_s);
        QCOMPARE(Nummernschluessel::Heimatvorwahl(u"00000807"_s), u"41"_s);
        QCOMPARE(Nummernschluessel::Heimatvorwahl(u"00000409"_s), QString());
    }

private:
    const QLocale m_vorher;
};

QTEST_GUILESS_MAIN(tst_modHaupt)
#include "tst_modHaupt.moc"
