// Every window the program opens, as the program opens it: with the
// program's icon, and whole inside the part of the screen that windows may
// cover. Run on an 800 x 600 screen, and once more at twice the pixel
// density (a screen of 1600 x 1200 pixels, 800 x 600 to the windows).
#include "app/Rufmon.h"
#include "app/frmHaupt.h"
#include "platform/desktop/X11Desktop.h"
#include "platform/telephony/SimulatorDevice.h"
#include "platform/telephony/TelephonyControl.h"
#include "windows/Anruferlistenansicht.h"
#include "windows/ListView.h"

#include "TestPaths.h"
#include "doubles/Abwarten.h"
#include "doubles/Beispielkontakte.h"
#include "doubles/Umgebung.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// The program on generated ACT! data with one line device of each kind; the
// number cache is built at start.
struct Programm : Umgebung
{
    TelephonyControl tapi{store};
    X11Desktop x11;
    Beispielkontakte kontakte;
    std::unique_ptr<Rufmon> rufmon;

    Programm()
    {
        QFile::copy(QStringLiteral(RUFMON_NUMMERN_MDB), dir.filePath(u"Nummern.mdb"_s));
        QFile::setPermissions(dir.filePath(u"Nummern.mdb"_s), QFile::ReadOwner | QFile::WriteOwner);
        system.programFolder = dir.path();
        // The machine's screen is the one the windows open on.
        const QScreen *bildschirm = QGuiApplication::primaryScreen();
        system.screen = bildschirm->geometry().size();
        system.available = bildschirm->availableGeometry();
        system.taskbar = QRect();
        kontakte = Beispielkontakte::schreibe(dir.filePath(u"act"_s));
        store.SaveSetting(u"ACT"_s, u"Datenbank"_s, kontakte.tabelle);
        store.SaveSetting(u"Optionen"_s, u"TapiDevice"_s, u"Rufmon-Simulator"_s);
        store.SaveSetting(u"Optionen"_s, u"CacheMDB"_s, dir.filePath(u"RUFMON.MDB"_s));
        store.SaveSetting(u"Optionen"_s, u"NummernCache"_s, u"1"_s);
        store.SaveSetting(u"Telefonie"_s, u"Anrufmonitore"_s, u"127.0.0.1:1012"_s);
        store.SaveSetting(u"Telefonie"_s, u"Telefonanlage1/Adresse"_s, u"127.0.0.1:5038"_s);
        store.SaveSetting(u"Telefonie"_s, u"Telefonanlage1/Benutzer"_s, u"rufmon"_s);
        store.SaveSetting(u"Telefonie"_s, u"Modems"_s, u"/dev/ttyRufmonTest0"_s);
        rufmon = std::make_unique<Rufmon>(RufmonUmgebung{store, dialogs, clipboard, system, tapi, x11, nullptr});
    }

    ~Programm() { f().close(); }

    frmHaupt &f() { return rufmon->Fenster(); }

    // Chooses the line device whose name begins so.
    void geraet(const QString &anfang)
    {
        QComboBox *box = f().cbxTapiDevices();
        for (int i = 0; i < box->count(); ++i) {
            if (box->itemText(i).startsWith(anfang)) {
                box->setCurrentIndex(i);
                emit box->activated(i);
                return;
            }
        }
        QFAIL(qPrintable(u"Kein Gerät „%1“"_s.arg(anfang)));
    }
};

// What a window looked like the first time it was seen.
struct Gesehen
{
    QString name;
    QRect rahmen;
    QRect frei;
    bool symbol = false;
};

QString name(const QWidget *w)
{
    if (!w->objectName().isEmpty())
        return w->objectName();
    const QString klasse = QString::fromLatin1(w->metaObject()->className());
    return klasse == u"QDialog"_s ? w->windowTitle() : klasse;
}

// Watches for windows while the program runs: notes each one shown, and
// closes a modal one so that the command that opened it returns.
class Beobachter : public QObject
{
public:
    explicit Beobachter(const QImage &symbol)
        : m_symbol(symbol)
    {
        // What is open already is not what the command opens.
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible())
                m_bekannt.append(w);
        }
        connect(&m_takt, &QTimer::timeout, this, &Beobachter::sieh);
        m_takt.start(0);
    }

    void sieh()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || qobject_cast<QMenu *>(w) || w->windowType() == Qt::ToolTip
                || m_bekannt.contains(w))
                continue;
            m_bekannt.append(w);
            gesehen.append({name(w), w->frameGeometry(), w->screen()->availableGeometry(),
                            w->windowIcon().pixmap(32).toImage() == m_symbol});
        }
        if (auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            modal->reject();
    }

    QList<Gesehen> gesehen;

private:
    QImage m_symbol;
    QTimer m_takt;
    QList<QWidget *> m_bekannt;
};

