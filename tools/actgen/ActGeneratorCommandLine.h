#pragma once

#include "tools/actgen/ActGenerator.h"

#include <QString>
#include <QStringList>

// The arguments of rufmon-actgen:
//   rufmon-actgen [--seed N] [--contacts N] [--name BASE] [--plant] ... FOLDER
class ActGeneratorCommandLine
{
public:
    // arguments as QCoreApplication::arguments() gives them, program first.
    // False with errorString() for anything the tool cannot do.
    bool parse(const QStringList &arguments);

    const ActGenerator::Options &options() const { return m_options; }
    const QString &folder() const { return m_folder; }
    bool plantSamples() const { return m_plant; }
    bool demoContacts() const { return m_demo; }
    bool helpRequested() const { return m_help; }
    bool quiet() const { return m_quiet; }
    const QString &errorString() const { return m_error; }

    static QString usage();
    // "1048576", "1024K", "1M" -> bytes; -1 when not a size.
    static qint64 parseSize(const QString &text);

private:
    bool fail(const QString &text);

    ActGenerator::Options m_options;
    QString m_folder;
    bool m_plant = false;
    bool m_demo = false;
    bool m_help = false;
    bool m_quiet = false;
    QString m_error;
};
