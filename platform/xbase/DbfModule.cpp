#include "platform/xbase/DbfModule.h"

#include "platform/xbase/DbfField.h"
#include "platform/xbase/DbfTable.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <sqlite3.h>

#include <dirent.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

std::atomic<quint64> decodedByClosedCursors{0};

// Placeholder column of a table whose file could not be read when it was
// created; any statement on it reports the file's damage instead.
constexpr auto BrokenColumn = u"_DEFEKT";

struct XbaseTable : sqlite3_vtab
{
    QString path;
    QStringList columns;
    bool broken = false;
    double rows = 0;
};

struct XbaseCursor : sqlite3_vtab_cursor
{
    DbfTable table;
    std::vector<int> fieldOfColumn;
    bool eof = true;
    // Looked up by its rowid: one record and no scan.
    bool single = false;
};

constexpr int ScanAll = 0;
constexpr int ByRowid = 1;

// The prefix tells the engine that a table file is at fault, not the statement.
void setError(sqlite3_vtab *vtab, const QString &text)
{
    sqlite3_free(vtab->zErrMsg);
    vtab->zErrMsg = sqlite3_mprintf("xbase: %s", text.toUtf8().constData());
}

QString quoteIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(u'"', u"\"\""_s);
    return u'"' + quoted + u'"';
}

QString quoteLiteral(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'\'', u"''"_s);
    return u'\'' + quoted + u'\'';
}

// A module argument arrives as written in CREATE VIRTUAL TABLE, quotes included.
QString unquoteArgument(const char *argument)
{
    QString text = QString::fromUtf8(argument).trimmed();
    if (text.size() >= 2) {
        const QChar quote = text.front();
        if ((quote == u'\'' || quote == u'"') && text.back() == quote) {
            text = text.mid(1, text.size() - 2);
            text.replace(QString(2, quote), QString(quote));
        }
    }
    return text;
}

// SQLite compares table names without regard to ASCII case, and only ASCII.
QString sqliteNameKey(const QString &name)
{
    QString key = name;
    for (QChar &c : key) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return key;
}

int xbaseConnect(sqlite3 *db, void *, int argc, const char *const *argv, sqlite3_vtab **result, char **error)
{
    if (argc < 4) {
        *error = sqlite3_mprintf("xbase: der Pfad der Tabellendatei fehlt, z. B. USING xbase('/pfad/KUNDEN.DBF')");
        return SQLITE_ERROR;
    }
    auto table = std::make_unique<XbaseTable>();
    table->pModule = nullptr;
    table->nRef = 0;
    table->zErrMsg = nullptr;
    table->path = unquoteArgument(argv[3]);

    QString schema;
    DbfTable probe;
    if (probe.open(table->path)) {
        QStringList definitions;
        for (const DbfField &field : probe.fields()) {
            table->columns << field.name;
            definitions << quoteIdentifier(field.name) + u' ' + DbfModule::declaredType(field);
        }
        table->rows = probe.recordCount();
        schema = u"CREATE TABLE x("_s + definitions.join(u", "_s) + u')';
    } else {
        table->broken = true;
        schema = u"CREATE TABLE x("_s + quoteIdentifier(QString::fromUtf16(BrokenColumn)) + u" TEXT)"_s;
    }
    const int rc = sqlite3_declare_vtab(db, schema.toUtf8().constData());
    if (rc != SQLITE_OK) {
        *error = sqlite3_mprintf("%s", sqlite3_errmsg(db));
        return rc;
    }
    *result = table.release();
    return SQLITE_OK;
}

int xbaseDisconnect(sqlite3_vtab *vtab)
{
    sqlite3_free(vtab->zErrMsg);
    delete static_cast<XbaseTable *>(vtab);
    return SQLITE_OK;
}

