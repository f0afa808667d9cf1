// The telephone system over the Asterisk Manager Interface, played by a TCP
// server of our own that speaks the protocol's text blocks; and end to end,
// a call at that system identified and stored, and dialled back.
#include "platform/kennwort/SitzungsKennwortspeicher.h"
#include "platform/telephony/AmiNachricht.h"
#include "platform/telephony/TelefonanlageDevice.h"
#include "platform/telephony/TelefonanlageDialog.h"
#include "core/modHaupt.h"
#include "telephony/Waehlen.h"

#include "doubles/Anrufkette.h"
#include "doubles/Beispielkontakte.h"
#include "doubles/Leitungsereignisse.h"
#include "doubles/MemorySettings.h"
#include "doubles/ScriptedDialogs.h"

#include <QCryptographicHash>
#include <QLabel>
#include <QLineEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A system's side of one connection: what the device sent, action by action.
struct Gegenstelle
{
    QTcpSocket *socket = nullptr;
    QByteArray puffer;

    // The next action, up to and including its blank line.
    QByteArray aktion(int ms = 5000)
    {
        const auto da = [this] {
            puffer += socket->readAll();
            return puffer.contains("\r\n\r\n");
        };
        if (!socket || !QTest::qWaitFor(da, ms))
            return {};
        const QByteArray a = puffer.left(puffer.indexOf("\r\n\r\n") + 4);
        puffer.remove(0, a.size());
        return a;
    }
    void sende(const QByteArray &daten)
    {
        socket->write(daten);
        socket->flush();
    }
};

QByteArray block(const QStringList &felder)
{
    return felder.join(u"\r\n"_s).toUtf8() + "\r\n\r\n";
}

const QByteArray Anruf = block({u"Event: DialBegin"_s, u"Channel: PJSIP/trunk-00000001"_s,
                                u"CallerIDNum: 0301234567"_s, u"CallerIDName: Greta"_s,
                                u"DestChannel: PJSIP/201-00000002"_s, u"DestUniqueid: 1700000000.2"_s,
                                u"DestCallerIDNum: 201"_s, u"DialString: 201"_s});

QStringList klingeln(int id, const QString &nummer, const QString &name, const QString &flag)
{
    const QString i = QString::number(id);
    return {u"OnCallState(OFFERING,%1,%1)"_s.arg(i), u"OnOffering(<OWNER>,%1)"_s.arg(i),
            u"OnCallerID(%1,%2,%3,%4,%4)"_s.arg(nummer, name, flag, i), u"OnRinging(0,1)"_s};
}

QStringList aufgelegt(int id)
{
    const QString i = QString::number(id);
    return {u"OnCallState(DISCONNECTED,%1,%1)"_s.arg(i), u"OnDisconnected(<NORMAL>,%1)"_s.arg(i),
            u"OnCallState(IDLE,%1,%1)"_s.arg(i)};
}

} // namespace

class tst_Telefonanlage : public QObject
{
    Q_OBJECT

    MemorySettings m_settings;
    SitzungsKennwortspeicher m_kennwoerter;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<QTcpServer> m_server;
    std::unique_ptr<TelefonanlageDevice> m_anlage;
    QStringList m_events;
    QStringList m_diagnosen;
    QStringList m_fehler;

