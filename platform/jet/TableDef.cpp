#include "platform/jet/TableDef.h"

#include "platform/jet/DaoTyp.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/JetSql.h"
#include "platform/jet/Verbindung.h"

#include <QFileInfo>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

QString spaltentext(sqlite3_stmt *stmt, int i)
{
    const unsigned char *t = sqlite3_column_text(stmt, i);
    return t ? QString::fromUtf8(reinterpret_cast<const char *>(t)) : QString();
}

[[noreturn]] void nichtGefunden()
{
    throw JetFehler(JetFehler::ElementNichtGefunden, u"Element in dieser Auflistung nicht gefunden."_s);
}

} // namespace

Index::Index(QString name)
    : m_name(std::move(name))
{
}

TableDef::TableDef(QString name)
    : m_name(std::move(name))
{
}

bool TableDef::isSystem() const
{
    return m_name.startsWith(u"MSys"_s, Qt::CaseInsensitive) || m_name.startsWith(u"sqlite_"_s);
}

Field TableDef::CreateField(const QString &name, int type, int size) const
{
    const int groesse = size > 0 ? size : DaoTyp::Standardgroesse(type);
    // New text fields refuse the empty string unless told otherwise.
    return Field(name, type, groesse, false);
}

void TableDef::anbinden(std::shared_ptr<Verbindung> verbindung, const QDateTime &dateCreated)
{
    m_verbindung = std::move(verbindung);
    m_dateCreated = dateCreated;
}

void TableDef::AppendIndex(const Index &index)
{
    if (m_verbindung)
        indexAnlegen(index);
    m_indexes.push_back(index);
}

void TableDef::AppendField(const Field &feld)
{
    if (m_fields.indexOf(feld.Name()) >= 0)
        throw JetFehler(JetFehler::Allgemein, u"Das Feld '%1' gibt es in '%2' schon."_s.arg(feld.Name(), m_name));
    if (m_verbindung)
        m_verbindung->ausfuehrenNativ(u"ALTER TABLE "_s + JetSql::quoteName(m_name) + u" ADD COLUMN "_s
                                      + JetSql::quoteName(feld.Name()) + u' '
                                      + DaoTyp::Deklaration(feld.Type(), feld.Size(), feld.AllowZeroLength()));
    m_fields.Append(feld);
}

void TableDef::indexAnlegen(const Index &index)
{
    if (index.Fields().Count() == 0)
        throw JetFehler(JetFehler::Allgemein, u"Der Index '%1' hat keine Felder."_s.arg(index.Name()));
    QString spalten;
    QString ohneNull;
    for (const Field &f : index.Fields()) {
        if (!spalten.isEmpty()) {
            spalten += u',';
            ohneNull += u" AND "_s;
        }
        spalten += JetSql::quoteName(f.Name());
        ohneNull += JetSql::quoteName(f.Name()) + u" IS NOT NULL"_s;
    }
    // A column indexed on its own is one that is searched: its trigrams let
    // "LIKE '*digits*'" find rows without reading all of them.
    const bool einzeln = !index.Primary && index.Fields().Count() == 1;
    if (einzeln && index.Teilwortsuche && !index.Unique) {
        m_verbindung->trigrammeAnlegen(m_name, index.Fields()[0].Name());
        return;
    }
    // Index names belong to their table here, as the program expects.
    const QString sql = u"CREATE %1INDEX %2 ON %3 (%4)%5"_s
                            .arg(index.Primary || index.Unique ? u"UNIQUE "_s : QString(),
                                 JetSql::quoteName(m_name + u'.' + index.Name()), JetSql::quoteName(m_name),
                                 spalten, index.IgnoreNulls ? u" WHERE "_s + ohneNull : QString());
    m_verbindung->ausfuehrenNativ(sql);
    if (einzeln)
        m_verbindung->trigrammeAnlegen(m_name, index.Fields()[0].Name());
}

TableDefs::TableDefs(std::shared_ptr<Verbindung> verbindung)
    : m_verbindung(std::move(verbindung))
{
}

QString TableDefs::Katalog()
{
    return u"MSysObjects"_s;
}

