// The caller identification without a window: a call on the simulator line
// of the real telephony control, the real phone database and a generated
// ACT! database, with the number cache and without, down to the stored row.
#include "core/modHaupt.h"
#include "platform/registry/RegionalSettings.h"
#include "platform/jet/DBEngine.h"
#include "core/Nummernschluessel.h"
#include "platform/jet/Database.h"
#include "platform/jet/Recordset.h"
#include "platform/telephony/SimulatorDevice.h"
#include "tools/actgen/ActGenerator.h"

#include "doubles/Abwarten.h"
#include "doubles/Anrufkette.h"
#include "doubles/Beispielkontakte.h"
#include "doubles/Kontaktliste.h"
#include "doubles/Sperrbuch.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

class tst_Anrufauswertung : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void knownCallers_data()
    {
        QTest::addColumn<bool>("cache");
        QTest::newRow("direct") << false;
        QTest::newRow("cache") << true;
    }
    void knownCallers()
    {
        QFETCH(bool, cache);
        Anrufkette k;
        // Over 550 contacts: the cache import outgrows its first table of keys.
        const Beispielkontakte b = Beispielkontakte::schreibe(k.dir.filePath(u"act"_s), 250);
        k.oeffne(b.tabelle, cache);
        // The desktop notification also wants the company, which the searches do not name.
        k.auswertung.setFirmaSuchen(true);
        QList<Anruf> erkannt;
        connect(&k.auswertung, &Anrufauswertung::Erkannt, this, [&](const Anruf &a) { erkannt << a; });
        QVERIFY(k.anruf(u"0301234567"_s));
        const QString greta = IDInKlammern(b.greta);
        QCOMPARE(erkannt.size(), 1);
        QCOMPARE(QStringList({erkannt[0].nummer, erkannt[0].ort, erkannt[0].name, erkannt[0].Tag(), erkannt[0].firma}),
                 QStringList({u"0301234567"_s, u"Berlin"_s, u"Greta Grünwald"_s, greta, u"Grünwald & Söhne"_s}));
        QCOMPARE(k.anrufer.Stelle(erkannt[0].eintrag), 0);
        QCOMPARE(k.eintrag(), u"0301234567|Berlin|Greta Grünwald|6|"_s + greta);
        QCOMPARE(k.gespeichert(), QStringList{greta + u"|0301234567|Berlin|Greta Grünwald|6"_s});
        QVERIFY(k.anzeige.suchdauer.startsWith(u"Suchdauer1:"_s));
        QVERIFY(k.ereignisse.LetzterAnruf.contains(u"Gefilterte Nummer:0301234567\r\n"_s));
        QCOMPARE(k.anzeige.nachVorneGeholt, 1);
        QCOMPARE(k.anzeige.neueAnrufe, 1);
        // Everything is back as before the call.
        QVERIFY(!k.auswertung.laeuft());
        QVERIFY(k.anzeige.knopfAktiv && k.anzeige.pruefungAktiv);
        QCOMPARE(k.anzeige.wartecursor, 0);
        QVERIFY(k.tapi.EventsEnabled());
        QCOMPARE(k.anzeige.meldungen.last(), QString());
        QCOMPARE(k.dialogs.boxes().size(), 0);

        // The similar contacts: Greta and her neighbours' faxes, each with its contact's id.
        QCOMPARE(k.aehnlicheListe.columns()[0].Text, u"Nummer (030) 123..."_s);
        QStringList texte;
        for (int i = 0; i < k.aehnlicheListe.Count(); ++i)
            texte << k.aehnlicheListe.Item(i).Text + u' ' + QString::number(k.aehnlicheListe.Item(i).Tag.size());
        texte.sort();
        QCOMPARE(texte, (QStringList{u"[Fax] 0301234510 14"_s, u"[Fax] 0301234521 14"_s, u"[Fax] 0301234532 14"_s,
                                     u"[Fax] 0301234543 14"_s, u"[Telefon] 0301234567 14"_s}));

        // Every customer is found by its own number, on the home and on the mobile field.
        for (const QString &kunde : b.kunden)
            k.anruf(kunde.section(u' ', 0, 0));
        QStringList gefunden;
        for (const QString &zeile : k.gespeichert().mid(1))
            gefunden << zeile.section(u'|', 1, 1) + u' ' + zeile.section(u'|', 0, 0);
        QCOMPARE(gefunden, b.kunden);
    }

    void noPhoneFieldFindsNobody_data() { knownCallers_data(); }
    void noPhoneFieldFindsNobody()
    {
        // Every phone field excluded: a search without a field would match every
        // contact; the caller is unknown and nobody is similar.
        QFETCH(bool, cache);
        Anrufkette k;
        k.store.SaveSetting(u"Optionen"_s, u"Ausschlussfelder"_s, u"PHONE;FAX;HOME_PHONE;MOBILE_PH;ALT_PHONE;"_s);
        k.oeffne(Beispielkontakte::schreibe(k.dir.filePath(u"act"_s)).tabelle, cache);
        QVERIFY(k.anruf(u"0301234567"_s));
        QCOMPARE(k.eintrag(), u"0301234567|Berlin|Unbekannt|2|Unbekannt"_s);
        QCOMPARE(k.aehnlicheListe.Count(), 0);
        QCOMPARE(k.dialogs.boxes().size(), 0);
    }

    void unknownFilteredAndConnectedCalls()
    {
        Anrufkette k;
        const Beispielkontakte b = Beispielkontakte::schreibe(k.dir.filePath(u"act"_s));
        k.oeffne(b.tabelle, false);
        k.nummern.setFiltertext(u"0800,0891234567"_s);
        QVERIFY(k.anruf(u"0891234567"_s));
        QCOMPARE(k.anrufer.Anzahl(), 0);
        QCOMPARE(k.gespeichert(), QStringList());
        QVERIFY(k.ereignisse.LetzterAnruf.endsWith(u"\r\nNummernfilter:0891234567"_s));

        QVERIFY(k.anruf(u"0043316123456"_s));
        QCOMPARE(k.eintrag(), u"0043316123456|Österreich/Graz|Unbekannt|2|Unbekannt"_s);
        // A short number: no place look-up, then the free list or "Unbekannt".
        QVERIFY(k.anruf(u"112"_s));
        QCOMPARE(k.anrufer.Anzahl(), 2);
        QCOMPARE(k.gespeichert(), (QStringList{u"Unbekannt|0043316123456|Österreich/Graz|Unbekannt|2"_s,
                                               u"Unbekannt|112|Unbekannt|Unbekannt|2"_s}));

        // A connected number only with its menu item, then with pictures of its own.
        QVERIFY(k.tapi.Simulator()->verbunden(u"0301234567"_s));
        QVERIFY(!k.auswertung.laeuft());
        QCOMPARE(k.anrufer.Anzahl(), 2);
        k.schalter.setzen(Optionsschalter::Schalter::VerbundeneNummern, true);
        QVERIFY(k.tapi.Simulator()->verbunden(u"0301234567"_s));
        QVERIFY(abwarten(k.auswertung));
        QCOMPARE(k.eintrag(), u"0301234567|Berlin|Greta Grünwald|10|"_s + IDInKlammern(b.greta));
        QVERIFY(k.tapi.Simulator()->verbunden(u"0402222333"_s));
        QVERIFY(abwarten(k.auswertung));
        QCOMPARE(k.eintrag(), u"0402222333|Hamburg|Unbekannt|9|Unbekannt"_s);
    }

    // The identification reads the options where they live, without a window:
    // each call is cleaned and searched as the options stand at its ring.
    void followsTheOptionsWithoutAWindow()
    {
        using S = Optionsschalter::Schalter;
        Anrufkette k;
        const Beispielkontakte b = Beispielkontakte::schreibe(k.dir.filePath(u"act"_s));
        k.oeffne(b.tabelle, false);
        const QString greta = u"0301234567|Berlin|Greta Grünwald|6|"_s + IDInKlammern(b.greta);
        QVERIFY(k.anruf(u"301234567"_s));
        QCOMPARE(k.eintrag().section(u'|', 0, 0), u"301234567"_s);
        k.schalter.setzen(S::PraefixHinzufuegen, true);
        QVERIFY(k.anruf(u"301234567"_s));
        QCOMPARE(k.eintrag(), greta);
        // The other prefix option wins over the first, as the commands keep them apart.
        k.nummern.mnuTAPINullEntfernen(false);
        QVERIFY(!k.schalter.gesetzt(S::PraefixHinzufuegen));
        QVERIFY(k.anruf(u"00301234567"_s));
        QCOMPARE(k.eintrag(), greta);
    }

    void callsDuringAnIdentification()
    {
        Anrufkette k;
        k.oeffne(QString(), false);
        Sperrbuch buch;
        k.suche.setKontaktquelle(&buch);
        k.schalter.setzen(Optionsschalter::Schalter::VerbundeneNummern, true);
        // While the first call's search runs another caller and two connected
        // numbers arrive: the caller is dropped unseen, the later connected
        // number is taken up afterwards (it overwrites the earlier one).
        buch.sperren();
        emit k.tapi.AnruferBekannt({1, 1}, u"0301234567"_s, QString(), Rufnummernanzeige::Nummer);
        QTRY_VERIFY(buch.wartet());
        QVERIFY(k.auswertung.laeuft());
        const QString letzterAnruf = k.ereignisse.LetzterAnruf;
        emit k.tapi.AnruferBekannt({5, 5}, u"0211999888"_s, QString(), Rufnummernanzeige::Nummer);
        emit k.tapi.VerbundenMit({11, 12}, u"0891111111"_s);
        emit k.tapi.VerbundenMit({13, 14}, u"0892222222"_s);
        QCOMPARE(k.ereignisse.LetzterAnruf, letzterAnruf);
        QCOMPARE(k.anrufer.Anzahl(), 1);
        buch.freigeben();
        QVERIFY(abwarten(k.auswertung));
        QStringList nummern;
        for (const QString &zeile : k.gespeichert())
            nummern << zeile.section(u'|', 1, 1) + u'|' + zeile.section(u'|', 4, 4);
        QCOMPARE(nummern, (QStringList{u"0301234567|2"_s, u"0892222222|9"_s}));
        QVERIFY(!k.auswertung.laeuft());
        // Outside an identification a connected number is identified at once.
        emit k.tapi.VerbundenMit({3, 4}, u"0893333333"_s);
        QVERIFY(abwarten(k.auswertung));
        QVERIFY(k.eintrag().startsWith(u"0893333333|"_s));
        // A blank number is not identified.
        emit k.tapi.AnruferBekannt({1, 1}, u"   "_s, QString(), Rufnummernanzeige::Nummer);
        QCOMPARE(k.gespeichert().size(), 3);
    }

    void aSecondCallWaitsWhileASearchRuns_data()
    {
        QTest::addColumn<bool>("aehnliche");
        QTest::newRow("in the contact search") << false;
        QTest::newRow("in the similar search") << true;
    }
    void aSecondCallWaitsWhileASearchRuns()
    {
        // The search runs beside the window: the window goes on (this test's
        // event loop turns), the line holds the next caller back until the
        // first call, its similar contacts included, is stored; then the
        // second is identified in its turn. Nothing runs inside anything.
        QFETCH(bool, aehnliche);
        Anrufkette k;
        k.oeffne(QString(), false);
        Sperrbuch buch;
        buch.kontakte = {{u"A1"_s, u"Greta Grünwald"_s, QString(), std::nullopt, {{u"Telefon"_s, u"0301234567"_s}}},
                         {u"A2"_s, u"Hans Hansen"_s, QString(), std::nullopt, {{u"Telefon"_s, u"040 1111111"_s}}}};
        k.suche.setKontaktquelle(&buch);
        if (!aehnliche)
            buch.sperren();
        QStringList ablauf;
        connect(&k.auswertung, &Anrufauswertung::Erkannt, this, [&](const Anruf &a) { ablauf << u"erkannt "_s + a.nummer; });
        connect(&k.auswertung, &Anrufauswertung::Beendet, this, [&] { ablauf << u"beendet"_s; });
        bool einmal = aehnliche;
        connect(&k.auswertung, &Anrufauswertung::Erkannt, this, [&] {
            if (std::exchange(einmal, false))
                buch.sperren();
        });

        QVERIFY(k.tapi.Simulator()->anruf(u"0301234567"_s));
        QTRY_VERIFY(buch.wartet());
        QVERIFY(k.auswertung.laeuft());
        QVERIFY(!k.anzeige.knopfAktiv);
        QVERIFY(!k.tapi.EventsEnabled());
        QVERIFY(k.tapi.Simulator()->anruf(u"0401111111"_s));
        QCOMPARE(k.tapi.WartendeAnrufe(), 1);
        // The window shows the search while it waits, as it would for a long one.
        QTest::qWait(50);
        QCOMPARE(k.anrufer.Anzahl(), 1);
        QCOMPARE(k.anzeige.wartecursor, 1);
        QCOMPARE(k.anzeige.meldungen.last(), aehnliche ? u"Suche ähnliche Nummern ..."_s : u"Suche Kontakt im Adressbuch..."_s);
        QCOMPARE(ablauf, aehnliche ? QStringList{u"erkannt 0301234567"_s} : QStringList());

        buch.freigeben();
        QTRY_COMPARE(k.gespeichert().size(), 2);
        QVERIFY(abwarten(k.auswertung));
        QCOMPARE(ablauf, (QStringList{u"erkannt 0301234567"_s, u"beendet"_s, u"erkannt 0401111111"_s, u"beendet"_s}));
        QCOMPARE(k.gespeichert(), (QStringList{IDInKlammern(u"A1"_s) + u"|0301234567|Berlin|Greta Grünwald|6"_s,
                                               IDInKlammern(u"A2"_s) + u"|0401111111|Hamburg|Hans Hansen|6"_s}));
        QCOMPARE(buch.gewartet(), 1);
        QCOMPARE(buch.offen, 0);
        QCOMPARE(k.anzeige.wartecursor, 0);
        QVERIFY(k.anzeige.knopfAktiv);
        QVERIFY(k.tapi.EventsEnabled());
        QCOMPARE(k.dialogs.boxes().size(), 0);
    }

    void aBurstIsStoredWholeWithTheMomentsItRang()
    {
        // Calls that reach the line while the program is busy wait their turn
        // and keep the moment they rang; the rows of a burst are stored
        // together, the similar contacts shown are the last caller's.
        Anrufkette k;
        const Beispielkontakte b = Beispielkontakte::schreibe(k.dir.filePath(u"act"_s));
        k.oeffne(b.tabelle, true);
        k.schalter.setzen(Optionsschalter::Schalter::AehnlicheNummern, true);
        k.tapi.setEventsEnabled(false);
        const QString vorher = RegionalSettings::DateTimeText(QDateTime::currentDateTime());
        QStringList nummern;
        for (int i = 0; i < 20; ++i) {
            nummern << u"0891234%1"_s.arg(500 + i);
            QVERIFY(k.anruf(nummern.last()));
        }
        QVERIFY(k.anruf(u"0301234567"_s));
        nummern << u"0301234567"_s;
        const QString nachher = RegionalSettings::DateTimeText(QDateTime::currentDateTime());
        QCOMPARE(k.tapi.WartendeAnrufe(), 21);
        QTest::qWait(1100);
        k.tapi.setEventsEnabled(true);
        QTRY_COMPARE(k.gespeichert().size(), 21);
        QStringList gespeichert;
        for (const QString &zeile : k.gespeichert())
            gespeichert << zeile.section(u'|', 1, 1);
        QCOMPARE(gespeichert, nummern);
        for (int i = 0; i < k.anrufer.Anzahl(); ++i) {
            const QString geklingelt = k.anrufer.an(i).Datumstext();
            QVERIFY2(geklingelt == vorher || geklingelt == nachher, qPrintable(geklingelt + u" / "_s + vorher));
        }
        QCOMPARE(k.eintrag(), u"0301234567|Berlin|Greta Grünwald|6|"_s + IDInKlammern(b.greta));
        QCOMPARE(k.aehnlicheListe.columns()[0].Text, u"Nummer (030) 123..."_s);
        QCOMPARE(std::count(k.anzeige.meldungen.cbegin(), k.anzeige.meldungen.cend(), u"Suche ähnliche Nummern ..."_s), 1);
        QCOMPARE(k.tapi.WartendeAnrufe(), 0);
        // The window heard of the burst, and of its end.
        QVERIFY(k.anzeige.anrufeWartend.value(0));
        QVERIFY(!k.anzeige.anrufeWartend.last());
        QCOMPARE(k.dialogs.boxes().size(), 0);
    }

    void damagedDefinitionsFindNobodyUntilRepaired()
    {
        Anrufkette k;
        const Beispielkontakte b = Beispielkontakte::schreibe(k.dir.filePath(u"act"_s));
        const QString ddf = k.dir.filePath(u"act/KUNDEN.ddf"_s);
        QVERIFY(QFile::rename(ddf, ddf + u".gut"_s));
        ActGenerator ohneGruppen;
        ohneGruppen.options().contacts = 5;
        ohneGruppen.options().ddfVariant = ActDefinitionFile::Variant::WithoutGroupMarker;
        QVERIFY(ohneGruppen.write(k.dir.filePath(u"kaputt"_s)));
        QVERIFY(QFile::copy(k.dir.filePath(u"kaputt/KUNDEN.ddf"_s), ddf));

        k.oeffne(b.tabelle, false);
        QVERIFY(!k.suche.ACTBereit());
        QVERIFY(k.anruf(u"0301234567"_s));
        QCOMPARE(k.eintrag(), u"0301234567|Berlin|Unbekannt|2|Unbekannt"_s);
        // The timer's next ticks: still not ready, and the one box stays one.
        k.pruefung.PruefeACTDatenbank();
        k.pruefung.PruefeACTDatenbank();
        QVERIFY(!k.suche.ACTBereit());
        QCOMPARE(k.dialogs.boxes().size(), 1);

        QVERIFY(QFile::remove(ddf) && QFile::copy(ddf + u".gut"_s, ddf));
        k.pruefung.PruefeACTDatenbank();
        QVERIFY(k.suche.ACTBereit());
        QVERIFY(k.anruf(u"0301234567"_s));
        QCOMPARE(k.eintrag(), u"0301234567|Berlin|Greta Grünwald|6|"_s + IDInKlammern(b.greta));
    }

    void numbersAsPeopleWriteThem_data() { knownCallers_data(); }
    void numbersAsPeopleWriteThem()
    {
        QFETCH(bool, cache);
        Anrufkette k;
        ActGenerator g;
        g.options().seed = 5;
        g.options().contacts = 200;
        // The line delivers "0301234567"; contact managers hold what people typed.
        const QList<QPair<QString, QString>> geschrieben = {
            {u"030 / 123 45-01"_s, u"0301234501"_s}, {u"+49 30 1234502"_s, u"0301234502"_s},
            {u"(030) 1234503"_s, u"0301234503"_s},   {u"030-1234504"_s, u"0301234504"_s},
            {u"+49 (0)89 / 12 34 56-0"_s, u"0891234560"_s}, {u"+43 316 123456"_s, u"0043316123456"_s}};
        QStringList ids;
        for (int i = 0; i < geschrieben.size(); ++i) {
            ActGenerator::Contact c;
            c.lastName = u"Schreibweise %1"_s.arg(i);
            (i % 2 ? c.fax : c.phone) = geschrieben[i].first;
            ids << IDInKlammern(g.addKnownContact(c));
        }
        // Found as written by the first search, this one keeps the call even though another key holds it too.
        ActGenerator::Contact woertlich;
        woertlich.lastName = u"Wörtlich"_s;
        woertlich.phone = u"0301234501"_s;
        const QString woertlichId = IDInKlammern(g.addKnownContact(woertlich));
        QVERIFY(g.write(k.dir.filePath(u"act"_s)));
        k.oeffne(g.summary().dbfPath, cache);

        for (int i = 1; i < geschrieben.size(); ++i) {
            QVERIFY(k.anruf(geschrieben[i].second));
            QVERIFY2(k.eintrag().endsWith(u"|Schreibweise %1|6|"_s.arg(i) + ids[i]), qPrintable(k.eintrag()));
        }
        QVERIFY(k.anruf(u"0301234501"_s));
        QVERIFY2(k.eintrag().endsWith(u"|Wörtlich|6|"_s + woertlichId), qPrintable(k.eintrag()));
        // The neighbours by their keys, each shown as it is written.
        QStringList nachbarn;
        for (int i = 0; i < k.aehnlicheListe.Count(); ++i)
            nachbarn << k.aehnlicheListe.Item(i).Text;
        for (const QString &erwartet :
             {u"[Telefon] 030 / 123 45-01"_s, u"[Fax] +49 30 1234502"_s, u"[Telefon] (030) 1234503"_s,
              u"[Fax] 030-1234504"_s, u"[Telefon] 0301234501"_s})
            QVERIFY2(nachbarn.contains(erwartet), qPrintable(nachbarn.join(u" / "_s)));
        QCOMPARE(k.dialogs.boxes().size(), 0);
    }

    void fragmentsNameNobody_data() { knownCallers_data(); }
    void fragmentsNameNobody()
    {
        // What a line may deliver instead of a number: too few digits to tell
        // one line from another, though some contact holds them somewhere. The
        // search as the line gives it finds nobody; the key search must not
        // step in with the digits alone.
        QFETCH(bool, cache);
        Anrufkette k;
        ActGenerator g;
        // Only the two below: generated ones may hold a fragment as it is
        // written, and the search as written finds what it holds.
        g.options().contacts = 2;
        ActGenerator::Contact greta;
        greta.lastName = u"Grünwald"_s;
        greta.phone = u"0301234567"_s;
        const QString gretaId = IDInKlammern(g.addKnownContact(greta));
        ActGenerator::Contact ziffern;
        ziffern.lastName = u"Ziffernfreund"_s;
        ziffern.phone = u"0896101234"_s;
        ziffern.fax = u"0209876543"_s;
        g.addKnownContact(ziffern);
        QVERIFY(g.write(k.dir.filePath(u"act"_s)));
        k.oeffne(g.summary().dbfPath, cache);

        for (const QString &fragment :
             {u"0301"_s, u"**610"_s, u"anonym 4"_s, u"Tel 12"_s, u"0 3 0 1"_s, u"0301*"_s, u"*4567"_s, u"+49 30"_s,
              u"[0-9]*"_s, u"0301\" OR \"1\"=\"1"_s, u"0301%_%"_s}) {
            QVERIFY(k.anruf(fragment));
            QVERIFY2(k.eintrag().endsWith(u"|Unbekannt|2|Unbekannt"_s), qPrintable(fragment + u" → "_s + k.eintrag()));
        }
        // Five digits are a number again, however they are written.
        QVERIFY(k.anruf(u"+49 30 1234567"_s));
        QVERIFY2(k.eintrag().endsWith(u"|Grünwald|6|"_s + gretaId),
                 qPrintable(k.eintrag()));
        QCOMPARE(k.dialogs.boxes().size(), 0);
    }

    void similarNumbersAsWrittenFirst_data() { knownCallers_data(); }
    void similarNumbersAsWrittenFirst()
    {
        // The neighbours as the numbers are written come first and show their
        // value up to the first blank; the key search adds those written
        // otherwise, whole. With "Debug" the first search's statement is copied.
        QFETCH(bool, cache);
        Anrufkette k;
        k.store.SaveSetting(u"Optionen"_s, u"Debug"_s, u"1"_s);
        ActGenerator g;
        g.options().seed = 9;
        g.options().contacts = 40;
        const QList<QPair<QString, QString>> geschrieben = {{u"Zentrale"_s, u"0301234588 Zentrale"_s},
                                                            {u"Vorzimmer"_s, u"Tel. 0301234596"_s},
                                                            {u"Getrennt"_s, u"030 1234599"_s},
                                                            {u"Anrufer"_s, u"0301234567"_s}};
        for (const auto &[name, nummer] : geschrieben) {
            ActGenerator::Contact c;
            c.lastName = name;
            c.phone = nummer;
            g.addKnownContact(c);
        }
        QVERIFY(g.write(k.dir.filePath(u"act"_s)));
        k.oeffne(g.summary().dbfPath, cache);
        QVERIFY(k.anruf(u"0301234567"_s));

        QStringList nachbarn;
        for (int i = 0; i < k.aehnlicheListe.Count(); ++i)
            nachbarn << k.aehnlicheListe.Item(i).Text + u'|' + k.aehnlicheListe.Item(i).columnText(1);
        QCOMPARE(nachbarn, (QStringList{u"[Telefon] 0301234588|Zentrale"_s, u"[Telefon] Tel.|Vorzimmer"_s,
                                        u"[Telefon] 0301234567|Anrufer"_s, u"[Telefon] 030 1234599|Getrennt"_s}));
        QVERIFY(k.anzeige.meldungen.contains(u"4 Eingträg(e) gefunden"_s));
        if (!cache)
            QVERIFY2(k.clipboard.GetText().contains(u"LIKE '*030123*'"_s), qPrintable(k.clipboard.GetText()));
    }

    void invisibleCharactersAreNoPartOfTheNumber_data()
    {
        QTest::addColumn<QString>("gemeldet");
        QTest::addColumn<QString>("nummer");
        QTest::newRow("right-to-left override") << u"\u202E7654321030"_s << u"7654321030"_s;
        QTest::newRow("override and pop") << u"\u202D0301234567\u202C"_s << u"0301234567"_s;
        QTest::newRow("isolates") << u"\u20670301\u2069234567\u2068"_s << u"0301234567"_s;
        QTest::newRow("zero-width") << u"030\u200B123\u200C45\u200D67\u200E\u200F"_s << u"0301234567"_s;
        QTest::newRow("byte-order mark") << u"\uFEFF0301234567"_s << u"0301234567"_s;
        QTest::newRow("control characters") << u"030\u0007123\u009B4567"_s << u"0301234567"_s;
    }
    void invisibleCharactersAreNoPartOfTheNumber()
    {
        // What the list shows, what is stored and what a call-back dials are the same digits.
        QFETCH(QString, gemeldet);
        QFETCH(QString, nummer);
        Anrufkette k;
        const Beispielkontakte b = Beispielkontakte::schreibe(k.dir.filePath(u"act"_s));
        k.oeffne(b.tabelle, false);
        QVERIFY(k.anruf(gemeldet));
        QCOMPARE(k.anrufer.an(0).nummer, nummer);
        QCOMPARE(k.gespeichert().value(0).section(u'|', 1, 1), nummer);
        if (nummer == u"0301234567"_s)
            QCOMPARE(k.eintrag(), u"0301234567|Berlin|Greta Grünwald|6|"_s + IDInKlammern(b.greta));
    }

    void everyGeneratedNumberFindsItsContact()
    {
        // The generator writes numbers in the forms people use. Every value of
        // every contact, dialled, names that contact (or one that holds the same
        // digits), the same one with the cache and without.
        QTemporaryDir daten;
        ActGenerator g;
        g.options().seed = 17;
        g.options().contacts = 150;
        QVERIFY(g.write(daten.path()));
        const QStringList felder{u"PHONE"_s, u"FAX"_s, u"HOME_PHONE"_s, u"MOBILE_PH"_s, u"ALT_PHONE"_s};
        QList<QPair<QString, QStringList>> kontakte; // id, keys of its phone fields
        QStringList anrufe;
        {
            auto db = DBEngine::instance().OpenDatabase(daten.path(), false, true, u"FoxPro 2.6;"_s);
            auto rs = db->OpenRecordset(u"SELECT UNIQUE_ID, "_s + felder.join(u", "_s) + u" FROM [KUNDEN.dbf]"_s);
            for (; !rs->Eof(); rs->MoveNext()) {
                QStringList schluessel;
                for (const QString &f : felder) {
                    const QString s = Nummernschluessel::schluessel(rs->Fields()[f].Text(), u"49"_s);
                    schluessel << s;
                    if (s.size() >= 5)
                        anrufe << s;
                }
                kontakte.append({IDInKlammern(rs->Fields()[u"UNIQUE_ID"_s].Text()), schluessel});
            }
            db->Close();
        }
        QVERIFY(anrufe.size() > 150);
        QList<QStringList> gefunden;
        for (const bool cache : {false, true}) {
            Anrufkette k;
            k.schalter.setzen(Optionsschalter::Schalter::AehnlicheNummern, false);
            k.oeffne(g.summary().dbfPath, cache);
            QStringList tags;
            for (const QString &nummer : anrufe) {
                QVERIFY(k.anruf(nummer));
                const QString tag = k.eintrag().section(u'|', 4);
                bool passt = false;
                for (const auto &[id, schluessel] : kontakte) {
                    if (id == tag)
                        passt = std::any_of(schluessel.begin(), schluessel.end(),
                                            [&](const QString &s) { return s.contains(nummer); });
                }
                QVERIFY2(passt, qPrintable(nummer + u" → "_s + k.eintrag()));
                tags << tag;
            }
            gefunden << tags;
            QCOMPARE(k.dialogs.boxes().size(), 0);
        }
        QCOMPARE(gefunden[1], gefunden[0]);
    }

    void cacheFailureSwitchesTheCacheOff_data()
    {
        QTest::addColumn<bool>("dateiWeg");
        QTest::newRow("cache file deleted") << true;
        QTest::newRow("cache table missing") << false;
    }
    void cacheFailureSwitchesTheCacheOff()
    {
        QFETCH(bool, dateiWeg);
        Anrufkette k;
        const Beispielkontakte b = Beispielkontakte::schreibe(k.dir.filePath(u"act"_s));
        k.oeffne(b.tabelle, true);
        const QString cache = k.dir.filePath(u"RUFMON.MDB"_s);
        if (dateiWeg) {
            QVERIFY(QFile::remove(cache));
        } else {
            auto db = DBEngine::instance().OpenDatabase(cache);
            db->TableDefs().Delete(u"ACTNR"_s);
            db->Close();
        }
        QVERIFY(k.anruf(u"0301234567"_s));
        QCOMPARE(k.dialogs.boxes().size(), 1);
        QCOMPARE(k.dialogs.boxes().first().text, u"Fehler beim Zugriff auf Nummerncache-Datenbank: "_s + cache
                                                     + u"\r\nDer Nummerncache wird deaktiviert."_s);
        QVERIFY(k.anzeige.cacheAbgeschaltet);
        QVERIFY(!k.schalter.gesetzt(Optionsschalter::Schalter::NummernCache));
        // No direct search for that call; the next one searches the ACT! tables.
        QCOMPARE(k.eintrag(), u"0301234567|Berlin|Unbekannt|2|Unbekannt"_s);
        QVERIFY(k.suche.ACTBereit());
        QVERIFY(k.anruf(u"0301234567"_s));
        QCOMPARE(k.eintrag(), u"0301234567|Berlin|Greta Grünwald|6|"_s + IDInKlammern(b.greta));
    }

    // Another address book in place of ACT!: no ACT! table, no cache, and the
    // identification names, stores and lists as with ACT!, the company too.
    void anyContactSource()
    {
        Anrufkette k;
        k.oeffne(QString(), false);
        Kontaktliste buch;
        buch.kontakte = {
            {u"A1"_s, u"Greta Grünwald"_s, u"Grünwald & Söhne"_s, u"Berlin-Mitte"_s,
             {{u"Mobil"_s, u"0171 5550000"_s}, {u"Telefon"_s, u"+49 (30) 123 45-67"_s}}},
            {u"A2"_s, u"Nachbar"_s, u"Hof KG"_s, std::nullopt, {{u"Fax"_s, u"0301234599 Zentrale"_s}}},
            {u"A3"_s, QString(), QString(), std::nullopt, {{u"Telefon"_s, u"089 4444444"_s}}},
        };
        k.suche.setKontaktquelle(&buch);
        k.auswertung.setFirmaSuchen(true);
        QList<Anruf> erkannt;
        connect(&k.auswertung, &Anrufauswertung::Erkannt, this, [&](const Anruf &a) { erkannt << a; });

        // Found by its key; the city is the contact's, the company comes along.
        QVERIFY(k.anruf(u"0301234567"_s));
        QCOMPARE(k.eintrag(), u"0301234567|Berlin-Mitte|Greta Grünwald|6|"_s + IDInKlammern(u"A1"_s));
        QCOMPARE(erkannt.last().firma, u"Grünwald & Söhne"_s);
        QVERIFY(k.anzeige.meldungen.contains(u"Suche Kontakt im Adressbuch..."_s));
        QVERIFY(k.anzeige.suchdauer.startsWith(u"Suchdauer1:"_s));
        // The similar contacts: Greta as her number is written, the neighbour's fax up to the blank.
        QStringList aehnliche;
        for (int i = 0; i < k.aehnlicheListe.Count(); ++i)
            aehnliche << k.aehnlicheListe.Item(i).Text + u'|' + k.aehnlicheListe.Item(i).columnText(2);
        QCOMPARE(aehnliche, (QStringList{u"[Fax] 0301234599|Hof KG"_s, u"[Telefon] +49 (30) 123 45-67|Grünwald & Söhne"_s}));

        // No city: the place from the phone database; no name: the source's empty record.
        QVERIFY(k.anruf(u"0894444444"_s));
        QCOMPARE(k.eintrag(), u"0894444444|München|Keine Angaben im ACT!|6|"_s + IDInKlammern(u"A3"_s));
        // Nobody: unknown, as with ACT!; a source that is not ready is not searched.
        QVERIFY(k.anruf(u"0401111111"_s));
        QCOMPARE(k.eintrag(), u"0401111111|Hamburg|Unbekannt|2|Unbekannt"_s);
        buch.bereit = false;
        const int vorher = buch.geoeffnet;
        QVERIFY(k.anruf(u"0301234567"_s));
        QCOMPARE(k.eintrag(), u"0301234567|Berlin|Unbekannt|2|Unbekannt"_s);
        QCOMPARE(buch.geoeffnet, vorher);
        // Every search was closed again, and the calls are stored as shown.
        QCOMPARE(buch.offen, 0);
        QCOMPARE(k.gespeichert().size(), 4);
        QVERIFY(k.gespeichert().contains(IDInKlammern(u"A1"_s) + u"|0301234567|Berlin-Mitte|Greta Grünwald|6"_s));
        QCOMPARE(k.dialogs.boxes().size(), 0);
    }

    // The number cache in front of that address book: built from its
    // contacts, no ACT! file anywhere, and the caller found through it.
    void anyContactSourceThroughTheCache()
    {
        Anrufkette k;
        Kontaktliste buch;
        buch.kontakte = {
            {u"A1"_s, u"Greta Grünwald"_s, u"Grünwald & Söhne"_s, u"Berlin-Mitte"_s,
             {{u"Mobil"_s, u"0171 5550000"_s}, {u"Telefon"_s, u"+49 (30) 123 45-67"_s}}},
            {u"A2"_s, u"Nachbar"_s, u"Hof KG"_s, std::nullopt, {{u"Fax"_s, u"0301234599 Zentrale"_s}}},
        };
        k.suche.setKontaktquelle(&buch);
        k.telefonfelder.FelderSetzen({{u"Telefon"_s, u"Telefon"_s, clACTFeld::Telefonfeld},
                                      {u"Telefax"_s, u"Fax"_s, clACTFeld::Telefonfeld}},
                                     QString());
        k.oeffne(QString(), true);
        QVERIFY(QFile::exists(k.dir.filePath(u"RUFMON.MDB"_s)));
        const int geoeffnet = buch.geoeffnet;

        // Found by its key in the cache; the address book is not asked.
        QVERIFY(k.anruf(u"0301234567"_s));
        QCOMPARE(k.eintrag(), u"0301234567|Berlin-Mitte|Greta Grünwald|6|"_s + IDInKlammern(u"A1"_s));
        QVERIFY(k.anzeige.meldungen.contains(u"Suche Kontakt im Nummerncache..."_s));
        QVERIFY(!k.anzeige.meldungen.contains(u"Suche Kontakt im Adressbuch..."_s));
        QVERIFY(k.anruf(u"0301234599"_s));
        QCOMPARE(k.eintrag(), u"0301234599|Berlin|Nachbar|6|"_s + IDInKlammern(u"A2"_s));
        // A field that is not chosen is not in the cache.
        QVERIFY(k.anruf(u"01715550000"_s));
        QCOMPARE(k.eintrag().section(u'|', 2), u"Unbekannt|2|Unbekannt"_s);
        QCOMPARE(buch.geoeffnet, geoeffnet);
        QCOMPARE(buch.offen, 0);
        QCOMPARE(k.dialogs.boxes().size(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_Anrufauswertung)
#include "tst_Anrufauswertung.moc"
