#include "Testfenster.h"

#include "windows/modListviewSort.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

Testfenster::Testfenster()
{
    store = std::make_unique<IniSettingsStore>(konfiguration());
}

QString Testfenster::konfiguration() const
{
    return dir.path() + u"/Rufmon.conf"_s;
}

void Testfenster::setze(const QString &abschnitt, const QString &key, const QString &wert)
{
    store->SaveSetting(abschnitt, key, wert);
    store->sync();
}

frmHaupt &Testfenster::erstelle()
{
    modListviewSort::Absteigend = false;
    leitung.reset();
    fenster.reset();
    schalter.reset();
    optionen = std::make_unique<modOptionen>(*store, system);
    schalter = std::make_unique<Optionsschalter>(*optionen, *store);
    fenster = std::make_unique<frmHaupt>(frmHauptUmgebung{*store, dialogs, clipboard, system, tapi, teile, *schalter});
    leitung = std::make_unique<Leitungsteile>(tapi, *fenster, *fenster, dialogs, *optionen, *schalter);
    fenster->anbinden(*leitung);
    return *fenster;
}

frmHaupt &Testfenster::starte()
{
    frmHaupt &f = erstelle();
    f.Form_Load();
    f.show();
    QCoreApplication::processEvents();
    return f;
}

QString Testfenster::gespeichert(const QString &abschnitt, const QString &key) const
{
    IniSettingsStore leser(konfiguration());
    return leser.GetSetting(abschnitt, key, u"<fehlt>"_s);
}
