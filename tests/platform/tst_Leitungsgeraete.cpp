// The line devices: a modem on the far side of a real pseudo-terminal, and a
// router's call monitor played by a real TCP server on the loopback; dialing
// through the router against a TR-064 server of our own with HTTP digest
// authentication (MD5, qop=auth) that checks what the device posts; the
// telephone system over the Asterisk Manager Interface, played by a TCP server
// of our own that speaks the protocol's text blocks, and end to end, a call at
// that system identified and stored, and dialled back.
#include "core/modHaupt.h"
#include "platform/kennwort/SitzungsKennwortspeicher.h"
#include "platform/telephony/AmiNachricht.h"
#include "platform/telephony/CallMonitorDevice.h"
#include "platform/telephony/CallMonitorDialog.h"
#include "platform/telephony/ModemCallerIdParser.h"
#include "platform/telephony/ModemDevice.h"
#include "platform/telephony/ModemDialog.h"
#include "platform/telephony/TelefonanlageDevice.h"
#include "platform/telephony/TelefonanlageDialog.h"
#include "telephony/Waehlanzeige.h"
#include "telephony/Waehlen.h"

#include "doubles/AmiGegenstelle.h"
#include "doubles/Anrufkette.h"
#include "doubles/Beispielkontakte.h"
#include "doubles/Leitungsereignisse.h"
#include "doubles/MemorySettings.h"
#include "doubles/Pseudoterminal.h"
#include "doubles/ScriptedDialogs.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

using namespace Qt::StringLiterals;
using Leitungsereignisse::zeichneAuf;

namespace {

const QByteArray InitCommand = "AT Z S0=0 E1 V1 Q0\r";
const QByteArray CallerIdCommand = "AT+VCID=1\r";

using Device = CallMonitorDevice;

const QByteArray Ring = "24.12.24 18:30:05;RING;0;0301234567;987654;SIP0;\r\n";
// The number called comes before the caller: the identification keeps it with the call.
const QStringList RingEvents{u"AnrufKommt(0,1)"_s, u"AngerufeneNummer(0,1,987654)"_s,
                             u"AnruferBekannt(0,1,0301234567,,Nummer)"_s};
const QByteArray Disconnect = "24.12.24 18:35:00;DISCONNECT;0;233;\r\n";

QStringList disconnectEvents(const QString &id = u"0"_s, const QString &handle = u"1"_s)
{
    return {u"Beendet(%1,%2,Aufgelegt)"_s.arg(id, handle)};
}

QByteArray md5(const QByteArray &text)
{
    return QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex();
}

const QByteArray Realm = "F!Box SOAP-Auth";
const QByteArray Nonce = "4F1A2B3C4D5E6F70";

const QByteArray DigestAngebot = "Digest realm=\"" + Realm + "\", nonce=\"" + Nonce + "\", algorithm=MD5, qop=\"auth\"";

// Answers each request as the router does: 401 with a digest challenge
// until the Authorization fits user and password, then 200 (or a fault).
// Set up otherwise, it offers other schemes, takes Basic, or asks again
// after a fitting digest.
struct Tr064Server : QTcpServer
{
    QByteArray benutzer = "fritz1234";
    QByteArray kennwort = "geheim";
    QByteArray fault; // a SOAP fault instead of the answer
    QByteArrayList angebot{DigestAngebot}; // the WWW-Authenticate headers of a 401
    QByteArrayList nachDigest;             // if any, those of a 401 to a fitting digest
    QList<QByteArray> anfragen; // every request as received, header and body

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
        const bool digest = feld("username") == benutzer && feld("response") == erwartet;
        const bool basic = anfrage.contains("\r\nAuthorization: Basic " + (benutzer + ':' + kennwort).toBase64() + "\r\n");
        if (!basic && (!digest || !nachDigest.isEmpty())) {
            QByteArray antwort = "HTTP/1.1 401 Unauthorized\r\n";
            for (const QByteArray &challenge : digest ? nachDigest : angebot)
                antwort += "WWW-Authenticate: " + challenge + "\r\n";
            return antwort + "Content-Length: 0\r\n\r\n";
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

// Answers the first request with 200 and a body of `gesamt` bytes, written
// only as fast as the other side takes them; notes how much went out before
// the other side closed the connection.
struct Tr064Flut : QTcpServer
{
    qint64 gesamt = 0;
    qint64 gesendet = 0;
    bool getrennt = false;

    Tr064Flut()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, this, [this, s] {
                    m_anfrage += s->readAll();
                    if (!m_begonnen && m_anfrage.contains("\r\n\r\n")) {
                        m_begonnen = true;
                        s->write("HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: "
                                 + QByteArray::number(gesamt) + "\r\n\r\n");
                        weiter(s);
                    }
                });
                connect(s, &QTcpSocket::bytesWritten, this, [this, s] { weiter(s); });
                connect(s, &QTcpSocket::disconnected, this, [this] { getrennt = true; });
                connect(s, &QTcpSocket::errorOccurred, this, [this] { getrennt = true; });
            }
        });
    }
    void weiter(QTcpSocket *s)
    {
        static const QByteArray stueck(64 * 1024, 'x');
        while (!getrennt && gesendet < gesamt && s->bytesToWrite() < 4 * stueck.size()) {
            s->write(stueck.left(gesamt - gesendet));
            gesendet += std::min<qint64>(stueck.size(), gesamt - gesendet);
        }
    }
    QByteArray m_anfrage;
    bool m_begonnen = false;
};

// The warnings of the line devices' category while it lives; every message
// still reaches the test's own handler.
struct Warnungen
{
    QStringList texte;

    Warnungen()
    {
        s_aktiv = this;
        s_vorher = qInstallMessageHandler(&Warnungen::fang);
    }
    ~Warnungen()
    {
        qInstallMessageHandler(s_vorher);
        s_aktiv = nullptr;
    }
    static void fang(QtMsgType typ, const QMessageLogContext &kontext, const QString &text)
    {
        if (s_aktiv && typ == QtWarningMsg && qstrcmp(kontext.category, "rufmon.line") == 0)
            s_aktiv->texte << text;
        if (s_vorher)
            s_vorher(typ, kontext, text);
    }
    static inline Warnungen *s_aktiv = nullptr;
    static inline QtMessageHandler s_vorher = nullptr;
};

const QByteArray Anrufblock = block({u"Event: DialBegin"_s, u"Channel: PJSIP/trunk-00000001"_s,
                                u"CallerIDNum: 0301234567"_s, u"CallerIDName: Greta"_s,
                                u"DestChannel: PJSIP/201-00000002"_s, u"DestUniqueid: 1700000000.2"_s,
                                u"DestCallerIDNum: 201"_s, u"DialString: 201"_s});

// The number called: what the caller dialled where the system names it, else the own extension.
QStringList klingeln(int id, const QString &nummer, const QString &name, const QString &anzeige,
                     const QString &angerufen = u"201"_s)
{
    const QString i = QString::number(id);
    return {u"AnrufKommt(%1,%1)"_s.arg(i), u"AngerufeneNummer(%1,%1,%2)"_s.arg(i, angerufen),
            u"AnruferBekannt(%1,%1,%2,%3,%4)"_s.arg(i, nummer, name, anzeige), u"Klingelt(1)"_s};
}

QStringList aufgelegt(int id)
{
    const QString i = QString::number(id);
    return {u"Beendet(%1,%1,Aufgelegt)"_s.arg(i)};
}

} // namespace

class tst_Leitungsgeraete : public QObject
{
    Q_OBJECT

    MemorySettings m_settings;
    std::unique_ptr<Pty> m_pty;
    std::unique_ptr<ModemDevice> m_modem;
    QStringList m_events; // the call events of either device in order, as "name(arg,arg,…)"

    void set(const QString &key, const QString &value) { m_settings.values[u"Telefonie/"_s + key] = value; }
    bool openAndInitialise()
    {
        m_modem->openLine();
        return m_modem->isOpen() && m_pty->takeCommand("OK") == InitCommand
               && m_pty->takeCommand("OK") == CallerIdCommand;
    }

    std::unique_ptr<QTcpServer> m_server;
    std::unique_ptr<Device> m_monitor;
    QStringList m_diagnoses;
    QList<QStringList> m_errors;
    SitzungsKennwortspeicher m_kennwoerter;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<TelefonanlageDevice> m_anlage;

    void beobachte(LineDevice &d)
    {
        zeichneAuf(d, this, m_events);
        connect(&d, &LineDevice::Diagnose, this, [this](const QString &text) { m_diagnoses << text; });
        connect(&d, &LineDevice::OnError, this, [this](const QString &text, const QString &source, int n) {
            m_errors.append({text, source, QString::number(n)});
        });
    }
    // The grace period is read from the settings on construction.
    void makeDevice()
    {
        m_monitor = std::make_unique<Device>(u"127.0.0.1"_s, m_server->serverPort(), m_settings);
        m_monitor->setRetryIntervalMs(100);
        beobachte(*m_monitor);
    }
    QTcpSocket *accept()
    {
        const bool waiting = QTest::qWaitFor([this] { return m_server->hasPendingConnections(); }, 5000);
        return waiting ? m_server->nextPendingConnection() : nullptr;
    }
    // Opens the line and hands out the server's end; a first report that
    // arrives proves the device connected.
    QTcpSocket *connectDevice()
    {
        m_monitor->openLine();
        QTcpSocket *peer = accept();
        if (peer)
            send(peer, Ring);
        if (!peer || !QTest::qWaitFor([this] { return m_events == RingEvents; }, 5000))
            return nullptr;
        m_events.clear();
        return peer;
    }
    static void send(QTcpSocket *peer, const QByteArray &data)
    {
        peer->write(data);
        peer->flush();
    }

