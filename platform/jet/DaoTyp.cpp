#include "platform/jet/DaoTyp.h"

#include <QHash>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace DaoTyp {

int Standardgroesse(int typ)
{
    switch (typ) {
    case dbBoolean: return 1;
    case dbByte: return 1;
    case dbInteger: return 2;
    case dbLong: return 4;
    case dbCurrency: return 8;
    case dbSingle: return 4;
    case dbDouble: return 8;
    case dbDate: return 8;
    case dbText: return 255;
    default: return 0;
    }
}

namespace {

Spalte lies(const QString &deklaration);

} // namespace

Spalte ausDeklaration(const QString &deklaration)
{
    // The same few declarations come back for every row set; read each once.
    static thread_local QHash<QString, Spalte> gelesen;
    auto it = gelesen.constFind(deklaration);
    if (it != gelesen.constEnd())
        return *it;
    const Spalte s = lies(deklaration);
    if (gelesen.size() < 1024)
        gelesen.insert(deklaration, s);
    return s;
}

namespace {

Spalte lies(const QString &deklaration)
{
    const QString d = deklaration.trimmed().toUpper();
    Spalte s;
    s.leerErlaubt = true;
    const QString wort = d.section(QRegularExpression(u"[\\s(]"_s), 0, 0);
    if (wort == u"MEMO"_s || wort == u"LONGTEXT"_s || wort == u"CLOB"_s) {
        s.typ = dbMemo;
    } else if (wort == u"DATETIME"_s || wort == u"DATE"_s || wort == u"TIMESTAMP"_s) {
        s.typ = dbDate;
    } else if (wort == u"BIT"_s || wort == u"BOOLEAN"_s || wort == u"YESNO"_s || wort == u"LOGICAL"_s) {
        s.typ = dbBoolean;
    } else if (wort == u"BYTE"_s || wort == u"TINYINT"_s) {
        s.typ = dbByte;
    } else if (wort == u"SHORT"_s || wort == u"SMALLINT"_s) {
        s.typ = dbInteger;
    } else if (wort == u"LONG"_s || wort == u"INT"_s || wort == u"INTEGER"_s || wort == u"COUNTER"_s) {
        s.typ = dbLong;
    } else if (wort == u"SINGLE"_s) {
        s.typ = dbSingle;
    } else if (wort == u"DOUBLE"_s || wort == u"REAL"_s || wort == u"FLOAT"_s || wort == u"NUMERIC"_s
               || wort == u"NUMBER"_s) {
        s.typ = dbDouble;
    } else if (wort == u"CURRENCY"_s || wort == u"MONEY"_s) {
        s.typ = dbCurrency;
    } else if (wort == u"BLOB"_s || wort == u"LONGBINARY"_s) {
        s.typ = dbLongBinary;
    } else {
        s.typ = dbText;
    }
    s.groesse = Standardgroesse(s.typ);
    if (s.typ == dbText) {
        static const QRegularExpression laenge(u"\\(\\s*(\\d+)\\s*\\)"_s);
        const QRegularExpressionMatch m = laenge.match(d);
        if (m.hasMatch())
            s.groesse = m.captured(1).toInt();
    }
    if (s.typ == dbText || s.typ == dbMemo)
        s.leerErlaubt = d.contains(u"ZEROLENGTH"_s) || !d.contains(u"NONEMPTY"_s);
    return s;
}

} // namespace

QString Deklaration(int typ, int groesse, bool leerErlaubt)
{
    switch (typ) {
    case dbBoolean: return u"BIT"_s;
    case dbByte: return u"BYTE"_s;
    case dbInteger: return u"SHORT"_s;
    case dbLong: return u"LONG"_s;
    case dbCurrency: return u"CURRENCY"_s;
    case dbSingle: return u"SINGLE"_s;
    case dbDouble: return u"DOUBLE"_s;
    // Dates are kept as ISO text; the TEXT word keeps SQLite from reading them as numbers.
    case dbDate: return u"DATETIME TEXT"_s;
    case dbBinary:
    case dbLongBinary: return u"LONGBINARY BLOB"_s;
    case dbMemo: return leerErlaubt ? u"LONGTEXT ZEROLENGTH"_s : u"LONGTEXT NONEMPTY"_s;
    default:
        // SQLite wants the size after all words of a type name.
        return u"TEXT %1(%2)"_s.arg(leerErlaubt ? u"ZEROLENGTH"_s : u"NONEMPTY"_s).arg(groesse > 0 ? groesse : 255);
    }
}

} // namespace DaoTyp
