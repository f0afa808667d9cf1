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
        daten.init(NummernMdbOrt::Bereitstellen(QCoreApplication::applicationDirPath()));
        const int ergebnis = OrtAusgabe(daten, befehl.nummern, stdin, stdout, stderr);
        daten.kill();
        return ergebnis;
    }
    case Kommandozeile::Aktion::Uebergabe: {
        // A call for the running program's simulator; needs no display.
        QCoreApplication app(argc, argv);
        IniSettingsStore store;
        const SingleInstance instanz(store.filePath());
        const SingleInstance::Antwort antwort = instanz.sendToPrimary(befehl.uebergabe);
        QString fehler;
        switch (antwort.zustellung) {
        case SingleInstance::Zustellung::Angenommen:
            return 0;
        case SingleInstance::Zustellung::Abgelehnt:
            fehler = antwort.grund;
            break;
        case SingleInstance::Zustellung::LaeuftNicht:
            fehler = QStringLiteral("Rufmon läuft nicht; der Anruf wurde nicht übergeben.");
            break;
        case SingleInstance::Zustellung::ZuGross:
            fehler = QStringLiteral("Die Nummer ist zu lang für die Übergabe.");
            break;
        case SingleInstance::Zustellung::KeineAntwort:
            fehler = QStringLiteral("das laufende Rufmon antwortet nicht.");
            break;
        }
        std::fprintf(stderr, "rufmon: %s\n", fehler.toLocal8Bit().constData());
        return 1;
    }
    case Kommandozeile::Aktion::Starten:
        break;
    }
    return std::nullopt;
}
