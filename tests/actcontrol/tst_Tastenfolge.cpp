#include "actcontrol/Tastenfolge.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The key notation read into key presses, written back in a short form:
// a character as itself, a named key as <Name>, modifiers as S-, C-, A-.
namespace {

QString kurz(const std::vector<Tastendruck> &tasten)
{
    static const char *const namen[] = {"", "Enter", "Tab", "Pos1", "Ende", "Esc", "Rueck", "Entf", "Einfg",
                                        "Hoch", "Runter", "Links", "Rechts", "BildHoch", "BildRunter", "Feststell",
                                        "Num", "Rollen", "Druck", "Pause", "Hilfe", "Leeren", "Plus", "Minus", "Mal",
                                        "Durch"};
    QString text;
    for (const Tastendruck &t : tasten) {
        QString mod = QString(t.shift ? u"S-"_s : QString()) + (t.strg ? u"C-"_s : QString())
                      + (t.alt ? u"A-"_s : QString());
        QString taste;
        if (t.taste == Taste::Zeichen)
            taste = QString::fromUcs4(&t.zeichen, 1);
        else if (t.taste >= Taste::F1)
            taste = u"F"_s + QString::number(int(t.taste) - int(Taste::F1) + 1);
        else
            taste = QString::fromLatin1(namen[int(t.taste)]);
        text += (mod.isEmpty() && t.taste == Taste::Zeichen) ? taste : u"<"_s + mod + taste + u">"_s;
    }
    return text;
}

} // namespace

class tst_Tastenfolge : public QObject
{
    Q_OBJECT

private slots:
    void gueltig_data();
    void gueltig();
    void fehler_data();
    void fehler();
};

void tst_Tastenfolge::gueltig_data()
{
    QTest::addColumn<QString>("notation");
    QTest::addColumn<QString>("tasten");
    QTest::newRow("plain text") << u"Anruf 12:30"_s << u"Anruf 12:30"_s;
    QTest::newRow("umlauts and sharp s") << u"Grüße aus Köln"_s << u"Grüße aus Köln"_s;
    QTest::newRow("modifier for the next key only") << u"^hx"_s << u"<C-h>x"_s;
    QTest::newRow("alt with capital letter") << u"%D"_s << u"<A-D>"_s;
    QTest::newRow("modifiers combine") << u"+^%a"_s << u"<S-C-A-a>"_s;
    QTest::newRow("group keeps the modifier") << u"+(ab)c"_s << u"<S-a><S-b>c"_s;
    QTest::newRow("nested groups add modifiers") << u"^(a%(b)c)"_s << u"<C-a><C-A-b><C-c>"_s;
    QTest::newRow("plain parentheses group") << u"(ab)"_s << u"ab"_s;
    QTest::newRow("number with plus is shifted") << u"+49 30 1234"_s << u"<S-4>9 30 1234"_s;
    QTest::newRow("tilde is enter") << u"a~"_s << u"a<Enter>"_s;
    QTest::newRow("tab and line end are keys") << u"a\tb\n"_s << u"a\tb\n"_s;
    QTest::newRow("named keys in any case") << u"{HOME}{tab}{Esc}{ENTER}"_s << u"<Pos1><Tab><Esc><Enter>"_s;
    QTest::newRow("aliases") << u"{BS}{BACKSPACE}{BKSP}{DEL}{DELETE}{INS}"_s
                             << u"<Rueck><Rueck><Rueck><Entf><Entf><Einfg>"_s;
    QTest::newRow("arrows and pages") << u"{UP}{DOWN}{LEFT}{RIGHT}{PGUP}{PGDN}"_s
                                      << u"<Hoch><Runter><Links><Rechts><BildHoch><BildRunter>"_s;
    QTest::newRow("function keys") << u"{F1}{F12}{F16}"_s << u"<F1><F12><F16>"_s;
    QTest::newRow("repeat") << u"{TAB 3}"_s << u"<Tab><Tab><Tab>"_s;
    QTest::newRow("repeat a character") << u"{x 2}"_s << u"xx"_s;
    QTest::newRow("repeat zero times") << u"a{LEFT 0}b"_s << u"ab"_s;
    QTest::newRow("special characters in braces")
        << u"{+}{^}{%}{~}{{}{}}{(}{)}"_s << u"+^%~{}()"_s;
    QTest::newRow("modifier on a named key") << u"+{TAB}%{F4}"_s << u"<S-Tab><A-F4>"_s;
    QTest::newRow("modifier on a brace character") << u"^{+}"_s << u"<C-+>"_s;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("default macro item") << u"%y"_s << u"<A-y>"_s;
}

