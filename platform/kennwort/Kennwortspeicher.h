#pragma once

#include <QString>

#include <optional>

// Where the passwords of the line devices (telephone system, router) are
// kept: the desktop's keyring, never the settings file. An account names
// what the password opens, e.g. "Telefonanlage pbx:5038 rufmon".
class Kennwortspeicher
{
public:
    virtual ~Kennwortspeicher() = default;

    // True when a password written now is still there at the next start.
    virtual bool dauerhaft() = 0;
    // The password kept for the account; nothing when none is kept.
    virtual std::optional<QString> lies(const QString &konto) = 0;
    // Keeps the password; false when it is kept only until the program ends.
    virtual bool schreibe(const QString &konto, const QString &kennwort) = 0;
    virtual void vergiss(const QString &konto) = 0;
};
