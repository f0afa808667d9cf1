#include "core/Handbuch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

QString Handbuch::Adresse()
{
    return u"man:rufmon(1)"_s;
}

QString Handbuch::Readme()
{
    const QString pfad = QDir::cleanPath(QCoreApplication::applicationDirPath() + u"/../share/doc/rufmon/README.md"_s);
    return QFileInfo(pfad).isFile() ? pfad : QString();
}

QString Handbuch::Hinweis()
{
    const QString readme = Readme();
    return u"Hilfe finden Sie in der Anleitung (man rufmon) und in der README-Datei von Rufmon"_s
           + (readme.isEmpty() ? QString() : u" ("_s + readme + u')') + u'.';
}