void tst_Tastenfolge::gueltig()
{
    QFETCH(QString, notation);
    QFETCH(QString, tasten);
    const Tastenfolge folge = Tastenfolge::lies(notation);
    QVERIFY2(folge.fehlerfrei(), qPrintable(folge.fehler));
    QCOMPARE(kurz(folge.tasten), tasten);
}

void tst_Tastenfolge::fehler_data()
{
    QTest::addColumn<QString>("notation");
    QTest::addColumn<QString>("bisDahin");
    QTest::addColumn<int>("stelle");
    QTest::addColumn<QString>("text");
    QTest::newRow("unknown key") << u"ab{HOMEX}cd"_s << u"ab"_s << 3 << u"unbekannte Taste „{HOMEX}“"_s;
    QTest::newRow("brace not closed") << u"a{TAB"_s << u"a"_s << 2 << u"„{“ ohne „}“"_s;
    QTest::newRow("lone closing brace") << u"a}b"_s << u"a"_s << 2 << u"„}“ ohne „{“"_s;
    QTest::newRow("empty braces") << u"{}"_s << QString() << 1 << u"„{“ ohne „}“"_s;
    QTest::newRow("modifier at the end") << u"ab^"_s << u"ab"_s << 3 << u"nach „+“, „^“ oder „%“ fehlt die Taste"_s;
    QTest::newRow("modifier before closing parenthesis")
        << u"+(a%)"_s << u"<S-a>"_s << 4 << u"nach „+“, „^“ oder „%“ fehlt die Taste"_s;
    QTest::newRow("group not closed") << u"x+(ab"_s << u"x<S-a><S-b>"_s << 3 << u"„(“ ohne „)“"_s;
    QTest::newRow("closing parenthesis alone") << u"a)b"_s << u"a"_s << 2 << u"„)“ ohne „(“"_s;
    QTest::newRow("count not a number") << u"{TAB x}"_s << QString() << 1 << u"ungültige Anzahl in „{TAB x}“"_s;
    QTest::newRow("count missing") << u"{TAB }"_s << QString() << 1 << u"ungültige Anzahl in „{TAB }“"_s;
    QTest::newRow("negative count") << u"{TAB -2}"_s << QString() << 1 << u"ungültige Anzahl in „{TAB -2}“"_s;
    QTest::newRow("absurd count") << u"{TAB 99999999}"_s << QString() << 1
                                  << u"zu viele Wiederholungen in „{TAB 99999999}“"_s;
    QTest::newRow("control character") << u"ab\x04" u"c"_s << u"ab"_s << 3 << u"Steuerzeichen U+0004"_s;
    QTest::newRow("NUL in braces") << u"x{"_s + QChar(0) + u"}"_s << u"x"_s << 2 << u"Steuerzeichen U+0000"_s;
    QTest::newRow("C1 control") << u"\u009b31m"_s << QString() << 1 << u"Steuerzeichen U+009B"_s;
    QTest::newRow("groups too deep") << u"a"_s + u"+("_s.repeated(40) + u"b"_s + u")"_s.repeated(40) << u"a"_s << 67
                                     << u"mehr als 32 Klammern ineinander"_s;
    QTest::newRow("too many keys in all") << u"{TAB 1000}"_s.repeated(10) + u"x"_s << u"<Tab>"_s.repeated(10000)
                                          << 101 << u"mehr als 10000 Tasten"_s;
    QTest::newRow("position counts characters, not bytes") << u"ä€{X1}"_s << u"ä€"_s << 3
                                                            << u"unbekannte Taste „{X1}“"_s;
}

void tst_Tastenfolge::fehler()
{
    QFETCH(QString, notation);
    QFETCH(QString, bisDahin);
    QFETCH(int, stelle);
    QFETCH(QString, text);
    const Tastenfolge folge = Tastenfolge::lies(notation);
    QCOMPARE(folge.fehlerStelle, stelle);
    QCOMPARE(folge.fehler, text);
    QCOMPARE(kurz(folge.tasten), bisDahin);
}

QTEST_GUILESS_MAIN(tst_Tastenfolge)
#include "tst_Tastenfolge.moc"