QString beschreibe(const QRect &r)
{
    return u"%1,%2 %3x%4"_s.arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

using Befehl = std::function<void(Programm &)>;
Q_DECLARE_METATYPE(Befehl)

class tst_Fenster : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(rufmon);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        m_symbol = QIcon(u":/icons/rufmon.svg"_s).pixmap(32).toImage();
        QVERIFY(!m_symbol.isNull());
        // 800 x 600 to the windows, at either density.
        QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry().size(), QSize(800, 600));
    }

    void everyWindowHasTheIconAndFitsTheScreen_data()
    {
        QTest::addColumn<Befehl>("befehl");
        QTest::addColumn<QStringList>("fenster"); // what opens, in order

        const auto menue = [](Menuepunkt punkt) { return Befehl([punkt](Programm &p) { p.f().Menu(punkt)->trigger(); }); };
        const auto einstellungen = [](const QString &geraet) {
            return Befehl([geraet](Programm &p) {
                p.geraet(geraet);
                p.f().Menu(Menuepunkt::mnuTapiEinstellungen)->trigger();
            });
        };
        QTest::newRow("start") << Befehl() << QStringList{u"frmStatus"_s, u"frmHaupt"_s};
        QTest::newRow("renewing the number cache") << menue(Menuepunkt::mnuCacheNeu) << QStringList{u"frmStatus"_s};
        QTest::newRow("phone fields") << menue(Menuepunkt::mnuTelefonfelder) << QStringList{u"frmTelefonfelder"_s};
        QTest::newRow("contact card") << Befehl([](Programm &p) {
            p.f().cmdInitTapi()->click();
            p.tapi.Simulator()->setTakt(5, 50);
            QVERIFY(p.tapi.Simulator()->anruf(u"0301234567"_s));
            QVERIFY(abwarten(*p.rufmon->Teile().Auswertung()));
            p.f().lvNummern()->setSelectedIndex(0);
            p.f().Menu(Menuepunkt::mnuACTAnzeigen)->trigger();
        }) << QStringList{u"frmKontaktkarte"_s};
        QTest::newRow("about box") << Befehl([](Programm &p) { emit p.f().InfoAngefordert(); })
                                   << QStringList{u"frmInfo"_s};
        QTest::newRow("number list") << menue(Menuepunkt::mnuNummern) << QStringList{u"frmNummernliste"_s};
        QTest::newRow("telephony log") << menue(Menuepunkt::mnuTAPIProtokoll) << QStringList{u"frmProtokoll"_s};
        QTest::newRow("driver information") << menue(Menuepunkt::mnuTapiInfos) << QStringList{u"frmTapiInfo"_s};
        QTest::newRow("router") << einstellungen(u"Anrufmonitor"_s) << QStringList{u"CallMonitorDialog"_s};
        QTest::newRow("telephone system") << einstellungen(u"Telefonanlage"_s)
                                          << QStringList{u"TelefonanlageDialog"_s};
        QTest::newRow("modem") << einstellungen(u"Modem"_s) << QStringList{u"ModemDialog"_s};
        QTest::newRow("simulator") << einstellungen(u"Rufmon-Simulator"_s) << QStringList{u"Rufmon-Simulator"_s};
        QTest::newRow("dialing rules") << menue(Menuepunkt::mnuTapiWaehlregeln)
                                       << QStringList{u"WaehlregelnDialog"_s};
    }
    void everyWindowHasTheIconAndFitsTheScreen()
    {
        QFETCH(Befehl, befehl);
        QFETCH(QStringList, fenster);

        Programm p;
        std::unique_ptr<Beobachter> start = std::make_unique<Beobachter>(m_symbol);
        p.rufmon->starten();
        QVERIFY(QTest::qWaitForWindowExposed(&p.f()));
        // The cache the start builds is built before the command.
        QTRY_VERIFY_WITH_TIMEOUT(!p.rufmon->Teile().CacheWirdErstellt(), 60000);
        start->sieh();
        auto beobachter = befehl ? std::make_unique<Beobachter>(m_symbol) : std::move(start);
        start.reset();
        if (befehl) {
            befehl(p);
            if (QTest::currentTestFailed())
                return;
            QTest::qWait(20);
            beobachter->sieh();
        }

        QStringList namen;
        for (const Gesehen &g : std::as_const(beobachter->gesehen)) {
            namen << g.name;
            QVERIFY2(g.symbol, qPrintable(g.name + u" ohne das Symbol des Programms"_s));
            QVERIFY2(g.frei.contains(g.rahmen),
                     qPrintable(g.name + u": "_s + beschreibe(g.rahmen) + u" nicht in "_s + beschreibe(g.frei)));
        }
        QCOMPARE(namen, fenster);
        QCOMPARE(p.dialogs.boxes().size(), 0);
    }

private:
    QImage m_symbol;
};

QTEST_MAIN(tst_Fenster)
#include "tst_Fenster.moc"
