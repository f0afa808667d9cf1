// Two Rufmon programs as two desks on one team journal (a private PostgreSQL
// server the test starts): a call at one desk is in the other's window
// "Anrufe im Team" within a second; without a journal the menu item is not there.
#include "app/Infobereich.h"
#include "app/Rufmon.h"
#include "app/Teamanbindung.h"
#include "app/frmHaupt.h"
#include "platform/kennwort/SitzungsKennwortspeicher.h"
#include "platform/desktop/X11Desktop.h"
#include "platform/telephony/SimulatorDevice.h"
#include "platform/telephony/TelephonyControl.h"
#include "team/TeamAnrufeModell.h"
#include "team/Teamjournal.h"
#include "windows/Anruferlistenansicht.h"
#include "windows/ListView.h"
#include "windows/frmAnrufeImTeam.h"

#include "TestPaths.h"
#include "doubles/Abwarten.h"
#include "doubles/PgCluster.h"
#include "doubles/Umgebung.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTcpServer>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Platz : Umgebung
{
    TelephonyControl tapi{store};
    X11Desktop x11;
    std::unique_ptr<Rufmon> rufmon;

    // `journal`: the journal's address; none: no journal set up.
    Platz(const QString &journal, const QString &name, Kennwortspeicher *kennwoerter = nullptr,
          const std::optional<QString> &kennwort = std::nullopt)
    {
        if (kennwort)
            dialogs.answerInput(kennwort);
        QFile::copy(QStringLiteral(RUFMON_NUMMERN_MDB), dir.filePath(u"Nummern.mdb"_s));
        QFile::setPermissions(dir.filePath(u"Nummern.mdb"_s), QFile::ReadOwner | QFile::WriteOwner);
        system.programFolder = dir.path();
        store.SaveSetting(u"Optionen"_s, u"TapiDevice"_s, u"Rufmon-Simulator"_s);
        if (!journal.isEmpty()) {
            store.SaveSetting(u"Team"_s, u"Datenbank"_s, journal);
            store.SaveSetting(u"Team"_s, u"Benutzer"_s, u"rufmon_admin"_s);
            store.SaveSetting(u"Team"_s, u"Arbeitsplatz"_s, name);
        }
        rufmon = std::make_unique<Rufmon>(RufmonUmgebung{store, dialogs, clipboard, system, tapi, x11, nullptr, kennwoerter});
        rufmon->starten();
        f().cmdInitTapi()->click();
        tapi.Simulator()->setTakt(5, 50);
    }
    ~Platz()
    {
        if (rufmon)
            f().close();
    }
    frmHaupt &f() { return rufmon->Fenster(); }
};

QString adresse(quint16 port)
{
    return u"postgresql://127.0.0.1:%1/team"_s.arg(port);
}

} // namespace

class tst_Teamanbindung : public QObject
{
    Q_OBJECT

    PgCluster m_pg;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void withoutAJournalTheMenuItemIsNotThere()
    {
        Platz platz(QString(), {});
        QVERIFY(!platz.f().Menu(Menuepunkt::mnuAnrufeImTeam)->isVisible());
        QVERIFY(!platz.rufmon->Team().Journal());
    }

    void aCallAtOneDeskIsInTheOthersWindow()
    {
        if (const QString grund = PgCluster::fehlt(); !grund.isEmpty())
            QSKIP(qPrintable(grund));
        QString fehler;
        QVERIFY2(m_pg.starten(&fehler), qPrintable(fehler));
        Platz empfang(adresse(m_pg.port()), u"Empfang"_s);
        Platz vertrieb(adresse(m_pg.port()), u"Vertrieb"_s);
        QAction *menue = vertrieb.f().Menu(Menuepunkt::mnuAnrufeImTeam);
        QVERIFY(menue->isVisible());
        QCOMPARE(menue->text(), u"Anrufe im &Team…"_s);
        QTRY_VERIFY_WITH_TIMEOUT(empfang.rufmon->Team().Journal()->Erreichbar(), 10000);
        menue->trigger();
        frmAnrufeImTeam *fenster = vertrieb.rufmon->Team().Fenster();
        QVERIFY(fenster && fenster->isVisible());
        QCOMPARE(fenster->windowTitle(), u"Anrufe im Team"_s);
        QTRY_VERIFY_WITH_TIMEOUT(fenster->lbZustand()->text().contains(u"verbunden"_s), 10000);
        QCOMPARE(fenster->Modell().rowCount(), 0);

        QVERIFY(empfang.tapi.Simulator()->anruf(u"0301234567"_s));
        QVERIFY(abwarten(*empfang.rufmon->Teile().Auswertung()));
        QCOMPARE(empfang.f().lvNummern()->Modell().Count(), 1);
        QElapsedTimer uhr;
        uhr.start();
        QTRY_COMPARE_WITH_TIMEOUT(fenster->Modell().rowCount(), 1, 5000);
        QVERIFY2(uhr.elapsed() < 1000, qPrintable(QString::number(uhr.elapsed())));
        const Journalzeile &z = fenster->Modell().Zeile(0);
        QCOMPARE(z.arbeitsplatz, u"Empfang"_s);
        QCOMPARE(z.nummer, u"0301234567"_s);
        QCOMPARE(z.ort, u"Berlin"_s);
        QCOMPARE(z.leitung, u"Rufmon-Simulator"_s);

        // The call ends unanswered at the desk (the simulator hangs up): missed.
        fenster->chkVerpasst()->setChecked(true);
        QTRY_COMPARE_WITH_TIMEOUT(fenster->Modell().rowCount(), 1, 5000);
        QCOMPARE(TeamAnrufeModell::ErgebnisText(fenster->Modell().Zeile(0)), u"verpasst"_s);

        fenster->chkVerpasst()->setChecked(false);
        fenster->txbSuche()->setText(u"0891"_s);
        QTRY_COMPARE_WITH_TIMEOUT(fenster->Modell().rowCount(), 0, 5000);
        fenster->close();
    }

