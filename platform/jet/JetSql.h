#pragma once

#include <QDateTime>
#include <QString>

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
};
