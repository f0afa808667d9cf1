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

namespace {

// Hands the arguments to the running program; the exit code, the reason on
// standard error. `laeuftNicht` says what was not handed over.
int uebergib(const QStringList &uebergabe, int argc, char **argv, const QString &laeuftNicht)
{
    QCoreApplication app(argc, argv);
    IniSettingsStore store;
    const SingleInstance instanz(store.filePath());
    const SingleInstance::Antwort antwort = instanz.sendToPrimary(uebergabe);
    QString fehler;
    switch (antwort.zustellung) {
    case SingleInstance::Zustellung::Angenommen:
        return 0;
    case SingleInstance::Zustellung::Abgelehnt:
        fehler = antwort.grund;
        break;
    case SingleInstance::Zustellung::LaeuftNicht:
        fehler = laeuftNicht;
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

} // namespace

bool AnzeigeVorhanden()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
           || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

std::optional<int> Konsolenbefehl(const Kommandozeile &befehl, int argc, char **argv, bool fenster)
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
    case Kommandozeile::Aktion::Uebergabe:
        // A call for the running program's simulator; needs no display.
        return uebergib(befehl.uebergabe, argc, argv,
                        QStringLiteral("Rufmon läuft nicht; der Anruf wurde nicht übergeben."));
    case Kommandozeile::Aktion::Starten:
        break;
    }
    if (befehl.actDatenbank.isEmpty())
        return std::nullopt;
    // A table that is not there changes nothing: no setting, no start.
    if (const QString grund = Kommandozeile::PruefeACTDatenbank(befehl.actDatenbank); !grund.isEmpty()) {
        std::fprintf(stderr, "rufmon: %s\n", grund.toLocal8Bit().constData());
        return 1;
    }
    // Without a window the table can only go to the running program.
    if (!fenster)
        return uebergib(befehl.uebergabe, argc, argv,
                        QStringLiteral("Rufmon läuft nicht und kann ohne Anzeige nicht starten; die "
                                       "ACT!-Kontakttabelle wurde nicht übergeben."));
    return std::nullopt;
}
