// The calls that came while Rufmon was off: the router's call list read
// through TR-064 (digest authentication, then the XML list), and the gap
// merged into the caller list. And the number called on its way from the
// line into the store, the entry's tool tip and the notification.
#include "core/Anruferliste.h"
#include "platform/kennwort/SitzungsKennwortspeicher.h"
#include "platform/registry/RegionalSettings.h"
#include "platform/telephony/CallMonitorDevice.h"
#include "platform/telephony/Tr064Anrufliste.h"
#include "telephony/Anrufhinweis.h"
#include "telephony/Anruflistenabgleich.h"
#include "telephony/Anrufmeldung.h"
#include "windows/AnruferlisteModell.h"

#include "doubles/Abwarten.h"
#include "doubles/Anrufkette.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Realm = "F!Box SOAP-Auth";
const QByteArray Nonce = "A1B2C3D4E5F60718";

QByteArray md5(const QByteArray &text)
{
    return QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex();
}

QByteArray liste(const QList<QByteArrayList> &anrufe)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root><timestamp>1</timestamp>";
    for (const QByteArrayList &a : anrufe)
        xml += "<Call><Id>" + a[0] + "</Id><Type>" + a[1] + "</Type><Caller>" + a[2] + "</Caller><Called>"
               + a[3] + "</Called><CalledNumber>" + a[3] + "</CalledNumber><Name>" + a[4]
               + "</Name><Numbertype>sip</Numbertype><Device>Telefon</Device><Port>10</Port><Date>" + a[5]
               + "</Date><Duration>" + a[6] + "</Duration><Count></Count><Path /></Call>";
    return xml + "</root>";
}

// A router's TR-064 service: GetCallList behind digest authentication,
// naming the list under another host name, then the list itself.
struct Router : QTcpServer
{
    QByteArray benutzer = "fritz1234";
    QByteArray kennwort = "geheim";
    QByteArrayList angebot{"Digest realm=\"" + Realm + "\", nonce=\"" + Nonce + "\", algorithm=MD5, qop=\"auth\""};
    QByteArray xml;
    QList<QByteArray> anfragen;

    Router()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = nextPendingConnection())
                connect(s, &QTcpSocket::readyRead, this, [this, s] { lies(s); });
        });
        listen(QHostAddress::LocalHost);
    }
    void lies(QTcpSocket *s)
    {
        QByteArray &puffer = m_puffer[s];
        puffer += s->readAll();
        for (qsizetype kopf; (kopf = puffer.indexOf("\r\n\r\n")) >= 0;) {
            static const QRegularExpression laenge(u"(?i)content-length:\\s*(\\d+)"_s);
            const auto m = laenge.match(QString::fromLatin1(puffer.left(kopf)));
            const qsizetype gesamt = kopf + 4 + (m.hasMatch() ? m.captured(1).toLongLong() : 0);
            if (puffer.size() < gesamt)
                return;
            const QByteArray anfrage = puffer.left(gesamt);
            puffer.remove(0, gesamt);
            anfragen << anfrage;
            s->write(antwort(anfrage));
        }
    }
    QByteArray antwort(const QByteArray &anfrage) const
    {
        if (anfrage.startsWith("GET /calllist.lua?sid=0123456789abcdef ")) {
            return "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " + QByteArray::number(xml.size())
                   + "\r\n\r\n" + xml;
        }
        const auto feld = [&](const char *name) {
            const QRegularExpression re(u"[ ,]%1=\"?([^\",\\r]*)"_s.arg(QLatin1StringView(name)));
            const QString kopf = QString::fromLatin1(anfrage.left(anfrage.indexOf("\r\n\r\n")));
            const qsizetype auth = kopf.indexOf(u"Authorization: Digest"_s, 0, Qt::CaseInsensitive);
            return auth < 0 ? QByteArray() : re.match(kopf.mid(auth + 20).section(u"\r\n"_s, 0, 0)).captured(1).toLatin1();
        };
        const QByteArray ha1 = md5(benutzer + ':' + Realm + ':' + kennwort);
        const QByteArray ha2 = md5("POST:" + feld("uri"));
        const QByteArray erwartet = md5(ha1 + ':' + Nonce + ':' + feld("nc") + ':' + feld("cnonce") + ":auth:" + ha2);
        if (feld("username") != benutzer || feld("response") != erwartet) {
            QByteArray antwort = "HTTP/1.1 401 Unauthorized\r\n";
            for (const QByteArray &challenge : angebot)
                antwort += "WWW-Authenticate: " + challenge + "\r\n";
            return antwort + "Content-Length: 0\r\n\r\n";
        }
        const QByteArray body = "<s:Envelope><s:Body><u:GetCallListResponse><NewCallListURL>http://fritz.box:"
                                + QByteArray::number(serverPort())
                                + "/calllist.lua?sid=0123456789abcdef</NewCallListURL></u:GetCallListResponse>"
                                  "</s:Body></s:Envelope>";
        return "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " + QByteArray::number(body.size())
               + "\r\n\r\n" + body;
    }
    QHash<QTcpSocket *, QByteArray> m_puffer;
};

