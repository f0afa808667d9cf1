#pragma once

#include <QDateTime>
#include <QString>

#include <QStringList>

#include <functional>
#include <string>
#include <string_view>
#include <vector>
#include <memory>

class Database;

// The database engine: one for the whole process, created on first use.
// It opens its own database files and, with the connect text "FoxPro 2.6;",
// a folder of dBASE/FoxPro tables.
class DBEngine
{
public:
    static DBEngine &instance();

    std::shared_ptr<Database> OpenDatabase(const QString &name, bool exclusive = false, bool readOnly = false,
                                           const QString &connect = {});
    // A new, empty database file; error 3204 when the file (or a link) is already there.
    std::shared_ptr<Database> CreateDatabase(const QString &path);

    // A function of text arguments that statements may call by name, in every
    // database opened from now on (a program's own, like a number's key).
    // Arguments and result are UTF-8; the function runs for every row.
    using Textfunktion = std::function<std::string(const std::vector<std::string_view> &)>;
    void RegisterFunction(const QString &name, int argumente, Textfunktion funktion);

    // The clock behind Date() and Now(); tests set it.
    void setUhr(std::function<QDateTime()> uhr);
    QDateTime jetzt() const;

private:
    DBEngine() = default;

    std::function<QDateTime()> m_uhr;
};
