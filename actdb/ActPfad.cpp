#include "actdb/ActPfad.h"

#include <QDir>
#include <QFileInfo>

ActPfad::ActPfad(const QString &pfad)
{
    const QString kurz = finde(pfad);
    // The last separator, searched from the second character; none counts as 1.
    qsizetype p = kurz.lastIndexOf(u'/') + 1; // 1-based
    if (p < 2)
        p = 1;
    m_ordner = kurz.left(p - 1);
    const QString rest = kurz.mid(p);
    m_tabelle = rest.left(std::max<qsizetype>(0, rest.size() - 4));
}

QString ActPfad::finde(const QString &pfad)
{
    if (pfad.isEmpty())
        return QString();
    const QFileInfo info(pfad);
    if (info.exists())
        return pfad;
    const QDir ordner = info.dir();
    if (!ordner.exists())
        return QString();
    QString gefunden;
    const QStringList namen = ordner.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : namen) {
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0) {
            // Two names that differ only in case: Windows would not know either.
            if (!gefunden.isEmpty())
                return QString();
            gefunden = name;
        }
    }
    return gefunden.isEmpty() ? QString() : ordner.filePath(gefunden);
}