    TelefonanlageDevice::Anlage anlage() const
    {
        return {1, {u"127.0.0.1"_s, m_server->serverPort()}, u"rufmon"_s, u"PJSIP/201"_s, u"from-internal"_s};
    }
    void makeDevice()
    {
        m_anlage = std::make_unique<TelefonanlageDevice>(anlage(), m_settings, m_kennwoerter, &m_dialogs);
        m_anlage->setRetryIntervalMs(50);
        m_anlage->setPingIntervalMs(100);
        LineDevice &d = *m_anlage;
        Leitungsereignisse::zeichneAuf(d, this, m_events);
        connect(&d, &LineDevice::Diagnose, this, [this](const QString &t) { m_diagnosen << t; });
        connect(&d, &LineDevice::OnError, this, [this](const QString &t, const QString &, int n) {
            m_fehler << t + u" #"_s + QString::number(n);
        });
    }
    Gegenstelle annehmen()
    {
        const bool da = QTest::qWaitFor([this] { return m_server->hasPendingConnections(); }, 5000);
        Gegenstelle g{da ? m_server->nextPendingConnection() : nullptr, {}};
        if (g.socket)
            g.sende("Asterisk Call Manager/5.0.1\r\n");
        return g;
    }
    // Answers the challenge and the login as a system with that secret does;
    // the login as sent, or empty.
    QByteArray anmelden(Gegenstelle &g, const QString &secret, bool md5 = true)
    {
        const QByteArray challenge = g.aktion();
        const QByteArray id = AmiNachricht::lies(challenge).wert(u"ActionID").toUtf8();
        g.sende(md5 ? "Response: Success\r\nActionID: " + id + "\r\nChallenge: 840215\r\n\r\n"
                    : "Response: Error\r\nActionID: " + id + "\r\nMessage: Must specify AuthType\r\n\r\n");
        const QByteArray login = g.aktion();
        const AmiNachricht n = AmiNachricht::lies(login);
        const QString key = QString::fromLatin1(
            QCryptographicHash::hash("840215" + secret.toUtf8(), QCryptographicHash::Md5).toHex());
        const bool richtig = md5 ? n.wert(u"Key") == key : n.wert(u"Secret") == secret;
        g.sende("Response: " + QByteArray(richtig ? "Success" : "Error") + "\r\nActionID: " + n.wert(u"ActionID").toUtf8()
                + "\r\nMessage: Authentication " + (richtig ? "accepted" : "failed") + "\r\n\r\n");
        if (!richtig)
            g.socket->disconnectFromHost();
        return login;
    }
    Gegenstelle verbunden()
    {
        m_kennwoerter.schreibe(TelefonanlageDevice::konto(anlage()), u"geheim"_s);
        m_anlage->openLine();
        Gegenstelle g = annehmen();
        if (g.socket)
            anmelden(g, u"geheim"_s);
        if (!QTest::qWaitFor([this] { return !m_diagnosen.filter(u"angemeldet"_s).isEmpty(); }, 5000))
            return {};
        return g;
    }

private slots:
    void init()
    {
        m_settings.values.clear();
        m_kennwoerter = {};
        m_dialogs.clear();
        m_events.clear();
        m_diagnosen.clear();
        m_fehler.clear();
        m_anlage.reset();
        m_server = std::make_unique<QTcpServer>();
        QVERIFY(m_server->listen(QHostAddress::LocalHost));
        makeDevice();
    }

    // The exact actions: challenge, login (MD5 or the secret in the clear),
    // then a Ping; the password never in the log.
    void anmeldung_data()
    {
        QTest::addColumn<bool>("md5");
        QTest::addColumn<QString>("kennwort");
        QTest::addColumn<QByteArray>("login");
        const QByteArray key = QCryptographicHash::hash("840215geheim", QCryptographicHash::Md5).toHex();
        QTest::newRow("MD5") << true << u"geheim"_s
                             << "Action: Login\r\nActionID: rufmon-2\r\nUsername: rufmon\r\nAuthType: MD5\r\nKey: " + key
                                    + "\r\nEvents: call\r\n\r\n";
        QTest::newRow("ohne MD5") << false << u"geheim"_s
                                  << QByteArray("Action: Login\r\nActionID: rufmon-2\r\nUsername: rufmon\r\n"
                                                "Secret: geheim\r\nEvents: call\r\n\r\n");
        QTest::newRow("kein Kennwort gespeichert")
            << false << QString()
            << QByteArray("Action: Login\r\nActionID: rufmon-2\r\nUsername: rufmon\r\nSecret: \r\nEvents: call\r\n\r\n");
    }
    void anmeldung()
    {
        QFETCH(bool, md5);
        QFETCH(QString, kennwort);
        QFETCH(QByteArray, login);
        if (!kennwort.isEmpty())
            m_kennwoerter.schreibe(TelefonanlageDevice::konto(anlage()), kennwort);
        m_anlage->openLine();
        Gegenstelle g = annehmen();
        QVERIFY(g.socket);
        const QByteArray challenge = g.aktion();
        QCOMPARE(challenge, QByteArray("Action: Challenge\r\nActionID: rufmon-1\r\nAuthType: MD5\r\n\r\n"));
        g.puffer.prepend(challenge);
        QCOMPARE(anmelden(g, kennwort, md5), login);
        QCOMPARE(g.aktion(), QByteArray("Action: Ping\r\nActionID: rufmon-3\r\n\r\n"));
        QVERIFY(m_dialogs.boxes().isEmpty());
        const QString anlage = u"Telefonanlage 127.0.0.1:%1"_s.arg(m_server->serverPort());
        QCOMPARE(m_diagnosen, (QStringList{u"Anmeldung an der %1 als „rufmon“, Kennwort ***"_s.arg(anlage),
                                           u"An der %1 angemeldet"_s.arg(anlage)}));
    }

