#include "app/modHaupt.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Contact identifiers are kept in fixed twelve-character fields and lists are
// plain separated texts; both come from stored data, so every position and
// every blank counts.
class tst_modHaupt : public QObject
{
    Q_OBJECT

private slots:
    void auffuellen12_data();
    void auffuellen12();
    void idInKlammern_data();
    void idInKlammern();
    void idAusKlammern_data();
    void idAusKlammern();
    void idRundreise_data();
    void idRundreise();
    void anzahlElemente_data();
    void anzahlElemente();
    void element_data();
    void element();
    void inListe_data();
    void inListe();
};

void tst_modHaupt::auffuellen12_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QString() << u"            "_s;
    QTest::newRow("one char") << u"7"_s << u"7           "_s;
    QTest::newRow("eleven chars") << u"ABCDEFGHIJK"_s << u"ABCDEFGHIJK "_s;
    QTest::newRow("exactly twelve") << u"ABCDEFGHIJKL"_s << u"ABCDEFGHIJKL"_s;
    QTest::newRow("thirteen stays whole") << u"ABCDEFGHIJKLM"_s << u"ABCDEFGHIJKLM"_s;
    QTest::newRow("leading blank kept") << u" 42"_s << u" 42         "_s;
    QTest::newRow("trailing blanks counted") << u"AB  "_s << u"AB          "_s;
    QTest::newRow("umlauts count as one char") << u"Müller"_s << u"Müller      "_s;
}

void tst_modHaupt::auffuellen12()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QString result = Auffuellen12(text);
    QCOMPARE(result, expected);
    QCOMPARE(result.size(), qMax<qsizetype>(12, text.size()));
}

void tst_modHaupt::idInKlammern_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QString() << u"[            ]"_s;
    QTest::newRow("short") << u"4711"_s << u"[4711        ]"_s;
    QTest::newRow("twelve") << u"000000000123"_s << u"[000000000123]"_s;
    QTest::newRow("fourteen") << u"ABCDEFGHIJKLMN"_s << u"[ABCDEFGHIJKLMN]"_s;
}

void tst_modHaupt::idInKlammern()
{
    QFETCH(QString, id);
    QFETCH(QString, expected);
    QCOMPARE(IDInKlammern(id), expected);
}

void tst_modHaupt::idAusKlammern_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("padded id") << u"[4711        ]"_s << u"4711        "_s;
    QTest::newRow("full twelve") << u"[000000000123]"_s << u"000000000123"_s;
    QTest::newRow("text after the field is cut off")
        << u"[4711        ] Meier, Hans"_s << u"4711        "_s;
    QTest::newRow("first character skipped whatever it is") << u"x123456789012345"_s
                                                            << u"123456789012"_s;
    QTest::newRow("short text padded") << u"[12"_s << u"12          "_s;
    QTest::newRow("bracket only") << u"["_s << u"            "_s;
    QTest::newRow("empty") << QString() << u"            "_s;
    QTest::newRow("long id stored whole") << u"[ABCDEFGHIJKLM]"_s << u"ABCDEFGHIJKLM"_s;
    QTest::newRow("much longer id stored whole")
        << u"[kontakt-00000000000042]"_s << u"kontakt-00000000000042"_s;
}

void tst_modHaupt::idAusKlammern()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(IDAusKlammern(text), expected);
}

void tst_modHaupt::idRundreise_data()
{
    QTest::addColumn<QString>("id");

    const QString zeichen = u"K1B2C3D4E5F6G"_s;
    for (int laenge = 0; laenge <= 13; ++laenge)
        QTest::addRow("length %d", laenge) << zeichen.left(laenge);
    QTest::newRow("id with blanks inside") << u"A B"_s;
}

void tst_modHaupt::idRundreise()
{
    QFETCH(QString, id);
    QCOMPARE(IDAusKlammern(IDInKlammern(id)), Auffuellen12(id));
}

void tst_modHaupt::anzahlElemente_data()
{
    QTest::addColumn<QString>("liste");
    QTest::addColumn<QString>("trenner");
    QTest::addColumn<int>("expected");

    QTest::newRow("empty list") << QString() << u";"_s << 0;
    QTest::newRow("three elements") << u"a;b;c"_s << u";"_s << 3;
    QTest::newRow("separator at position 1 not counted") << u";a"_s << u";"_s << 1;
    QTest::newRow("trailing separator") << u"a;"_s << u";"_s << 2;
    QTest::newRow("no separator") << u"a"_s << u";"_s << 1;
    QTest::newRow("empty element in between") << u"a;;b"_s << u";"_s << 3;
    QTest::newRow("only a separator") << u";"_s << u";"_s << 1;
    QTest::newRow("two separators only") << u";;"_s << u";"_s << 2;
    QTest::newRow("blank is an element") << u" "_s << u";"_s << 1;
    QTest::newRow("pipe separator") << u"OK|Button|Protokoll aufzeichnen |#32770"_s << u"|"_s << 4;
    QTest::newRow("other separator ignored") << u"a,b;c"_s << u","_s << 2;
    QTest::newRow("two-char separator") << u"a, b, c"_s << u", "_s << 3;
    // The next search starts one character after a find, so overlapping
    // separators count twice.
    QTest::newRow("overlapping two-char separator") << u"a;;;b"_s << u";;"_s << 3;
}

