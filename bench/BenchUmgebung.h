#pragma once

#include "core/modOptionen.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/dialogs/ConsoleDialogs.h"
#include "platform/settings/IniSettingsStore.h"
#include "platform/system/LinuxSystem.h"

#include <QCoreApplication>
#include <QTemporaryDir>

// Turns the event loop until `fertig` holds: the program's searches and the
// cache build answer from the search thread. Sleeps while nothing comes.
template<typename Bedingung> void warteBis(Bedingung fertig)
{
    while (!fertig())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// The searches put their statement on the clipboard only in debug mode; a
// benchmark has none.
class KeineZwischenablage : public Clipboard
{
public:
    void Clear() override {}
    void SetText(const QString &) override {}
    QString GetText() const override { return {}; }
};

// The machine, with the program's folder (where Nummern.mdb lies) in a temp folder.
class ProgrammOrdner : public LinuxSystem
{
public:
    explicit ProgrammOrdner(QString ordner)
        : m_ordner(std::move(ordner))
    {
    }
    QString ProgramFolder() const override { return m_ordner; }

private:
    QString m_ordner;
};

// Settings, options and message boxes of a benchmark's own, in a temp folder.
struct Umgebung
{
    QTemporaryDir dir;
    IniSettingsStore store{dir.filePath(QStringLiteral("Rufmon.conf"))};
    LinuxSystem system;
    modOptionen optionen{store, system};
    ConsoleDialogs dialogs;
    KeineZwischenablage clipboard;
};
