// Builds the phone database Nummern.mdb from the tables in data/phonedb:
// countries, one area-code table per country, the empty free list and the
// empty caller list. Usage: rufmon-nummern-mdb SOURCE_FOLDER OUTPUT_FILE
#include "phonedb/NummernMdbAuffrischung.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/DaoTyp.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/JetSql.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// The schema version the program expects.
constexpr int SchemaVersion = 1;

struct Spalte
{
    QString name;
    int typ;
    int groesse;
};

void tabelle(Database &db, const QString &name, const QList<Spalte> &spalten, const QStringList &indexe)
{
    TableDef t(name);
    for (const Spalte &s : spalten) {
        Field f = t.CreateField(s.name, s.typ, s.groesse);
        f.setAllowZeroLength(true);
        t.Fields().Append(f);
    }
    for (const QString &feld : indexe) {
        Index i = t.CreateIndex(feld);
        i.Fields().Append(i.CreateField(feld));
        t.AppendIndex(i);
    }
    db.TableDefs().Append(t);
}

// Loads a TAB-separated file with a header row, in file order.
int lade(Database &db, const QString &datei, const QString &ziel, const QString &spalte2)
{
    QFile f(datei);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        throw JetFehler(JetFehler::DateiNichtGefunden, u"Datei '%1' nicht gefunden."_s.arg(datei));
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    in.readLine();
    const QString sql = u"INSERT INTO "_s + JetSql::quoteName(ziel) + u" (Vorwahl, "_s + spalte2 + u") VALUES (?, ?)"_s;
    int n = 0;
    while (!in.atEnd()) {
        const QString zeile = in.readLine();
        if (zeile.trimmed().isEmpty())
            continue;
        const QStringList teile = zeile.split(u'\t');
        if (teile.size() != 2)
            throw JetFehler(JetFehler::Allgemein, u"%1: Zeile '%2' hat nicht zwei Spalten."_s.arg(datei, zeile));
        db.Execute(sql, {teile[0].trimmed(), teile[1].trimmed()});
        ++n;
    }
    return n;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fputs("usage: rufmon-nummern-mdb SOURCE_FOLDER OUTPUT_FILE\n", stderr);
        return 2;
    }
    const QString quelle = args[1];
    const QString ziel = args[2];
    const QString neu = ziel + u".neu"_s;
    QFile::remove(neu);
    try {
        auto db = DBEngine::instance().CreateDatabase(neu);
        const int text = DaoTyp::dbText;
        tabelle(*db, u"Laender"_s, {{u"Vorwahl"_s, text, 10}, {u"Land"_s, text, 100}}, {u"Vorwahl"_s});
        const QList<std::pair<QString, QString>> laender = {
            {u"deutschland.tsv"_s, u"Deutschland"_s},
            {u"oesterreich.tsv"_s, u"Österreich"_s},
            {u"schweiz.tsv"_s, u"Schweiz"_s},
        };
        for (const auto &[datei, name] : laender)
            tabelle(*db, name, {{u"Vorwahl"_s, text, 10}, {u"Ort"_s, text, 100}}, {u"Vorwahl"_s});
        tabelle(*db, u"Liste"_s, {{u"Nummer"_s, text, 50}, {u"Name"_s, text, 255}, {u"Ort"_s, text, 100}},
                {u"Nummer"_s});
        tabelle(*db, u"Anrufspeicher"_s,
                {{u"UniqueID"_s, text, 50},
                 {u"Icon"_s, DaoTyp::dbInteger, 0},
                 {u"Nummer"_s, text, 50},
                 {u"Datum"_s, DaoTyp::dbDate, 0},
                 {u"Ort"_s, text, 255},
                 {u"Kontakt"_s, text, 255}},
                {});

        db->BeginTrans();
        int n = lade(*db, quelle + u"/laender.tsv"_s, u"Laender"_s, u"Land"_s);
        // The codes of other countries inside the North American plan: the
        // country search takes the longest code, so they no longer hide "1".
        n += lade(*db, quelle + u"/laender-nanp.tsv"_s, u"Laender"_s, u"Land"_s);
        for (const auto &[datei, name] : laender)
            n += lade(*db, quelle + u'/' + datei, name, u"Ort"_s);
        // The shipped tables' data version: the sources they were made from.
        // A user's copy with another version gets them anew at the next start.
        QCryptographicHash stand(QCryptographicHash::Sha1);
        for (const QString &datei : QStringList{u"laender.tsv"_s, u"laender-nanp.tsv"_s, u"deutschland.tsv"_s,
                                               u"oesterreich.tsv"_s, u"schweiz.tsv"_s}) {
            QFile f(quelle + u'/' + datei);
            if (f.open(QIODevice::ReadOnly))
                stand.addData(f.readAll());
        }
        tabelle(*db, NummernMdbAuffrischung::Versionstabelle(), {{u"Datenstand"_s, text, 64}}, {});
        db->Execute(u"INSERT INTO "_s + JetSql::quoteName(NummernMdbAuffrischung::Versionstabelle())
                        + u" (Datenstand) VALUES (?)"_s,
                    {QString::fromLatin1(stand.result().toHex())});
        db->CommitTrans();
        db->Execute(u"PRAGMA user_version = %1"_s.arg(SchemaVersion));
        db->Close();
        QFile::remove(ziel);
        if (!QFile::rename(neu, ziel))
            throw JetFehler(JetFehler::DatentraegerFehler, u"'%1' kann nicht geschrieben werden."_s.arg(ziel));
        std::printf("%s: %d Zeilen\n", qPrintable(QFileInfo(ziel).fileName()), n);
    } catch (const JetFehler &e) {
        QFile::remove(neu);
        std::fprintf(stderr, "rufmon-nummern-mdb: %ld %s\n", e.Number(), qPrintable(e.Description()));
        return 1;
    }
    return 0;
}
