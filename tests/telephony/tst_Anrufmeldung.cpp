// The desktop notification of identified calls, against a notification
// server of the test's own on a private session bus: what it says, which
// buttons it has, a call's later state in place of its notification, and
// nothing at all without a server or when switched off.
#include "platform/benachrichtigung/DBusBenachrichtigungen.h"
#include "telephony/Anrufmeldung.h"

#include "doubles/Sitzungsbus.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QStringList MitKnoepfen{u"body"_s, u"actions"_s};

struct Aufbau
{
    Sitzungsbus bus;
    std::unique_ptr<Benachrichtigungsserver> server;
    std::unique_ptr<DBusBenachrichtigungen> dienst;
    std::unique_ptr<Anrufmeldung> meldung;

    explicit Aufbau(const std::optional<QStringList> &faehigkeiten = MitKnoepfen)
    {
        if (!bus.laeuft())
            return;
        if (faehigkeiten)
            starteServer(*faehigkeiten);
        dienst = std::make_unique<DBusBenachrichtigungen>(bus.verbinde(u"programm"_s));
        meldung = std::make_unique<Anrufmeldung>(*dienst);
        // Calls one right after the other are a burst; most cases here are not about that.
        meldung->setMindestabstand(std::chrono::milliseconds(0));
    }
    void starteServer(const QStringList &faehigkeiten)
    {
        server = std::make_unique<Benachrichtigungsserver>(bus.verbinde(u"server"_s), faehigkeiten);
    }
};

// A call as the identification leaves it: number, place, name, the contact
// in brackets or "Unbekannt", company.
Anruf anrufAus(const QStringList &spalten, std::int32_t callId, quint64 eintrag)
{
    Anruf a;
    a.nummer = spalten[0];
    a.ort = spalten[1];
    a.name = spalten[2];
    const bool unbekannt = spalten[3] == u"Unbekannt"_s;
    a.ergebnis = unbekannt ? Anruf::Ergebnis::Unbekannt : Anruf::Ergebnis::Erkannt;
    a.kontaktId = unbekannt ? QString() : spalten[3].mid(1, spalten[3].size() - 2).trimmed();
    a.firma = spalten[4];
    a.callId = callId;
    a.eintrag = eintrag;
    return a;
}

Anruf anruf(std::int32_t callId, const QString &kontakt = u"Greta Grünwald"_s, quint64 eintrag = 1)
{
    return anrufAus({u"0301234567"_s, u"Berlin"_s, kontakt, u"[GRETA0000001]"_s, QString()}, callId, eintrag);
}

} // namespace

#define BUS_ODER_SKIP(a)                                                                                               \
    if (!(a).bus.laeuft())                                                                                             \
        QSKIP(qPrintable((a).bus.grund()));                                                                            \
    QVERIFY(!(a).server || (a).server->angemeldet())

