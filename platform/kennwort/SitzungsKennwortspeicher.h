#pragma once

#include "platform/kennwort/Kennwortspeicher.h"

#include <QHash>

// Passwords kept in memory until the program ends: what is left without a
// keyring, and the store of the tests.
class SitzungsKennwortspeicher : public Kennwortspeicher
{
public:
    bool dauerhaft() override { return false; }
    std::optional<QString> lies(const QString &konto) override;
    bool schreibe(const QString &konto, const QString &kennwort) override;
    void vergiss(const QString &konto) override;

private:
    QHash<QString, QString> m_kennwoerter;
};