int xbaseBestIndex(sqlite3_vtab *vtab, sqlite3_index_info *info)
{
    auto *table = static_cast<XbaseTable *>(vtab);
    if (table->broken) {
        // The columns were never known, so the table cannot serve a statement
        // even if the file has been repaired since.
        DbfTable probe;
        setError(vtab, probe.open(table->path)
                           ? QDir::toNativeSeparators(table->path)
                                 + u": war beim Einbinden beschädigt; die Tabelle muss neu eingebunden werden"_s
                           : probe.errorString());
        return SQLITE_ERROR;
    }
    // A record is found by its rowid (its position in the file) without a
    // scan; everything else reads the whole file.
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto &c = info->aConstraint[i];
        if (c.usable && c.iColumn == -1 && c.op == SQLITE_INDEX_CONSTRAINT_EQ) {
            info->aConstraintUsage[i].argvIndex = 1;
            info->aConstraintUsage[i].omit = 1;
            info->idxNum = ByRowid;
            info->idxFlags = SQLITE_INDEX_SCAN_UNIQUE;
            info->estimatedCost = 1.0;
            info->estimatedRows = 1;
            return SQLITE_OK;
        }
    }
    info->idxNum = ScanAll;
    info->estimatedCost = table->rows + 1.0;
    info->estimatedRows = sqlite3_int64(table->rows);
    return SQLITE_OK;
}

int xbaseOpen(sqlite3_vtab *, sqlite3_vtab_cursor **result)
{
    auto *cursor = new XbaseCursor();
    cursor->pVtab = nullptr;
    *result = cursor;
    return SQLITE_OK;
}

int xbaseClose(sqlite3_vtab_cursor *base)
{
    auto *cursor = static_cast<XbaseCursor *>(base);
    decodedByClosedCursors.fetch_add(cursor->table.decodedValueCount(), std::memory_order_relaxed);
    delete cursor;
    return SQLITE_OK;
}

int xbaseNext(sqlite3_vtab_cursor *base)
{
    auto *cursor = static_cast<XbaseCursor *>(base);
    if (cursor->single) {
        cursor->eof = true;
        return SQLITE_OK;
    }
    if (cursor->table.next())
        return SQLITE_OK;
    cursor->eof = true;
    if (cursor->table.hasError()) {
        setError(cursor->pVtab, cursor->table.errorString());
        return SQLITE_ERROR;
    }
    return SQLITE_OK;
}

int xbaseFilter(sqlite3_vtab_cursor *base, int idxNum, const char *, int argc, sqlite3_value **argv)
{
    auto *cursor = static_cast<XbaseCursor *>(base);
    auto *table = static_cast<XbaseTable *>(cursor->pVtab);
    cursor->eof = true;
    // Re-open for every statement: the contact manager may have rewritten
    // the file, even with other fields, since the last one.
    if (!cursor->table.open(table->path)) {
        setError(cursor->pVtab, cursor->table.errorString());
        return SQLITE_ERROR;
    }
    cursor->fieldOfColumn.resize(std::size_t(table->columns.size()));
    for (qsizetype i = 0; i < table->columns.size(); ++i)
        cursor->fieldOfColumn[std::size_t(i)] = cursor->table.fieldIndex(table->columns[i]);
    table->rows = cursor->table.recordCount();
    cursor->single = idxNum == ByRowid && argc == 1;
    if (cursor->single) {
        // Compared as SQL compares a rowid: '7' and 7.0 are 7, 7.5 is no rowid.
        const int type = sqlite3_value_numeric_type(argv[0]);
        const sqlite3_int64 rowid = sqlite3_value_int64(argv[0]);
        const bool ganz = type == SQLITE_INTEGER || (type == SQLITE_FLOAT && sqlite3_value_double(argv[0]) == double(rowid));
        cursor->eof = !ganz || rowid < 1
                      || rowid > sqlite3_int64(cursor->table.recordCount())
                      || !cursor->table.seek(quint32(rowid - 1));
        if (cursor->table.hasError()) {
            setError(cursor->pVtab, cursor->table.errorString());
            return SQLITE_ERROR;
        }
        return SQLITE_OK;
    }
    cursor->eof = false;
    return xbaseNext(base);
}

int xbaseEof(sqlite3_vtab_cursor *base)
{
    return static_cast<XbaseCursor *>(base)->eof ? 1 : 0;
}

