#include "platform/kennwort/SitzungsKennwortspeicher.h"

std::optional<QString> SitzungsKennwortspeicher::lies(const QString &konto)
{
    const auto it = m_kennwoerter.constFind(konto);
    return it == m_kennwoerter.cend() ? std::nullopt : std::optional<QString>(*it);
}

bool SitzungsKennwortspeicher::schreibe(const QString &konto, const QString &kennwort)
{
    m_kennwoerter.insert(konto, kennwort);
    return false;
}

void SitzungsKennwortspeicher::vergiss(const QString &konto)
{
    m_kennwoerter.remove(konto);
}
