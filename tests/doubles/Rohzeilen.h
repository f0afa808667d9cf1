#pragma once

#include <QFile>
#include <QStringList>

#include <sqlite3.h>

// A look at a database file past the program's engine, as another program
// sees it: each row's values joined by '|', "NULL" for a missing value; an
// error as one row "Fehler: …".
inline QStringList rohzeilen(const QString &pfad, const QString &sql)
{
    sqlite3 *db = nullptr;
    QStringList liste;
    sqlite3_open_v2(QFile::encodeName(pfad).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const auto zeile = [](void *ziel, int spalten, char **werte, char **) {
        QStringList teile;
        for (int i = 0; i < spalten; ++i)
            teile.append(werte[i] ? QString::fromUtf8(werte[i]) : QStringLiteral("NULL"));
        static_cast<QStringList *>(ziel)->append(teile.join(QLatin1Char('|')));
        return 0;
    };
    if (sqlite3_exec(db, sql.toUtf8().constData(), zeile, &liste, nullptr) != SQLITE_OK)
        liste.append(QStringLiteral("Fehler: ") + QString::fromUtf8(sqlite3_errmsg(db)));
    sqlite3_close_v2(db);
    return liste;
}
