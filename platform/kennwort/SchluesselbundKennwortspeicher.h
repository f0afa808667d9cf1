#pragma once

#include "platform/kennwort/SitzungsKennwortspeicher.h"

#include <optional>

// The desktop keyring (Secret Service) through QtKeychain, under the
// service "Rufmon". What it holds is also kept for the run, so the keyring
// is asked once per account; without a keyring the run's memory is all.
// Never falls back to a file.
class SchluesselbundKennwortspeicher : public Kennwortspeicher
{
public:
    // How long one answer of the keyring may take (it may ask the user to unlock it).
    static constexpr int WarteMs = 60000;

    explicit SchluesselbundKennwortspeicher(const QString &dienst = QStringLiteral("Rufmon"));

    bool dauerhaft() override;
    std::optional<QString> lies(const QString &konto) override;
    bool schreibe(const QString &konto, const QString &kennwort) override;
    void vergiss(const QString &konto) override;

private:
    enum class Antwort { Ja, Fehlt, KeinSchluesselbund };

    Antwort frage(const QString &konto, QString *kennwort);

    QString m_dienst;
    std::optional<bool> m_vorhanden; // found out on first use
    SitzungsKennwortspeicher m_sitzung;
};
