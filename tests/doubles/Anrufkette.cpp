#include "Anrufkette.h"

#include "phonedb/NummernMdbOrt.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "platform/telephony/SimulatorDevice.h"

#include "Abwarten.h"
#include "TestPaths.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

ACTPruefung::Umgebung pruefungsumgebung(clACTApplication &actApp, Telefonfeldliste &telefonfelder)
{
    ACTPruefung::Umgebung u;
    u.ACTgestartet = [&actApp] { return actApp.ACTgestartet(); };
    u.ACTDatenbank = [&actApp] { return actApp.ACTDatenbank(); };
    u.PanelText = [](const QString &) {};
    u.PanelBild = [](int) {};
    u.PanelToolTip = [](const QString &) {};
    u.TimerACT = [](bool) {};
    u.TelefonfelderSetzen = [&telefonfelder](const std::vector<clACTFeld> &felder, const QString &ausschluss) {
        telefonfelder.FelderSetzen(felder, ausschluss);
    };
    return u;
}

} // namespace

Anrufkette::Anrufkette()
    : pruefung(felder, actMeldungen, optionen, pruefungsumgebung(actApp, telefonfelder))
    , aehnliche({anzeige, aehnlicheListe, ereignisse, suche, telefondaten, dialogs, optionen, system})
    , auswertung({anzeige, anrufer, aehnlicheListe, ereignisse, nummern, suche, telefondaten, aehnliche, tapi, dialogs,
                  optionen, system})
{
    QObject::connect(&ereignisse, &Anrufereignisse::Anrufer, &auswertung, &Anrufauswertung::Anrufer);
    QObject::connect(&ereignisse, &Anrufereignisse::VerbundeneNummer, &auswertung,
                     &Anrufauswertung::VerbundeneNummer);
    anrufer.setColumns({{u"Nummer"_s, u"Nummer"_s, {}},
                        {u"Datum"_s, u"Datum"_s, {}},
                        {u"Ort"_s, u"Ort"_s, {}},
                        {u"Kontakt"_s, u"Kontakt"_s, {}}});
    aehnlicheListe.setColumns(
        {{u"Nummer"_s, u"Nummer"_s, {}}, {u"Kontakt"_s, u"Kontakt"_s, {}}, {u"Firma"_s, u"Firma"_s, {}}});
    // As the window starts: similar numbers on, everything else off.
    anzeige.gesetzt = {Menuepunkt::mnuAutoNummern};
    system.programFolder = dir.path();
}

Anrufkette::~Anrufkette()
{
    tapi.Shutdown();
    telefondaten.kill();
}

void Anrufkette::oeffne(const QString &actTabelle, bool cache)
{
    QFile::copy(QStringLiteral(RUFMON_NUMMERN_MDB), dir.filePath(u"Nummern.mdb"_s));
    QFile::setPermissions(dir.filePath(u"Nummern.mdb"_s), QFile::ReadOwner | QFile::WriteOwner);
    telefondaten.init(NummernMdbOrt::Pfad(dir.path()));
    telefondaten.leseMDBinListview(anrufer);

    act.laeuft = !actTabelle.isEmpty();
    act.datenbank = actTabelle;
    suche.setTelefonfelder(&telefonfelder);
    pruefung.PruefeACTDatenbank();
    if (cache) {
        suche.setCachePfad(dir.filePath(u"RUFMON.MDB"_s));
        bool gebaut = false;
        suche.CacheErstellen({}, [&gebaut](Kontaktsuche::Cachebau) { gebaut = true; });
        QVERIFY(QTest::qWaitFor([&gebaut] { return gebaut; }, 60000));
        anzeige.gesetzt.insert(Menuepunkt::mnuNummernCache);
        // The cache stands in for ACT!'s tables, as the program's cache step says.
        pruefung.setACTBereit(true);
    }

    tapi.Initialize();
    for (std::int32_t i = 0; i < tapi.DeviceCount(); ++i) {
        if (tapi.DeviceName(i) == u"Rufmon-Simulator"_s)
            tapi.setDeviceIndex(i);
    }
    tapi.OpenLine();
    tapi.Simulator()->setTakt(5, 50);
}

bool Anrufkette::anruf(const QString &nummer)
{
    const bool angenommen = tapi.Simulator()->anruf(nummer);
    return abwarten(auswertung) && angenommen;
}

QString Anrufkette::eintrag() const
{
    // Calls within one second share their moment, so the key tells the newest.
    int neueste = 0;
    for (int i = 1; i < anrufer.Count(); ++i) {
        if (anrufer.Item(i).Schluessel > anrufer.Item(neueste).Schluessel)
            neueste = i;
    }
    if (anrufer.Count() == 0)
        return {};
    const ListItem e = anrufer.Item(neueste);
    return QStringList{e.Text, e.columnText(2), e.columnText(3), QString::number(e.SmallIcon), e.Tag}.join(u'|');
}

QStringList Anrufkette::gespeichert() const
{
    QStringList z;
    auto db = DBEngine::instance().OpenDatabase(dir.filePath(u"Nummern.mdb"_s), false, true);
    auto rs = db->OpenRecordset(u"SELECT UniqueID, Nummer, Ort, Kontakt, Icon FROM Anrufspeicher"_s);
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList felder;
        for (int i = 0; i < 5; ++i)
            felder << rs->Fields()[i].Text();
        z << felder.join(u'|');
    }
    db->Close();
    return z;
}
