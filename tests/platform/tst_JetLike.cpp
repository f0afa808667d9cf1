#include "platform/jet/JetLike.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The engine's LIKE patterns, as the program writes them for phone numbers,
// area codes and names.
class tst_JetLike : public QObject
{
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
};

void tst_JetLike::matches_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");

    QTest::newRow("digits anywhere") << u"*0891*"_s << u"+49 (0891) 2345"_s << true;
    QTest::newRow("digits not contiguous") << u"*0891*"_s << u"089 1234"_s << false;
    QTest::newRow("prefix") << u"030*"_s << u"0301234567"_s << true;
    QTest::newRow("prefix is whole text") << u"030*"_s << u"030"_s << true;
    QTest::newRow("prefix elsewhere only") << u"030*"_s << u"40301"_s << false;
    QTest::newRow("exact without star") << u"0212"_s << u"02129"_s << false;
    QTest::newRow("empty pattern only empty") << QString() << u"x"_s << false;
    QTest::newRow("question mark one char") << u"0?0"_s << u"030"_s << true;
    QTest::newRow("question mark needs a char") << u"0?0"_s << u"00"_s << false;
    QTest::newRow("hash is a digit") << u"0#0*"_s << u"0301"_s << true;
    QTest::newRow("hash refuses a letter") << u"0#0*"_s << u"0x01"_s << false;
    QTest::newRow("negated list") << u"[!0-9]*"_s << u"Meier"_s << true;
    QTest::newRow("negated list refuses") << u"[!0-9]*"_s << u"0301"_s << false;
    QTest::newRow("range") << u"[a-c]*"_s << u"Bach"_s << true;
    QTest::newRow("case is ignored") << u"*MEIER*"_s << u"Frau Meier-Schulz"_s << true;
    QTest::newRow("case is ignored beside umlauts") << u"*MEIER*"_s << u"Frau Meier-Lüdenscheid"_s << true;
    QTest::newRow("umlaut case is ignored") << u"*ÜLL*"_s << u"Müller"_s << true;
    QTest::newRow("umlaut is not its base letter") << u"*ull*"_s << u"Müller"_s << false;
    QTest::newRow("sharp s") << u"Stra?e"_s << u"Straße"_s << true;
    QTest::newRow("bracketed star is a star") << u"0301[*]"_s << u"0301*"_s << true;
    QTest::newRow("bracketed star refuses digits") << u"0301[*]"_s << u"03012"_s << false;
    QTest::newRow("bracketed bracket") << u"[[]1]"_s << u"[1]"_s << true;
    QTest::newRow("unclosed bracket is a bracket") << u"a[b"_s << u"a[b"_s << true;
    QTest::newRow("several stars backtrack") << u"*12*34*"_s << u"x1x12x3x34"_s << true;
    QTest::newRow("several stars fail") << u"*12*34*"_s << u"3412"_s << false;
    QTest::newRow("letter rule pattern") << u"*[mM][üÜ]ller*"_s << u"Hans MÜLLER"_s << true;
}

void tst_JetLike::matches()
{
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(JetLike(pattern.toStdString()).matches(text.toStdString()), expected);
}

QTEST_GUILESS_MAIN(tst_JetLike)
#include "tst_JetLike.moc"