int xbaseColumn(sqlite3_vtab_cursor *base, sqlite3_context *context, int column)
{
    auto *cursor = static_cast<XbaseCursor *>(base);
    if (column < 0 || std::size_t(column) >= cursor->fieldOfColumn.size()) {
        sqlite3_result_null(context);
        return SQLITE_OK;
    }
    const int field = cursor->fieldOfColumn[std::size_t(column)];
    if (field < 0) {
        // The field has gone from the file since the table was created.
        sqlite3_result_null(context);
        return SQLITE_OK;
    }
    const DbfValue value = cursor->table.value(field);
    switch (value.kind) {
    case DbfValue::Kind::Null:
        sqlite3_result_null(context);
        break;
    case DbfValue::Kind::Integer:
        sqlite3_result_int64(context, value.integer);
        break;
    case DbfValue::Kind::Real:
        sqlite3_result_double(context, value.real);
        break;
    case DbfValue::Kind::Text:
        // An empty memo is empty text, and SQLite takes a null pointer for NULL.
        sqlite3_result_text(context, value.bytes.empty() ? "" : value.bytes.data(), int(value.bytes.size()),
                            SQLITE_TRANSIENT);
        break;
    case DbfValue::Kind::Blob:
        if (value.bytes.empty())
            sqlite3_result_zeroblob(context, 0);
        else
            sqlite3_result_blob(context, value.bytes.data(), int(value.bytes.size()), SQLITE_TRANSIENT);
        break;
    }
    return SQLITE_OK;
}

int xbaseRowid(sqlite3_vtab_cursor *base, sqlite3_int64 *rowid)
{
    *rowid = sqlite3_int64(static_cast<XbaseCursor *>(base)->table.recordNumber()) + 1;
    return SQLITE_OK;
}

// Without xUpdate SQLite itself refuses INSERT, UPDATE and DELETE.
const sqlite3_module &xbaseModule()
{
    static const sqlite3_module module = [] {
        sqlite3_module m{};
        m.iVersion = 1;
        m.xCreate = xbaseConnect;
        m.xConnect = xbaseConnect;
        m.xBestIndex = xbaseBestIndex;
        m.xDisconnect = xbaseDisconnect;
        // Dropping the table must leave the file alone.
        m.xDestroy = xbaseDisconnect;
        m.xOpen = xbaseOpen;
        m.xClose = xbaseClose;
        m.xFilter = xbaseFilter;
        m.xNext = xbaseNext;
        m.xEof = xbaseEof;
        m.xColumn = xbaseColumn;
        m.xRowid = xbaseRowid;
        return m;
    }();
    return module;
}

bool exec(sqlite3 *db, const QString &sql, QString *error)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    if (error)
        *error = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    return false;
}

// The create statement of the temp table of that name, if there is one.
bool existingTable(sqlite3 *db, const QString &name, QString *storedName, QString *sql)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT name, sql FROM temp.sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE",
                           -1, &statement, nullptr)
        != SQLITE_OK)
        return false;
    const QByteArray utf8 = name.toUtf8();
    sqlite3_bind_text(statement, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    const bool found = sqlite3_step(statement) == SQLITE_ROW;
    if (found) {
        *storedName = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
        *sql = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 1)));
    }
    sqlite3_finalize(statement);
    return found;
}

} // namespace

bool DbfModule::registerModule(sqlite3 *db)
{
    if (!db)
        return false;
    // Older SQLite versions refuse a second registration under the same name
    // and newer ones replace the module, so it is only registered once.
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM pragma_module_list WHERE name = ?1", -1, &statement, nullptr)
        == SQLITE_OK) {
        sqlite3_bind_text(statement, 1, Name, -1, SQLITE_STATIC);
        const bool known = sqlite3_step(statement) == SQLITE_ROW;
        sqlite3_finalize(statement);
        if (known)
            return true;
    }
    return sqlite3_create_module_v2(db, Name, &xbaseModule(), nullptr, nullptr) == SQLITE_OK;
}

