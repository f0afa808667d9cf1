#pragma once

#include "platform/jet/Field.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class Verbindung;

// An index of a table: which fields, and whether it is the primary key,
// unique, clustered or leaves Null values out.
class Index
{
public:
    explicit Index(QString name = {});

    const QString &Name() const { return m_name; }
    bool Primary = false;
    bool Unique = false;
    bool Clustered = false;
    bool IgnoreNulls = false;
    // Only ever searched for a part ("LIKE '*digits*'"): the engine keeps the
    // column's trigrams alone, without the sorted index no such search uses.
    bool Teilwortsuche = false;

    Field CreateField(const QString &name) const { return Field(name, 10, 0, true); }
    ::Fields &Fields() { return m_fields; }
    const ::Fields &Fields() const { return m_fields; }

private:
    QString m_name;
    ::Fields m_fields;
};

// The definition of a table. A new one collects fields and indexes and is
// created by appending it to the database's TableDefs; indexes appended
// after that are created at once.
class TableDef
{
public:
    explicit TableDef(QString name);

    const QString &Name() const { return m_name; }
    QDateTime DateCreated() const { return m_dateCreated; }
    bool isSystem() const;

    Field CreateField(const QString &name, int type, int size = 0) const;
    Index CreateIndex(const QString &name) const { return Index(name); }

    ::Fields &Fields() { return m_fields; }
    const ::Fields &Fields() const { return m_fields; }
    const std::vector<Index> &Indexes() const { return m_indexes; }
    // Adds an index; on a table that exists already it is created right away.
    void AppendIndex(const Index &index);
    // Adds a field; a table that exists already gets it right away, Null in
    // the rows it holds.
    void AppendField(const Field &feld);

    // Used by the collection.
    void anbinden(std::shared_ptr<Verbindung> verbindung, const QDateTime &dateCreated);
    void indexAnlegen(const Index &index);

private:
    QString m_name;
    QDateTime m_dateCreated;
    ::Fields m_fields;
    std::vector<Index> m_indexes;
    std::shared_ptr<Verbindung> m_verbindung;
};

// The tables of a database, system tables included, in creation order.
class TableDefs
{
public:
    explicit TableDefs(std::shared_ptr<Verbindung> verbindung);

    int Count();
    TableDef &operator[](int index);
    TableDef &operator[](const QString &name);
    QStringList Namen();
    void Delete(const QString &name);
    void Append(TableDef tabelle);
    void Refresh();

    // The table that records when the program created each table.
    static QString Katalog();

private:
    void laden();

    std::shared_ptr<Verbindung> m_verbindung;
    std::vector<std::unique_ptr<TableDef>> m_tabellen;
    bool m_geladen = false;
};
