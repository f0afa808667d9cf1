// Dialing through the router: a TR-064 server of our own with HTTP digest
// authentication (MD5, qop=auth) that checks what the device posts.
#include "platform/kennwort/SitzungsKennwortspeicher.h"
#include "platform/telephony/CallMonitorDevice.h"
#include "platform/telephony/CallMonitorDialog.h"

#include "doubles/MemorySettings.h"
#include "doubles/ScriptedDialogs.h"

#include <QCryptographicHash>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray md5(const QByteArray &text)
{
    return QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex();
}

const QByteArray Realm = "F!Box SOAP-Auth";
const QByteArray Nonce = "4F1A2B3C4D5E6F70";

// Answers each request as the router does: 401 with a digest challenge
// until the Authorization fits user and password, then 200 (or a fault).
struct Tr064Server : QTcpServer
{
    QByteArray benutzer = "fritz1234";
    QByteArray kennwort = "geheim";
    QByteArray fault; // a SOAP fault instead of the answer
    QList<QByteArray> anfragen; // every request as received, header and body
    int angenommen = 0;

    Tr064Server()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = nextPendingConnection())
                connect(s, &QTcpSocket::readyRead, this, [this, s] { lies(s); });
        });
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
            return "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Digest realm=\"" + Realm + "\", nonce=\"" + Nonce
                   + "\", algorithm=MD5, qop=\"auth\"\r\nContent-Length: 0\r\n\r\n";
        }
        const QByteArray body = fault.isEmpty()
                                    ? QByteArray("<s:Envelope><s:Body><u:X_AVM-DE_DialNumberResponse/></s:Body></s:Envelope>")
                                    : fault;
        return (fault.isEmpty() ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 500 Internal Server Error\r\n")
               + QByteArray("Content-Type: text/xml\r\nContent-Length: ") + QByteArray::number(body.size()) + "\r\n\r\n"
               + body;
    }
    QHash<QTcpSocket *, QByteArray> m_puffer;
};

} // namespace