Tr064Anrufliste::Anruf listenanruf(Tr064Anrufliste::Anruf::Art art, const QString &anrufer, const QDateTime &zeit)
{
    Tr064Anrufliste::Anruf a;
    a.art = art;
    a.anrufer = anrufer;
    a.angerufen = u"987654"_s;
    a.zeit = zeit;
    return a;
}

} // namespace

class tst_Anruflistenabgleich : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void theListIsRead_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QStringList>("anrufe"); // art|anrufer|angerufen|zeit|dauer
        QTest::newRow("the kinds") << liste({{"1", "1", "0301234567", "987654", "Greta", "07.12.26 07:55", "0:03"},
                                             {"2", "2", "0891111", "987655", "", "07.12.26 08:10", "0:00"},
                                             {"3", "3", "987654", "0401234", "", "07.12.26 08:20", "0:01"},
                                             {"4", "10", "0171999", "987654", "", "06.12.26 23:59", "0:00"},
                                             {"5", "9", "0301", "987654", "", "07.12.26 09:00", "0:00"}})
                                   << QStringList{u"0|0301234567|987654|2026-12-07T07:55:00|180"_s,
                                                  u"1|0891111|987655|2026-12-07T08:10:00|0"_s,
                                                  u"3|0401234|987654|2026-12-07T08:20:00|60"_s,
                                                  u"2|0171999|987654|2026-12-06T23:59:00|0"_s,
                                                  u"4|0301|987654|2026-12-07T09:00:00|0"_s};
        QTest::newRow("withheld caller") << liste({{"1", "2", "", "987654", "", "07.12.26 07:55", "0:00"}})
                                         << QStringList{u"1||987654|2026-12-07T07:55:00|0"_s};
        QTest::newRow("unreadable entries left out")
            << liste({{"1", "7", "030", "1", "", "07.12.26 07:55", "0:00"},
                      {"2", "1", "030", "1", "", "gestern", "0:00"},
                      {"3", "1", "030", "1", "", "07.12.26 07:56", "kurz"}})
            << QStringList{u"0|030|1|2026-12-07T07:56:00|-1"_s};
        QTest::newRow("no XML") << QByteArray("<html>Anmeldung</html><Call><Type>1") << QStringList();
    }

    void theListIsRead()
    {
        QFETCH(QByteArray, xml);
        QStringList gelesen;
        for (const Tr064Anrufliste::Anruf &a : Tr064Anrufliste::lies(xml))
            gelesen << u"%1|%2|%3|%4|%5"_s.arg(int(a.art)).arg(a.anrufer, a.angerufen,
                                                                 a.zeit.toString(Qt::ISODate))
                           .arg(a.dauer);
        QTEST(gelesen, "anrufe");
    }

    // Digest first, then the list from the router itself, whatever host its address names.
    void theListComesFromTheRouterWithDigest()
    {
        Router router;
        router.xml = liste({{"1", "2", "0301234567", "987654", "", "07.12.26 07:55", "0:00"}});
        Tr064Anrufliste leser;
        QSignalSpy geladen(&leser, &Tr064Anrufliste::geladen);
        QSignalSpy fehler(&leser, &Tr064Anrufliste::fehler);
        leser.lade(u"127.0.0.1"_s, router.serverPort(), u"fritz1234"_s, u"geheim"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!geladen.isEmpty() || !fehler.isEmpty(), 10000);
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler.value(0).value(0).toString()));
        const auto anrufe = geladen.first().first().value<QList<Tr064Anrufliste::Anruf>>();
        QCOMPARE(anrufe.size(), 1);
        QCOMPARE(anrufe[0].anrufer, u"0301234567"_s);
        QCOMPARE(router.anfragen.size(), 3);
        QVERIFY(router.anfragen[0].startsWith("POST /upnp/control/x_contact HTTP/1.1\r\n"));
        QVERIFY(router.anfragen[0].contains(
            "\r\nSOAPACTION: \"urn:dslforum-org:service:X_AVM-DE_OnTel:1#GetCallList\"\r\n"));
        QVERIFY(!router.anfragen[0].contains("Authorization"));
        QVERIFY(router.anfragen[1].contains("\r\nAuthorization: Digest "));
        QVERIFY(router.anfragen[2].startsWith("GET /calllist.lua?sid=0123456789abcdef HTTP/1.1\r\n"));
        QVERIFY(router.anfragen[2].contains("\r\nHost: 127.0.0.1:"));
        for (const QByteArray &a : std::as_const(router.anfragen))
            QVERIFY(!a.contains("geheim"));
    }

    void aRouterAskingForBasicGetsNoPassword()
    {
        Router router;
        router.angebot = {"Basic realm=\"F!Box\""};
        Tr064Anrufliste leser;
        QSignalSpy fehler(&leser, &Tr064Anrufliste::fehler);
        leser.lade(u"127.0.0.1"_s, router.serverPort(), u"fritz1234"_s, u"geheim"_s);
        QVERIFY(fehler.wait(10000));
        QCOMPARE(router.anfragen.size(), 1);
        QVERIFY(!router.anfragen[0].contains("Authorization"));
    }

    void aWrongPasswordIsRefused()
    {
        Router router;
        Tr064Anrufliste leser;
        QSignalSpy abgelehnt(&leser, &Tr064Anrufliste::abgelehnt);
        leser.lade(u"127.0.0.1"_s, router.serverPort(), u"fritz1234"_s, u"falsch"_s);
        QVERIFY(abgelehnt.wait(10000));
        QCOMPARE(router.anfragen.size(), 2);
    }

    // Which of the router's calls the caller list lacks.
    void theGap_data()
    {
        using Art = Tr064Anrufliste::Anruf::Art;
        QTest::addColumn<QStringList>("liste"); // number|moment of the caller list's entries
        QTest::addColumn<QList<Tr064Anrufliste::Anruf>>("router");
        QTest::addColumn<QStringList>("nachzutragen"); // number|moment|missed

        const QDateTime d(QDate(2026, 12, 7), QTime(7, 55));
        const QList<Tr064Anrufliste::Anruf> morgen{
            listenanruf(Art::Verpasst, u"0891111"_s, d.addSecs(15 * 60)),
            listenanruf(Art::Angenommen, u"0301234567"_s, d),
            listenanruf(Art::Ausgehend, u"0401234"_s, d.addSecs(5 * 60)),
            listenanruf(Art::Laufend, u"0171"_s, d.addSecs(20 * 60)),
            listenanruf(Art::Abgewiesen, u"0172"_s, d.addSecs(16 * 60))};
        QTest::newRow("empty list: all incoming, oldest first")
            << QStringList() << morgen
            << QStringList{u"0301234567|07:55|0"_s, u"0891111|08:10|1"_s, u"0172|08:11|1"_s};
        QTest::newRow("only after the newest stored call")
            << QStringList{u"0301234567|07.12.2026 08:05:00"_s} << morgen
            << QStringList{u"0891111|08:10|1"_s, u"0172|08:11|1"_s};
        QTest::newRow("same caller, same minute: the same call")
            << QStringList{u"0891111|07.12.2026 08:10:42"_s} << morgen << QStringList{u"0172|08:11|1"_s};
        QTest::newRow("another caller in the newest minute")
            << QStringList{u"0999|07.12.2026 08:10:05"_s} << morgen
            << QStringList{u"0891111|08:10|1"_s, u"0172|08:11|1"_s};
        QTest::newRow("twice in the router's list")
            << QStringList()
            << QList<Tr064Anrufliste::Anruf>{listenanruf(Art::Verpasst, u"0891111"_s, d),
                                             listenanruf(Art::Verpasst, u"0891111"_s, d.addSecs(30))}
            << QStringList{u"0891111|07:55|1"_s};
        QTest::newRow("withheld numbers are no calls to name")
            << QStringList() << QList<Tr064Anrufliste::Anruf>{listenanruf(Art::Verpasst, QString(), d)}
            << QStringList();
    }

    void theGap()
    {
        QFETCH(QStringList, liste);
        QFETCH(QList<Tr064Anrufliste::Anruf>, router);
        Anruferliste anrufer;
        for (const QString &e : liste) {
            Anruf a;
            a.nummer = e.section(u'|', 0, 0);
            a.zeit = RegionalSettings::ParseDateTime(e.section(u'|', 1, 1)).value_or(QDateTime());
            a.ort = u"Ort"_s;
            a.name = u"Kontakt"_s;
            anrufer.hinzufuegen(a);
        }
        QStringList ergebnis;
        for (const auto &n : Anruflistenabgleich::Nachzutragen(router, anrufer, {}))
            ergebnis << u"%1|%2|%3"_s.arg(n.nummer, n.zeit.toString(u"HH:mm"_s)).arg(int(n.verpasst));
        QTEST(ergebnis, "nachzutragen");
    }

    // The gap through the identification: marked entries, stored with the
    // number called, in time order, no notification, one status line.
    void gapCallsJoinTheCallerList()
    {
        Anrufkette kette;
        kette.oeffne(QString(), false);
        QSignalSpy erkannt(&kette.auswertung, &Anrufauswertung::Erkannt);
        QVERIFY(kette.anruf(u"0301234567"_s));
        QTRY_COMPARE(erkannt.size(), 1);
        const QDateTime live = kette.anrufer.an(0).zeit;

        using Art = Tr064Anrufliste::Anruf::Art;
        const QList<Tr064Anrufliste::Anruf> router{
            listenanruf(Art::Verpasst, u"0891234567"_s, live.addSecs(-30 * 60)), // before: known already
            listenanruf(Art::Angenommen, u"0301234567"_s, live),                 // the live call itself
            listenanruf(Art::Verpasst, u"0221987654"_s, live.addSecs(20 * 60)),
            listenanruf(Art::Angenommen, u"0401234567"_s, live.addSecs(10 * 60))};
        Anruflistenabgleich abgleich({kette.tapi, kette.auswertung, kette.anrufer, kette.nummern, kette.anzeige});
        QSignalSpy fertig(&abgleich, &Anruflistenabgleich::Abgeglichen);
        QCOMPARE(abgleich.Abgleichen(router), 2);
        QTRY_COMPARE(fertig.size(), 1);
        QCOMPARE(fertig.first().first().toInt(), 2);
        QCOMPARE(kette.anzeige.meldungen.last(), Anruflistenabgleich::Meldung(2));
        QCOMPARE(Anruflistenabgleich::Meldung(2), u"2 Anrufe kamen, während Rufmon aus war"_s);

        QCOMPARE(kette.anrufer.Anzahl(), 3);
        QStringList nummern;
        for (int i = 0; i < kette.anrufer.Anzahl(); ++i)
            nummern << kette.anrufer.an(i).nummer;
        QCOMPARE(nummern, (QStringList{u"0301234567"_s, u"0401234567"_s, u"0221987654"_s}));
        const Anruf nachgetragen = kette.anrufer.an(2);
        QCOMPARE(nachgetragen.bild, Anrufhinweis::BildNachgetragen);
        QCOMPARE(nachgetragen.angerufen, u"987654"_s);
        QCOMPARE(nachgetragen.Datumstext(), RegionalSettings::DateTimeText(live.addSecs(20 * 60)));
        // Shown newest first, the calls of the gap stand above the live one, in time order.
        AnruferlisteModell modell(kette.anrufer);
        modell.setColumns({{u"Nummer"_s, u"Nummer"_s, {}}});
        QCOMPARE(modell.AnrufIn(0).nummer, u"0221987654"_s);
        QCOMPARE(modell.AnrufIn(1).nummer, u"0401234567"_s);
        QCOMPARE(modell.AnrufIn(2).nummer, u"0301234567"_s);
        QCOMPARE(Anrufhinweis::ToolTip(nachgetragen),
                 u"Angerufen: 987654\nEingegangen, während Rufmon aus war"_s);
        QCOMPARE(kette.gespeichert().size(), 3);

        QCOMPARE(erkannt.size(), 3);
        const auto a = erkannt.last().first().value<Anruf>();
        QVERIFY(a.nachgetragen);
        QVERIFY(a.verpasst);

        // Read again (the line came back once more): nothing twice.
        QCOMPARE(abgleich.Abgleichen(router), 0);
        QCOMPARE(kette.anrufer.Anzahl(), 3);
    }

    // The router's line: the list is read when the line stands, and again
    // when it was lost and came back; what was taken already stays once.
    void theListIsReadWhenTheLineStandsAndAfterItCameBack()
    {
        QTcpServer monitor;
        QVERIFY(monitor.listen(QHostAddress::LocalHost));
        Router router;
        const QByteArray vorhin = QDateTime::currentDateTime().addSecs(-600).toString(u"dd.MM.yy HH:mm"_s).toLatin1();
        const QByteArray eben = QDateTime::currentDateTime().addSecs(-120).toString(u"dd.MM.yy HH:mm"_s).toLatin1();
        router.xml = liste({{"1", "2", "0891234567", "987654", "", vorhin, "0:00"}});

        Anrufkette kette;
        kette.store.SaveSetting(u"Telefonie"_s, u"Anrufmonitore"_s, u"127.0.0.1:%1"_s.arg(monitor.serverPort()));
        kette.oeffne(QString(), false);
        kette.tapi.CloseLine();
        std::int32_t nr = -1;
        for (std::int32_t i = 0; i < kette.tapi.DeviceCount(); ++i) {
            if (kette.tapi.DeviceName(i).startsWith(u"Anrufmonitor"_s))
                nr = i;
        }
        QVERIFY(nr >= 0);
        kette.tapi.setDeviceIndex(nr);
        auto *geraet = qobject_cast<CallMonitorDevice *>(kette.tapi.Device(nr));
        QVERIFY(geraet);
        SitzungsKennwortspeicher kennwoerter;
        geraet->setKennwoerter(&kennwoerter, nullptr);
        geraet->saveTr064(u"fritz1234"_s, u"geheim"_s);
        geraet->setTr064Port(router.serverPort());
        geraet->setRetryIntervalMs(50);

        Anruflistenabgleich abgleich({kette.tapi, kette.auswertung, kette.anrufer, kette.nummern, kette.anzeige});
        QSignalSpy fertig(&abgleich, &Anruflistenabgleich::Abgeglichen);
        QVERIFY(kette.tapi.OpenLine());
        QTRY_VERIFY_WITH_TIMEOUT(monitor.hasPendingConnections(), 5000);
        QTcpSocket *verbindung = monitor.nextPendingConnection();
        QTRY_COMPARE_WITH_TIMEOUT(fertig.size(), 1, 10000);
        QCOMPARE(fertig.last().first().toInt(), 1);
        QCOMPARE(kette.anrufer.Anzahl(), 1);

        // The router restarts; a call comes meanwhile.
        router.xml = liste({{"2", "1", "0221987654", "987655", "", eben, "0:02"},
                            {"1", "2", "0891234567", "987654", "", vorhin, "0:00"}});
        verbindung->abort();
        QTRY_VERIFY_WITH_TIMEOUT(monitor.hasPendingConnections(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(fertig.size(), 2, 10000);
        QCOMPARE(fertig.last().first().toInt(), 1);
        QCOMPARE(kette.anrufer.Anzahl(), 2);
        QCOMPARE(kette.anrufer.an(1).nummer, u"0221987654"_s);
        QCOMPARE(kette.anrufer.an(1).angerufen, u"987655"_s);
        kette.tapi.CloseLine();
    }

    // The number called, as the line names it before the caller, goes with
    // the call into the caller list, the store and the entry's tool tip.
    void theNumberCalledGoesWithTheCall()
    {
        Anrufkette kette;
        kette.oeffne(QString(), false);
        QSignalSpy erkannt(&kette.auswertung, &Anrufauswertung::Erkannt);
        emit kette.tapi.AngerufeneNummer({41, 42}, u"987654"_s);
        emit kette.tapi.AnruferBekannt({41, 42}, u"0301234567"_s, QString(), Rufnummernanzeige::Nummer);
        QTRY_COMPARE(erkannt.size(), 1);
        QVERIFY(abwarten(kette.auswertung));
        QCOMPARE(erkannt.first().first().value<Anruf>().angerufen, u"987654"_s);
        QCOMPARE(kette.anrufer.an(0).angerufen, u"987654"_s);
        QCOMPARE(Anrufhinweis::ToolTip(kette.anrufer.an(0)), u"Angerufen: 987654"_s);
        AnruferlisteModell modell(kette.anrufer);
        modell.setColumns({{u"Nummer"_s, u"Nummer"_s, {}}, {u"Datum"_s, u"Datum"_s, {}}, {u"Ort"_s, u"Ort"_s, {}}});
        modell.setToolTips(&Anrufhinweis::ToolTip);
        QCOMPARE(modell.data(modell.index(0, 2), Qt::ToolTipRole).toString(), u"Angerufen: 987654"_s);

        // Another call without one, after the first ended: it names none.
        emit kette.tapi.Beendet({41, 42}, Anrufende::Ausgeklungen);
        emit kette.tapi.AnruferBekannt({41, 43}, u"0891234567"_s, QString(), Rufnummernanzeige::Nummer);
        QTRY_COMPARE(erkannt.size(), 2);
        QVERIFY(abwarten(kette.auswertung));
        QCOMPARE(erkannt.last().first().value<Anruf>().angerufen, QString());

        Anruferliste geladen;
        kette.telefondaten.leseMDBinListview(geladen);
        QStringList gespeichert;
        for (int i = 0; i < geladen.Anzahl(); ++i)
            gespeichert << geladen.an(i).nummer + u'>' + geladen.an(i).angerufen;
        QCOMPARE(gespeichert, (QStringList{u"0301234567>987654"_s, u"0891234567>"_s}));
    }
};

QTEST_MAIN(tst_Anruflistenabgleich)
#include "tst_Anruflistenabgleich.moc"
