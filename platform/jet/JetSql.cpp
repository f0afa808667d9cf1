#include "platform/jet/JetSql.h"

#include "platform/jet/Trigrammzahlen.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cstdlib>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

bool isIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

void skipBlanks(const QString &s, qsizetype &i)
{
    while (i < s.size() && s[i].isSpace())
        ++i;
}

QString stringLiteral(const QString &text)
{
    QString out = text;
    out.replace(u"'"_s, u"''"_s);
    return u'\'' + out + u'\'';
}

// After Date() or Now(): an optional "+ n" or "- n" (n possibly signed) in days.
double foldDays(const QString &s, qsizetype &i)
{
    qsizetype k = i;
    skipBlanks(s, k);
    if (k >= s.size() || (s[k] != u'+' && s[k] != u'-'))
        return 0;
    const double op = s[k] == u'-' ? -1 : 1;
    ++k;
    skipBlanks(s, k);
    double sign = 1;
    if (k < s.size() && (s[k] == u'+' || s[k] == u'-')) {
        sign = s[k] == u'-' ? -1 : 1;
        ++k;
        skipBlanks(s, k);
    }
    const qsizetype start = k;
    while (k < s.size() && (s[k].isDigit() || s[k] == u'.'))
        ++k;
    if (k == start)
        return 0;
    // A name or call right after the number means this is no plain day count.
    if (k < s.size() && (isIdentChar(s[k]) || s[k] == u'('))
        return 0;
    bool ok = false;
    const double days = s.mid(start, k - start).toDouble(&ok);
    if (!ok)
        return 0;
    i = k;
    return op * sign * days;
}

QString momentLiteral(const QDateTime &base, double days)
{
    const qint64 ms = static_cast<qint64>(days * 86'400'000.0);
    return stringLiteral(JetSql::isoText(base.addMSecs(ms)));
}

} // namespace

QString JetSql::isoText(const QDateTime &moment)
{
    return moment.toString(u"yyyy-MM-dd HH:mm:ss"_s);
}

QString JetSql::quoteName(const QString &name)
{
    QString inner = name;
    inner.replace(u"]"_s, u"]]"_s);
    return u'[' + inner + u']';
}

QString JetSql::quoteIdentifier(const QString &name)
{
    QString inner = name;
    inner.replace(u"\""_s, u"\"\""_s);
    return u'"' + inner + u'"';
}

