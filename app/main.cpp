#include "app/Kommandozeile.h"
#include "app/DiagnoseApp.h"
#include "app/Konsolenbefehl.h"
#include "app/Rufmon.h"
#include "app/Uebergabe.h"
#include "app/Uebersetzung.h"
#include "app/frmHaupt.h"
#include "platform/actole/ActDatenbankAdapter.h"
#include "platform/benachrichtigung/DBusBenachrichtigungen.h"
#include "platform/benachrichtigung/Programmsymbol.h"
#include "platform/clipboard/QtClipboard.h"
#include "platform/desktop/X11Desktop.h"
#include "platform/dialogs/QtDialogs.h"
#include "platform/instance/SingleInstance.h"
#include "platform/kennwort/SchluesselbundKennwortspeicher.h"
#include "platform/settings/IniSettingsStore.h"
#include "platform/system/LinuxSystem.h"
#include "platform/system/SignalWatcher.h"
#include "platform/telephony/TelephonyControl.h"

#include <QApplication>
#include <QFileInfo>

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
    if (const auto ergebnis = Konsolenbefehl(befehl, argc, argv, AnzeigeVorhanden()))
        return *ergebnis;

    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Rufmon"_s);
    QApplication::setApplicationVersion(QStringLiteral(RUFMON_VERSION_TEXT));
    // The desktop links the windows to the menu entry (its icon, its name).
    QGuiApplication::setDesktopFileName(QStringLiteral(RUFMON_DESKTOP_ID));
    LadeQtUebersetzung(app);

    // From here on a logout or Ctrl+C ends the program through its exit
    // sequence; one that arrives while the window loads is kept until it is up.
    // A box open at that moment (a start-up message, say) closes with its
    // cancel answer, and no further box waits for a user who has gone.
    SignalWatcher signale;
    QtDialogs dialogs;
    bool beendenAngefordert = false;
    frmHaupt *geladen = nullptr;
    QObject::connect(&signale, &SignalWatcher::terminationRequested, &app, [&](int signal) {
        qCInfo(lcApp) << "Beenden angefordert, Signal" << signal;
        dialogs.beenden();
        if (geladen)
            QMetaObject::invokeMethod(geladen, &QWidget::close, Qt::QueuedConnection);
        else
            beendenAngefordert = true;
    });

    IniSettingsStore store;
    SingleInstance instanz(store.filePath());
    if (!instanz.tryBecomePrimary()) {
        // Another Rufmon runs with these settings: hand over and end quietly,
        // unless it does not answer — then what was handed over is lost.
        const SingleInstance::Antwort antwort = instanz.sendToPrimary(befehl.uebergabe);
        if (antwort.zustellung == SingleInstance::Zustellung::Angenommen)
            return 0;
        const QString grund = antwort.zustellung == SingleInstance::Zustellung::Abgelehnt ? antwort.grund
                                                                                          : u"das laufende Rufmon antwortet nicht."_s;
        qCWarning(lcApp).noquote() << u"Übergabe an das laufende Rufmon:"_s << grund;
        std::fprintf(stderr, "rufmon: %s\n", grund.toLocal8Bit().constData());
        return 1;
    }

    LinuxSystem system;
    QtClipboard clipboard;
    SchluesselbundKennwortspeicher kennwoerter;
    TelephonyControl tapi(store);
    tapi.setKennwoerter(&kennwoerter);
    tapi.setDialogs(&dialogs);
    DBusBenachrichtigungen benachrichtigungen(QDBusConnection::sessionBus(), Programmsymbol::Bild(system.ProgramFolder()));
    X11Desktop desktop;
    Rufmon rufmon({store, dialogs, clipboard, system, tapi, desktop, &benachrichtigungen, &kennwoerter});
    frmHaupt &hauptfenster = rufmon.Fenster();
    Programmteile &teilsysteme = rufmon.Teile();
    dialogs.setParentWindow(&hauptfenster);
    if (!befehl.actDatenbank.isEmpty())
        store.SaveSetting(ActDatenbankAdapter::Abschnitt(), ActDatenbankAdapter::Schluessel(),
                          QFileInfo(befehl.actDatenbank).absoluteFilePath());

    instanz.setPruefung([&tapi](const QStringList &uebergabe) { return PruefeUebergabe(uebergabe, tapi); });
    QObject::connect(&instanz, &SingleInstance::argumentsReceived, &hauptfenster,
                     [&hauptfenster, &tapi, &teilsysteme](const QStringList &uebergabe) {
                         if (FuehreUebergabeAus(uebergabe, tapi))
                             return;
                         const Kommandozeile k = Kommandozeile::lies(QStringList{u"rufmon"_s} + uebergabe);
                         if (!k.actDatenbank.isEmpty())
                             teilsysteme.ACTDatenbankSetzen(k.actDatenbank);
                         // A plain second start asks for the window.
                         if (uebergabe.isEmpty())
                             hauptfenster.Hervorholen();
                     });

    rufmon.starten();
    geladen = &hauptfenster;
    if (beendenAngefordert) {
        hauptfenster.close();
        return 0;
    }
    return rufmon.laufen();
}
