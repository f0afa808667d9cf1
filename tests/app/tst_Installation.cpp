// `cmake --install` into a folder of the test's own: the tree a package is
// made of, the validators of the desktop entry and the metainfo, and the
// installed program finding its phone database beside itself.
#include "TestPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Installation : public QObject
{
    Q_OBJECT

    QTemporaryDir m_ziel;
    QString m_usr;

    QString datei(const QString &pfad) const { return m_usr + u'/' + pfad; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_ziel.isValid());
        QProcess install;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DESTDIR"_s, m_ziel.path());
        install.setProcessEnvironment(env);
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(RUFMON_CMAKE),
                      {u"--install"_s, QStringLiteral(RUFMON_BINARY_DIR), u"--prefix"_s, u"/usr"_s});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());
        m_usr = m_ziel.path() + u"/usr"_s;
    }

    void installedTree()
    {
        const QString eintrag = u"share/applications/"_s + QStringLiteral(RUFMON_DESKTOP_ID) + u".desktop"_s;
        for (const QString &f :
             {u"share/rufmon/Nummern.mdb"_s, eintrag,
              u"share/metainfo/"_s + QStringLiteral(RUFMON_DESKTOP_ID) + u".metainfo.xml"_s,
              u"share/icons/hicolor/scalable/apps/rufmon.svg"_s, u"share/man/man1/rufmon.1"_s,
              u"share/doc/rufmon/LICENSE"_s, u"share/doc/rufmon/README.md"_s,
              u"share/doc/rufmon/phonedb/LICENSE-libphonenumber.txt"_s,
              u"share/doc/rufmon/phonedb/LICENSE-unicode-cldr.txt"_s})
            QVERIFY2(QFileInfo(datei(f)).isFile() && QFileInfo(datei(f)).size() > 0, qPrintable(f));
        for (const QString &f : {u"bin/rufmon"_s, u"bin/rufmon-konsole"_s})
            QVERIFY2(QFileInfo(datei(f)).isExecutable(), qPrintable(f));
        for (int groesse : {48, 128}) {
            const QImage bild(datei(u"share/icons/hicolor/%1x%1/apps/rufmon.png"_s.arg(groesse)));
            QCOMPARE(bild.size(), QSize(groesse, groesse));
        }
        // The entry starts the installed program with the installed icon.
        QSettings desktop(datei(eintrag), QSettings::IniFormat);
        desktop.beginGroup(u"Desktop Entry"_s);
        QVERIFY(QFileInfo(datei(u"bin/"_s + desktop.value(u"Exec"_s).toString().section(u' ', 0, 0))).isExecutable());
        QCOMPARE(desktop.value(u"Icon"_s).toString(), u"rufmon"_s);
    }

    void validators_data()
    {
        QTest::addColumn<QString>("programm");
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<QString>("paket");
        QTest::newRow("desktop entry") << u"desktop-file-validate"_s
                                       << QStringList{u"share/applications/"_s + QStringLiteral(RUFMON_DESKTOP_ID)
                                                      + u".desktop"_s}
                                       << u"desktop-file-utils"_s;
        QTest::newRow("metainfo") << u"appstreamcli"_s
                                  << QStringList{u"validate"_s, u"--no-net"_s,
                                                 u"share/metainfo/"_s + QStringLiteral(RUFMON_DESKTOP_ID)
                                                     + u".metainfo.xml"_s}
                                  << u"appstream"_s;
    }

    void validators()
    {
        QFETCH(QString, programm);
        QFETCH(QStringList, argumente);
        QFETCH(QString, paket);
        const QString pfad = QStandardPaths::findExecutable(programm);
        if (pfad.isEmpty())
            QSKIP(qPrintable(programm + u" fehlt (Debian-Paket "_s + paket + u')'));
        argumente.last() = datei(argumente.last());
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(pfad, argumente);
        QVERIFY(p.waitForFinished(60000));
        const QByteArray aus = p.readAll();
        QVERIFY2(p.exitCode() == 0, aus.constData());
        // desktop-file-validate answers 0 with warnings too.
        QVERIFY2(!aus.contains("error:") && !aus.contains("warning:"), aus.constData());
    }

    void installedProgramFindsItsPhoneDatabase()
    {
        // A user of the installed program: own home, the template copied there on first use.
        for (const QString &programm : {u"rufmon-konsole"_s, u"rufmon"_s}) {
            QTemporaryDir heim;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(u"HOME"_s, heim.path());
            env.insert(u"XDG_DATA_HOME"_s, heim.filePath(u"data"_s));
            env.insert(u"XDG_CONFIG_HOME"_s, heim.filePath(u"config"_s));
            // National numbers are placed by the home country of the locale.
            env.insert(u"LANG"_s, u"de_DE.UTF-8"_s);
            env.insert(u"LC_ALL"_s, u"de_DE.UTF-8"_s);
            QProcess p;
            p.setProcessEnvironment(env);
            p.start(datei(u"bin/"_s + programm), {u"--ort"_s, u"0301234567"_s});
            QVERIFY(p.waitForFinished(30000));
            const QString aus = QString::fromUtf8(p.readAllStandardOutput());
            QCOMPARE(p.exitCode(), 0);
            QVERIFY2(aus.contains(u"Vorwahl: 030\nAnschluss: 1234567\n"_s) && aus.contains(u"Ort: Berlin\n"_s),
                     qPrintable(programm + u": "_s + aus));
            QVERIFY(QFileInfo::exists(heim.filePath(u"data/Rufmon/Nummern.mdb"_s)));
        }
    }
};

QTEST_GUILESS_MAIN(tst_Installation)
#include "tst_Installation.moc"
