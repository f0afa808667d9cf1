#include "app/Konsolenbefehl.h"

#include "app/Kommandozeile.h"
#include "app/OrtAusgabe.h"
#include "core/modOptionen.h"
#include "phonedb/NummernMdbOrt.h"
#include "phonedb/clRufmonDaten.h"
#include "platform/dialogs/ConsoleDialogs.h"
#include "platform/instance/SingleInstance.h"
#include "platform/settings/IniSettingsStore.h"
#include "platform/system/LinuxSystem.h"

#include <QCoreApplication>

#include <cstdio>

std::optional<int> Konsolenbefehl(const Kommandozeile &befehl, int argc, char **argv)
{
    switch (befehl.aktion) {
    case Kommandozeile::Aktion::Hilfe:
        std::fputs(Kommandozeile::Verwendung().toLocal8Bit().constData(), stdout);
        return 0;
    case Kommandozeile::Aktion::Version:
        std::printf("Rufmon %s\n", RUFMON_VERSION_TEXT);
        return 0;
    case Kommandozeile::Aktion::Fehler:
        std::fprintf(stderr, "rufmon: unbekannte Option %s\n", befehl.fehler.toLocal8Bit().constData());
        std::fputs(Kommandozeile::Verwendung().toLocal8Bit().constData(), stderr);
        return 2;
    case Kommandozeile::Aktion::Ort: {
        // No window and no display: the phone database alone.
        QCoreApplication app(argc, argv);
        IniSettingsStore store;
        LinuxSystem system;
        ConsoleDialogs dialogs;
        modOptionen optionen(store, system);
        clRufmonDaten daten(dialogs, optionen);
        daten.init(NummernMdbOrt::Pfad(QCoreApplication::applicationDirPath()));
        const int ergebnis = OrtAusgabe(daten, befehl.nummern, stdin, stdout, stderr);
        daten.kill();
        return ergebnis;
    }
    case Kommandozeile::Aktion::Uebergabe: {
        // A call for the running program's simulator; needs no display.
        QCoreApplication app(argc, argv);
        IniSettingsStore store;
        SingleInstance instanz(store.filePath());
        if (instanz.tryBecomePrimary()) {
            std::fputs("rufmon: Rufmon läuft nicht; der Anruf wurde nicht übergeben.\n", stderr);
            return 1;
        }
        if (!instanz.sendToPrimary(befehl.uebergabe)) {
            std::fputs("rufmon: das laufende Rufmon antwortet nicht.\n", stderr);
            return 1;
        }
        return 0;
    }
    case Kommandozeile::Aktion::Starten:
        break;
    }
    return std::nullopt;
}
