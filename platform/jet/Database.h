#pragma once

#include "platform/jet/Recordset.h"
#include "platform/jet/TableDef.h"

#include <QString>
#include <QVariantList>

#include <memory>

class Verbindung;

// An open database: its tables, statements and recordsets.
class Database
{
public:
    explicit Database(std::shared_ptr<Verbindung> verbindung);
    ~Database();

    QString Name() const;
    bool isOpen() const;
    void Close();

    // Runs a statement that returns no rows; gives the rows it changed.
    int Execute(const QString &statement, int options = 0);
    // Values from outside go in as parameters ("?" in the statement), never as text.
    int Execute(const QString &statement, const QVariantList &parameters);

    std::unique_ptr<Recordset> OpenRecordset(const QString &source, int type = Recordset::dbOpenDynaset,
                                             int options = 0);
    std::unique_ptr<Recordset> OpenRecordset(const QString &statement, const QVariantList &parameters);

    ::TableDefs &TableDefs();

    void BeginTrans();
    void CommitTrans();
    void Rollback();

private:
    void pruefeOffen() const;

    std::shared_ptr<Verbindung> m_verbindung;
    std::unique_ptr<::TableDefs> m_tableDefs;
};
