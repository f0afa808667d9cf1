#include "platform/telephony/QtGeraeteEinstellungen.h"

#include "platform/telephony/CallMonitorDevice.h"
#include "platform/telephony/CallMonitorDialog.h"
#include "platform/telephony/LeitungHinzufuegenDialog.h"
#include "platform/telephony/ModemDevice.h"
#include "platform/telephony/ModemDialog.h"
#include "platform/telephony/SimulatorDevice.h"
#include "platform/telephony/TelefonanlageDevice.h"
#include "platform/telephony/TelefonanlageDialog.h"
#include "platform/telephony/WaehlregelnDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

void simulatorHinweis(QWidget *parent)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(u"Rufmon-Simulator"_s);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(u"Der Simulator hat keine Einstellungen. Eine Telefonleitung richten Sie mit\n"
                                 u"Optionen › TAPI › Leitung hinzufügen… ein.\n\n"
                                 u"Einen Anruf übergeben Sie dem laufenden Rufmon mit\n"
                                 u"    rufmon --anruf NUMMER [--name NAME]\n"
                                 u"eine verbundene Nummer mit\n"
                                 u"    rufmon --verbunden NUMMER"_s,
                                 &dialog));
    auto *knoepfe = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(knoepfe, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(knoepfe);
    dialog.exec();
}

template<typename Fenster>
void zeige(Fenster *dialog)
{
    // The device may go away while the dialog runs its own event loop.
    QPointer<QDialog> d(dialog);
    d->exec();
    delete d;
}

} // namespace

void QtGeraeteEinstellungen::Einstellen(LineDevice &device)
{
    QWidget *parent = QApplication::activeWindow();
    if (auto *monitor = qobject_cast<CallMonitorDevice *>(&device))
        zeige(new CallMonitorDialog(*monitor, parent));
    else if (auto *anlage = qobject_cast<TelefonanlageDevice *>(&device))
        zeige(new TelefonanlageDialog(*anlage, parent));
    else if (auto *modem = qobject_cast<ModemDevice *>(&device))
        zeige(new ModemDialog(*modem, parent));
    else if (qobject_cast<SimulatorDevice *>(&device))
        simulatorHinweis(parent);
}

QString QtGeraeteEinstellungen::Hinzufuegen(SettingsStore &settings, Kennwortspeicher &kennwoerter)
{
    LeitungHinzufuegenDialog dialog(settings, kennwoerter, {}, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted ? dialog.neueLeitung() : QString();
}

void QtGeraeteEinstellungen::Waehlregeln(SettingsStore &settings)
{
    WaehlregelnDialog dialog(settings, QApplication::activeWindow());
    dialog.exec();
}