    // A journal server that takes the connection and never answers holds up
    // no call: the call is identified and shown at once and waits in the outbox.
    void aSilentServerDelaysNoCall()
    {
        QTcpServer stumm;
        QVERIFY(stumm.listen(QHostAddress::LocalHost));
        Platz empfang(adresse(stumm.serverPort()), u"Empfang"_s);
        QVERIFY(empfang.rufmon->Team().Journal());
        QTRY_VERIFY_WITH_TIMEOUT(stumm.hasPendingConnections(), 5000);
        QElapsedTimer uhr;
        uhr.start();
        QVERIFY(empfang.tapi.Simulator()->anruf(u"0301234567"_s));
        QVERIFY(abwarten(*empfang.rufmon->Teile().Auswertung()));
        QCOMPARE(empfang.f().lvNummern()->Modell().Count(), 1);
        QVERIFY2(uhr.elapsed() < 1000, qPrintable(QString::number(uhr.elapsed())));
        QCOMPARE(empfang.rufmon->Team().Journal()->Wartend(), 1);
        QVERIFY(!empfang.rufmon->Team().Journal()->Erreichbar());
        // Nor does the program wait for it when it ends.
        uhr.restart();
        empfang.f().close();
        empfang.rufmon.reset();
        QVERIFY2(uhr.elapsed() < 1000, qPrintable(QString::number(uhr.elapsed())));
    }

    // The password is asked once and kept in the keyring; the tray's tool
    // tip tells whether the journal is reached.
    void thePasswordIsAskedOnceAndKept()
    {
        if (const QString grund = PgCluster::fehlt(); !grund.isEmpty())
            QSKIP(qPrintable(grund));
        QVERIFY(m_pg.starten());
        SitzungsKennwortspeicher kennwoerter;
        auto platz = std::make_unique<Platz>(adresse(m_pg.port()), u"Empfang"_s, &kennwoerter, u"geheim"_s);
        QCOMPARE(platz->dialogs.boxes().size(), 1);
        QCOMPARE(platz->dialogs.boxes().first().kind, u"PasswordBox"_s);
        QCOMPARE(platz->dialogs.boxes().first().text,
                 u"Kennwort des Benutzers „rufmon_admin“ für das Team-Journal 127.0.0.1:%1/team:"_s.arg(m_pg.port()));
        QTRY_VERIFY_WITH_TIMEOUT(platz->rufmon->Infosymbol().ToolTip().contains(
                                     u"Team-Journal 127.0.0.1:%1/team: verbunden"_s.arg(m_pg.port())),
                                 10000);
        const QString konto = platz->rufmon->Team().Journal()->Zugang().konto();
        QCOMPARE(kennwoerter.lies(konto), std::optional<QString>(u"geheim"_s));
        platz.reset();
        Platz wieder(adresse(m_pg.port()), u"Empfang"_s, &kennwoerter);
        QVERIFY(wieder.dialogs.boxes().isEmpty());
        QCOMPARE(wieder.rufmon->Team().Journal()->Zugang().kennwort, u"geheim"_s);
        // Nothing of it in the settings file.
        QFile conf(wieder.store.filePath());
        QVERIFY(conf.open(QIODevice::ReadOnly));
        QVERIFY(!conf.readAll().contains("geheim"));
    }

    void cleanupTestCase() { m_pg.stoppen(); }
};

QTEST_MAIN(tst_Teamanbindung)
#include "tst_Teamanbindung.moc"