class tst_RouterWaehlen : public QObject
{
    Q_OBJECT

private slots:
    void waehlen_data()
    {
        QTest::addColumn<QString>("benutzer");
        QTest::addColumn<std::optional<QString>>("kennwort"); // in the keyring
        QTest::addColumn<std::optional<QString>>("eingabe");  // typed when asked
        QTest::addColumn<QByteArray>("fault");
        QTest::addColumn<QString>("ergebnis"); // the error, or the note of the telephony log

        const QString gewaehlt = u"Der Router 127.0.0.1 wählt: erst das eigene Telefon, dann die Nummer"_s;
        const std::optional<QString> keins;
        QTest::newRow("Kennwort im Schlüsselbund") << u"fritz1234"_s << std::optional(u"geheim"_s) << keins
                                                    << QByteArray() << gewaehlt;
        QTest::newRow("Kennwort gefragt") << u"fritz1234"_s << keins << std::optional(u"geheim"_s) << QByteArray()
                                          << gewaehlt;
        QTest::newRow("falsches Kennwort")
            << u"fritz1234"_s << std::optional(u"falsch"_s) << keins << QByteArray()
            << u"Der Router 127.0.0.1 hat die Anmeldung als „fritz1234“ abgelehnt. Bitte prüfen Sie Benutzer und "
               "Kennwort in den Einstellungen des Anrufmonitors."_s;
        QTest::newRow("Wählhilfe aus")
            << u"fritz1234"_s << std::optional(u"geheim"_s) << keins
            << QByteArray("<s:Envelope><s:Body><s:Fault><detail><UPnPError><errorCode>501</errorCode>"
                          "<errorDescription>Action Failed</errorDescription></UPnPError></detail></s:Fault>"
                          "</s:Body></s:Envelope>")
            << u"Der Router 127.0.0.1 wählt nicht: HTTP 500, Action Failed."_s;
        QTest::newRow("ohne Benutzer") << QString() << keins << keins << QByteArray()
                                       << u"Über den Anrufmonitor kann nicht gewählt werden."_s;
    }
    void waehlen()
    {
        QFETCH(QString, benutzer);
        QFETCH(std::optional<QString>, kennwort);
        QFETCH(std::optional<QString>, eingabe);
        QFETCH(QByteArray, fault);
        QFETCH(QString, ergebnis);

        Tr064Server router;
        router.fault = fault;
        QVERIFY(router.listen(QHostAddress::LocalHost));
        MemorySettings settings;
        SitzungsKennwortspeicher kennwoerter;
        ScriptedDialogs dialogs;
        CallMonitorDevice device(u"127.0.0.1"_s, 1012, settings);
        device.setKennwoerter(&kennwoerter, &dialogs);
        device.setTr064Port(router.serverPort());
        device.saveTr064(benutzer, kennwort);
        dialogs.answerInput(eingabe);
        QStringList gemeldet;
        connect(&device, &LineDevice::Diagnose, this, [&](const QString &t) { gemeldet << t; });
        connect(&device, &LineDevice::OnError, this, [&](const QString &t) { gemeldet << t; });

        device.dial(u"0301 234567"_s, 0);
        QTRY_COMPARE_WITH_TIMEOUT(gemeldet, QStringList{ergebnis}, 10000);
        QCOMPARE(dialogs.boxes().size(), eingabe ? 1 : 0);
        if (benutzer.isEmpty()) {
            QVERIFY(router.anfragen.isEmpty());
            return;
        }
        // Once without, once with credentials; the password itself never on the wire.
        QCOMPARE(router.anfragen.size(), 2);
        const QByteArray &anfrage = router.anfragen.last();
        QVERIFY(anfrage.startsWith("POST /upnp/control/x_voip HTTP/1.1\r\n"));
        QVERIFY(anfrage.contains("\r\nSOAPACTION: \"urn:dslforum-org:service:X_VoIP:1#X_AVM-DE_DialNumber\"\r\n"));
        QVERIFY(anfrage.contains("<s:Body><u:X_AVM-DE_DialNumber xmlns:u=\"urn:dslforum-org:service:X_VoIP:1\">"
                                 "<NewX_AVM-DE_PhoneNumber>0301234567</NewX_AVM-DE_PhoneNumber>"
                                 "</u:X_AVM-DE_DialNumber></s:Body>"));
        QVERIFY(!anfrage.contains(kennwort.value_or(eingabe.value_or(u"-"_s)).toUtf8()));
        // A password typed that worked is kept for the next time.
        if (eingabe)
            QCOMPARE(kennwoerter.lies(CallMonitorDevice::konto(u"127.0.0.1"_s, benutzer)), eingabe);
        for (const QString &wert : std::as_const(settings.values))
            QVERIFY(!wert.contains(u"geheim"_s) && !wert.contains(u"falsch"_s));
    }

    // The dialog keeps the user in the settings and the password out of them.
    void dialog()
    {
        MemorySettings settings;
        SitzungsKennwortspeicher kennwoerter;
        CallMonitorDevice device(u"fritz.box"_s, 1012, settings);
        device.setKennwoerter(&kennwoerter, nullptr);
        CallMonitorDialog dialog(device);
        dialog.findChild<QLineEdit *>(u"benutzer"_s)->setText(u" fritz1234 "_s);
        dialog.findChild<QLineEdit *>(u"kennwort"_s)->setText(u"geheim"_s);
        dialog.accept();
        QCOMPARE(settings.values.value(u"Telefonie/TR064/fritz.box/Benutzer"_s), u"fritz1234"_s);
        QCOMPARE(kennwoerter.lies(u"Router fritz.box fritz1234"_s), std::optional(u"geheim"_s));
        for (const QString &wert : std::as_const(settings.values))
            QVERIFY(!wert.contains(u"geheim"_s));
    }
};

QTEST_MAIN(tst_RouterWaehlen)
#include "tst_RouterWaehlen.moc"