QString DbfModule::declaredType(const DbfField &field)
{
    switch (field.type) {
    case 'C':
        return u"TEXT(%1)"_s.arg(field.length);
    case 'N':
    case 'F':
        return u"DOUBLE"_s;
    case 'D':
        return u"DATETIME"_s;
    case 'L':
        return u"BIT"_s;
    case 'M':
        return u"MEMO"_s;
    case 'I':
        if (field.length == 4)
            return u"LONG"_s;
        break;
    case 'B':
        if (field.length == 8)
            return u"DOUBLE"_s;
        break;
    case 'Y':
        if (field.length == 8)
            return u"CURRENCY"_s;
        break;
    case 'T':
        if (field.length == 8)
            return u"DATETIME"_s;
        break;
    default:
        break;
    }
    // Read as its raw bytes.
    return u"TEXT(%1)"_s.arg(field.length);
}

quint64 DbfModule::decodedValueCount()
{
    return decodedByClosedCursors.load(std::memory_order_relaxed);
}

bool DbfModule::attachFile(sqlite3 *db, const QString &tableName, const QString &path, QString *error)
{
    if (!registerModule(db)) {
        if (error)
            *error = u"Tabellenmodul xbase kann nicht angemeldet werden"_s;
        return false;
    }
    QString storedName;
    QString sql;
    if (existingTable(db, tableName, &storedName, &sql)) {
        if (!sql.contains(u"USING xbase("_s, Qt::CaseInsensitive)) {
            if (error)
                *error = u"Tabelle „%1“ gibt es schon und liest keine Tabellendatei"_s.arg(storedName);
            return false;
        }
        if (!exec(db, u"DROP TABLE temp."_s + quoteIdentifier(storedName), error))
            return false;
    }
    QString reason;
    if (!exec(db,
              u"CREATE VIRTUAL TABLE temp."_s + quoteIdentifier(tableName) + u" USING xbase("_s + quoteLiteral(path)
                  + u')',
              &reason)) {
        if (error)
            *error = u"Tabelle „%1“ für %2 nicht angelegt: %3"_s.arg(tableName, QDir::toNativeSeparators(path), reason);
        return false;
    }
    return true;
}

bool DbfModule::attachFolder(sqlite3 *db, const QString &folder, QString *error)
{
    const QByteArray native = QFile::encodeName(folder);
    DIR *dir = ::opendir(native.constData());
    if (!dir) {
        if (error)
            *error = u"Ordner „%1“ kann nicht gelesen werden: %2"_s.arg(QDir::toNativeSeparators(folder),
                                                                         qt_error_string(errno));
        return false;
    }
    QStringList names;
    errno = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        const qsizetype dot = name.lastIndexOf(u'.');
        if (dot <= 0)
            continue;
        const QString suffix = name.mid(dot + 1);
        if (suffix.compare(u"dbf"_s, Qt::CaseInsensitive) == 0 || suffix.compare(u"gdb"_s, Qt::CaseInsensitive) == 0)
            names << name;
        errno = 0;
    }
    const int readError = errno;
    ::closedir(dir);
    if (readError != 0) {
        if (error)
            *error = u"Ordner „%1“ kann nicht gelesen werden: %2"_s.arg(QDir::toNativeSeparators(folder),
                                                                         qt_error_string(readError));
        return false;
    }
    names.sort();

    const QDir directory(folder);
    QStringList failures;
    QStringList taken;
    for (const QString &name : std::as_const(names)) {
        QStringList tableNames{name};
        if (name.endsWith(u".dbf"_s, Qt::CaseInsensitive))
            tableNames << name.chopped(4);
        for (const QString &tableName : std::as_const(tableNames)) {
            // On Linux KUNDEN.DBF and kunden.dbf can lie side by side; the
            // first one in name order keeps the name.
            const QString key = sqliteNameKey(tableName);
            if (taken.contains(key))
                continue;
            QString reason;
            if (attachFile(db, tableName, directory.filePath(name), &reason))
                taken << key;
            else
                failures << reason;
        }
    }
    if (!failures.isEmpty()) {
        if (error)
            *error = failures.join(u'\n');
        return false;
    }
    return true;
}
