#pragma once

#include <QString>
#include <QVariant>

#include <vector>

class SettingsStore;
class SystemFacilities;

// The only way into the section "Optionen" of the settings store. It knows
// every key, whether it holds a number or a text, and its default, so a key
// that was never written still yields its default.
class modOptionen
{
public:
    enum class Klasse { Zahl, Text };

    struct Schluessel
    {
        QString name;
        Klasse klasse;
        QString standard; // the default in its stored text form
    };

    static inline const QString Abschnitt = QStringLiteral("Optionen");

    modOptionen(SettingsStore &store, const SystemFacilities &system);

    // A number key gives a double, a text key a QString, an unknown key an
    // invalid QVariant (and the store is not touched).
    QVariant leseOption(const QString &key) const;
    double leseZahl(const QString &key) const;
    QString leseText(const QString &key) const;
    // Writes the text form of the value; unknown keys are ignored.
    void schreibOption(const QString &key, const QVariant &value);

    QString GetTempFolder() const;

    // How a stored text reads as a number: leading blanks skipped, the longest
    // leading decimal number, anything else 0.
    static double ZahlAusText(const QString &text);
    // The text form in which a value is written.
    static QString TextForm(const QVariant &value);

    const std::vector<Schluessel> &Schluesseltabelle() const { return m_tabelle; }

private:
    const Schluessel *finde(const QString &key) const;

    SettingsStore &m_store;
    const SystemFacilities &m_system;
    std::vector<Schluessel> m_tabelle;
};