    TelefonanlageDevice::Anlage anlage() const
    {
        return {1, {u"127.0.0.1"_s, m_server->serverPort()}, u"rufmon"_s, u"PJSIP/201"_s, u"from-internal"_s};
    }
    void makeAnlage()
    {
        m_anlage = std::make_unique<TelefonanlageDevice>(anlage(), m_settings, m_kennwoerter, &m_dialogs);
        m_anlage->setRetryIntervalMs(50);
        m_anlage->setPingIntervalMs(100);
        beobachte(*m_anlage);
    }
    // The errors as "text #number".
    QStringList fehler() const
    {
        QStringList liste;
        for (const QStringList &e : m_errors)
            liste << e[0] + u" #"_s + e[2];
        return liste;
    }
    Gegenstelle annehmen()
    {
        Gegenstelle g{accept(), {}};
        if (g.socket)
            g.sende("Asterisk Call Manager/5.0.1\r\n");
        return g;
    }
    Gegenstelle verbunden()
    {
        m_kennwoerter.schreibe(TelefonanlageDevice::konto(anlage()), u"geheim"_s);
        m_anlage->openLine();
        Gegenstelle g = annehmen();
        if (g.socket)
            g.anmelden(u"geheim"_s);
        if (!QTest::qWaitFor([this] { return !m_diagnoses.filter(u"angemeldet"_s).isEmpty(); }, 5000))
            return {};
        return g;
    }

private slots:
    void init()
    {
        m_modem.reset();
        m_monitor.reset();
        m_anlage.reset();
        m_kennwoerter = {};
        m_dialogs.clear();
        m_settings.values.clear();
        m_events.clear();
        m_diagnoses.clear();
        m_errors.clear();
        m_pty = std::make_unique<Pty>();
        QVERIFY2(!m_pty->slavePath.isEmpty(), "no pseudo-terminal");
        m_modem = std::make_unique<ModemDevice>(m_pty->slavePath, m_settings);
        m_modem->setCommandTimeout(5000);
        m_modem->setSettleTime(50);
        m_modem->setRingEndTimeout(300);
        zeichneAuf(*m_modem, this, m_events);
        m_server = std::make_unique<QTcpServer>();
        QVERIFY(m_server->listen(QHostAddress::LocalHost));
        makeDevice();
        makeAnlage();
    }

    // What the modem hears on opening, and the line speed it gets.
    void einrichtung_data()
    {
        QTest::addColumn<QStringList>("settings"); // "key=value"
        QTest::addColumn<QByteArrayList>("answers"); // to each command in turn; empty: silence
        QTest::addColumn<QByteArrayList>("commands");
        QTest::addColumn<int>("speed");

        const QByteArrayList all{InitCommand, CallerIdCommand, "AT#CID=1\r"};
        QTest::newRow("angenommen") << QStringList() << QByteArrayList{" OK ", "ok"} << all.first(2) << int(B115200);
        QTest::newRow("Alternative; Baud mit Leerzeichen")
            << QStringList{u"ModemBaud= 57600 "_s} << QByteArrayList{"OK", "ERROR", "OK"} << all << int(B57600);
        QTest::newRow("alle abgelehnt; Baud negativ")
            << QStringList{u"ModemBaud=-9600"_s} << QByteArrayList{"ERROR", "ERROR", "ERROR"} << all << int(B115200);
        QTest::newRow("stumm; eigene Befehle; 9600")
            << QStringList{u"ModemBaud=9600"_s, u"ModemInit=ATZ"_s, u"ModemCallerId=AT+CID=1"_s}
            << QByteArrayList{"", ""} << QByteArrayList{"ATZ\r", "AT+CID=1\r"} << int(B9600);
    }
    void einrichtung()
    {
        QFETCH(QStringList, settings);
        QFETCH(QByteArrayList, answers);
        QFETCH(QByteArrayList, commands);
        QFETCH(int, speed);

        for (const QString &setting : std::as_const(settings))
            set(setting.section(u'=', 0, 0), setting.section(u'=', 1));
        m_modem->setCommandTimeout(200);
        m_modem->openLine();
        QCOMPARE(m_pty->speed(), speed);
        for (qsizetype i = 0; i < commands.size(); ++i)
            QCOMPARE(m_pty->takeCommand(answers.at(i)), commands.at(i));
        // No command was left over or sent twice.
        m_modem->dial(u"1"_s, 0);
        QCOMPARE(m_pty->takeCommand(), QByteArray("ATDT1;\r"));
    }

    void anruf_data()
    {
        QTest::addColumn<QByteArray>("modem");
        QTest::addColumn<QStringList>("events");

        const QStringList offering{u"AnrufKommt(1,1)"_s};
        const QString idle = u"Beendet(1,1,Ausgeklungen)"_s;
        const auto caller = [](const QString &number, const QString &name, const QString &anzeige = u"Nummer"_s) {
            return u"AnruferBekannt(1,1,%1,%2,%3)"_s.arg(number, name, anzeige);
        };
        const QString meier = caller(u"0301234567"_s, u"Meier"_s);
        // The block between two rings.
        const auto between = [&](const char *name, const QByteArray &block, const QString &callerId) {
            QTest::newRow(name) << "RING\r\n" + block + "RING\r\n"
                                << offering + QStringList{u"Klingelt(1)"_s, callerId, u"Klingelt(2)"_s, idle};
        };
        const qsizetype longName = ModemCallerIdParser::MaxLineLength - 7; // what is left after "NAME = "

        between("nur CR, nur LF, Leerzeilen, Name zuerst", "NAME = Meier\rNMBR = 0301234567\n\r  \r\n\n", meier);
        between("klein, Steuerzeichen, Latin-1", "time=1845\r\nnmbr=030\x07" "12\t34\r\nname=M\xfcl\x9b" "31ml\x85" "er=B\r\n",
                caller(u"0301234"_s, u"Mül31mler=B"_s));
        between("zweite Nummer übergangen", "DDN_NMBR = 0301234567\r\nNMBR = 0409999999\r\nNAME = Meier\r\n", meier);
        between("unterdrückt", "DATE = 0312\r\nNMBR = p\r\n", caller({}, {}, u"Unterdrueckt"_s));
        between("nicht verfügbar", "TIME = 1845\r\nNMBR = O\r\n", caller({}, {}, u"NichtVerfuegbar"_s));
        between("Echo und Unbekanntes dazwischen",
                "AT+VCID=1\r\nRINGING\r\nMESG = 110101\r\nCONNECT 9600\r\n\x01\x02\x7f\r\n=\r\n"
                "NMBR = 0301234567\r\nat#cid=1\r\nNAME = Meier\r\n",
                meier);
        between("überlange Zeile", "NMBR = 0301234567\r\nNAME = " + QByteArray(1000, 'N') + "\r\n",
                caller(u"0301234567"_s, QString(longName, u'N')));
        QTest::newRow("drei Klingeln, Block nach dem ersten")
            << QByteArray("RING\r\nDATE = 0312\r\nTIME = 1845\r\nNMBR = 0301234567\r\nNAME = Meier\r\nRING\r\nRING\r\n")
            << offering + QStringList{u"Klingelt(1)"_s, meier, u"Klingelt(2)"_s, u"Klingelt(3)"_s, idle};
        QTest::newRow("keine Nummer bis zum zweiten Klingeln")
            << QByteArray("RING\r\nRING\r\nRING\r\n")
            << offering + QStringList{u"Klingelt(1)"_s, caller({}, {}, u"NichtVerfuegbar"_s), u"Klingelt(2)"_s,
                                      u"Klingelt(3)"_s, idle};
        QTest::newRow("Block vor dem ersten Klingeln")
            << QByteArray("DATE = 0312\r\nNMBR = 0301234567\r\nNAME = Meier\r\nring\r\nRing\r\n")
            << offering + QStringList{meier, u"Klingelt(1)"_s, u"Klingelt(2)"_s, idle};
    }
    void anruf()
    {
        QFETCH(QByteArray, modem);
        QFETCH(QStringList, events);
        QVERIFY(openAndInitialise());
        QVERIFY(m_pty->write(modem));
        QTRY_VERIFY_WITH_TIMEOUT(m_events.contains(events.last()), 10000);
        QCOMPARE(m_events, events);
        QVERIFY(m_modem->isOpen());
    }

