#include "actcontrol/Tastenfolge.h"

#include <QHash>

#include <algorithm>
#include <string>

using namespace Qt::StringLiterals;

namespace {

// More repeats than anyone types by hand are a slip, not an intent; so is a
// macro that would keep the keyboard busy for minutes.
constexpr int HoechsteAnzahl = 1000;
constexpr std::size_t HoechsteTastenzahl = 10000;
// Groups are read recursively; a macro of thousands of "(" must not
// overflow the stack.
constexpr int HoechsteTiefe = 32;

const QHash<QString, Taste> &namen()
{
    static const QHash<QString, Taste> tabelle = [] {
        QHash<QString, Taste> t{
            {u"ENTER"_s, Taste::Enter},        {u"TAB"_s, Taste::Tab},
            {u"HOME"_s, Taste::Pos1},          {u"END"_s, Taste::Ende},
            {u"ESC"_s, Taste::Esc},            {u"ESCAPE"_s, Taste::Esc},
            {u"BACKSPACE"_s, Taste::Rueckschritt}, {u"BS"_s, Taste::Rueckschritt},
            {u"BKSP"_s, Taste::Rueckschritt},  {u"DELETE"_s, Taste::Entf},
            {u"DEL"_s, Taste::Entf},           {u"INSERT"_s, Taste::Einfg},
            {u"INS"_s, Taste::Einfg},          {u"UP"_s, Taste::Hoch},
            {u"DOWN"_s, Taste::Runter},        {u"LEFT"_s, Taste::Links},
            {u"RIGHT"_s, Taste::Rechts},       {u"PGUP"_s, Taste::BildHoch},
            {u"PGDN"_s, Taste::BildRunter},    {u"CAPSLOCK"_s, Taste::Feststell},
            {u"NUMLOCK"_s, Taste::Num},        {u"SCROLLLOCK"_s, Taste::Rollen},
            {u"PRTSC"_s, Taste::Druck},        {u"BREAK"_s, Taste::Pause},
            {u"HELP"_s, Taste::Hilfe},         {u"CLEAR"_s, Taste::Leeren},
            {u"ADD"_s, Taste::Plus},           {u"SUBTRACT"_s, Taste::Minus},
            {u"MULTIPLY"_s, Taste::Mal},       {u"DIVIDE"_s, Taste::Durch},
        };
        for (int n = 1; n <= 16; ++n)
            t.insert(u"F"_s + QString::number(n), Taste(int(Taste::F1) + n - 1));
        return t;
    }();
    return tabelle;
}

// A control character has no key; tab and line ends have theirs.
bool ohneTaste(char32_t z)
{
    return (z < 0x20 && z != U'\t' && z != U'\r' && z != U'\n') || (z >= 0x7f && z <= 0x9f);
}

QString steuerzeichen(char32_t z)
{
    return u"Steuerzeichen U+"_s + QString::number(uint(z), 16).rightJustified(4, u'0').toUpper();
}

struct Umschalter
{
    bool shift = false;
    bool strg = false;
    bool alt = false;
};

class Leser
{
public:
    explicit Leser(const QString &text)
        : m_text(text.toStdU32String())
    {
    }

    Tastenfolge lies()
    {
        folge(0, {});
        return std::move(m_ergebnis);
    }

private:
    bool amEnde() const { return m_pos >= m_text.size() || !m_ergebnis.fehlerfrei(); }

    void fehler(std::size_t stelle, const QString &text)
    {
        if (!m_ergebnis.fehlerfrei())
            return;
        m_ergebnis.fehlerStelle = int(stelle) + 1;
        m_ergebnis.fehler = text;
    }

    void tippe(Taste taste, char32_t zeichen, Umschalter u, int anzahl = 1, std::size_t stelle = 0)
    {
        if (m_ergebnis.tasten.size() + std::size_t(anzahl) > HoechsteTastenzahl) {
            fehler(stelle, u"mehr als %1 Tasten"_s.arg(HoechsteTastenzahl));
            return;
        }
        for (int i = 0; i < anzahl; ++i)
            m_ergebnis.tasten.push_back({taste, zeichen, u.shift, u.strg, u.alt, int(stelle) + 1});
    }

