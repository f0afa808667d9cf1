// The options that are on or off: read from the settings as the program
// always read them, written back under the same keys and values, and every
// change announced once.
#include "core/Optionsschalter.h"

#include "doubles/Umgebung.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using S = Optionsschalter::Schalter;

// A fresh reading of the settings file, as the next start makes it.
struct Neustart
{
    IniSettingsStore store;
    FakeSystem system;
    modOptionen optionen{store, system};
    Optionsschalter schalter{optionen, store};

    explicit Neustart(const QString &datei) : store(datei) {}
};

} // namespace

class tst_Optionsschalter : public QObject
{
    Q_OBJECT

private slots:
    void readFromTheirKeys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("wert");
        QTest::addColumn<S>("schalter");
        QTest::addColumn<bool>("an");

        // Most options are on only at exactly 1 ...
        QTest::newRow("AutoNummern 0") << u"AutoNummern"_s << u"0"_s << S::AehnlicheNummern << false;
        QTest::newRow("AutoNummern 2") << u"AutoNummern"_s << u"2"_s << S::AehnlicheNummern << false;
        QTest::newRow("WeiterleitungErkennen 1.0")
            << u"WeiterleitungErkennen"_s << u"1.0"_s << S::VerbundeneNummern << true;
        QTest::newRow("AutostartTimer 1") << u"AutostartTimer"_s << u"1"_s << S::ACTTimer << true;
        QTest::newRow("AutoTapimonitor 1") << u"AutoTapimonitor"_s << u"1"_s << S::MonitorAutomatisch << true;
        QTest::newRow("FensterMin 1") << u"FensterMin"_s << u"1"_s << S::FensterMinimieren << true;
        QTest::newRow("PlusKlammerFilter blank 1")
            << u"PlusKlammerFilter"_s << u" 1"_s << S::PlusKlammerFilter << true;
        QTest::newRow("KeineNullBeimSuchen -1")
            << u"KeineNullBeimSuchen"_s << u"-1"_s << S::KeineNullBeimSuchen << false;
        // ... the cache's at anything but 0.
        QTest::newRow("NummernCache 2") << u"NummernCache"_s << u"2"_s << S::NummernCache << true;
        QTest::newRow("NummernCache 0") << u"NummernCache"_s << u"0"_s << S::NummernCache << false;
        QTest::newRow("NummernCacheAutomatisch -1")
            << u"NummernCacheAutomatisch"_s << u"-1"_s << S::NummernCacheAutomatisch << true;
        QTest::newRow("NummernCacheAutomatisch text")
            << u"NummernCacheAutomatisch"_s << u"nein"_s << S::NummernCacheAutomatisch << false;
        // One key for the prefix's two options.
        QTest::newRow("Null 1 adds") << u"Null"_s << u"1"_s << S::PraefixHinzufuegen << true;
        QTest::newRow("Null 1 keeps") << u"Null"_s << u"1"_s << S::PraefixEntfernen << false;
        QTest::newRow("Null -1 removes") << u"Null"_s << u"-1"_s << S::PraefixEntfernen << true;
        QTest::newRow("Null 2 leaves both") << u"Null"_s << u"2"_s << S::PraefixHinzufuegen << true;
    }

    void readFromTheirKeys()
    {
        QFETCH(QString, key);
        QFETCH(QString, wert);
        QFETCH(S, schalter);
        Umgebung u;
        u.store.SaveSetting(modOptionen::Abschnitt, key, wert);
        Neustart neu(u.store.filePath());
        QTEST(neu.schalter.gesetzt(schalter), "an");
    }

    void defaultsOfAFreshStore()
    {
        Umgebung u;
        QVERIFY(u.schalter.gesetzt(S::AehnlicheNummern));
        QVERIFY(u.schalter.gesetzt(S::NummernCacheAutomatisch));
        QVERIFY(u.schalter.gesetzt(S::Benachrichtigung));
        for (S aus : {S::VerbundeneNummern, S::ACTTimer, S::MonitorAutomatisch, S::FensterMinimieren, S::NummernCache,
                      S::Telefonieprotokoll, S::PraefixHinzufuegen, S::PraefixEntfernen, S::PlusKlammerFilter,
                      S::KeineNullBeimSuchen})
            QVERIFY2(!u.schalter.gesetzt(aus), QMetaEnum::fromType<S>().valueToKey(int(aus)));
    }

    // What one start sets, the next one reads; the desktop's switch at once, the others at exit.
    void keptAcrossARestart()
    {
        Umgebung u;
        for (S an : {S::VerbundeneNummern, S::ACTTimer, S::MonitorAutomatisch, S::FensterMinimieren, S::NummernCache,
                     S::PlusKlammerFilter, S::KeineNullBeimSuchen, S::PraefixEntfernen})
            u.schalter.setzen(an, true);
        for (S aus : {S::AehnlicheNummern, S::NummernCacheAutomatisch, S::Benachrichtigung})
            u.schalter.setzen(aus, false);
        u.store.sync();
        QCOMPARE(Neustart(u.store.filePath()).schalter.gesetzt(S::Benachrichtigung), false);
        QCOMPARE(Neustart(u.store.filePath()).schalter.gesetzt(S::ACTTimer), false);

        u.schalter.speichern();
        u.store.sync();
        Neustart neu(u.store.filePath());
        for (int i = 0; i < Optionsschalter::Anzahl; ++i) {
            const auto s = static_cast<S>(i);
            // The telephony log is off at every start.
            const bool erwartet = s == S::Telefonieprotokoll ? false : u.schalter.gesetzt(s);
            QVERIFY2(neu.schalter.gesetzt(s) == erwartet, QMetaEnum::fromType<S>().valueToKey(i));
        }
        // The values the settings have always held.
        const QList<QPair<QString, QString>> gespeichert = {
            {u"AutoNummern"_s, u"0"_s}, {u"WeiterleitungErkennen"_s, u"1"_s}, {u"AutostartTimer"_s, u"1"_s},
            {u"AutoTapimonitor"_s, u"1"_s}, {u"FensterMin"_s, u"1"_s}, {u"NummernCache"_s, u"1"_s},
            {u"NummernCacheAutomatisch"_s, u"0"_s}, {u"PlusKlammerFilter"_s, u"1"_s},
            {u"KeineNullBeimSuchen"_s, u"1"_s}, {u"Null"_s, u"-1"_s}};
        for (const auto &[key, wert] : gespeichert)
            QCOMPARE(neu.store.GetSetting(modOptionen::Abschnitt, key, u"<fehlt>"_s), wert);
        QCOMPARE(neu.store.GetSetting(u"Desktop"_s, u"Benachrichtigung"_s, u"<fehlt>"_s), u"0"_s);
    }

    void everyChangeIsAnnouncedOnce()
    {
        Umgebung u;
        QSignalSpy geaendert(&u.schalter, &Optionsschalter::Geaendert);
        u.schalter.setzen(S::KeineNullBeimSuchen, true);
        u.schalter.setzen(S::KeineNullBeimSuchen, true);
        u.schalter.setzen(S::AehnlicheNummern, true);
        QCOMPARE(geaendert.size(), 1);
        QCOMPARE(geaendert[0][0].value<S>(), S::KeineNullBeimSuchen);
        QCOMPARE(geaendert[0][1].toBool(), true);

        // Reading the settings again announces what differs from them.
        u.schalter.laden();
        QCOMPARE(geaendert.size(), 2);
        QCOMPARE(geaendert[1][0].value<S>(), S::KeineNullBeimSuchen);
        QCOMPARE(geaendert[1][1].toBool(), false);
    }
};

QTEST_GUILESS_MAIN(tst_Optionsschalter)
#include "tst_Optionsschalter.moc"
