// Where ACT! under Wine is looked for: the prefix from the settings, the
// environment or the home folder, and the Windows paths ACT! names mapped to
// the Linux files through the prefix's drive links, letter case aside.
#include "platform/actole/WineUmgebung.h"

#include "doubles/MemorySettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A prefix as Wine makes it: drive C: a link to drive_c, Z: to the root.
struct Praefix
{
    QTemporaryDir ordner;
    QString pfad() const { return ordner.path(); }

    Praefix()
    {
        QDir(pfad()).mkpath(u"drive_c/Programme/ACT/Daten"_s);
        QDir(pfad()).mkpath(u"dosdevices"_s);
        QFile::link(u"../drive_c"_s, pfad() + u"/dosdevices/c:"_s);
        QFile::link(u"/"_s, pfad() + u"/dosdevices/z:"_s);
        QFile f(pfad() + u"/drive_c/Programme/ACT/Daten/Kunden.dbf"_s);
        f.open(QIODevice::WriteOnly);
    }
};

} // namespace

class tst_WineUmgebung : public QObject
{
    Q_OBJECT

private slots:
    void linuxPfad_data()
    {
        QTest::addColumn<QString>("windows");
        QTest::addColumn<QString>("linux"); // below the prefix; "-" none
        QTest::newRow("as it lies") << u"C:\\Programme\\ACT\\Daten\\Kunden.dbf"_s
                                    << u"/drive_c/Programme/ACT/Daten/Kunden.dbf"_s;
        QTest::newRow("other letter case") << u"c:\\PROGRAMME\\act\\DATEN\\KUNDEN.DBF"_s
                                           << u"/drive_c/Programme/ACT/Daten/Kunden.dbf"_s;
        QTest::newRow("forward slashes, blanks around") << u" C:/Programme/ACT/Daten/Kunden.dbf "_s
                                                        << u"/drive_c/Programme/ACT/Daten/Kunden.dbf"_s;
        QTest::newRow("no such file") << u"C:\\Programme\\ACT\\Daten\\Lieferanten.dbf"_s << u"-"_s;
        QTest::newRow("no such drive") << u"D:\\ACT\\Kunden.dbf"_s << u"-"_s;
        QTest::newRow("network path") << u"\\\\server\\act\\Kunden.dbf"_s << u"-"_s;
        QTest::newRow("no path") << QString() << u"-"_s;
    }
    void linuxPfad()
    {
        QFETCH(QString, windows);
        QFETCH(QString, linux);
        Praefix p;
        MemorySettings settings;
        settings.SaveSetting(u"ACT"_s, u"WinePrefix"_s, p.pfad());
        const WineUmgebung u(settings);
        const QString erwartet = linux == u"-"_s ? QString() : QFileInfo(p.pfad() + linux).canonicalFilePath();
        QCOMPARE(u.LinuxPfad(windows), erwartet);
    }

    void laufwerkZ()
    {
        // Z: is the Linux root: a file anywhere is reached through it.
        Praefix p;
        QTemporaryDir anderswo;
        QFile f(anderswo.filePath(u"KONTAKTE.DBF"_s));
        QVERIFY(f.open(QIODevice::WriteOnly));
        MemorySettings settings;
        settings.SaveSetting(u"ACT"_s, u"WinePrefix"_s, p.pfad());
        const QString windows = u"Z:"_s + anderswo.filePath(u"kontakte.dbf"_s).replace(u'/', u'\\');
        QCOMPARE(WineUmgebung(settings).LinuxPfad(windows), QFileInfo(f.fileName()).canonicalFilePath());
    }

    void praefix()
    {
        MemorySettings settings;
        const WineUmgebung u(settings);
        const QByteArray vorher = qgetenv("WINEPREFIX");
        qputenv("WINEPREFIX", "/srv/wine/act/");
        QCOMPARE(u.Praefix(), u"/srv/wine/act"_s);
        qunsetenv("WINEPREFIX");
        QCOMPARE(u.Praefix(), QDir::homePath() + u"/.wine"_s);
        // The settings win over both.
        settings.SaveSetting(u"ACT"_s, u"WinePrefix"_s, u"/home/anna/.wine-act"_s);
        qputenv("WINEPREFIX", "/srv/wine/act");
        QCOMPARE(u.Praefix(), u"/home/anna/.wine-act"_s);
        qputenv("WINEPREFIX", vorher);
    }

    void nutzbar()
    {
        Praefix p;
        MemorySettings settings;
        settings.SaveSetting(u"ACT"_s, u"WinePrefix"_s, p.pfad());
        settings.SaveSetting(u"ACT"_s, u"Wine"_s, u"/bin/true"_s);
        const WineUmgebung u(settings);
        QCOMPARE(u.Wine(), u"/bin/true"_s);
        // A folder is no prefix before Wine has written its registry there.
        QVERIFY(!u.nutzbar());
        QFile reg(p.pfad() + u"/system.reg"_s);
        QVERIFY(reg.open(QIODevice::WriteOnly));
        reg.close();
        QCOMPARE(u.nutzbar(), !u.Bruecke().isEmpty());
        settings.SaveSetting(u"ACT"_s, u"Wine"_s, u"/nicht/da/wine"_s);
        QCOMPARE(u.Wine(), QString());
        QVERIFY(!u.nutzbar());
    }
};

QTEST_GUILESS_MAIN(tst_WineUmgebung)
#include "tst_WineUmgebung.moc"
