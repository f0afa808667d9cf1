// HTTP Digest as the router dialing uses it: which challenge of a 401 is
// answered, and the answers against the worked examples of RFC 2617 and RFC 7616.
#include "platform/telephony/DigestAnmeldung.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// One parameter of an Authorization value, quoted or not.
QByteArray parameter(const QByteArray &kopf, const char *name)
{
    const QRegularExpression re(u"[ ,]%1=(\"((?:[^\"\\\\]|\\\\.)*)\"|([^,]*))"_s.arg(QLatin1StringView(name)));
    const auto m = re.match(QString::fromLatin1(kopf));
    if (!m.hasMatch())
        return "(fehlt)";
    return (m.captured(1).startsWith(u'"') ? m.captured(2) : m.captured(3)).toLatin1();
}

} // namespace

class tst_DigestAnmeldung : public QObject
{
    Q_OBJECT

private slots:
    // Which schemes a 401 names, and whether a Digest among them is answered.
    void angebot_data()
    {
        QTest::addColumn<QList<QByteArray>>("kopfzeilen"); // WWW-Authenticate values, each a header
        QTest::addColumn<QByteArrayList>("verfahren");
        QTest::addColumn<QByteArray>("realm"); // of the Digest answered; "-" for none

        using L = QList<QByteArray>;
        const QByteArray digest = R"(Digest realm="F!Box SOAP-Auth", nonce="4F1A", algorithm=MD5, qop="auth")";
        QTest::newRow("Digest") << L{digest} << QByteArrayList{"Digest"} << QByteArray("F!Box SOAP-Auth");
        QTest::newRow("nur Basic") << L{R"(Basic realm="fritz.box")"} << QByteArrayList{"Basic"} << QByteArray("-");
        QTest::newRow("Basic und Digest, zwei Kopfzeilen")
            << L{R"(Basic realm="a")", digest} << QByteArrayList{"Basic", "Digest"} << QByteArray("F!Box SOAP-Auth");
        QTest::newRow("Basic und Digest in einer Kopfzeile")
            << L{R"(Basic realm="a, b", Digest realm="c", nonce="n")"} << QByteArrayList{"Basic", "Digest"}
            << QByteArray("c");
        QTest::newRow("NTLM, Negotiate mit Token") << L{"NTLM", "Negotiate YIIabc=="}
                                                    << QByteArrayList{"NTLM", "Negotiate"} << QByteArray("-");
        QTest::newRow("keine Angabe") << L{} << QByteArrayList{} << QByteArray("-");
        QTest::newRow("Digest ohne nonce") << L{R"(Digest realm="r")"} << QByteArrayList{"Digest"} << QByteArray("-");
        QTest::newRow("Digest mit unbekanntem Hash")
            << L{R"(Digest realm="r", nonce="n", algorithm=SHA-512-256)"} << QByteArrayList{"Digest"} << QByteArray("-");
        QTest::newRow("nur auth-int") << L{R"(Digest realm="r", nonce="n", qop="auth-int")"}
                                      << QByteArrayList{"Digest"} << QByteArray("-");
        QTest::newRow("erster beantwortbarer von zweien")
            << L{R"(Digest realm="x", nonce="n", algorithm=SHA-512-256, Digest realm="y", nonce="n", algorithm=SHA-256)"}
            << QByteArrayList{"Digest", "Digest"} << QByteArray("y");
        QTest::newRow("Leerraum, Groß und klein, Backslash")
            << L{"  digest   REALM = \"a\\\"b\" ,NONCE=n ,  QOP=\"AUTH\"  "} << QByteArrayList{"digest"}
            << QByteArray("a\"b");
        QTest::newRow("Unsinn") << L{"\",,=\"=,\"", "=x", ",Digest"} << QByteArrayList{"Digest"} << QByteArray("-");
    }
    void angebot()
    {
        QFETCH(QList<QByteArray>, kopfzeilen);
        QFETCH(QByteArrayList, verfahren);
        QFETCH(QByteArray, realm);
        DigestAnmeldung::Kopfzeilen antwort{{"Content-Length", "0"}};
        for (const QByteArray &wert : kopfzeilen)
            antwort.append({"WWW-Authenticate", wert});
        const DigestAnmeldung::Angebot angebot = DigestAnmeldung::lies(antwort);
        QCOMPARE(angebot.verfahren, verfahren);
        QCOMPARE(angebot.digest ? angebot.digest->realm() : QByteArray("-"), realm);
    }

