#include "Anrufkette.h"

#include "phonedb/NummernMdbOrt.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "platform/telephony/SimulatorDevice.h"

#include "Abwarten.h"
#include "TestPaths.h"

#include <QFile>

using namespace Qt::StringLiterals;

bool Anrufkette::ACTgestartet()
{
    return actApp.ACTgestartet();
}

QString Anrufkette::ACTDatenbank()
{
    return actApp.ACTDatenbank();
}

void Anrufkette::TelefonfelderSetzen(const std::vector<clACTFeld> &felder, const QString &ausschluss)
{
    telefonfelder.FelderSetzen(felder, ausschluss);
}

Anrufkette::Anrufkette()
    : pruefung(felder, actMeldungen, optionen, *this)
    , weg({anzeige, anrufer, aehnlicheListe, leitung, suche, telefondaten, tapi, dialogs, optionen, system, schalter})
{
    aehnlicheListe.setColumns(
        {{u"Nummer"_s, u"Nummer"_s, {}}, {u"Kontakt"_s, u"Kontakt"_s, {}}, {u"Firma"_s, u"Firma"_s, {}}});
    // As a fresh program starts: similar numbers on, the cache off.
    anzeige.schalter = &schalter;
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
        schalter.setzen(Optionsschalter::Schalter::NummernCache, true);
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
    if (anrufer.Anzahl() == 0)
        return {};
    const Anruf e = anrufer.anruf(anrufer.ZuletztHinzugefuegt());
    return QStringList{e.nummer, e.ort, e.name, QString::number(e.bild), e.Tag()}.join(u'|');
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
