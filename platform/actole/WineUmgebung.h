#pragma once

#include <QString>

class SettingsStore;

// Where ACT! runs when it runs on this desk: the user's Wine prefix, the wine
// program and the bridge that works inside it. The prefix is [ACT] WinePrefix
// from the settings, else WINEPREFIX, else ~/.wine; the program [ACT] Wine,
// else wine on the PATH. Read afresh each time: the user may set them while
// the program runs.
class WineUmgebung
{
public:
    explicit WineUmgebung(const SettingsStore &settings);

    static QString Abschnitt();

    QString Praefix() const;
    // Empty when there is no wine program.
    QString Wine() const;
    // The bridge, installed beside the program; empty when it is not there.
    QString Bruecke() const;
    // A prefix that Wine has made, a wine program and the bridge.
    bool nutzbar() const;

    // The Linux path of a Windows path in the prefix ("C:\ACT\KUNDEN.DBF",
    // "Z:\home\…"), each part found without regard to letter case as Windows
    // finds it; empty when the drive or a folder does not exist.
    QString LinuxPfad(const QString &windowsPfad) const;

private:
    const SettingsStore &m_settings;
};
