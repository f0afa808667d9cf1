#include "app/Kommandozeile.h"
#include "app/Uebergabe.h"
#include "platform/actole/ActDatenbankAdapter.h"
#include "app/OrtAusgabe.h"
#include "app/modOptionen.h"
#include "phonedb/NummernMdbOrt.h"
#include "phonedb/clRufmonDaten.h"
#include "platform/dialogs/ConsoleDialogs.h"
#include "app/Programmteile.h"
#include "app/Uebersetzung.h"
#include "app/frmHaupt.h"
#include "app/modHaupt.h"
#include "platform/clipboard/QtClipboard.h"
#include "platform/dialogs/QtDialogs.h"
#include "platform/instance/SingleInstance.h"
#include "platform/settings/IniSettingsStore.h"
#include "platform/system/LinuxSystem.h"
#include "platform/system/SignalWatcher.h"
#include "platform/telephony/SimulatorDevice.h"
#include "platform/telephony/TelephonyControl.h"

#include <QApplication>
#include <QFileInfo>
#include <QCoreApplication>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QStringList argumente(int argc, char **argv)
{
    QStringList liste;
    for (int i = 0; i < argc; ++i)
        liste.append(QString::fromLocal8Bit(argv[i]));
    return liste;
}

} // namespace

int main(int argc, char **argv)
{
    const Kommandozeile befehl = Kommandozeile::lies(argumente(argc, argv));
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

    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Rufmon"_s);
    QApplication::setApplicationVersion(QStringLiteral(RUFMON_VERSION_TEXT));
    LadeQtUebersetzung(app);

    // From here on a logout or Ctrl+C ends the program through its exit
    // sequence; one that arrives while the window loads is kept until it is up.
    SignalWatcher signale;
    bool beendenAngefordert = false;
    frmHaupt *geladen = nullptr;
    QObject::connect(&signale, &SignalWatcher::terminationRequested, &app, [&] {
        if (geladen)
            geladen->close();
        else
            beendenAngefordert = true;
    });

    IniSettingsStore store;
    SingleInstance instanz(store.filePath());
    if (!instanz.tryBecomePrimary()) {
        // Another Rufmon runs with these settings: hand over and end quietly,
        // unless it does not answer — then what was handed over is lost.
        if (instanz.sendToPrimary(befehl.uebergabe))
            return 0;
        std::fputs("rufmon: das laufende Rufmon antwortet nicht.\n", stderr);
        return 1;
    }

    modHaupt::instance().zuruecksetzen();

    LinuxSystem system;
    QtDialogs dialogs;
    QtClipboard clipboard;
    TelephonyControl tapi(store);
    Programmteile teilsysteme(dialogs, clipboard, store, system);

    frmHaupt hauptfenster({store, dialogs, clipboard, system, tapi, teilsysteme});
    dialogs.setParentWindow(&hauptfenster);
    teilsysteme.verbinde(hauptfenster, tapi);
    // What the devices note beyond call events goes to the telephony log.
    QObject::connect(&tapi, &TelephonyControl::Diagnose, &hauptfenster, [&hauptfenster](const QString &text) {
        if (hauptfenster.Protokolliert())
            hauptfenster.PrintProtokoll(u"Diagnose"_s, text);
    });
    if (!befehl.actDatenbank.isEmpty())
        store.SaveSetting(ActDatenbankAdapter::Abschnitt(), ActDatenbankAdapter::Schluessel(),
                          QFileInfo(befehl.actDatenbank).absoluteFilePath());

    QObject::connect(&instanz, &SingleInstance::argumentsReceived, &hauptfenster,
                     [&hauptfenster, &tapi, &teilsysteme](const QStringList &uebergabe) {
                         if (FuehreUebergabeAus(uebergabe, tapi))
                             return;
                         const Kommandozeile k = Kommandozeile::lies(QStringList{u"rufmon"_s} + uebergabe);
                         if (!k.actDatenbank.isEmpty())
                             teilsysteme.ACTDatenbankSetzen(k.actDatenbank);
                         // A plain second start asks for the window.
                         if (uebergabe.isEmpty()) {
                             if (hauptfenster.isMinimized())
                                 hauptfenster.showNormal();
                             hauptfenster.raise();
                             hauptfenster.activateWindow();
                         }
                     });

    hauptfenster.Form_Load();
    teilsysteme.StartAbgeschlossen();
    hauptfenster.show();
    geladen = &hauptfenster;
    if (beendenAngefordert) {
        hauptfenster.close();
        return 0;
    }
    return app.exec();
}