class tst_Anrufmeldung : public QObject
{
    Q_OBJECT

private slots:
    void whatTheNotificationSays_data()
    {
        QTest::addColumn<QStringList>("faehigkeiten");
        QTest::addColumn<QStringList>("spalten"); // nummer, ort, kontakt, tag, firma
        QTest::addColumn<QString>("titel");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("aktionen");
        // A click on the notification itself ("default") shows the call.
        const QStringList beide{u"default"_s, u"Anzeigen"_s, u"kontakt"_s, u"Kontakt anzeigen"_s,
                                u"rueckruf"_s, u"Zurückrufen"_s};
        const QStringList rueckruf{u"default"_s, u"Anzeigen"_s, u"rueckruf"_s, u"Zurückrufen"_s};
        QTest::newRow("contact") << MitKnoepfen
                                 << QStringList{u"0301234567"_s, u"Berlin"_s, u"Greta Grünwald"_s, u"[GRETA0000001]"_s,
                                                u"Grünwald Bau"_s}
                                 << u"Greta Grünwald"_s << u"0301234567\nBerlin\nGrünwald Bau"_s << beide;
        QTest::newRow("unknown") << MitKnoepfen
                                 << QStringList{u"0043316123456"_s, u"Österreich/Graz"_s, u"Unbekannt"_s,
                                                u"Unbekannt"_s, QString()}
                                 << u"Unbekannter Anrufer"_s << u"0043316123456\nÖsterreich/Graz"_s << rueckruf;
        QTest::newRow("free list") << MitKnoepfen
                                   << QStringList{u"089123"_s, u"Unbekannt"_s, u"Pizzeria Roma"_s, u"Unbekannt"_s,
                                                  QString()}
                                   << u"Pizzeria Roma"_s << u"089123"_s << rueckruf;
        QTest::newRow("contact without a name")
            << MitKnoepfen
            << QStringList{u"0316123"_s, u"Graz"_s, u"Keine Angaben im ACT!"_s, u"[HOESS0000001]"_s, u"Höß Optik"_s}
            << u"Höß Optik"_s << u"0316123\nGraz"_s << beide;
        // Contact data is text, also for a server that reads markup.
        QTest::newRow("markup")
            << QStringList{u"body"_s, u"body-markup"_s, u"actions"_s}
            << QStringList{u"0301234567"_s, u"Berlin"_s, u"<b>Greta</b>"_s, u"[GRETA0000001]"_s, u"Müller & Söhne"_s}
            << u"<b>Greta</b>"_s << u"0301234567\nBerlin\nMüller &amp; Söhne"_s << beide;
        QTest::newRow("server without buttons")
            << QStringList{u"body"_s}
            << QStringList{u"0301234567"_s, u"Berlin"_s, u"Greta Grünwald"_s, u"[GRETA0000001]"_s, QString()}
            << u"Greta Grünwald"_s << u"0301234567\nBerlin"_s << QStringList();
    }

    void whatTheNotificationSays()
    {
        QFETCH(QStringList, faehigkeiten);
        QFETCH(QStringList, spalten);
        Aufbau a(faehigkeiten);
        BUS_ODER_SKIP(a);
        a.meldung->Melden(anrufAus(spalten, 3, 1));
        QTRY_COMPARE(a.server->aufrufe.size(), 1);
        const Benachrichtigungsserver::Aufruf &n = a.server->aufrufe.first();
        QTEST(n.titel, "titel");
        QTEST(n.text, "text");
        QTEST(n.aktionen, "aktionen");
        QCOMPARE(n.ersetzt, 0u);
        QCOMPARE(n.symbol, u"rufmon"_s);
        QCOMPARE(n.programm, u"Rufmon"_s);
    }

    // The number the caller chose (a sales or a service line) is named.
    void theNumberCalledIsNamed()
    {
        Anruf a = anruf(3);
        QCOMPARE(Anrufmeldung::Inhalt(a).text, u"0301234567\nBerlin"_s);
        a.angerufen = u"987654"_s;
        QCOMPARE(Anrufmeldung::Inhalt(a).text, u"0301234567\nBerlin\nAngerufen: 987654"_s);
    }

    // A call from the router's list came while Rufmon was off: long over, nobody to tell.
    void callsFromTheGapAreNotAnnounced()
    {
        Aufbau a;
        BUS_ODER_SKIP(a);
        Anruf frueher = anruf(3);
        frueher.nachgetragen = true;
        a.meldung->Melden(frueher);
        a.meldung->Melden(anruf(4, u"Erika"_s, 2));
        QTRY_COMPARE(a.server->aufrufe.size(), 1);
        QTest::qWait(100);
        QCOMPARE(a.server->aufrufe.size(), 1);
        QCOMPARE(a.server->aufrufe.first().titel, u"Erika"_s);
    }