void tst_modHaupt::anzahlElemente()
{
    QFETCH(QString, liste);
    QFETCH(QString, trenner);
    QFETCH(int, expected);
    QCOMPARE(AnzahlElemente(liste, trenner), expected);
}

void tst_modHaupt::element_data()
{
    QTest::addColumn<QString>("liste");
    QTest::addColumn<QString>("trenner");
    QTest::addColumn<int>("i");
    QTest::addColumn<QString>("expected");

    QTest::newRow("first") << u"a;b;c"_s << u";"_s << 1 << u"a"_s;
    QTest::newRow("middle") << u"a;b;c"_s << u";"_s << 2 << u"b"_s;
    QTest::newRow("last") << u"a;b;c"_s << u";"_s << 3 << u"c"_s;
    QTest::newRow("past the end") << u"a;b;c"_s << u";"_s << 4 << QString();
    QTest::newRow("zero") << u"a;b;c"_s << u";"_s << 0 << QString();
    QTest::newRow("negative") << u"a;b;c"_s << u";"_s << -1 << QString();
    QTest::newRow("empty list") << QString() << u";"_s << 1 << QString();
    QTest::newRow("leading separator belongs to element 1") << u";a"_s << u";"_s << 1 << u";a"_s;
    QTest::newRow("blanks trimmed") << u"x ; y ;z"_s << u";"_s << 2 << u"y"_s;
    QTest::newRow("blanks trimmed first") << u"  x ; y ;z"_s << u";"_s << 1 << u"x"_s;
    QTest::newRow("only blanks trimmed") << u"a;\tb ;c"_s << u";"_s << 2 << u"\tb"_s;
    QTest::newRow("empty between two separators") << u"a;;b"_s << u";"_s << 2 << QString();
    QTest::newRow("after empty element") << u"a;;b"_s << u";"_s << 3 << u"b"_s;
    QTest::newRow("empty after trailing separator") << u"a;"_s << u";"_s << 2 << QString();
    QTest::newRow("blank element") << u"a;   ;b"_s << u";"_s << 2 << QString();
    QTest::newRow("two-char separator") << u"a, b, c"_s << u", "_s << 2 << u"b"_s;
    QTest::newRow("two-char separator last") << u"a, b, c"_s << u", "_s << 3 << u"c"_s;
    QTest::newRow("pipe, blank kept inside")
        << u"OK|Button|Protokoll aufzeichnen |#32770"_s << u"|"_s << 3 << u"Protokoll aufzeichnen"_s;
    QTest::newRow("pipe last") << u"OK|Button|Protokoll aufzeichnen |#32770"_s << u"|"_s << 4
                               << u"#32770"_s;
    QTest::newRow("send keys, empty element") << u"%D|%Datum|%U||%Uhrzeit"_s << u"|"_s << 4
                                              << QString();
    QTest::newRow("send keys, after empty element") << u"%D|%Datum|%U||%Uhrzeit"_s << u"|"_s << 5
                                                    << u"%Uhrzeit"_s;
}

void tst_modHaupt::element()
{
    QFETCH(QString, liste);
    QFETCH(QString, trenner);
    QFETCH(int, i);
    QFETCH(QString, expected);
    QCOMPARE(Element(liste, trenner, i), expected);
}

void tst_modHaupt::inListe_data()
{
    QTest::addColumn<QString>("liste");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("trenner");
    QTest::addColumn<bool>("expected");

    QTest::newRow("found") << u"PHONE;FAX;"_s << u"FAX"_s << u";"_s << true;
    QTest::newRow("first found") << u"PHONE;FAX;"_s << u"PHONE"_s << u";"_s << true;
    QTest::newRow("case matters") << u"PHONE;FAX;"_s << u"fax"_s << u";"_s << false;
    QTest::newRow("blanks around element ignored") << u"PHONE; FAX ;"_s << u"FAX"_s << u";"_s << true;
    QTest::newRow("part of an element is no match") << u"PHONE;FAX;"_s << u"PHON"_s << u";"_s
                                                    << false;
    QTest::newRow("longer than element") << u"PHONE;FAX;"_s << u"FAXE"_s << u";"_s << false;
    QTest::newRow("not there") << u"PHONE;FAX;"_s << u"MOBILE"_s << u";"_s << false;
    QTest::newRow("empty list") << QString() << u"FAX"_s << u";"_s << false;
    QTest::newRow("single element") << u"FAX"_s << u"FAX"_s << u";"_s << true;
    QTest::newRow("other separator") << u"PHONE,FAX"_s << u"FAX"_s << u";"_s << false;
    QTest::newRow("leading separator glued to element 1") << u";PHONE;FAX"_s << u"PHONE"_s << u";"_s
                                                          << false;
}

void tst_modHaupt::inListe()
{
    QFETCH(QString, liste);
    QFETCH(QString, item);
    QFETCH(QString, trenner);
    QFETCH(bool, expected);
    QCOMPARE(InListe(liste, item, trenner), expected);
}

QTEST_GUILESS_MAIN(tst_modHaupt)
#include "tst_modHaupt.moc"