    // The worked examples: GET /dir/index.html as Mufasa.
    void antwort_data()
    {
        QTest::addColumn<QByteArray>("challenge");
        QTest::addColumn<QString>("kennwort");
        QTest::addColumn<QByteArray>("cnonce");
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<QByteArray>("algorithm");

        QTest::newRow("RFC 2617")
            << QByteArray(R"(Digest realm="testrealm@host.com", qop="auth,auth-int", )"
                          R"(nonce="dcd98b7102dd2f0e8b11d0f600bfb0c093", opaque="5ccc069c403ebaf9f0171e9517f40e41")")
            << u"Circle Of Life"_s << QByteArray("0a4f113b") << QByteArray("6629fae49393a05397450978507c4ef1")
            << QByteArray("(fehlt)");
        const QByteArray rfc7616 = R"(Digest realm="http-auth@example.org", qop="auth, auth-int", algorithm=%1, )"
                                   R"(nonce="7ypf/xlj9XXwfDPEoM4URrv/xwf94BcCAzFZH4GiTo0v", )"
                                   R"(opaque="FQhe/qaU925kfnzjCev0ciny7QMkPqMAFRtzCUYo5tdS")";
        const QByteArray cnonce = "f2/wE4q74E6zIJEtWaHKaf5wv/H5QzzpXusqGemxURZJ";
        QTest::newRow("RFC 7616, MD5") << QByteArray(rfc7616).replace("%1", "MD5") << u"Circle of Life"_s << cnonce
                                       << QByteArray("8ca523f5e9506fed4657c9700eebdbec") << QByteArray("MD5");
        QTest::newRow("RFC 7616, SHA-256")
            << QByteArray(rfc7616).replace("%1", "SHA-256") << u"Circle of Life"_s << cnonce
            << QByteArray("753927fa0e85d155564e2e272a28d1802ca10daf4496794697cf8db5856cb6c1") << QByteArray("SHA-256");
    }
    void antwort()
    {
        QFETCH(QByteArray, challenge);
        QFETCH(QString, kennwort);
        QFETCH(QByteArray, cnonce);
        const auto digest = DigestAnmeldung::lies(challenge).digest;
        QVERIFY(digest);
        const QByteArray kopf = digest->antwort(u"Mufasa"_s, kennwort, "GET", "/dir/index.html", cnonce);
        QVERIFY2(kopf.startsWith("Digest "), kopf.constData());
        QTEST(parameter(kopf, "response"), "response");
        QTEST(parameter(kopf, "algorithm"), "algorithm");
        QCOMPARE(parameter(kopf, "username"), QByteArray("Mufasa"));
        QCOMPARE(parameter(kopf, "uri"), QByteArray("/dir/index.html"));
        QCOMPARE(parameter(kopf, "qop"), QByteArray("auth"));
        QCOMPARE(parameter(kopf, "nc"), QByteArray("00000001"));
        QCOMPARE(parameter(kopf, "cnonce"), cnonce);
        QVERIFY(!kopf.contains(kennwort.toLatin1()));
    }

    // Without qop the old form; MD5-sess hashes in nonce and cnonce; what
    // the server sent is given back quoted and cannot end the header.
    void sonderfaelle()
    {
        const auto md5 = [](const QByteArray &text) { return QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex(); };
        const auto ohneQop = DigestAnmeldung::lies(R"(Digest realm="r", nonce="n")").digest;
        QVERIFY(ohneQop);
        const QByteArray alt = ohneQop->antwort(u"u"_s, u"p"_s, "POST", "/x", "c");
        QCOMPARE(parameter(alt, "response"), md5(md5("u:r:p") + ":n:" + md5("POST:/x")));
        QCOMPARE(parameter(alt, "qop"), QByteArray("(fehlt)"));
        QCOMPARE(parameter(alt, "opaque"), QByteArray("(fehlt)"));

        const auto sess = DigestAnmeldung::lies(R"(Digest realm="r", nonce="n", qop=auth, algorithm=md5-sess, opaque="")").digest;
        QVERIFY(sess);
        const QByteArray s = sess->antwort(u"u"_s, u"p"_s, "POST", "/x", "c");
        QCOMPARE(parameter(s, "response"),
                 md5(md5(md5("u:r:p") + ":n:c") + ":n:00000001:c:auth:" + md5("POST:/x")));
        QCOMPARE(parameter(s, "algorithm"), QByteArray("MD5-sess"));
        QVERIFY(s.contains(", opaque=\"\""));

        const auto fremd = DigestAnmeldung::lies("Digest realm=\"a\x01\\\"\x7f\", nonce=\"n\r\nX-Neu: 1\"").digest;
        QVERIFY(fremd);
        const QByteArray f = fremd->antwort(u"ein \"Name\""_s, u"p"_s, "POST", "/x", "c");
        QVERIFY2(f.contains("username=\"ein \\\"Name\\\"\", realm=\"a\\\"\", nonce=\"nX-Neu: 1\""), f.constData());
        for (const char c : f)
            QVERIFY(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
    }

    void cnonceZufaellig()
    {
        const QByteArray a = DigestAnmeldung::neuerCnonce();
        QCOMPARE(a.size(), 32);
        QVERIFY(a != DigestAnmeldung::neuerCnonce());
    }
};

QTEST_GUILESS_MAIN(tst_DigestAnmeldung)
#include "tst_DigestAnmeldung.moc"