    // Keys up to the end, or up to the ")" that closes a group.
    void folge(int tiefe, Umschalter u)
    {
        while (!amEnde()) {
            const char32_t z = m_text[m_pos];
            if (z == U')') {
                if (tiefe > 0)
                    return;
                fehler(m_pos, u"„)“ ohne „(“"_s);
                return;
            }
            einheit(tiefe, u);
        }
    }

    // One key with its modifiers, or a group.
    void einheit(int tiefe, Umschalter u)
    {
        const std::size_t anfang = m_pos;
        bool umgeschaltet = false;
        while (m_pos < m_text.size()) {
            const char32_t z = m_text[m_pos];
            if (z == U'+')
                u.shift = true;
            else if (z == U'^')
                u.strg = true;
            else if (z == U'%')
                u.alt = true;
            else
                break;
            umgeschaltet = true;
            ++m_pos;
        }
        if (m_pos >= m_text.size() || (umgeschaltet && m_text[m_pos] == U')')) {
            fehler(anfang, u"nach „+“, „^“ oder „%“ fehlt die Taste"_s);
            return;
        }
        const char32_t z = m_text[m_pos];
        if (z == U'(') {
            if (tiefe >= HoechsteTiefe) {
                fehler(m_pos, u"mehr als %1 Klammern ineinander"_s.arg(HoechsteTiefe));
                return;
            }
            const std::size_t klammer = m_pos++;
            folge(tiefe + 1, u);
            if (!m_ergebnis.fehlerfrei())
                return;
            if (m_pos >= m_text.size()) {
                fehler(klammer, u"„(“ ohne „)“"_s);
                return;
            }
            ++m_pos; // the ")"
            return;
        }
        if (z == U'{') {
            benannt(u);
            return;
        }
        if (z == U'}') {
            fehler(m_pos, u"„}“ ohne „{“"_s);
            return;
        }
        if (ohneTaste(z)) {
            fehler(m_pos, steuerzeichen(z));
            return;
        }
        ++m_pos;
        if (z == U'~')
            tippe(Taste::Enter, 0, u, 1, m_pos - 1);
        else
            tippe(Taste::Zeichen, z, u, 1, m_pos - 1);
    }

    // "{NAME}" or "{NAME n}"; the first character after "{" may itself be
    // "}", so that "{}}" is the brace.
    void benannt(Umschalter u)
    {
        const std::size_t anfang = m_pos;
        std::size_t ende = anfang + 2;
        while (ende < m_text.size() && m_text[ende] != U'}')
            ++ende;
        if (ende >= m_text.size()) {
            fehler(anfang, u"„{“ ohne „}“"_s);
            return;
        }
        const QString inhalt = QString::fromStdU32String(m_text.substr(anfang + 1, ende - anfang - 1));
        const QString ganz = QString::fromStdU32String(m_text.substr(anfang, ende - anfang + 1));
        m_pos = ende + 1;

        QString name = inhalt;
        int anzahl = 1;
        const qsizetype blank = inhalt.lastIndexOf(u' ');
        if (blank > 0) {
            bool zahl = false;
            anzahl = inhalt.mid(blank + 1).toInt(&zahl);
            const QString ziffern = inhalt.mid(blank + 1);
            if (!zahl || ziffern.isEmpty() || !std::all_of(ziffern.begin(), ziffern.end(), [](QChar c) {
                    return c >= u'0' && c <= u'9';
                })) {
                fehler(anfang, u"ungültige Anzahl in „"_s + ganz + u"“"_s);
                return;
            }
            if (anzahl > HoechsteAnzahl) {
                fehler(anfang, u"zu viele Wiederholungen in „"_s + ganz + u"“"_s);
                return;
            }
            name = inhalt.left(blank);
        }
        const std::u32string zeichen = name.toStdU32String();
        if (zeichen.size() == 1) {
            if (ohneTaste(zeichen.front())) {
                fehler(anfang, steuerzeichen(zeichen.front()));
                return;
            }
            tippe(Taste::Zeichen, zeichen.front(), u, anzahl, anfang);
            return;
        }
        const auto it = namen().constFind(name.toUpper());
        if (it == namen().constEnd()) {
            fehler(anfang, u"unbekannte Taste „"_s + ganz + u"“"_s);
            return;
        }
        tippe(*it, 0, u, anzahl, anfang);
    }

    std::u32string m_text;
    std::size_t m_pos = 0;
    Tastenfolge m_ergebnis;
};

} // namespace

Tastenfolge Tastenfolge::lies(const QString &text)
{
    return Leser(text).lies();
}