void TableDefs::laden()
{
    if (m_geladen)
        return;
    m_tabellen.clear();
    QHash<QString, QDateTime> erstellt;
    {
        Verbindung::Anweisung k = m_verbindung->vorbereitenNativ(
            u"SELECT count(*) FROM sqlite_schema WHERE type='table' AND name=?1"_s, {Katalog()});
        if (sqlite3_step(k.get()) == SQLITE_ROW && sqlite3_column_int(k.get(), 0) > 0) {
            k.freigeben();
            Verbindung::Anweisung z = m_verbindung->vorbereitenNativ(
                u"SELECT Name, DateCreated FROM "_s + JetSql::quoteName(Katalog()));
            while (sqlite3_step(z.get()) == SQLITE_ROW)
                erstellt.insert(spaltentext(z.get(), 0),
                                QDateTime::fromString(spaltentext(z.get(), 1), u"yyyy-MM-dd HH:mm:ss"_s));
        }
    }
    // Tables whose creation was not recorded are as old as the file.
    QDateTime dateiDatum = QFileInfo(m_verbindung->name()).birthTime();
    if (!dateiDatum.isValid())
        dateiDatum = QFileInfo(m_verbindung->name()).lastModified();
    if (!dateiDatum.isValid())
        dateiDatum = m_verbindung->jetzt();

    // Tables of a dBASE folder live in the temporary schema.
    for (const QString &schema : {u"sqlite_schema"_s, u"sqlite_temp_schema"_s}) {
        Verbindung::Anweisung a = m_verbindung->vorbereitenNativ(
            u"SELECT name FROM %1 WHERE type='table' ORDER BY rowid"_s.arg(schema));
        while (sqlite3_step(a.get()) == SQLITE_ROW) {
            const QString name = spaltentext(a.get(), 0);
            // Trigram tables belong to their column's index, not to the program.
            if (Verbindung::istTrigrammtabelle(name))
                continue;
            auto def = std::make_unique<TableDef>(name);
            def->anbinden(m_verbindung, erstellt.value(name, dateiDatum));
            m_tabellen.push_back(std::move(def));
        }
    }
    m_geladen = true;
}

void TableDefs::Refresh()
{
    m_geladen = false;
}

int TableDefs::Count()
{
    laden();
    return static_cast<int>(m_tabellen.size());
}

TableDef &TableDefs::operator[](int index)
{
    laden();
    if (index < 0 || index >= Count())
        nichtGefunden();
    return *m_tabellen[index];
}

TableDef &TableDefs::operator[](const QString &name)
{
    laden();
    for (auto &t : m_tabellen) {
        if (t->Name().compare(name, Qt::CaseInsensitive) == 0)
            return *t;
    }
    nichtGefunden();
}

QStringList TableDefs::Namen()
{
    laden();
    QStringList namen;
    for (auto &t : m_tabellen)
        namen.append(t->Name());
    return namen;
}

void TableDefs::Delete(const QString &name)
{
    laden();
    // The table is found in any letter case; its companions and its catalogue
    // row carry the name as it was created.
    QString echt;
    for (auto &t : m_tabellen) {
        if (echt.isEmpty() && t->Name().compare(name, Qt::CaseInsensitive) == 0)
            echt = t->Name();
    }
    if (echt.isEmpty())
        nichtGefunden();
    m_verbindung->trigrammeEntfernen(echt);
    m_verbindung->ausfuehrenNativ(u"DROP TABLE "_s + JetSql::quoteName(echt));
    if (Namen().contains(Katalog()))
        m_verbindung->ausfuehrenNativ(u"DELETE FROM "_s + JetSql::quoteName(Katalog()) + u" WHERE Name=?1"_s, {echt});
    Refresh();
}

void TableDefs::Append(TableDef tabelle)
{
    if (tabelle.Fields().Count() == 0)
        throw JetFehler(JetFehler::Allgemein, u"Die Tabelle '%1' hat keine Felder."_s.arg(tabelle.Name()));
    for (const QString &vorhanden : Namen()) {
        if (vorhanden.compare(tabelle.Name(), Qt::CaseInsensitive) == 0)
            throw JetFehler(JetFehler::TabelleExistiert, u"Tabelle '%1' existiert bereits."_s.arg(tabelle.Name()));
    }
    QString spalten;
    for (const Field &f : tabelle.Fields()) {
        if (!spalten.isEmpty())
            spalten += u", "_s;
        spalten += JetSql::quoteName(f.Name()) + u' ' + DaoTyp::Deklaration(f.Type(), f.Size(), f.AllowZeroLength());
    }
    m_verbindung->ausfuehrenNativ(u"CREATE TABLE "_s + JetSql::quoteName(tabelle.Name()) + u" ("_s + spalten + u')');
    const QDateTime jetzt = m_verbindung->jetzt();
    m_verbindung->ausfuehrenNativ(u"CREATE TABLE IF NOT EXISTS "_s + JetSql::quoteName(Katalog())
                                  + u" (Name TEXT PRIMARY KEY, DateCreated TEXT)"_s);
    m_verbindung->ausfuehrenNativ(u"INSERT OR REPLACE INTO "_s + JetSql::quoteName(Katalog())
                                      + u" (Name, DateCreated) VALUES (?1, ?2)"_s,
                                  {tabelle.Name(), JetSql::isoText(jetzt)});
    tabelle.anbinden(m_verbindung, jetzt);
    for (const Index &index : tabelle.Indexes())
        tabelle.indexAnlegen(index);
    Refresh();
}