    // The notification names the program's menu entry, and where the icon
    // theme lacks the program's icon, a picture of it goes along.
    void hintsNameTheEntryAndThePicture_data()
    {
        QTest::addColumn<QString>("bild");
        QTest::addColumn<QVariantMap>("hinweise");
        const QString entry = QStringLiteral(RUFMON_DESKTOP_ID);
        QTest::newRow("icon in the theme") << QString() << QVariantMap{{u"desktop-entry"_s, entry}};
        QTest::newRow("picture of the build tree")
            << u"/home/anna/rufmon build/share/icons/hicolor/128x128/apps/rufmon.png"_s
            << QVariantMap{{u"desktop-entry"_s, entry},
                           {u"image-path"_s,
                            u"file:///home/anna/rufmon%20build/share/icons/hicolor/128x128/apps/rufmon.png"_s}};
    }

    void hintsNameTheEntryAndThePicture()
    {
        QFETCH(QString, bild);
        QFETCH(QVariantMap, hinweise);
        Sitzungsbus bus;
        if (!bus.laeuft())
            QSKIP(qPrintable(bus.grund()));
        Benachrichtigungsserver server(bus.verbinde(u"server"_s), MitKnoepfen);
        QVERIFY(server.angemeldet());
        DBusBenachrichtigungen dienst(bus.verbinde(u"programm"_s), bild);
        Anrufmeldung meldung(dienst);
        meldung.Melden(anruf(1));
        QTRY_COMPARE(server.aufrufe.size(), 1);
        QCOMPARE(server.aufrufe[0].hinweise, hinweise);
    }

    void aCallsLaterStatesReplaceItsNotification()
    {
        Aufbau a;
        BUS_ODER_SKIP(a);
        auto &aufrufe = a.server->aufrufe;
        // The second state comes before the desktop has numbered the first.
        a.meldung->Melden(anruf(7, u"Unbekannt"_s));
        a.meldung->Melden(anruf(7));
        QTRY_COMPARE(aufrufe.size(), 2);
        const uint erste = a.server->letzteId();
        QCOMPARE(aufrufe[1].ersetzt, erste);
        QCOMPARE(aufrufe[1].titel, u"Greta Grünwald"_s);
        a.meldung->Melden(anruf(7, u"Greta G."_s));
        QTRY_COMPARE(aufrufe.size(), 3);
        QCOMPARE(aufrufe[2].ersetzt, erste);

        // Another call gets one of its own; an ended call's id, used again, too.
        a.meldung->Melden(anruf(8));
        a.meldung->Beendet({7, 8});
        a.meldung->Melden(anruf(7));
        QTRY_COMPARE(aufrufe.size(), 5);
        QCOMPARE(aufrufe[3].ersetzt, 0u);
        QCOMPARE(aufrufe[4].ersetzt, 0u);

        // Switched off: nothing; on again, the next call shows.
        a.meldung->setAktiv(false);
        a.meldung->Melden(anruf(9, u"Aus"_s));
        a.meldung->setAktiv(true);
        a.meldung->Melden(anruf(10, u"An"_s));
        QTRY_COMPARE(aufrufe.size(), 6);
        QTest::qWait(100);
        QCOMPARE(aufrufe.size(), 6);
        QCOMPARE(aufrufe.last().titel, u"An"_s);
    }

    void buttonsNameTheirEntry()
    {
        Aufbau a;
        BUS_ODER_SKIP(a);
        QSignalSpy anzeigen(a.meldung.get(), &Anrufmeldung::Anzeigen);
        QSignalSpy kontakt(a.meldung.get(), &Anrufmeldung::KontaktAnzeigen);
        QSignalSpy rueckruf(a.meldung.get(), &Anrufmeldung::Zurueckrufen);
        QSignalSpy gezeigt(a.dienst.get(), &Benachrichtigungen::Gezeigt);
        a.meldung->Melden(anruf(1, u"Greta Grünwald"_s, 41));
        a.meldung->Melden(anruf(2, u"Anna Anrufer"_s, 42));
        QTRY_COMPARE(gezeigt.size(), 2);
        const uint greta = gezeigt[0][1].toUInt();
        const uint anna = gezeigt[1][1].toUInt();
        a.server->waehle(anna, u"kontakt"_s);
        a.server->waehle(greta, u"rueckruf"_s);
        a.server->waehle(anna + 100, u"rueckruf"_s); // not ours
        QTRY_COMPARE(rueckruf.size(), 1);
        QCOMPARE(kontakt.size(), 1);
        QCOMPARE(kontakt[0][0].toULongLong(), 42u);
        QCOMPARE(rueckruf[0][0].toULongLong(), 41u);
        QCOMPARE(anzeigen.size(), 0);
        // A click on the notification itself.
        a.server->waehle(greta, u"default"_s);
        QTRY_COMPARE(anzeigen.size(), 1);
        QCOMPARE(anzeigen[0][0].toULongLong(), 41u);
        QCOMPARE(kontakt.size() + rueckruf.size(), 2);
    }