    // One ring without a number ends the call; the next starts afresh. Its
    // number, pieced together from several reads, is reported after a short
    // wait for the name, and only once.
    void folgeanrufNummerOhneNamen()
    {
        QVERIFY(openAndInitialise());
        QVERIFY(m_pty->write("RING\r\n"));
        QTRY_VERIFY_WITH_TIMEOUT(m_events.contains(u"Beendet(1,1,Ausgeklungen)"_s), 5000);
        m_modem->setRingEndTimeout(10000);
        QVERIFY(m_pty->write("RING\r\nNMBR = 040"));
        QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), 5, 5000);
        QVERIFY(m_pty->write("9999999\r"));
        QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), 6, 5000);
        QVERIFY(m_pty->write("\nNAME = Kunz\r\nRING\r\n"));
        QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), 7, 5000);
        QCOMPARE(m_events,
                 (QStringList{u"AnrufKommt(1,1)"_s, u"Klingelt(1)"_s, u"Beendet(1,1,Ausgeklungen)"_s,
                              u"AnrufKommt(2,2)"_s, u"Klingelt(1)"_s, u"AnruferBekannt(2,2,0409999999,,Nummer)"_s,
                              u"Klingelt(2)"_s}));
    }

    void waehlen_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("answer");

        const QByteArray command = "ATDT0301234567;\r";
        QTest::newRow("besetzt") << u"0301234567"_s << command << QByteArray("BUSY");
        QTest::newRow("abgelehnt") << u"0301234567"_s << command << QByteArray("ERROR");
        // Anything but what a modem dials could smuggle in a command.
        QTest::newRow("fremde Zeichen entfernt") << u"*31#+49 (30) 123-45;ATH"_s << QByteArray("ATDT*31#+493012345;\r")
                                                 << QByteArray("NO CARRIER");
    }
    void waehlen()
    {
        QFETCH(QString, number);
        QFETCH(QByteArray, answer);
        QVERIFY(openAndInitialise());
        m_modem->dial(number, 0);
        QTEST(m_pty->takeCommand(answer), "command");
        const QStringList events{u"Waehlt(1,1,nein)"_s, u"Rufaufbau(1,1)"_s,
                                 answer == "BUSY" ? u"Beendet(1,1,Besetzt)"_s : u"Beendet(1,1,Getrennt)"_s};
        QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), events.size(), 5000);
        QCOMPARE(m_events, events);
    }

    void auflegenUndSchliessen()
    {
        const auto call = [](int n) {
            return QStringList{u"Waehlt(%1,%1,nein)"_s.arg(n), u"Rufaufbau(%1,%1)"_s.arg(n),
                               u"Beendet(%1,%1,Getrennt)"_s.arg(n)};
        };
        QVERIFY(openAndInitialise());
        m_modem->dial(u"0301234567"_s, 0);
        QCOMPARE(m_pty->takeCommand(), QByteArray("ATDT0301234567;\r"));
        // Hung up while still dialing: no need to wait for the dial's answer.
        m_modem->hangUp();
        QCOMPARE(m_events, call(1));
        QCOMPARE(m_pty->takeCommand("OK"), QByteArray("ATH\r"));

        // The modem is free for the next call; closing the line ends that one.
        m_modem->dial(u"0409999999"_s, 0);
        QCOMPARE(m_pty->takeCommand("OK"), QByteArray("ATDT0409999999;\r"));
        m_modem->closeLine();
        QCOMPARE(m_pty->takeCommand(), QByteArray("ATH\r"));
        QCOMPARE(m_events, call(1) + call(2));
    }

    void schnittstelleVerschwindet()
    {
        QSignalSpy errors(m_modem.get(), &LineDevice::OnError);
        QVERIFY(openAndInitialise());
        QVERIFY(m_pty->write("RING\r\n"));
        QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), 2, 5000);

        ::close(std::exchange(m_pty->fd, -1));
        QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 1, 5000);
        QVERIFY(errors[0][0].toString().contains(m_pty->slavePath));
        QCOMPARE(errors[0].mid(1), (QVariantList{m_modem->name(), LineDevice::LineDropped}));
        QVERIFY(!m_modem->isOpen());
        QCOMPARE(m_events.last(), u"Beendet(1,1,Ausgeklungen)"_s); // the ringing call does not hang on
        // A dead port keeps signalling; the device must have let go of it.
        QTest::qWait(300);
        m_modem->closeLine();
        QCOMPARE(errors.size(), 1);

        // Dialing without a line is an error, not a call.
        m_modem->dial(u"0301234567"_s, 0);
        QCOMPARE(errors.size(), 2);
        QCOMPARE(errors.last().at(2), QVariant(LineDevice::LineDropped));
        QCOMPARE(m_events.size(), 3);
    }

    // A slot may close the line while the device reports a call; the rest of
    // what the modem sent must then go unreported.
    void schliessenAusEreignis()
    {
        QVERIFY(openAndInitialise());
        const auto closing = connect(m_modem.get(), &LineDevice::Klingelt, m_modem.get(), &LineDevice::closeLine);
        QVERIFY(m_pty->write("RING\r\nNMBR = 0301234567\r\nNAME = Meier\r\nRING\r\n"));
        QTRY_VERIFY_WITH_TIMEOUT(!m_modem->isOpen(), 5000);
        QCOMPARE(m_events,
                 (QStringList{u"AnrufKommt(1,1)"_s, u"Klingelt(1)"_s, u"Beendet(1,1,Ausgeklungen)"_s}));
        // The port was let go of, so the line opens again.
        disconnect(closing);
        m_modem->openLine();
        QCOMPARE(m_pty->takeCommand(), InitCommand);
    }

    void schnittstelleFehlt()
    {
        const QString missing = u"/dev/rufmon-gibt-es-nicht-ttyACM9"_s;
        ModemDevice device(missing, m_settings);
        QSignalSpy errors(&device, &LineDevice::OnError);
        device.openLine();
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0][0].toString().contains(missing));
        QCOMPARE(errors[0].mid(1), (QVariantList{u"Modem "_s + missing, LineDevice::LineDropped}));
        QVERIFY(!device.isOpen());
    }

    // The settings are shown, written on OK and read back: the ports from the
    // settings first, then the USB modems found, each once and in the order
    // people count; speed and first command on the next opening.
    void einstellungsdialog()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        for (const QString &name : {u"ttyUSB1"_s, u"ttyUSB0"_s, u"ttyACM10"_s, u"ttyACM2"_s, u"console"_s})
            QVERIFY(QFile(folder.filePath(name)).open(QIODevice::WriteOnly));
        const QString path = QDir(folder.path()).absolutePath();
        set(u"Modems"_s, u" /dev/ttyS0 ,, %1/ttyUSB0,/dev/ttyS0"_s.arg(path));
        set(u"ModemBaud"_s, u"57600"_s);
        const auto dialog = std::make_unique<ModemDialog>(*m_modem);
        auto *port = dialog->findChild<QComboBox *>(u"port"_s);
        auto *speed = dialog->findChild<QComboBox *>(u"speed"_s);
        auto *init = dialog->findChild<QLineEdit *>(u"init"_s);
        QVERIFY(port && speed && init);
        QCOMPARE((QStringList{port->currentText(), speed->currentText(), init->text()}),
                 (QStringList{m_pty->slavePath, u"57600"_s, u"AT Z S0=0 E1 V1 Q0"_s}));
        port->setCurrentText(u" /dev/ttyS1 "_s);
        speed->setCurrentText(u"9600"_s);
        init->setText(u"AT&F E1"_s);
        dialog->accept();
        QCOMPARE(ModemDevice::configuredPorts(m_settings, path),
                 (QStringList{u"/dev/ttyS1"_s, u"/dev/ttyS0"_s, path + u"/ttyUSB0"_s, path + u"/ttyACM2"_s,
                              path + u"/ttyACM10"_s, path + u"/ttyUSB1"_s}));
        // The device is the one on the new port now, and named after it.
        QCOMPARE(m_modem->name(), u"Modem /dev/ttyS1"_s);

        // Back on the pseudo-terminal; a speed typed only halfway keeps the one before.
        const auto wieder = std::make_unique<ModemDialog>(*m_modem);
        wieder->findChild<QComboBox *>(u"port"_s)->setCurrentText(m_pty->slavePath);
        wieder->findChild<QComboBox *>(u"speed"_s)->setCurrentText(u"30"_s);
        wieder->accept();
        QCOMPARE(m_settings.values.value(u"Telefonie/ModemBaud"_s), u"9600"_s);
        m_modem->openLine();
        QCOMPARE(m_pty->speed(), int(B9600));
        QCOMPARE(m_pty->takeCommand(), QByteArray("AT&F E1\r"));
    }

    void zeilen_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("problem"); // in the one diagnosis expected, or none

        const auto good = [](const char *name, const QByteArrayList &chunks, const QStringList &events) {
            QTest::newRow(name) << chunks << events << QString();
        };
        const auto bad = [](const char *name, const QByteArray &line, const QString &problem) {
            QTest::newRow(name) << QByteArrayList{line + Ring} << RingEvents << problem;
        };
        const QByteArray call = "24.12.24 18:31:00;CALL;1;10;987654;0301234567;SIP0;\r\n";
        const QStringList callEvents{u"Waehlt(1,2,nein)"_s, u"AngerufeneNummer(1,2,0301234567)"_s,
                                     u"Rufaufbau(1,2)"_s};
        const QByteArray connect = "24.12.24 18:31:07;CONNECT;0;11;0301234567;\r\n";
        const QStringList connectEvents{u"Abgenommen(0,1)"_s, u"VerbundenMit(0,1,0301234567)"_s};
        QByteArrayList bytes; // CR and LF apart among them
        for (const char c : Ring)
            bytes.append(QByteArray(1, c));
        const QByteArray date = "24.12.24 18:30:05";
        const auto ringOfSize = [](qsizetype size) { // without CR LF, its last field padded
            return Ring.chopped(3) + QByteArray(size - Ring.size() + 2, 'S') + ";\r\n";
        };

        good("alle Arten auf einmal, Leerzeilen", {"\r\n\n" + Ring + call + connect + Disconnect},
             RingEvents + callEvents + connectEvents + disconnectEvents());
        good("byteweise", bytes, RingEvents);
        good("unterdrückt, nur LF", {"01.01.25 00:00:01;RING;7;;987654;SIP1;\n"},
             {u"AnrufKommt(7,8)"_s, u"AngerufeneNummer(7,8,987654)"_s, u"AnruferBekannt(7,8,,,Unterdrueckt)"_s});
        good("weitere Felder, UTF-8", {Ring.chopped(7) + "B\xc3\xbcro \xe2\x98\x8e;neu;mehr;\r\n"}, RingEvents);
        good("4096 Bytes", {ringOfSize(4096)}, RingEvents);
        // Invisible format characters would show one number and dial another.
        good("Formatzeichen", {"24.12.24 18:30:05;RING;0;\xe2\x80\xae" "0301234567\xe2\x80\x8b;98\xef\xbb\xbf" "7654;SIP0;\r\n"},
             RingEvents);
        good("größte Nummer", {"24.12.24 18:35:00;DISCONNECT;999999998;0;\r\n"},
             disconnectEvents(u"999999998"_s, u"999999999"_s));
        bad("unbekannte Meldung", date + ";KLINGEL;0;1;2;3;\r\n", u"unbekannte Meldung"_s);
        bad("RING zu kurz", date + ";RING;0;123;\r\n", u"zu wenige Felder"_s);
        bad("Nummer zu groß", date + ";DISCONNECT;4294967297;0;\r\n", u"Verbindungsnummer"_s);
        bad("29.02.23", "29.02.23 18:30:05;DISCONNECT;0;0;\n", u"Datum"_s);
        bad("C1", date + ";RING;0;1\xc2\x85;9;SIP0;\r\n", u"Steuerzeichen"_s);
        bad("UTF-8 abgeschnitten", date + ";RING;0;1;9;SIP0\xc3\r\n", u"UTF-8"_s);
        bad("4097 Bytes, nur LF", ringOfSize(4097).chopped(2) + "\n", u"4096 Bytes"_s);
    }
    void zeilen()
    {
        QFETCH(QByteArrayList, chunks);
        QFETCH(QStringList, events);
        QFETCH(QString, problem);

        QTcpSocket *peer = connectDevice();
        QVERIFY(peer);
        for (const QByteArray &chunk : chunks) {
            send(peer, chunk);
            if (chunks.size() > 1)
                QTest::qWait(2); // gives each piece the chance to arrive on its own
        }
        QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), events.size(), 5000);
        QCOMPARE(m_events, events);
        QCOMPARE(m_diagnoses.size(), problem.isEmpty() ? 0 : 1);
        if (!problem.isEmpty())
            QVERIFY2(m_diagnoses[0].contains(problem), qPrintable(m_diagnoses[0]));
        QVERIFY(m_monitor->isOpen());
    }

    void endloseZeileWirdNichtGepuffert()
    {
        QTcpSocket *peer = connectDevice();
        QVERIFY(peer);
        // Reported while the line still runs, so it was not held until its end.
        send(peer, QByteArray(64 * 1024, 'x'));
        QTRY_COMPARE_WITH_TIMEOUT(m_diagnoses.size(), 1, 5000);
        for (int i = 0; i < 16; ++i)
            send(peer, QByteArray(64 * 1024, ';'));
        send(peer, "\r\n" + Ring);
        QTRY_COMPARE_WITH_TIMEOUT(m_events, RingEvents, 10000);
        QCOMPARE(m_diagnoses.size(), 1);
    }

    // The router restarts: the connection drops and the port is closed for a while.
    void wiederverbindenInnerhalbDerFrist()
    {
        QTcpSocket *peer = connectDevice();
        QVERIFY(peer);
        const quint16 port = m_server->serverPort();
        m_server->close();
        peer->abort();
        QTRY_COMPARE_WITH_TIMEOUT(m_diagnoses.size(), 1, 5000);
        QTest::qWait(300); // a few refused attempts
        QVERIFY(m_monitor->isOpen());
        QVERIFY(m_server->listen(QHostAddress::LocalHost, port));
        peer = accept();
        QVERIFY(peer);
        QTRY_COMPARE_WITH_TIMEOUT(m_diagnoses.size(), 2, 5000);
        QVERIFY2(m_diagnoses[1].contains(u"wiederhergestellt"_s), qPrintable(m_diagnoses[1]));
        send(peer, Disconnect);
        QTRY_COMPARE_WITH_TIMEOUT(m_events, disconnectEvents(), 5000);
        QVERIFY(m_errors.isEmpty());
    }

    // Switched on before the network is up: the first connection is retried
    // quietly within the grace period, and the connection probes itself.
    void ersteVerbindungSpaeterUndSelbstgeprueft()
    {
        m_settings.values[u"Telefonie/Wiederverbinden"_s] = u"30"_s;
        makeDevice();
        const quint16 port = m_server->serverPort();
        m_server->close();
        m_monitor->openLine();
        QTest::qWait(350); // several refused attempts
        QVERIFY(m_errors.isEmpty());
        QVERIFY(m_monitor->isOpen());
        QCOMPARE(m_diagnoses.size(), 1);
        QVERIFY(m_server->listen(QHostAddress::LocalHost, port));
        QTRY_VERIFY_WITH_TIMEOUT(m_server->hasPendingConnections(), 5000);
        QTcpSocket *peer = m_server->nextPendingConnection();
        send(peer, Ring);
        QTRY_COMPARE_WITH_TIMEOUT(m_events, RingEvents, 5000);
        QVERIFY(m_errors.isEmpty());

        // A router that falls silent is asked after 20 s, three times 10 s apart.
        auto *socket = m_monitor->findChild<QTcpSocket *>();
        QVERIFY(socket && socket->state() == QAbstractSocket::ConnectedState);
        const auto option = [socket](int name) {
            int wert = 0;
            socklen_t laenge = sizeof wert;
            ::getsockopt(static_cast<int>(socket->socketDescriptor()), IPPROTO_TCP, name, &wert, &laenge);
            return wert;
        };
        QCOMPARE((QList<int>{option(TCP_KEEPIDLE), option(TCP_KEEPINTVL), option(TCP_KEEPCNT)}),
                 (QList<int>{20, 10, 3}));
    }

    void aufgegeben_data()
    {
        QTest::addColumn<bool>("connectFirst");
        QTest::addColumn<QString>("text");
        const QString text = u"Verbindung zum Anrufmonitor 127.0.0.1:%1 "_s;
        QTest::newRow("erste Verbindung abgelehnt") << false << text + u"nicht möglich: "_s;
        QTest::newRow("Frist aus den Einstellungen abgelaufen") << true << text + u"verloren"_s;
    }
    void aufgegeben()
    {
        QFETCH(bool, connectFirst);
        QFETCH(QString, text);

        m_settings.values[u"Telefonie/Wiederverbinden"_s] = u" 0 "_s;
        makeDevice();
        const quint16 port = m_server->serverPort();
        QTcpSocket *peer = connectFirst ? connectDevice() : nullptr;
        QVERIFY(peer || !connectFirst);
        m_server->close();
        peer ? peer->abort() : m_monitor->openLine();
        QTRY_COMPARE_WITH_TIMEOUT(m_errors.size(), 1, 5000);
        QVERIFY2(m_errors[0][0].startsWith(text.arg(port)), qPrintable(m_errors[0][0]));
        QCOMPARE(m_errors[0].mid(1), (QStringList{m_monitor->name(), u"1013"_s}));
        QVERIFY(!m_monitor->isOpen());
        // Given up, the device stays away even when the router is back.
        QVERIFY(m_server->listen(QHostAddress::LocalHost, port));
        QTest::qWait(300);
        QVERIFY(!m_server->hasPendingConnections());
        QCOMPARE(m_errors.size(), 1);
    }

    // Closed, the line reports nothing more and does not come back by itself.
    void schliessen()
    {
        // From a slot: a report read along with the current one is not raised.
        QTcpSocket *peer = connectDevice();
        QVERIFY(peer);
        const auto closing = connect(m_monitor.get(), &LineDevice::AngerufeneNummer, m_monitor.get(), &LineDevice::closeLine);
        send(peer, Ring + Disconnect);
        QTRY_COMPARE_WITH_TIMEOUT(peer->state(), QAbstractSocket::UnconnectedState, 5000);
        QCOMPARE(m_events, RingEvents);
        disconnect(closing);
        m_events.clear();

        // While waiting to reconnect.
        peer = connectDevice();
        QVERIFY(peer);
        peer->abort();
        QTRY_COMPARE_WITH_TIMEOUT(m_diagnoses.size(), 1, 5000);
        m_monitor->closeLine();
        QTest::qWait(300); // three retry intervals
        QVERIFY(!m_server->hasPendingConnections());
        QCOMPARE(m_diagnoses.size(), 1);
        QVERIFY(m_events.isEmpty());
        QVERIFY(m_errors.isEmpty());
    }

    void routerWaehlen_data()
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
    void routerWaehlen()
    {
        QFETCH(QString, benutzer);
        QFETCH(std::optional<QString>, kennwort);
        QFETCH(std::optional<QString>, eingabe);
        QFETCH(QByteArray, fault);
        QFETCH(QString, ergebnis);

        Tr064Server router;
        router.fault = fault;
        QVERIFY(router.listen(QHostAddress::LocalHost));
        SitzungsKennwortspeicher kennwoerter;
        ScriptedDialogs dialogs;
        CallMonitorDevice device(u"127.0.0.1"_s, 1012, m_settings);
        device.setKennwoerter(&kennwoerter, &dialogs);
        device.setTr064Port(router.serverPort());
        device.saveTr064(benutzer, kennwort);
        dialogs.answerInput(eingabe);
        QStringList gemeldet;
        connect(&device, &LineDevice::Diagnose, this, [&](const QString &t) { gemeldet << t; });
        connect(&device, &LineDevice::OnError, this, [&](const QString &t) { gemeldet << t; });

        // The driver information names dialing only where it can work.
        QCOMPARE(device.faehigkeiten().callFeatures, benutzer.isEmpty() ? QString() : u"<DIAL>"_s);
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
        for (const QString &wert : std::as_const(m_settings.values))
            QVERIFY(!wert.contains(u"geheim"_s) && !wert.contains(u"falsch"_s));
    }

    // The password goes to the router only as a digest: a server that asks
    // for anything else, before or after the digest, gets no credentials.
    void routerNurDigest_data()
    {
        QTest::addColumn<QByteArrayList>("angebot");
        QTest::addColumn<QByteArrayList>("nachDigest");
        QTest::addColumn<int>("anfragen");
        QTest::addColumn<QString>("ergebnis"); // the error, or the note of the telephony log

        const QString nurDigest = u"Der Router 127.0.0.1 wählt nicht: Er verlangt die Anmeldung mit %1; Rufmon sendet "
                                  "das Kennwort nur als Digest."_s;
        const QByteArray basic = "Basic realm=\"" + Realm + "\"";
        QTest::newRow("nur Basic") << QByteArrayList{basic} << QByteArrayList() << 1 << nurDigest.arg(u"Basic"_s);
        QTest::newRow("NTLM und Basic")
            << QByteArrayList{"NTLM", basic} << QByteArrayList() << 1 << nurDigest.arg(u"NTLM, Basic"_s);
        QTest::newRow("ohne Verfahren")
            << QByteArrayList() << QByteArrayList() << 1
            << u"Der Router 127.0.0.1 wählt nicht: Er verlangt eine Anmeldung, nennt aber kein Verfahren; Rufmon "
               "sendet das Kennwort nur als Digest."_s;
        QTest::newRow("Digest mit unbekanntem Hash")
            << QByteArrayList{"Digest realm=\"" + Realm + "\", nonce=\"" + Nonce + "\", algorithm=SHA-512-256"}
            << QByteArrayList() << 1
            << u"Der Router 127.0.0.1 wählt nicht: Er verlangt eine Digest-Anmeldung, die Rufmon nicht beherrscht."_s;
        QTest::newRow("Basic vor Digest") << QByteArrayList{basic, DigestAngebot} << QByteArrayList() << 2
                                          << u"Der Router 127.0.0.1 wählt: erst das eigene Telefon, dann die Nummer"_s;
        QTest::newRow("nach dem Digest Basic verlangt")
            << QByteArrayList{DigestAngebot} << QByteArrayList{"Basic realm=\"anders\""} << 2
            << u"Der Router 127.0.0.1 hat die Anmeldung als „fritz1234“ abgelehnt. Bitte prüfen Sie Benutzer und "
               "Kennwort in den Einstellungen des Anrufmonitors."_s;
    }
    void routerNurDigest()
    {
        QFETCH(QByteArrayList, angebot);
        QFETCH(QByteArrayList, nachDigest);
        QFETCH(int, anfragen);
        QFETCH(QString, ergebnis);

        Tr064Server router;
        router.angebot = angebot;
        router.nachDigest = nachDigest;
        QVERIFY(router.listen(QHostAddress::LocalHost));
        SitzungsKennwortspeicher kennwoerter;
        CallMonitorDevice device(u"127.0.0.1"_s, 1012, m_settings);
        device.setKennwoerter(&kennwoerter, &m_dialogs);
        device.setTr064Port(router.serverPort());
        device.saveTr064(u"fritz1234"_s, u"geheim"_s);
        QStringList gemeldet;
        connect(&device, &LineDevice::Diagnose, this, [&](const QString &t) { gemeldet << t; });
        connect(&device, &LineDevice::OnError, this, [&](const QString &t) { gemeldet << t; });

        device.dial(u"0301234567"_s, 0);
        QTRY_COMPARE_WITH_TIMEOUT(gemeldet, QStringList{ergebnis}, 10000);
        QTest::qWait(100); // a request more would come now
        QCOMPARE(router.anfragen.size(), anfragen);
        QCOMPARE(gemeldet.size(), 1);
        for (const QByteArray &anfrage : std::as_const(router.anfragen)) {
            const QString text = QString::fromLatin1(anfrage);
            QVERIFY2(!text.contains(u"Authorization: Basic"_s, Qt::CaseInsensitive), anfrage.constData());
            QVERIFY(!anfrage.contains("geheim") && !anfrage.contains(QByteArray("fritz1234:geheim").toBase64()));
        }
        QVERIFY(m_dialogs.boxes().isEmpty());
    }

    // A router (or whatever answers there) that sends on and on: read up to
    // a limit, then the request is given up, long before the end.
    void routerAntwortZuGross()
    {
        Tr064Flut flut;
        flut.gesamt = 64 * 1024 * 1024;
        QVERIFY(flut.listen(QHostAddress::LocalHost));
        SitzungsKennwortspeicher kennwoerter;
        CallMonitorDevice device(u"127.0.0.1"_s, 1012, m_settings);
        device.setKennwoerter(&kennwoerter, &m_dialogs);
        device.setTr064Port(flut.serverPort());
        device.saveTr064(u"fritz1234"_s, u"geheim"_s);
        QStringList gemeldet;
        connect(&device, &LineDevice::Diagnose, this, [&](const QString &t) { gemeldet << t; });
        connect(&device, &LineDevice::OnError, this, [&](const QString &t) { gemeldet << t; });

        device.dial(u"0301234567"_s, 0);
        QTRY_VERIFY_WITH_TIMEOUT(flut.getrennt, 10000);
        QVERIFY2(flut.gesendet < flut.gesamt / 2, qPrintable(QString::number(flut.gesendet)));
        QTRY_COMPARE_WITH_TIMEOUT(
            gemeldet, QStringList{u"Der Router 127.0.0.1 wählt nicht: Antwort länger als 64 KiB, abgebrochen."_s}, 5000);
    }

    // Entries that make no sense are left out, the rest kept once each.
    void einstellungen()
    {
        m_settings.values[u"Telefonie/Anrufmonitore"_s] =
            u" 192.168.178.1 : 1013 , router:2000 ,, fritz.box:1012,fritz.box,[::1]:1013,[fe80::1],a:1,b:65535,"
            "a:0,b:65536,c:x,:1012,d:,[::1,[zzz]:1,::1,e f:1,g:1:2,[::1]1,h:-1,i:+1"_s;
        QStringList actual;
        for (const auto &[host, port] : CallMonitorDevice::configured(m_settings))
            actual.append(host + u'|' + QString::number(port));
        QCOMPARE(actual, (QStringList{u"192.168.178.1|1013"_s, u"router|2000"_s, u"fritz.box|1012"_s, u"::1|1013"_s,
                                      u"fe80::1|1012"_s, u"a|1"_s, u"b|65535"_s}));
    }

    // Only this device's entry changes; the others stay as written. The user
    // for dialing goes to the settings, the password only to the keyring.
    void dialog()
    {
        const QString key = u"Telefonie/Anrufmonitore"_s;
        m_settings.values[key] = u"andere:1, fritz.box ,[::1]"_s;
        Device device(u"fritz.box"_s, 1012, m_settings);
        SitzungsKennwortspeicher kennwoerter;
        device.setKennwoerter(&kennwoerter, nullptr);
        // Shows the dialog's entry, edits it, tells whether OK was enabled and accepts.
        const auto edit = [&device](const QString &host, int port) {
            const auto dialog = std::make_unique<CallMonitorDialog>(device);
            auto *hostEdit = dialog->findChild<QLineEdit *>(u"host"_s);
            auto *portBox = dialog->findChild<QSpinBox *>(u"port"_s);
            if (!hostEdit || !portBox)
                return u"Feld fehlt"_s;
            const QString shown = u"%1 %2"_s.arg(hostEdit->text()).arg(portBox->value());
            hostEdit->setText(host);
            portBox->setValue(port);
            const bool ok = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled();
            dialog->accept();
            return shown + (ok ? u" OK"_s : u" gesperrt"_s);
        };
        QCOMPARE(edit(u"kein name"_s, 1012), u"fritz.box 1012 gesperrt"_s);
        QCOMPARE(m_settings.values[key], u"andere:1, fritz.box ,[::1]"_s);
        QCOMPARE(edit(u"[fe80::2]"_s, 1012), u"fritz.box 1012 OK"_s);
        QCOMPARE(m_settings.values[key], u"andere:1,[fe80::2]:1012,[::1]"_s);
        QCOMPARE(edit(u"router"_s, 2000), u"fe80::2 1012 OK"_s);
        QCOMPARE(m_settings.values[key], u"andere:1,router:2000,[::1]"_s);
        m_settings.values[key] = u"andere:1"_s; // not yet in the list
        QCOMPARE(edit(u"fritz.box"_s, 1012), u"router 2000 OK"_s);
        QCOMPARE(m_settings.values[key], u"andere:1,fritz.box:1012"_s);

        CallMonitorDialog zugang(device);
        zugang.findChild<QLineEdit *>(u"benutzer"_s)->setText(u" fritz1234 "_s);
        zugang.findChild<QLineEdit *>(u"kennwort"_s)->setText(u"geheim"_s);
        zugang.accept();
        QCOMPARE(m_settings.values.value(u"Telefonie/TR064/fritz.box/Benutzer"_s), u"fritz1234"_s);
        QCOMPARE(kennwoerter.lies(u"Router fritz.box fritz1234"_s), std::optional(u"geheim"_s));
        for (const QString &wert : std::as_const(m_settings.values))
            QVERIFY(!wert.contains(u"geheim"_s));
    }

    // The exact actions: challenge, login (MD5, or an empty secret where
    // there is no password), then a Ping; the password never in the log.
    void anlageAnmeldung_data()
    {
        QTest::addColumn<bool>("md5");
        QTest::addColumn<QString>("kennwort");
        QTest::addColumn<QByteArray>("login");
        const QByteArray key = QCryptographicHash::hash("840215geheim", QCryptographicHash::Md5).toHex();
        QTest::newRow("MD5") << true << u"geheim"_s
                             << "Action: Login\r\nActionID: rufmon-2\r\nUsername: rufmon\r\nAuthType: MD5\r\nKey: " + key
                                    + "\r\nEvents: call\r\n\r\n";
        QTest::newRow("kein Kennwort gespeichert")
            << false << QString()
            << QByteArray("Action: Login\r\nActionID: rufmon-2\r\nUsername: rufmon\r\nSecret: \r\nEvents: call\r\n\r\n");
    }
    void anlageAnmeldung()
    {
        QFETCH(bool, md5);
        QFETCH(QString, kennwort);
        if (!kennwort.isEmpty())
            m_kennwoerter.schreibe(TelefonanlageDevice::konto(anlage()), kennwort);
        m_anlage->openLine();
        Gegenstelle g = annehmen();
        QVERIFY(g.socket);
        const QByteArray challenge = g.aktion();
        QCOMPARE(challenge, QByteArray("Action: Challenge\r\nActionID: rufmon-1\r\nAuthType: MD5\r\n\r\n"));
        g.puffer.prepend(challenge);
        QTEST(g.anmelden(kennwort, md5), "login");
        QCOMPARE(g.aktion(), QByteArray("Action: Ping\r\nActionID: rufmon-3\r\n\r\n"));
        QVERIFY(m_dialogs.boxes().isEmpty());
        const QString anlage = u"Telefonanlage 127.0.0.1:%1"_s.arg(m_server->serverPort());
        QCOMPARE(m_diagnoses, (QStringList{u"Anmeldung an der %1 als „rufmon“, Kennwort ***"_s.arg(anlage),
                                           u"An der %1 angemeldet"_s.arg(anlage)}));
    }

    // A system (or whatever answers at its address) that gives no challenge
    // would take the password only in the clear: it gets no password, neither
    // the stored one nor one typed after a refusal, and the line gives up
    // with the reason. Without any password the plain login is tried, with
    // an empty secret.
    void anlageOhneSichereAnmeldung_data()
    {
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<bool>("vorherAbgelehnt"); // a first connection refuses the stored password
        QTest::addColumn<QByteArray>("antwort");   // to the challenge; %1 its ActionID
        QTest::addColumn<bool>("leereAnmeldung");  // the plain login with an empty secret follows

        const QByteArray fehler = "Response: Error\r\nActionID: %1\r\nMessage: Must specify AuthType\r\n\r\n";
        const QByteArray ohneWert = "Response: Success\r\nActionID: %1\r\n\r\n";
        QTest::newRow("Kennwort gespeichert") << u"geheim"_s << false << fehler << false;
        QTest::newRow("Challenge ohne Wert") << u"geheim"_s << false << ohneWert << false;
        QTest::newRow("kein Kennwort, leere Anmeldung abgelehnt") << QString() << false << fehler << true;
        QTest::newRow("Kennwort nach Ablehnung eingegeben") << u"alt"_s << true << fehler << false;
    }
    void anlageOhneSichereAnmeldung()
    {
        QFETCH(QString, gespeichert);
        QFETCH(bool, vorherAbgelehnt);
        QFETCH(QByteArray, antwort);
        QFETCH(bool, leereAnmeldung);
        if (!gespeichert.isEmpty())
            m_kennwoerter.schreibe(TelefonanlageDevice::konto(anlage()), gespeichert);
        m_dialogs.answerInput(std::optional<QString>(u"geheim"_s));
        Warnungen warnungen;
        m_anlage->openLine();
        QByteArray gesendet; // everything the device sent, on every connection
        if (vorherAbgelehnt) {
            Gegenstelle erste = annehmen();
            QVERIFY(erste.socket);
            gesendet += erste.anmelden(u"geheim"_s);
            QTRY_COMPARE_WITH_TIMEOUT(m_dialogs.boxes().size(), 1, 5000);
        }
        Gegenstelle g = annehmen();
        QVERIFY(g.socket);
        const QByteArray challenge = g.aktion();
        QVERIFY2(challenge.startsWith("Action: Challenge\r\n"), challenge.constData());
        g.sende(QString::fromLatin1(antwort).arg(AmiNachricht::lies(challenge).wert(u"ActionID")).toLatin1());
        if (leereAnmeldung) {
            const QByteArray login = g.aktion();
            QCOMPARE(login, QByteArray("Action: Login\r\nActionID: rufmon-2\r\nUsername: rufmon\r\nSecret: \r\n"
                                       "Events: call\r\n\r\n"));
            g.sende("Response: Error\r\nActionID: rufmon-2\r\nMessage: Authentication failed\r\n\r\n");
        }
        const QString text = u"Die Telefonanlage 127.0.0.1:%1 lehnt die sichere Anmeldung ab"_s.arg(m_server->serverPort());
        QTRY_COMPARE_WITH_TIMEOUT(fehler(), QStringList{text + u" #1013"_s}, 5000);
        QCOMPARE(m_errors[0][1], m_anlage->name());
        QVERIFY(warnungen.texte.contains(text));
        QVERIFY(!m_anlage->isOpen());
        QTRY_COMPARE_WITH_TIMEOUT(g.socket->state(), QAbstractSocket::UnconnectedState, 5000);
        for (QByteArray mehr; !(mehr = g.aktion(50)).isEmpty();)
            gesendet += mehr;
        QTest::qWait(200);
        QVERIFY(!m_server->hasPendingConnections());
        // No password in any form but the MD5 key, and no box beyond the one after the refusal.
        QVERIFY2(!gesendet.contains("geheim") && !gesendet.contains("Secret:"), gesendet.constData());
        QCOMPARE(m_dialogs.boxes().size(), vorherAbgelehnt ? 1 : 0);
    }

    // A server that greets only once the login is through: after a short
    // wait the login starts all the same, with the challenge; the greeting
    // that comes later, wherever it comes, disturbs nothing.
    void anlageOhneBegruessung_data()
    {
        QTest::addColumn<int>("wann"); // greeting before the answer to: 0 the challenge, 1 the login, 2 never
        QTest::newRow("vor der Antwort auf die Challenge") << 0;
        QTest::newRow("vor der Antwort auf die Anmeldung") << 1;
        QTest::newRow("nie") << 2;
    }
    void anlageOhneBegruessung()
    {
        QFETCH(int, wann);
        const QByteArray begruessung = "Asterisk Call Manager/5.0.1\r\n";
        m_anlage->setGreetingTimeoutMs(300);
        m_kennwoerter.schreibe(TelefonanlageDevice::konto(anlage()), u"geheim"_s);
        QElapsedTimer uhr;
        uhr.start();
        m_anlage->openLine();
        Gegenstelle g{accept(), {}};
        QVERIFY(g.socket);
        QVERIFY(g.aktion(100).isEmpty()); // the greeting may still come
        const QByteArray challenge = g.aktion();
        QCOMPARE(challenge, QByteArray("Action: Challenge\r\nActionID: rufmon-1\r\nAuthType: MD5\r\n\r\n"));
        QVERIFY2(uhr.elapsed() >= 250, qPrintable(QString::number(uhr.elapsed())));
        g.sende((wann == 0 ? begruessung : QByteArray())
                + "Response: Success\r\nActionID: rufmon-1\r\nChallenge: 840215\r\n\r\n");
        const QByteArray login = g.aktion();
        const QByteArray key = QCryptographicHash::hash("840215geheim", QCryptographicHash::Md5).toHex();
        QCOMPARE(login, "Action: Login\r\nActionID: rufmon-2\r\nUsername: rufmon\r\nAuthType: MD5\r\nKey: " + key
                            + "\r\nEvents: call\r\n\r\n");
        g.sende((wann == 1 ? begruessung : QByteArray())
                + "Response: Success\r\nActionID: rufmon-2\r\nMessage: Authentication accepted\r\n\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(!m_diagnoses.filter(u"angemeldet"_s).isEmpty(), 5000);
        g.sende(Anrufblock);
        QTRY_COMPARE_WITH_TIMEOUT(m_events, klingeln(1, u"0301234567"_s, u"Greta"_s, u"Nummer"_s), 5000);
        const QString anlage = u"Telefonanlage 127.0.0.1:%1"_s.arg(m_server->serverPort());
        QCOMPARE(m_diagnoses, (QStringList{u"Keine Begrüßung von der %1, Anmeldung dennoch"_s.arg(anlage),
                                           u"Anmeldung an der %1 als „rufmon“, Kennwort ***"_s.arg(anlage),
                                           u"An der %1 angemeldet"_s.arg(anlage)}));
        QVERIFY(fehler().isEmpty());
    }

    void anlageAnrufe_data()
    {
        QTest::addColumn<QByteArray>("anlage");
        QTest::addColumn<QStringList>("events");

        const QByteArray ringing = block({u"Uniqueid: 1700000000.2"_s, u"ChannelStateDesc: Ringing"_s,
                                          u"Event: Newstate"_s, u"Channel: PJSIP/201-00000002"_s,
                                          u"ConnectedLineNum: 0301234567"_s, u"ChannelState: 5"_s});
        const QByteArray up = block({u"Event: Newstate"_s, u"Channel: PJSIP/201-00000002"_s, u"ChannelState: 6"_s,
                                     u"ChannelStateDesc: Up"_s, u"Uniqueid: 1700000000.2"_s});
        const QByteArray hangup = block({u"Event: Hangup"_s, u"Channel: PJSIP/201-00000002"_s,
                                         u"Uniqueid: 1700000000.2"_s, u"Cause: 16"_s});
        const QStringList greta = klingeln(1, u"0301234567"_s, u"Greta"_s, u"Nummer"_s);
        const QStringList connected{u"Abgenommen(1,1)"_s};
        QTest::newRow("angenommen und aufgelegt") << Anrufblock + ringing + up + hangup << greta + connected + aufgelegt(1);
        // A call from outside names the number dialled (the trunk's extension); "s" names none.
        QByteArray durchwahl = Anrufblock;
        durchwahl.replace("DialString: 201", "DialString: 201\r\nExten: 0301555000");
        QTest::newRow("Durchwahl") << durchwahl
                                   << klingeln(1, u"0301234567"_s, u"Greta"_s, u"Nummer"_s, u"0301555000"_s);
        QByteArray start = Anrufblock;
        start.replace("DialString: 201", "DialString: 201\r\nExten: s");
        QTest::newRow("Exten s") << start << greta;

        // Another phone, an internal call from the own phone, queue chatter; then one call of ours.
        QByteArray fremd = Anrufblock;
        fremd.replace("PJSIP/201-", "PJSIP/202-");
        QByteArray laenger = Anrufblock;
        laenger.replace("PJSIP/201-", "PJSIP/2010-").replace("1700000000.2", "1700000000.9");
        const QByteArray intern = block({u"Event: Newstate"_s, u"Channel: PJSIP/201-00000007"_s,
                                         u"ChannelStateDesc: Up"_s, u"Uniqueid: 1700000000.7"_s})
                                  + block({u"Event: Hangup"_s, u"Uniqueid: 1700000000.7"_s});
        const QByteArray queue = block({u"Event: QueueCallerJoin"_s, u"Queue: support"_s, u"CallerIDNum: 0409999"_s});
        QTest::newRow("andere Nebenstellen") << fremd + laenger + intern + queue + Anrufblock << greta;

        QByteArray unterdrueckt = Anrufblock;
        unterdrueckt.replace("CallerIDNum: 0301234567", "CallerIDNum: <unknown>").replace("Greta", "<unknown>");
        QByteArray anonym = Anrufblock;
        anonym.replace("CallerIDNum: 0301234567", "CallerIDNum: anonymous").replace("1700000000.2", "1700000000.3");
        QTest::newRow("unterdrückt") << unterdrueckt + anonym
                                     << klingeln(1, {}, {}, u"NichtVerfuegbar"_s) + klingeln(2, {}, u"Greta"_s, u"Unterdrueckt"_s);

        // Only the ringing channel: its connected line is the caller.
        QTest::newRow("nur Newstate") << ringing + hangup
                                      << klingeln(1, u"0301234567"_s, {}, u"Nummer"_s) + aufgelegt(1);

        // Fields in another order and case, LF alone, blank lines, an unknown
        // field and a message too long, skipped whole.
        const QByteArray anders = "\r\n\n\ndestchannel: PJSIP/201-00000002\nX-Neu: 1\ncalleridname: Greta\n"
                                  "DESTUNIQUEID: 1700000000.2\ncalleridnum:0301234567\nchannel: PJSIP/trunk-1\n"
                                  "EVENT: dialbegin\n\n\r\n";
        const QByteArray riesig = "Event: VarSet\r\nValue: " + QByteArray(70 * 1024, 'x') + "\r\n" + Anrufblock;
        QTest::newRow("ungewöhnlich geschrieben") << anders + hangup << greta + aufgelegt(1);
        QTest::newRow("zu lang") << riesig + Anrufblock << greta;
    }
    void anlageAnrufe()
    {
        QFETCH(QByteArray, anlage);
        QFETCH(QStringList, events);
        Gegenstelle g = verbunden();
        QVERIFY(g.socket);
        // Events before the login is through are not taken.
        g.sende(anlage);
        QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), events.size(), 5000);
        QTest::qWait(50);
        QCOMPARE(m_events, events);
        const bool zuLang = QTest::currentDataTag() == "zu lang"_ba;
        QCOMPARE(m_diagnoses.size(), zuLang ? 3 : 2);
        if (zuLang)
            QVERIFY2(m_diagnoses[2].contains(u"65536 Bytes"_s), qPrintable(m_diagnoses[2]));
        QVERIFY(fehler().isEmpty());
    }

    // Refused: asked once for the password; the second refusal ends it with
    // one message and no further attempt.
    void anlageAnmeldungAbgelehnt_data()
    {
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<std::optional<QString>>("antwort");
        QTest::addColumn<bool>("angemeldet");
        QTest::newRow("Kennwort eingegeben") << QString() << std::optional<QString>(u"geheim"_s) << true;
        QTest::newRow("falsches eingegeben") << u"alt"_s << std::optional<QString>(u"falsch"_s) << false;
        QTest::newRow("abgebrochen") << QString() << std::optional<QString>() << false;
    }
    void anlageAnmeldungAbgelehnt()
    {
        QFETCH(QString, gespeichert);
        QFETCH(std::optional<QString>, antwort);
        QFETCH(bool, angemeldet);
        const QString konto = TelefonanlageDevice::konto(anlage());
        if (!gespeichert.isEmpty())
            m_kennwoerter.schreibe(konto, gespeichert);
        m_dialogs.answerInput(antwort);
        m_anlage->openLine();
        Gegenstelle erste = annehmen();
        QVERIFY(erste.socket);
        erste.anmelden(u"geheim"_s);
        QTRY_COMPARE_WITH_TIMEOUT(m_dialogs.boxes().size(), 1, 5000);
        QCOMPARE(m_dialogs.boxes()[0].kind, u"PasswordBox"_s);
        QCOMPARE(m_dialogs.boxes()[0].text,
                 u"Die Telefonanlage 127.0.0.1:%1 hat die Anmeldung als „rufmon“ abgelehnt.\r\n"
                 "Bitte geben Sie das Kennwort ein:"_s.arg(m_server->serverPort()));
        if (antwort) {
            Gegenstelle zweite = annehmen();
            QVERIFY(zweite.socket);
            zweite.anmelden(u"geheim"_s);
        }
        if (angemeldet) {
            QTRY_COMPARE_WITH_TIMEOUT(m_kennwoerter.lies(konto), std::optional<QString>(u"geheim"_s), 5000);
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(fehler().size(), 1, 5000);
            QCOMPARE(fehler()[0], u"Die Telefonanlage 127.0.0.1:%1 hat die Anmeldung als „rufmon“ abgelehnt. Bitte "
                                  "prüfen Sie Benutzer und Kennwort in den Einstellungen der Telefonanlage. #1013"_s
                                      .arg(m_server->serverPort()));
            QVERIFY(!m_anlage->isOpen());
            QTest::qWait(200);
            QVERIFY(!m_server->hasPendingConnections());
            QCOMPARE(m_kennwoerter.lies(konto), gespeichert.isEmpty() ? std::nullopt : std::optional(gespeichert));
        }
        QCOMPARE(m_dialogs.boxes().size(), 1);
        QCOMPARE(fehler().size(), angemeldet ? 0 : 1);
    }

    // The system restarts (the connection closes), then falls silent (the
    // connection stays, Pings go unanswered): both times the device logs in
    // again quietly; a call ringing at the moment ends.
    void anlageNeustartUndStille()
    {
        Gegenstelle g = verbunden();
        QVERIFY(g.socket);
        g.sende(Anrufblock);
        QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), 4, 5000);
        g.sende(block({u"Event: Shutdown"_s, u"Shutdown: Cleanly"_s, u"Restart: True"_s}));
        g.socket->disconnectFromHost();
        Gegenstelle neu = annehmen();
        QVERIFY(neu.socket);
        neu.anmelden(u"geheim"_s);
        QTRY_VERIFY_WITH_TIMEOUT(m_diagnoses.last().contains(u"wiederhergestellt"_s), 5000);
        QCOMPARE(m_events.mid(4), aufgelegt(1));

        // Silent: the Pings are read but never answered.
        QElapsedTimer uhr;
        uhr.start();
        for (int ping = 0; ping < 2; ++ping)
            QVERIFY(neu.aktion().startsWith("Action: Ping\r\n"));
        Gegenstelle danach = annehmen();
        QVERIFY(danach.socket);
        QVERIFY2(uhr.elapsed() < 1000, qPrintable(QString::number(uhr.elapsed())));
        danach.anmelden(u"geheim"_s);
        QTRY_COMPARE_WITH_TIMEOUT(m_diagnoses.filter(u"wiederhergestellt"_s).size(), 2, 5000);
        QVERIFY(fehler().isEmpty());
        QVERIFY(m_anlage->isOpen());
    }

    void anlageAufgegeben()
    {
        m_settings.values[u"Telefonie/Wiederverbinden"_s] = u"0"_s;
        makeAnlage();
        Gegenstelle g = verbunden();
        QVERIFY(g.socket);
        m_server->close();
        g.socket->abort();
        QTRY_COMPARE_WITH_TIMEOUT(fehler().size(), 1, 5000);
        QVERIFY2(fehler()[0].startsWith(u"Verbindung zur Telefonanlage 127.0.0.1:"_s), qPrintable(fehler()[0]));
        QVERIFY(fehler()[0].endsWith(u" #1013"_s));
        QVERIFY(!m_anlage->isOpen());
    }

    // The own phone rings first, then the number; the system's answers become what the line reports.
    void anlageWaehlen_data()
    {
        QTest::addColumn<QByteArray>("antwort");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("meldung");
        const QByteArray ok = "Response: Success\r\nActionID: rufmon-3\r\nMessage: Originate successfully queued\r\n\r\n";
        const QByteArray ergebnis = "Event: OriginateResponse\r\nActionID: rufmon-3\r\nResponse: %1\r\n"
                                    "Channel: PJSIP/201-00000009\r\nReason: %2\r\nUniqueid: %3\r\n\r\n";
        const QString kanal = u"rufmon-%1-1"_s.arg(QCoreApplication::applicationPid());
        const QByteArray klingeltSelbst = block({u"Event: Newstate"_s, u"Channel: PJSIP/201-00000009"_s,
                                                 u"ChannelStateDesc: Ringing"_s, u"Uniqueid: "_s + kanal});
        const QStringList start{u"Waehlt(1,1,nein)"_s, u"Rufaufbau(1,1)"_s};
        const QStringList ende{u"Beendet(1,1,Getrennt)"_s};
        QTest::newRow("angenommen")
            << ok + klingeltSelbst + QString::fromUtf8(ergebnis).arg(u"Success"_s, u"4"_s, kanal).toUtf8()
                   + block({u"Event: Hangup"_s, u"Uniqueid: "_s + kanal})
            << start + QStringList{u"Abgenommen(1,1)"_s} + ende << QString();
        QTest::newRow("besetzt") << ok + QString::fromUtf8(ergebnis).arg(u"Failure"_s, u"5"_s, kanal).toUtf8()
                                 << start + QStringList{u"Beendet(1,1,Besetzt)"_s} << QString();
        QTest::newRow("abgelehnt")
            << QByteArray("Response: Error\r\nActionID: rufmon-3\r\nMessage: Extension does not exist.\r\n\r\n")
            << QStringList{u"Waehlt(1,1,nein)"_s} + ende
            << u"Die Telefonanlage 127.0.0.1:%1 wählt nicht: Extension does not exist.. #0"_s;
    }
    void anlageWaehlen()
    {
        QFETCH(QByteArray, antwort);
        QFETCH(QStringList, events);
        QFETCH(QString, meldung);
        m_anlage->setPingIntervalMs(60000);
        Gegenstelle g = verbunden();
        QVERIFY(g.socket);
        m_anlage->dial(u"0301 23\r\nAction: Logoff 4567"_s, 0);
        QCOMPARE(g.aktion(), "Action: Originate\r\nActionID: rufmon-3\r\nChannel: PJSIP/201\r\nContext: from-internal\r\n"
                             "Exten: 0301234567\r\nPriority: 1\r\nChannelId: rufmon-"
                                 + QByteArray::number(QCoreApplication::applicationPid())
                                 + "-1\r\nAsync: true\r\n\r\n");
        g.sende(antwort);
        QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), events.size(), 5000);
        QCOMPARE(m_events, events);
        QCOMPARE(fehler(), meldung.isEmpty() ? QStringList() : QStringList{meldung.arg(m_server->serverPort())});
    }

    // Groups numbered from 1, gaps allowed, nonsense and doubles left out;
    // the dialog writes the keys, the password only to the keyring.
    void anlageEinstellungen()
    {
        auto &v = m_settings.values;
        v[u"Telefonie/Telefonanlage1/Adresse"_s] = u"pbx.example:5038"_s;
        v[u"Telefonie/Telefonanlage1/Benutzer"_s] = u" rufmon "_s;
        v[u"Telefonie/Telefonanlage1/Nebenstelle"_s] = u"PJSIP/201"_s;
        v[u"Telefonie/Telefonanlage2/Adresse"_s] = u"kein name:1"_s;
        v[u"Telefonie/Telefonanlage3/Adresse"_s] = u"[fe80::1]"_s;
        v[u"Telefonie/Telefonanlage4/Adresse"_s] = u"pbx.example"_s;
        QStringList gelesen;
        for (const auto &a : TelefonanlageDevice::configured(m_settings))
            gelesen << u"%1 %2 %3 %4"_s.arg(a.nummer).arg(a.adresse.text(), a.benutzer, a.nebenstelle);
        QCOMPARE(gelesen, (QStringList{u"1 pbx.example:5038 rufmon PJSIP/201"_s, u"3 [fe80::1]:5038  "_s}));

        TelefonanlageDialog dialog(*m_anlage);
        QCOMPARE(dialog.findChild<QLabel *>(u"kennwortHinweis"_s)->text().left(28), u"Kein Schlüsselbund verfügbar"_s);
        dialog.findChild<QLineEdit *>(u"host"_s)->setText(u"anlage.example"_s);
        dialog.findChild<QLineEdit *>(u"kennwort"_s)->setText(u"s3cr3t"_s);
        dialog.findChild<QLineEdit *>(u"nebenstelle"_s)->setText(u"SIP/33"_s);
        dialog.accept();
        QCOMPARE(m_anlage->name(), u"Telefonanlage anlage.example:%1"_s.arg(m_server->serverPort()));
        QCOMPARE(v[u"Telefonie/Telefonanlage1/Nebenstelle"_s], u"SIP/33"_s);
        QCOMPARE(m_kennwoerter.lies(TelefonanlageDevice::konto(m_anlage->anlage())), std::optional<QString>(u"s3cr3t"_s));
        for (const QString &wert : std::as_const(v))
            QVERIFY(!wert.contains(u"s3cr3t"_s));
    }

    // The way of a call: the system's call identified and stored like a
    // router's; "Nummer anwählen" reaches the system as an Originate.
    void vonDerAnlageBisInDieListe()
    {
        Anrufkette k;
        const Beispielkontakte b = Beispielkontakte::schreibe(k.dir.filePath(u"act"_s));
        k.store.SaveSetting(u"Telefonie"_s, u"Telefonanlage1/Adresse"_s, u"127.0.0.1:%1"_s.arg(m_server->serverPort()));
        k.store.SaveSetting(u"Telefonie"_s, u"Telefonanlage1/Benutzer"_s, u"rufmon"_s);
        k.store.SaveSetting(u"Telefonie"_s, u"Telefonanlage1/Nebenstelle"_s, u"PJSIP/201"_s);
        k.store.SaveSetting(u"Telefonie"_s, u"Telefonanlage1/Kontext"_s, u"from-internal"_s);
        k.oeffne(b.tabelle, false);
        QCOMPARE(k.tapi.DeviceName(0), u"Telefonanlage 127.0.0.1:%1"_s.arg(m_server->serverPort()));
        QCOMPARE(k.tapi.DeviceName(k.tapi.DeviceCount() - 1), u"Rufmon-Simulator"_s);
        k.tapi.setDeviceIndex(0);
        QVERIFY(k.tapi.OpenLine());
        Gegenstelle g = annehmen();
        QVERIFY(g.socket);
        g.anmelden(QString());
        g.sende(Anrufblock);
        const QString greta = IDInKlammern(b.greta);
        QTRY_COMPARE_WITH_TIMEOUT(k.gespeichert(), QStringList{greta + u"|0301234567|Berlin|Greta Grünwald|6"_s},
                                  10000);

        struct : Waehlanzeige
        {
            void setTelefonText(const QString &) override {}
            void setWaehlhinweis(const QString &) override {}
            int Adresse() const override { return 0; }
        } anzeige;
        Waehlen waehlen(k.tapi, k.store, k.dialogs, anzeige);
        waehlen.mnuNummerAnwaehlen(k.anrufer.an(0));
        const AmiNachricht originate = AmiNachricht::lies(g.aktion());
        QCOMPARE((QStringList{originate.wert(u"Action"), originate.wert(u"Channel"), originate.wert(u"Exten")}),
                 (QStringList{u"Originate"_s, u"PJSIP/201"_s, u"0301234567"_s}));
    }
};

QTEST_MAIN(tst_Leitungsgeraete)
#include "tst_Leitungsgeraete.moc"
