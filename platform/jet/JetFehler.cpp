#include "platform/jet/JetFehler.h"

using namespace Qt::StringLiterals;

JetFehler::JetFehler(long number, QString description)
    : m_number(number)
    , m_description(std::move(description))
    , m_helpFile(StandardHelpFile())
    , m_what(QString(QString::number(number) + u": "_s + m_description).toUtf8())
{
}

const char *JetFehler::what() const noexcept
{
    return m_what.constData();
}

QString JetFehler::StandardHelpFile()
{
    return u"Rufmon-Datenbank"_s;
}