    void anrufe_data()
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
        const QStringList greta = klingeln(1, u"0301234567"_s, u"Greta"_s, u"<ADDRESS>"_s);
        const QStringList connected{u"OnCallState(CONNECTED,1,1)"_s, u"OnConnected(<ACTIVE>,1)"_s};
        QTest::newRow("angenommen und aufgelegt") << Anruf + ringing + up + hangup << greta + connected + aufgelegt(1);

        // Another phone, an internal call from the own phone, queue chatter; then one call of ours.
        QByteArray fremd = Anruf;
        fremd.replace("PJSIP/201-", "PJSIP/202-");
        QByteArray laenger = Anruf;
        laenger.replace("PJSIP/201-", "PJSIP/2010-").replace("1700000000.2", "1700000000.9");
        const QByteArray intern = block({u"Event: Newstate"_s, u"Channel: PJSIP/201-00000007"_s,
                                         u"ChannelStateDesc: Up"_s, u"Uniqueid: 1700000000.7"_s})
                                  + block({u"Event: Hangup"_s, u"Uniqueid: 1700000000.7"_s});
        const QByteArray queue = block({u"Event: QueueCallerJoin"_s, u"Queue: support"_s, u"CallerIDNum: 0409999"_s});
        QTest::newRow("andere Nebenstellen") << fremd + laenger + intern + queue + Anruf << greta;

        QByteArray unterdrueckt = Anruf;
        unterdrueckt.replace("CallerIDNum: 0301234567", "CallerIDNum: <unknown>").replace("Greta", "<unknown>");
        QByteArray anonym = Anruf;
        anonym.replace("CallerIDNum: 0301234567", "CallerIDNum: anonymous").replace("1700000000.2", "1700000000.3");
        QTest::newRow("unterdrückt") << unterdrueckt + anonym
                                     << klingeln(1, {}, {}, u"<UNAVAIL>"_s) + klingeln(2, {}, u"Greta"_s, u"<BLOCKED>"_s);

        // Only the ringing channel: its connected line is the caller.
        QTest::newRow("nur Newstate") << ringing + hangup
                                      << klingeln(1, u"0301234567"_s, {}, u"<ADDRESS>"_s) + aufgelegt(1);