    void aBurstShowsOneNotificationAtATime()
    {
        // Fifty calls at once: the first shows, the newest of the rest takes
        // its place once the gap is over; nothing more appears meanwhile.
        Aufbau a;
        BUS_ODER_SKIP(a);
        a.meldung->setMindestabstand(std::chrono::milliseconds(400));
        auto &aufrufe = a.server->aufrufe;
        for (int i = 1; i <= 50; ++i)
            a.meldung->Melden(anruf(i, u"Anrufer %1"_s.arg(i), quint64(i)));
        QTRY_COMPARE(aufrufe.size(), 1);
        QCOMPARE(aufrufe[0].titel, u"Anrufer 1"_s);
        const uint erste = a.server->letzteId();
        QTest::qWait(200);
        QCOMPARE(aufrufe.size(), 1);
        QTRY_COMPARE(aufrufe.size(), 2);
        QCOMPARE(aufrufe[1].titel, u"Anrufer 50"_s);
        QCOMPARE(aufrufe[1].ersetzt, erste);
        // The burst goes on: the next takes the same place, a gap later.
        QElapsedTimer uhr;
        uhr.start();
        a.meldung->Melden(anruf(51, u"Anrufer 51"_s, 51));
        QTRY_COMPARE(aufrufe.size(), 3);
        QVERIFY(uhr.elapsed() >= 300);
        QCOMPARE(aufrufe[2].ersetzt, erste);
        // Its buttons name the entry of the call it shows.
        QSignalSpy kontakt(a.meldung.get(), &Anrufmeldung::KontaktAnzeigen);
        a.server->waehle(erste, u"kontakt"_s);
        QTRY_COMPARE(kontakt.size(), 1);
        QCOMPARE(kontakt[0][0].toULongLong(), 51u);
        // After a quiet gap a call has a notification of its own again.
        QTest::qWait(450);
        a.meldung->Melden(anruf(60, u"Später"_s, 60));
        QTRY_COMPARE(aufrufe.size(), 4);
        QCOMPARE(aufrufe[3].ersetzt, 0u);
    }

    void withoutAServerNothingHappensUntilOneComes()
    {
        Aufbau a(std::nullopt);
        BUS_ODER_SKIP(a);
        QSignalSpy gezeigt(a.dienst.get(), &Benachrichtigungen::Gezeigt);
        QElapsedTimer uhr;
        uhr.start();
        a.meldung->Melden(anruf(1, u"Ohne Server"_s));
        QVERIFY(uhr.elapsed() < 500);
        QTest::qWait(300);
        QCOMPARE(gezeigt.size(), 0);
        // A server that starts later shows the next call, not the lost one.
        a.starteServer(MitKnoepfen);
        a.meldung->Melden(anruf(2, u"Mit Server"_s));
        QTRY_COMPARE(a.server->aufrufe.size(), 1);
        QCOMPARE(a.server->aufrufe.first().titel, u"Mit Server"_s);
        // No bus at all.
        DBusBenachrichtigungen ohneBus(QDBusConnection(u"keine"_s));
        ohneBus.zeige(1, {}, 0);
    }
};

QTEST_GUILESS_MAIN(tst_Anrufmeldung)
#include "tst_Anrufmeldung.moc"
