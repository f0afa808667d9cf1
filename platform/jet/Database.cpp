#include "platform/jet/Database.h"

#include "platform/jet/JetFehler.h"
#include "platform/jet/Verbindung.h"

using namespace Qt::StringLiterals;

Database::Database(std::shared_ptr<Verbindung> verbindung)
    : m_verbindung(std::move(verbindung))
    , m_tableDefs(std::make_unique<::TableDefs>(m_verbindung))
{
}

Database::~Database() = default;

QString Database::Name() const
{
    return m_verbindung->name();
}

bool Database::isOpen() const
{
    return m_verbindung->offen();
}

void Database::Close()
{
    m_verbindung->schliessen();
}

void Database::pruefeOffen() const
{
    if (!m_verbindung->offen())
        throw JetFehler(JetFehler::ObjektUngueltig, u"Objekt ungültig oder nicht mehr festgelegt."_s);
}

int Database::Execute(const QString &statement, int)
{
    pruefeOffen();
    const int n = m_verbindung->ausfuehren(statement);
    m_tableDefs->Refresh();
    return n;
}

int Database::Execute(const QString &statement, const QVariantList &parameters)
{
    pruefeOffen();
    const int n = m_verbindung->ausfuehren(statement, parameters);
    m_tableDefs->Refresh();
    return n;
}

std::unique_ptr<Recordset> Database::OpenRecordset(const QString &source, int type, int options)
{
    pruefeOffen();
    return std::make_unique<Recordset>(m_verbindung, source, type, options, QVariantList());
}

std::unique_ptr<Recordset> Database::OpenRecordset(const QString &statement, const QVariantList &parameters)
{
    pruefeOffen();
    return std::make_unique<Recordset>(m_verbindung, statement, Recordset::dbOpenDynaset, 0, parameters);
}

::TableDefs &Database::TableDefs()
{
    pruefeOffen();
    return *m_tableDefs;
}

void Database::BeginTrans()
{
    pruefeOffen();
    m_verbindung->ausfuehrenNativ(u"BEGIN"_s);
}

void Database::CommitTrans()
{
    pruefeOffen();
    // Indexes an import set aside are made before the rows become visible.
    m_verbindung->massenimporteAbschliessen();
    m_verbindung->ausfuehrenNativ(u"COMMIT"_s);
}

void Database::Rollback()
{
    pruefeOffen();
    m_verbindung->ausfuehrenNativ(u"ROLLBACK"_s);
    m_verbindung->massenimporteVerwerfen();
}
