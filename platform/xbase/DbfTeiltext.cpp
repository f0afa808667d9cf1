#include "platform/xbase/DbfTeiltext.h"

#include "platform/xbase/DbfField.h"
#include "platform/xbase/DbfTable.h"

#include <QStringList>

#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

namespace {

enum Spalte { Datei, Felder, Text };

struct TeiltextCursor : sqlite3_vtab_cursor
{
    DbfTable table;
    std::vector<int> fields;
    bool everyRecord = false;
    std::string text;
    bool eof = true;
};

int teiltextConnect(sqlite3 *db, void *, int, const char *const *, sqlite3_vtab **result, char **)
{
    const int rc = sqlite3_declare_vtab(db, "CREATE TABLE x(datei HIDDEN, felder HIDDEN, text HIDDEN)");
    if (rc != SQLITE_OK)
        return rc;
    auto *vtab = new sqlite3_vtab();
    *result = vtab;
    return SQLITE_OK;
}

int teiltextDisconnect(sqlite3_vtab *vtab)
{
    sqlite3_free(vtab->zErrMsg);
    delete vtab;
    return SQLITE_OK;
}

// All three arguments are needed; without them there is nothing to read.
int teiltextBestIndex(sqlite3_vtab *, sqlite3_index_info *info)
{
    int gefunden = 0;
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto &c = info->aConstraint[i];
        if (c.iColumn < Datei || c.iColumn > Text || c.op != SQLITE_INDEX_CONSTRAINT_EQ)
            continue;
        if (!c.usable)
            return SQLITE_CONSTRAINT;
        info->aConstraintUsage[i].argvIndex = c.iColumn + 1;
        info->aConstraintUsage[i].omit = 1;
        gefunden |= 1 << c.iColumn;
    }
    if (gefunden != 0b111)
        return SQLITE_CONSTRAINT;
    info->estimatedCost = 1e6;
    return SQLITE_OK;
}

int teiltextOpen(sqlite3_vtab *, sqlite3_vtab_cursor **result)
{
    *result = new TeiltextCursor();
    return SQLITE_OK;
}

int teiltextClose(sqlite3_vtab_cursor *base)
{
    delete static_cast<TeiltextCursor *>(base);
    return SQLITE_OK;
}

void setError(sqlite3_vtab *vtab, const QString &text)
{
    sqlite3_free(vtab->zErrMsg);
    vtab->zErrMsg = sqlite3_mprintf("xbase: %s", text.toUtf8().constData());
}

bool holdsText(TeiltextCursor &c)
{
    if (c.everyRecord)
        return true;
    for (const int field : c.fields) {
        if (c.table.rawField(field).find(c.text) != std::string_view::npos)
            return true;
    }
    return false;
}

int teiltextNext(sqlite3_vtab_cursor *base)
{
    auto *c = static_cast<TeiltextCursor *>(base);
    while (c->table.next()) {
        if (holdsText(*c))
            return SQLITE_OK;
    }
    c->eof = true;
    if (c->table.hasError()) {
        setError(c->pVtab, c->table.errorString());
        return SQLITE_ERROR;
    }
    return SQLITE_OK;
}

QString textOf(sqlite3_value *value)
{
    const auto *t = reinterpret_cast<const char *>(sqlite3_value_text(value));
    return t ? QString::fromUtf8(t, sqlite3_value_bytes(value)) : QString();
}

int teiltextFilter(sqlite3_vtab_cursor *base, int, const char *, int argc, sqlite3_value **argv)
{
    auto *c = static_cast<TeiltextCursor *>(base);
    c->eof = true;
    if (argc != 3)
        return SQLITE_ERROR;
    if (!c->table.open(textOf(argv[Datei]))) {
        setError(c->pVtab, c->table.errorString());
        return SQLITE_ERROR;
    }
    c->fields.clear();
    c->everyRecord = false;
    for (const QString &name : textOf(argv[Felder]).split(u',')) {
        const int field = c->table.fieldIndex(name.trimmed());
        if (field < 0 || c->table.fields()[std::size_t(field)].type != 'C')
            c->everyRecord = true;
        c->fields.push_back(field);
    }
    const QByteArray text = textOf(argv[Text]).toUtf8();
    c->text.assign(text.constData(), std::size_t(text.size()));
    // Only digits: their bytes are the digits whatever the code page.
    for (const char z : c->text) {
        if (z < '0' || z > '9')
            c->everyRecord = true;
    }
    c->table.rewind();
    c->eof = false;
    return teiltextNext(base);
}

int teiltextEof(sqlite3_vtab_cursor *base)
{
    return static_cast<TeiltextCursor *>(base)->eof ? 1 : 0;
}

int teiltextColumn(sqlite3_vtab_cursor *, sqlite3_context *context, int)
{
    sqlite3_result_null(context);
    return SQLITE_OK;
}

int teiltextRowid(sqlite3_vtab_cursor *base, sqlite3_int64 *rowid)
{
    *rowid = sqlite3_int64(static_cast<TeiltextCursor *>(base)->table.recordNumber()) + 1;
    return SQLITE_OK;
}

} // namespace

const sqlite3_module &DbfTeiltext::module()
{
    static const sqlite3_module module = [] {
        sqlite3_module m{};
        m.iVersion = 1;
        // Eponymous only: used as a function, never created as a table.
        m.xConnect = teiltextConnect;
        m.xBestIndex = teiltextBestIndex;
        m.xDisconnect = teiltextDisconnect;
        m.xOpen = teiltextOpen;
        m.xClose = teiltextClose;
        m.xFilter = teiltextFilter;
        m.xNext = teiltextNext;
        m.xEof = teiltextEof;
        m.xColumn = teiltextColumn;
        m.xRowid = teiltextRowid;
        return m;
    }();
    return module;
}

bool DbfTeiltext::anwendbar(const QString &datei, const QStringList &felder)
{
    DbfTable table;
    if (!table.open(datei))
        return false;
    for (const QString &name : felder) {
        const int field = table.fieldIndex(name.trimmed());
        if (field < 0 || table.fields()[std::size_t(field)].type != 'C')
            return false;
    }
    return true;
}