QString JetSql::translate(const QString &s, const QDateTime &now, bool *zeitabhaengig)
{
    if (zeitabhaengig)
        *zeitabhaengig = false;
    QString out;
    out.reserve(s.size() + 16);
    qsizetype i = 0;
    bool first = true;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c == u'\'') {
            const qsizetype start = i++;
            while (i < s.size()) {
                if (s[i] == u'\'') {
                    if (i + 1 < s.size() && s[i + 1] == u'\'') {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            out += QStringView(s).mid(start, i - start);
        } else if (c == u'"') {
            QString text;
            ++i;
            while (i < s.size()) {
                if (s[i] == u'"') {
                    if (i + 1 < s.size() && s[i + 1] == u'"') {
                        text += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += s[i++];
            }
            out += stringLiteral(text);
        } else if (c == u'[') {
            const qsizetype close = s.indexOf(u']', i);
            const qsizetype end = close < 0 ? s.size() : close + 1;
            out += QStringView(s).mid(i, end - i);
            i = end;
        } else if (c == u'#') {
            const qsizetype close = s.indexOf(u'#', i + 1);
            QDateTime moment;
            if (close > i) {
                const QString text = s.mid(i + 1, close - i - 1).trimmed();
                for (const QString &format : {u"yyyy-MM-dd HH:mm:ss"_s, u"yyyy-MM-dd"_s,
                                              u"M/d/yyyy H:mm:ss"_s, u"M/d/yyyy"_s}) {
                    moment = QLocale::c().toDateTime(text, format);
                    if (moment.isValid())
                        break;
                }
            }
            if (moment.isValid()) {
                out += stringLiteral(isoText(moment));
                i = close + 1;
            } else {
                out += c;
                ++i;
            }
        } else if (isIdentChar(c)) {
            const qsizetype start = i;
            while (i < s.size() && isIdentChar(s[i]))
                ++i;
            const QString word = s.mid(start, i - start);
            qsizetype k = i;
            skipBlanks(s, k);
            const bool call = k + 1 < s.size() && s[k] == u'(' ;
            qsizetype afterCall = k;
            bool emptyCall = false;
            if (call) {
                afterCall = k + 1;
                skipBlanks(s, afterCall);
                emptyCall = afterCall < s.size() && s[afterCall] == u')';
            }
            if (emptyCall && zeitabhaengig
                && (word.compare(u"Date"_s, Qt::CaseInsensitive) == 0 || word.compare(u"Now"_s, Qt::CaseInsensitive) == 0))
                *zeitabhaengig = true;
            if (emptyCall && word.compare(u"Date"_s, Qt::CaseInsensitive) == 0) {
                i = afterCall + 1;
                const QDateTime midnight(now.date(), QTime(0, 0));
                out += momentLiteral(midnight, foldDays(s, i));
            } else if (emptyCall && word.compare(u"Now"_s, Qt::CaseInsensitive) == 0) {
                i = afterCall + 1;
                out += momentLiteral(now, foldDays(s, i));
            } else if (first && word.compare(u"DELETE"_s, Qt::CaseInsensitive) == 0) {
                // Jet names what to delete; SQLite deletes whole rows.
                static const QRegularExpression fromWort(u"\\bFROM\\b"_s,
                                                         QRegularExpression::CaseInsensitiveOption);
                const qsizetype from = s.indexOf(fromWort, i);
                out += u"DELETE "_s;
                if (from >= 0)
                    i = from;
            } else {
                out += word;
            }
            first = false;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

// Trigram lookups: the translated statement is read as tokens, its WHERE
// clause as a tree of LIKE conditions joined by AND and OR, and rewritten only
// when every part of it is understood.
namespace {

struct Token
{
    enum Art { Text, Name, Wort, Zeichen } art;
    qsizetype von;
    qsizetype bis;
};

// False for an unterminated text or name: such a statement is left alone.
bool zerlegen(const QString &s, std::vector<Token> &tokens)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        const qsizetype von = i;
        if (c == u'\'' || c == u'"' || c == u'`') {
            ++i;
            bool zu = false;
            while (i < n) {
                if (s[i] == c) {
                    if (i + 1 < n && s[i + 1] == c) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    zu = true;
                    break;
                }
                ++i;
            }
            if (!zu)
                return false;
            tokens.push_back({c == u'\'' ? Token::Text : Token::Name, von, i});
        } else if (c == u'[') {
            const qsizetype close = s.indexOf(u']', i);
            if (close < 0)
                return false;
            i = close + 1;
            tokens.push_back({Token::Name, von, i});
        } else if (isIdentChar(c)) {
            while (i < n && isIdentChar(s[i]))
                ++i;
            tokens.push_back({Token::Wort, von, i});
        } else {
            ++i;
            tokens.push_back({Token::Zeichen, von, i});
        }
    }
    return true;
}

// SQLite compares names with ASCII letters folded, nothing else.
bool gleicherName(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode();
        char16_t y = b[i].unicode();
        if (x >= u'A' && x <= u'Z')
            x += 32;
        if (y >= u'A' && y <= u'Z')
            y += 32;
        if (x != y)
            return false;
    }
    return true;
}

class Leser
{
public:
    struct Knoten
    {
        enum Art { Bedingung, Klammer, Und, Oder } art;
        qsizetype von = 0; // characters of the statement
        qsizetype bis = 0;
        std::vector<Knoten> kinder;
        QString tabelle; // the qualifier, if any
        QString spalte;
        QString muster;
    };

    Leser(const QString &s, const std::vector<Token> &t, std::size_t von, std::size_t bis)
        : m_s(s)
        , m_t(t)
        , m_pos(von)
        , m_ende(bis)
    {
    }

    bool lesen(Knoten &k)
    {
        return oder(k, 0) && m_pos == m_ende;
    }

    QString wert(const Token &t) const
    {
        const QString roh = m_s.mid(t.von, t.bis - t.von);
        if (t.art == Token::Wort || t.art == Token::Zeichen)
            return roh;
        const QString innen = roh.mid(1, roh.size() - 2);
        if (roh.startsWith(u'['))
            return innen;
        QString doppelt(2, roh[0]);
        QString einfach(1, roh[0]);
        return QString(innen).replace(doppelt, einfach);
    }

private:
    bool istWort(std::size_t i, QStringView wort) const
    {
        return i < m_ende && m_t[i].art == Token::Wort
            && QStringView(m_s).mid(m_t[i].von, m_t[i].bis - m_t[i].von).compare(wort, Qt::CaseInsensitive) == 0;
    }
    bool istZeichen(std::size_t i, QChar c) const
    {
        return i < m_ende && m_t[i].art == Token::Zeichen && m_s[m_t[i].von] == c;
    }

    bool oder(Knoten &k, int tiefe)
    {
        Knoten erstes;
        if (!und(erstes, tiefe))
            return false;
        if (!istWort(m_pos, u"OR")) {
            k = std::move(erstes);
            return true;
        }
        k = Knoten{Knoten::Oder, erstes.von, erstes.bis, {}, {}, {}, {}};
        k.kinder.push_back(std::move(erstes));
        while (istWort(m_pos, u"OR")) {
            ++m_pos;
            Knoten weiter;
            if (!und(weiter, tiefe))
                return false;
            k.bis = weiter.bis;
            k.kinder.push_back(std::move(weiter));
        }
        return true;
    }

    bool und(Knoten &k, int tiefe)
    {
        Knoten erstes;
        if (!primaer(erstes, tiefe))
            return false;
        if (!istWort(m_pos, u"AND")) {
            k = std::move(erstes);
            return true;
        }
        k = Knoten{Knoten::Und, erstes.von, erstes.bis, {}, {}, {}, {}};
        k.kinder.push_back(std::move(erstes));
        while (istWort(m_pos, u"AND")) {
            ++m_pos;
            Knoten weiter;
            if (!primaer(weiter, tiefe))
                return false;
            k.bis = weiter.bis;
            k.kinder.push_back(std::move(weiter));
        }
        return true;
    }

    bool name(std::size_t i) const
    {
        if (i >= m_ende)
            return false;
        if (m_t[i].art == Token::Name)
            return true;
        // A bare word that is a keyword or a number is no column.
        return m_t[i].art == Token::Wort && !m_s[m_t[i].von].isDigit() && !istWort(i, u"NOT")
            && !istWort(i, u"AND") && !istWort(i, u"OR") && !istWort(i, u"LIKE");
    }

    bool primaer(Knoten &k, int tiefe)
    {
        if (tiefe > 64 || m_pos >= m_ende)
            return false;
        if (istZeichen(m_pos, u'(')) {
            const qsizetype von = m_t[m_pos].von;
            ++m_pos;
            Knoten innen;
            if (!oder(innen, tiefe + 1) || !istZeichen(m_pos, u')'))
                return false;
            k = Knoten{Knoten::Klammer, von, m_t[m_pos].bis, {}, {}, {}, {}};
            k.kinder.push_back(std::move(innen));
            ++m_pos;
            return true;
        }
        // column LIKE 'pattern', the column possibly with its table
        std::size_t i = m_pos;
        if (!name(i))
            return false;
        k = Knoten{Knoten::Bedingung, m_t[i].von, 0, {}, {}, wert(m_t[i]), {}};
        if (istZeichen(i + 1, u'.')) {
            if (!name(i + 2))
                return false;
            k.tabelle = k.spalte;
            k.spalte = wert(m_t[i + 2]);
            i += 2;
        }
        if (!istWort(i + 1, u"LIKE") || i + 2 >= m_ende || m_t[i + 2].art != Token::Text)
            return false;
        k.muster = wert(m_t[i + 2]);
        k.bis = m_t[i + 2].bis;
        m_pos = i + 3;
        return true;
    }

    const QString &m_s;
    const std::vector<Token> &m_t;
    std::size_t m_pos;
    std::size_t m_ende;
};

class Umschreiber
{
public:
    Umschreiber(const QString &s, const QString &tabelle, const QString &zeile, const JetSql::Teiltextsuche &suche)
        : m_s(s)
        , m_tabelle(tabelle)
        , m_zeile(zeile)
        , m_suche(suche)
    {
    }

    QString text(const Leser::Knoten &k) const
    {
        switch (k.art) {
        case Leser::Knoten::Bedingung: {
            const std::optional<QString> gesucht = teiltext(k);
            const QString auswahl = gesucht ? m_suche(m_tabelle, {k.spalte}, *gesucht) : QString();
            if (auswahl.isEmpty())
                return original(k);
            return u'(' + m_zeile + u" IN ("_s + auswahl + u") AND "_s + original(k) + u')';
        }
        case Leser::Knoten::Klammer:
            return u'(' + text(k.kinder.front()) + u')';
        case Leser::Knoten::Und: {
            QStringList teile;
            for (const auto &kind : k.kinder)
                teile.append(text(kind));
            return teile.join(u" AND "_s);
        }
        case Leser::Knoten::Oder: {
            // One lookup for all alternatives: separate ones would let SQLite
            // return the rows of each in turn, no longer in table order. All
            // looking for one text, the columns go to the lookup together.
            QStringList spalten;
            std::vector<QString> texte;
            for (const auto &kind : k.kinder) {
                const std::optional<QString> gesucht =
                    kind.art == Leser::Knoten::Bedingung ? teiltext(kind) : std::nullopt;
                if (!gesucht)
                    return original(k);
                spalten.append(kind.spalte);
                texte.push_back(*gesucht);
            }
            QStringList auswahlen;
            if (std::all_of(texte.begin(), texte.end(), [&](const QString &t) { return t == texte.front(); })) {
                auswahlen.append(m_suche(m_tabelle, spalten, texte.front()));
            } else {
                for (std::size_t i = 0; i < texte.size(); ++i)
                    auswahlen.append(m_suche(m_tabelle, {spalten[qsizetype(i)]}, texte[i]));
            }
            if (auswahlen.contains(QString()))
                return original(k);
            return u'(' + m_zeile + u" IN ("_s + auswahlen.join(u" UNION "_s) + u") AND ("_s + original(k) + u"))"_s;
        }
        }
        return original(k);
    }

private:
    QString original(const Leser::Knoten &k) const { return m_s.mid(k.von, k.bis - k.von); }

    // The text a condition on this statement's table looks for.
    std::optional<QString> teiltext(const Leser::Knoten &k) const
    {
        if (!k.tabelle.isNull() && !gleicherName(k.tabelle, m_tabelle))
            return std::nullopt;
        return JetSql::Teiltext(k.muster);
    }

    const QString &m_s;
    QString m_tabelle;
    QString m_zeile;
    const JetSql::Teiltextsuche &m_suche;
};

} // namespace

std::optional<QString> JetSql::Teiltext(const QString &muster)
{
    if (muster.size() < 2 || !muster.startsWith(u'*') || !muster.endsWith(u'*'))
        return std::nullopt;
    const QStringView innen = QStringView(muster).mid(1, muster.size() - 2);
    QString text;
    for (qsizetype i = 0; i < innen.size(); ++i) {
        const char16_t c = innen[i].unicode();
        if (c == u'[') {
            // "[aA]": a letter written for either case; trigrams ignore case anyway.
            if (i + 3 >= innen.size() || innen[i + 3] != u']')
                return std::nullopt;
            const char16_t a = innen[i + 1].unicode();
            const char16_t b = innen[i + 2].unicode();
            const auto klein = [](char16_t x) -> char16_t { return (x >= u'A' && x <= u'Z') ? x + 32 : x; };
            if (klein(a) < u'a' || klein(a) > u'z' || klein(a) != klein(b))
                return std::nullopt;
            text += QChar(klein(a));
            i += 3;
            continue;
        }
        if (c < 0x20 || c > 0x7E || c == u'*' || c == u'?' || c == u'#' || c == u']' || c == u'\'')
            return std::nullopt;
        text += QChar(c);
    }
    if (text.size() < 3)
        return std::nullopt;
    return text;
}

QString JetSql::Trigrammabfrage(const QString &text, const Trigrammzahlen *zahlen)
{
    if (text.size() < 3)
        return {};
    // Numbers share their beginnings (country and area codes, mobile
    // prefixes), hardly ever their ends: a trigram from the front lists a
    // good part of all rows, and reading that list costs more than the rest
    // of the search. So the trigrams side by side from the end come first,
    // then the others from the end. Where a sample of the rows is known, a
    // trigram found in one of fifty of its texts or more goes last: a
    // number's end can be common too. Two trigrams that do not overlap
    // leave a handful of rows among a million, each checked against its
    // text anyway; overlapping ones come in the same rows together. A
    // trigram that comes again adds nothing.
    const QStringView t(text);
    std::vector<qsizetype> vorrang;
    for (qsizetype p = t.size() - 3; p >= 0; p -= 3)
        vorrang.push_back(p);
    for (qsizetype p = t.size() - 3; p >= 0; --p) {
        if ((t.size() - 3 - p) % 3 != 0)
            vorrang.push_back(p);
    }
    if (zahlen && zahlen->texte() > 0) {
        const auto anzahl = [&](qsizetype p) { return zahlen->anzahl(t.mid(p, 3)); };
        const auto haeufig = [&](qsizetype p) { return qint64(anzahl(p)) * 50 >= zahlen->texte(); };
        const auto mitte = std::stable_partition(vorrang.begin(), vorrang.end(),
                                                 [&](qsizetype p) { return !haeufig(p); });
        std::stable_sort(mitte, vorrang.end(), [&](qsizetype a, qsizetype b) { return anzahl(a) < anzahl(b); });
    }
    std::vector<qsizetype> stellen;
    const auto gewaehlt = [&](qsizetype p) {
        return std::any_of(stellen.begin(), stellen.end(), [&](qsizetype q) { return t.mid(q, 3) == t.mid(p, 3); });
    };
    const auto ueberlappt = [&](qsizetype p) {
        return std::any_of(stellen.begin(), stellen.end(), [&](qsizetype q) { return std::abs(p - q) < 3; });
    };
    for (const bool getrennt : {true, false}) {
        for (qsizetype p : vorrang) {
            if (stellen.size() == 2)
                break;
            if (!gewaehlt(p) && !(getrennt && ueberlappt(p)))
                stellen.push_back(p);
        }
    }
    std::sort(stellen.begin(), stellen.end());
    QStringList teile;
    for (qsizetype p : stellen) {
        QString tri = text.mid(p, 3);
        tri.replace(u"\""_s, u"\"\""_s);
        teile.append(u'"' + tri + u'"');
    }
    return teile.join(u" AND "_s);
}

QString JetSql::textLiteral(const QString &text)
{
    return stringLiteral(text);
}

QString JetSql::mitTeiltextsuche(const QString &nativ, const Teiltextsuche &suche)
{
    std::vector<Token> t;
    if (!suche || !zerlegen(nativ, t) || t.empty())
        return nativ;
    const auto wort = [&](std::size_t i, QStringView w) {
        return i < t.size() && t[i].art == Token::Wort
            && QStringView(nativ).mid(t[i].von, t[i].bis - t[i].von).compare(w, Qt::CaseInsensitive) == 0;
    };
    if (!wort(0, u"SELECT"))
        return nativ;
    // One SELECT from one table: no subqueries, joins or compounds.
    std::size_t from = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (i > 0 && wort(i, u"SELECT"))
            return nativ;
        if (wort(i, u"JOIN") || wort(i, u"UNION") || wort(i, u"INTERSECT") || wort(i, u"EXCEPT"))
            return nativ;
        if (wort(i, u"FROM")) {
            if (from != 0)
                return nativ;
            from = i;
        }
    }
    const std::size_t tab = from + 1;
    if (from == 0 || tab >= t.size() || (t[tab].art != Token::Name && t[tab].art != Token::Wort)
        || !wort(tab + 1, u"WHERE"))
        return nativ;
    const std::size_t von = tab + 2;
    std::size_t bis = von;
    int tiefe = 0;
    while (bis < t.size()) {
        const QChar c = nativ[t[bis].von];
        if (t[bis].art == Token::Zeichen && c == u'(')
            ++tiefe;
        else if (t[bis].art == Token::Zeichen && c == u')')
            --tiefe;
        else if (tiefe == 0
                 && ((t[bis].art == Token::Zeichen && c == u';') || wort(bis, u"ORDER") || wort(bis, u"GROUP")
                     || wort(bis, u"LIMIT") || wort(bis, u"HAVING") || wort(bis, u"WINDOW")))
            break;
        ++bis;
    }
    if (von >= bis)
        return nativ;

    Leser leser(nativ, t, von, bis);
    Leser::Knoten baum;
    if (!leser.lesen(baum))
        return nativ;
    const QString tabelle = leser.wert(t[tab]);
    const QString zeile = nativ.mid(t[tab].von, t[tab].bis - t[tab].von) + u".rowid"_s;
    const Umschreiber umschreiber(nativ, tabelle, zeile, suche);
    const QString neu = umschreiber.text(baum);
    return nativ.left(baum.von) + neu + nativ.mid(baum.bis);
}
