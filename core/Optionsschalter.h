#pragma once

#include <QObject>

#include <array>

class SettingsStore;
class modOptionen;

// The options that are on or off. They are the program's state, read by
// the identification, the line control and the commands; the menus show
// them with a check mark and a click changes them here. The stored ones
// are read from the settings at start and written back at exit, under the
// keys and in the values the program has always used.
class Optionsschalter : public QObject
{
    Q_OBJECT

public:
    enum class Schalter {
        AehnlicheNummern,        // AutoNummern
        VerbundeneNummern,       // WeiterleitungErkennen
        ACTTimer,                // AutostartTimer
        Benachrichtigung,        // [Desktop] Benachrichtigung, written at once
        MonitorAutomatisch,      // AutoTapimonitor
        FensterMinimieren,       // FensterMin
        NummernCache,            // NummernCache
        NummernCacheAutomatisch, // NummernCacheAutomatisch
        Telefonieprotokoll,      // not stored
        PraefixHinzufuegen,      // Null = 1
        PraefixEntfernen,        // Null = -1
        PlusKlammerFilter,       // PlusKlammerFilter
        KeineNullBeimSuchen,     // KeineNullBeimSuchen
    };
    Q_ENUM(Schalter)
    static constexpr int Anzahl = static_cast<int>(Schalter::KeineNullBeimSuchen) + 1;

    // Reads the stored options at once.
    Optionsschalter(modOptionen &optionen, SettingsStore &store, QObject *parent = nullptr);

    bool gesetzt(Schalter schalter) const { return m_an[nr(schalter)]; }
    // Announces a change; setting the value it has already is quiet.
    void setzen(Schalter schalter, bool an);

    // The stored options as the settings hold them now.
    void laden();
    // The stored options into the settings (the desktop's switch is there already).
    void speichern() const;

signals:
    void Geaendert(Optionsschalter::Schalter schalter, bool an);

private:
    static constexpr std::size_t nr(Schalter schalter) { return static_cast<std::size_t>(schalter); }

    modOptionen &m_optionen;
    SettingsStore &m_store;
    std::array<bool, Anzahl> m_an = {};
};