        // Fields in another order and case, LF alone, blank lines, an unknown
        // field and a message too long, skipped whole.
        const QByteArray anders = "\r\n\n\ndestchannel: PJSIP/201-00000002\nX-Neu: 1\ncalleridname: Greta\n"
                                  "DESTUNIQUEID: 1700000000.2\ncalleridnum:0301234567\nchannel: PJSIP/trunk-1\n"
                                  "EVENT: dialbegin\n\n\r\n";
        const QByteArray riesig = "Event: VarSet\r\nValue: " + QByteArray(70 * 1024, 'x') + "\r\n" + Anruf;
        QTest::newRow("ungewöhnlich geschrieben") << anders + hangup << greta + aufgelegt(1);
        QTest::newRow("zu lang") << riesig + Anruf << greta;
    }
    void anrufe()
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
        QCOMPARE(m_diagnosen.size(), zuLang ? 3 : 2);
        if (zuLang)
            QVERIFY2(m_diagnosen[2].contains(u"65536 Bytes"_s), qPrintable(m_diagnosen[2]));
        QVERIFY(m_fehler.isEmpty());
    }

    // Refused: asked once for the password; the second refusal ends it with
    // one message and no further attempt.
    void anmeldungAbgelehnt_data()
    {
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<std::optional<QString>>("antwort");
        QTest::addColumn<bool>("angemeldet");
        QTest::newRow("Kennwort eingegeben") << QString() << std::optional<QString>(u"geheim"_s) << true;
        QTest::newRow("falsches eingegeben") << u"alt"_s << std::optional<QString>(u"falsch"_s) << false;
        QTest::newRow("abgebrochen") << QString() << std::optional<QString>() << false;
    }
    void anmeldungAbgelehnt()
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
        anmelden(erste, u"geheim"_s);
        QTRY_COMPARE_WITH_TIMEOUT(m_dialogs.boxes().size(), 1, 5000);
        QCOMPARE(m_dialogs.boxes()[0].kind, u"PasswordBox"_s);
        QCOMPARE(m_dialogs.boxes()[0].text,
                 u"Die Telefonanlage 127.0.0.1:%1 hat die Anmeldung als „rufmon“ abgelehnt.\r\n"
                 "Bitte geben Sie das Kennwort ein:"_s.arg(m_server->serverPort()));
        if (antwort) {
            Gegenstelle zweite = annehmen();
            QVERIFY(zweite.socket);
            anmelden(zweite, u"geheim"_s);
        }
        if (angemeldet) {
            QTRY_COMPARE_WITH_TIMEOUT(m_kennwoerter.lies(konto), std::optional<QString>(u"geheim"_s), 5000);
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(m_fehler.size(), 1, 5000);
            QCOMPARE(m_fehler[0], u"Die Telefonanlage 127.0.0.1:%1 hat die Anmeldung als „rufmon“ abgelehnt. Bitte "
                                  "prüfen Sie Benutzer und Kennwort in den Einstellungen der Telefonanlage. #1013"_s
                                      .arg(m_server->serverPort()));
            QVERIFY(!m_anlage->isOpen());
            QTest::qWait(200);
            QVERIFY(!m_server->hasPendingConnections());
            QCOMPARE(m_kennwoerter.lies(konto), gespeichert.isEmpty() ? std::nullopt : std::optional(gespeichert));
        }
        QCOMPARE(m_dialogs.boxes().size(), 1);
        QCOMPARE(m_fehler.size(), angemeldet ? 0 : 1);
    }

    // The system restarts (the connection closes), then falls silent (the
    // connection stays, Pings go unanswered): both times the device logs in
    // again quietly; a call ringing at the moment ends.
    void neustartUndStille()
    {
        Gegenstelle g = verbunden();
        QVERIFY(g.socket);
        g.sende(Anruf);
        QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), 4, 5000);
        g.sende(block({u"Event: Shutdown"_s, u"Shutdown: Cleanly"_s, u"Restart: True"_s}));
        g.socket->disconnectFromHost();
        Gegenstelle neu = annehmen();
        QVERIFY(neu.socket);
        anmelden(neu, u"geheim"_s);
        QTRY_VERIFY_WITH_TIMEOUT(m_diagnosen.last().contains(u"wiederhergestellt"_s), 5000);
        QCOMPARE(m_events.mid(4), aufgelegt(1));

        // Silent: the Pings are read but never answered.
        QElapsedTimer uhr;
        uhr.start();
        for (int ping = 0; ping < 2; ++ping)
            QVERIFY(neu.aktion().startsWith("Action: Ping\r\n"));
        Gegenstelle danach = annehmen();
        QVERIFY(danach.socket);
        QVERIFY2(uhr.elapsed() < 1000, qPrintable(QString::number(uhr.elapsed())));
        anmelden(danach, u"geheim"_s);
        QTRY_COMPARE_WITH_TIMEOUT(m_diagnosen.filter(u"wiederhergestellt"_s).size(), 2, 5000);
        QVERIFY(m_fehler.isEmpty());
        QVERIFY(m_anlage->isOpen());
    }

    void aufgegeben()
    {
        m_settings.values[u"Telefonie/Wiederverbinden"_s] = u"0"_s;
        makeDevice();
        Gegenstelle g = verbunden();
        QVERIFY(g.socket);
        m_server->close();
        g.socket->abort();
        QTRY_COMPARE_WITH_TIMEOUT(m_fehler.size(), 1, 5000);
        QVERIFY2(m_fehler[0].startsWith(u"Verbindung zur Telefonanlage 127.0.0.1:"_s), qPrintable(m_fehler[0]));
        QVERIFY(m_fehler[0].endsWith(u" #1013"_s));
        QVERIFY(!m_anlage->isOpen());
    }

    // The own phone rings first, then the number; the system's answers become call states.
    void waehlen_data()
    {
        QTest::addColumn<QByteArray>("antwort");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("fehler");
        const QByteArray ok = "Response: Success\r\nActionID: rufmon-3\r\nMessage: Originate successfully queued\r\n\r\n";
        const QByteArray ergebnis = "Event: OriginateResponse\r\nActionID: rufmon-3\r\nResponse: %1\r\n"
                                    "Channel: PJSIP/201-00000009\r\nReason: %2\r\nUniqueid: %3\r\n\r\n";
        const QString kanal = u"rufmon-%1-1"_s.arg(QCoreApplication::applicationPid());
        const QByteArray klingeltSelbst = block({u"Event: Newstate"_s, u"Channel: PJSIP/201-00000009"_s,
                                                 u"ChannelStateDesc: Ringing"_s, u"Uniqueid: "_s + kanal});
        const QStringList start{u"OnCallState(DIALTONE,1,1)"_s, u"OnCallState(PROCEEDING,1,1)"_s};
        const QStringList ende{u"OnCallState(DISCONNECTED,1,1)"_s, u"OnCallState(IDLE,1,1)"_s};
        QTest::newRow("angenommen")
            << ok + klingeltSelbst + QString::fromUtf8(ergebnis).arg(u"Success"_s, u"4"_s, kanal).toUtf8()
                   + block({u"Event: Hangup"_s, u"Uniqueid: "_s + kanal})
            << start + QStringList{u"OnCallState(CONNECTED,1,1)"_s, u"OnConnected(<ACTIVE>,1)"_s} + ende << QString();
        QTest::newRow("besetzt") << ok + QString::fromUtf8(ergebnis).arg(u"Failure"_s, u"5"_s, kanal).toUtf8()
                                 << start + QStringList{u"OnBusy(<STATION>,1)"_s} + ende << QString();
        QTest::newRow("abgelehnt")
            << QByteArray("Response: Error\r\nActionID: rufmon-3\r\nMessage: Extension does not exist.\r\n\r\n")
            << QStringList{u"OnCallState(DIALTONE,1,1)"_s} + ende
            << u"Die Telefonanlage 127.0.0.1:%1 wählt nicht: Extension does not exist.. #0"_s;
    }
    void waehlen()
    {
        QFETCH(QByteArray, antwort);
        QFETCH(QStringList, events);
        QFETCH(QString, fehler);
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
        QCOMPARE(m_fehler, fehler.isEmpty() ? QStringList() : QStringList{fehler.arg(m_server->serverPort())});
    }

    // Groups numbered from 1, gaps allowed, nonsense and doubles left out;
    // the dialog writes the keys, the password only to the keyring.
    void einstellungen()
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
        anmelden(g, QString());
        g.sende(Anruf);
        const QString greta = IDInKlammern(b.greta);
        QTRY_COMPARE_WITH_TIMEOUT(k.gespeichert(), QStringList{greta + u"|0301234567|Berlin|Greta Grünwald|6"_s},
                                  10000);

        Waehlen waehlen(k.tapi, k.store, k.optionen, k.dialogs, {[](const QString &) {}, [](const QString &) {},
                                                                 [] { return 0; }, [] {}});
        waehlen.mnuNummerAnwaehlen(k.anrufer, 0);
        const AmiNachricht originate = AmiNachricht::lies(g.aktion());
        QCOMPARE((QStringList{originate.wert(u"Action"), originate.wert(u"Channel"), originate.wert(u"Exten")}),
                 (QStringList{u"Originate"_s, u"PJSIP/201"_s, u"0301234567"_s}));
    }
};

QTEST_MAIN(tst_Telefonanlage)
#include "tst_Telefonanlage.moc"
