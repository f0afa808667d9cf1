#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Trigrammzahlen;

// Turns a statement as the program writes it for the engine into SQLite's
// dialect: double-quoted texts become string literals, Date() and Now() become
// the moment's ISO text (with "Date() - n" days folded in), "#...#" date
// literals become ISO texts, and "DELETE x FROM t" loses its column list.
// Square-bracketed names and single-quoted texts pass unchanged; LIKE keeps
// its pattern, which the connection's own LIKE understands.
class JetSql
{
public:
    // `zeitabhaengig` tells whether the result depends on `now` (Date(), Now()).
    static QString translate(const QString &statement, const QDateTime &now, bool *zeitabhaengig = nullptr);
    // The stored text form of a moment.
    static QString isoText(const QDateTime &moment);
    // A name in brackets, safe for any characters.
    static QString quoteName(const QString &name);
    // A name in double quotes, safe for any characters, also "]".
    static QString quoteIdentifier(const QString &name);

    // The SELECT of the rowids of the table's rows whose text in one of the
    // columns may hold the text, or an empty text when only reading every
    // row can tell.
    using Teiltextsuche =
        std::function<QString(const QString &tabelle, const QStringList &spalten, const QString &teiltext)>;
    // Lets a translated single-table SELECT answer "column LIKE '*text*'"
    // (or several such conditions joined by OR, all looking for one text)
    // from such a lookup: the rows it names are read by rowid and still
    // checked by the LIKE, so rows and order stay those of the scan. Anything
    // it cannot prove equal (NOT, other conditions, joins, short or patterned
    // texts) stays as it is.
    static QString mitTeiltextsuche(const QString &nativ, const Teiltextsuche &suche);
    // A text as an SQL string literal.
    static QString textLiteral(const QString &text);
    // The text a "*text*" pattern looks for, when it is at least three plain
    // ASCII characters (a bracketed letter in both cases counts as the letter).
    static std::optional<QString> Teiltext(const QString &muster);
    // The FTS5 query for a few trigrams of that text, the ones least likely
    // to be shared by many rows (by the sample's counts, where given); every
    // row it finds still has to be checked.
    static QString Trigrammabfrage(const QString &text, const Trigrammzahlen *zahlen = nullptr);
};
