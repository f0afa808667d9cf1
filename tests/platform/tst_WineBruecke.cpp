// The bridge's line protocol and its life: answers, ACT!'s errors, a bridge
// that dies (started once more), one that keeps dying or never answers (given
// up and reported once). The bridge here is a shell script that speaks the
// protocol, so that no Wine is needed; the real bridge is tested under Wine
// in tst_WineACT.
#include "platform/actole/WineBruecke.h"

#include <QFile>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Answers ECHO with its field, FEHLER with an error, STIRB by ending (only
// the first time when `einmal` is set), SCHWEIG not at all; counts its starts.
const char *const Skript = R"(
echo start >> "$ORDNER/starts"
[ -n "$STUMM" ] && exec sleep 30
printf 'BEREIT\t1\n'
while IFS= read -r zeile; do
  case "$zeile" in
    ECHO*) printf 'OK\t%s\n' "${zeile#ECHO	}" ;;
    FEHLER*) printf 'FEHLER\t-2147352570\tUnbekannter Name.\n' ;;
    STIRB*)
      if [ -z "$EINMAL" ] || [ ! -e "$ORDNER/gestorben" ]; then
        touch "$ORDNER/gestorben"
        exit 3
      fi
      printf 'OK\tweiter\n' ;;
    SCHWEIG*) sleep 30 ;;
    ENDE) printf 'OK\n'; exit 0 ;;
  esac
done
)";

struct Aufbau
{
    QTemporaryDir ordner;
    std::unique_ptr<WineBruecke> bruecke;

    explicit Aufbau(const QStringList &umgebung = {}, const QString &programm = u"sh"_s)
    {
        QProcessEnvironment u = QProcessEnvironment::systemEnvironment();
        u.insert(u"ORDNER"_s, ordner.path());
        for (const QString &z : umgebung)
            u.insert(z.section(u'=', 0, 0), z.section(u'=', 1));
        bruecke = std::make_unique<WineBruecke>(programm, QStringList{u"-c"_s, QString::fromUtf8(Skript)}, u);
        bruecke->setWartezeiten(5000, 1000);
    }
    int starts() const
    {
        QFile f(ordner.filePath(u"starts"_s));
        return f.open(QIODevice::ReadOnly) ? int(f.readAll().count('\n')) : 0;
    }
};

} // namespace

class tst_WineBruecke : public QObject
{
    Q_OBJECT

private slots:
    void felder_data()
    {
        QTest::addColumn<QString>("feld");
        QTest::newRow("plain") << u"Greta Grünwald"_s;
        QTest::newRow("Windows path") << u"C:\\ACT\\KUNDEN.DBF"_s;
        QTest::newRow("tab, line breaks") << u"a\tb\r\nc"_s;
        QTest::newRow("backslash before t") << u"\\t\\\\n"_s;
        QTest::newRow("euro, at") << u"5 € @ Büro"_s;
        QTest::newRow("empty") << QString();
    }
    void felder()
    {
        QFETCH(QString, feld);
        const QString maskiert = WineBruecke::maskiere(feld);
        QVERIFY(!maskiert.contains(u'\t'));
        QVERIFY(!maskiert.contains(u'\n'));
        const QStringList zurueck = WineBruecke::zerlege((u"OK\t"_s + maskiert + u"\tx\n"_s).toUtf8());
        QCOMPARE(zurueck, (QStringList{u"OK"_s, feld, u"x"_s}));
    }

    void antwortUndFehler()
    {
        Aufbau a;
        const auto echo = a.bruecke->frage({u"ECHO"_s, u"C:\\ACT\tKUNDEN"_s});
        QVERIFY(echo);
        QVERIFY(echo->ok);
        QCOMPARE(echo->werte, QStringList{u"C:\\ACT\tKUNDEN"_s});
        const auto fehler = a.bruecke->frage({u"FEHLER"_s});
        QVERIFY(fehler);
        QVERIFY(!fehler->ok);
        QCOMPARE(fehler->fehlernummer, -2147352570L);
        QCOMPARE(fehler->beschreibung, u"Unbekannter Name."_s);
        // Started once, kept running.
        QCOMPARE(a.starts(), 1);
        QVERIFY(a.bruecke->laeuft());
    }

    void stirbtEinmal()
    {
        Aufbau a({u"EINMAL=1"_s});
        QSignalSpy ausgefallen(a.bruecke.get(), &WineBruecke::Ausgefallen);
        QVERIFY(a.bruecke->frage({u"ECHO"_s, u"x"_s}));
        const qint64 erster = a.bruecke->prozess();
        // It dies on the request; a fresh one is asked the same again.
        const auto antwort = a.bruecke->frage({u"STIRB"_s});
        QVERIFY(antwort);
        QCOMPARE(antwort->werte, QStringList{u"weiter"_s});
        QCOMPARE(a.starts(), 2);
        QVERIFY(a.bruecke->prozess() != erster);
        QCOMPARE(ausgefallen.size(), 0);
        QVERIFY(!a.bruecke->aufgegeben());
    }

    void ausfall_data()
    {
        QTest::addColumn<QStringList>("umgebung");
        QTest::addColumn<QString>("programm");
        QTest::addColumn<QString>("anfrage");
        QTest::addColumn<int>("starts");
        QTest::newRow("dies again") << QStringList() << u"sh"_s << u"STIRB"_s << 2;
        QTest::newRow("never answers") << QStringList() << u"sh"_s << u"SCHWEIG"_s << 2;
        QTest::newRow("never ready") << QStringList{u"STUMM=1"_s} << u"sh"_s << u"ECHO"_s << 2;
        QTest::newRow("no such program") << QStringList() << u"/nicht/da/wine"_s << u"ECHO"_s << 0;
    }
    void ausfall()
    {
        QFETCH(QStringList, umgebung);
        QFETCH(QString, programm);
        QFETCH(QString, anfrage);
        Aufbau a(umgebung, programm);
        QSignalSpy ausgefallen(a.bruecke.get(), &WineBruecke::Ausgefallen);
        QVERIFY(!a.bruecke->frage({anfrage}));
        QTEST(a.starts(), "starts");
        QCOMPARE(ausgefallen.size(), 1);
        QVERIFY(ausgefallen.first().first().toString().startsWith(u"Die Verbindung zu ACT! unter Wine ist ausgefallen."_s));
        QVERIFY(a.bruecke->aufgegeben());
        QVERIFY(!a.bruecke->laeuft());

        // Given up: not started again, not reported again.
        QVERIFY(!a.bruecke->frage({u"ECHO"_s}));
        QTEST(a.starts(), "starts");
        QCOMPARE(ausgefallen.size(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_WineBruecke)
#include "tst_WineBruecke.moc"
