// The program's icon for notifications: by name where an icon theme holds
// it, else a picture file of the program's own — the build tree's, or that
// of an installation the desktop does not search.
#include "platform/benachrichtigung/Programmsymbol.h"

#include "TestPaths.h"
#include "doubles/Dateien.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Programmsymbol : public QObject
{
    Q_OBJECT

private slots:
    void pictureWhereTheThemeLacksTheIcon_data()
    {
        QTest::addColumn<QStringList>("thema");    // icon files below the desktop's data folder
        QTest::addColumn<QStringList>("programm"); // icon files below the program's prefix
        QTest::addColumn<QString>("bild");         // the picture handed along, below the prefix
        const QString png128 = u"share/icons/hicolor/128x128/apps/rufmon.png"_s;
        const QString png48 = u"share/icons/hicolor/48x48/apps/rufmon.png"_s;
        const QString svg = u"share/icons/hicolor/scalable/apps/rufmon.svg"_s;
        QTest::newRow("installed") << QStringList{u"icons/hicolor/scalable/apps/rufmon.svg"_s} << QStringList{svg}
                                   << QString();
        QTest::newRow("in the user's pixmaps") << QStringList{u"pixmaps/rufmon.png"_s} << QStringList{png48}
                                               << QString();
        QTest::newRow("build tree") << QStringList() << QStringList{png48, png128} << png128;
        QTest::newRow("prefix with the SVG only") << QStringList() << QStringList{svg} << svg;
        QTest::newRow("another program's icon") << QStringList{u"icons/hicolor/48x48/apps/anderes.png"_s}
                                                << QStringList{png48} << png48;
        QTest::newRow("no picture at all") << QStringList() << QStringList() << QString();
    }

    void pictureWhereTheThemeLacksTheIcon()
    {
        QFETCH(QStringList, thema);
        QFETCH(QStringList, programm);
        QFETCH(QString, bild);
        QTemporaryDir daten, prefix;
        for (const QString &f : thema) {
            QVERIFY(QDir().mkpath(QFileInfo(daten.filePath(f)).path()));
            QVERIFY(schreibeDatei(daten.filePath(f), "bild"));
        }
        for (const QString &f : programm) {
            QVERIFY(QDir().mkpath(QFileInfo(prefix.filePath(f)).path()));
            QVERIFY(schreibeDatei(prefix.filePath(f), "bild"));
        }
        QVERIFY(QDir().mkpath(prefix.filePath(u"bin"_s)));
        const QString erwartet = bild.isEmpty() ? QString() : QFileInfo(prefix.filePath(bild)).absoluteFilePath();
        QCOMPARE(Programmsymbol::Bild(prefix.filePath(u"bin"_s), {daten.path()}), erwartet);
        QCOMPARE(Programmsymbol::imThema({daten.path()}), !thema.isEmpty() && !thema[0].contains(u"anderes"_s));
    }

    // The build puts a picture of the icon where the program run from the build tree looks.
    void buildTreeHasThePicture()
    {
        const QString datei = Programmsymbol::Datei(QStringLiteral(RUFMON_BINARY_DIR) + u"/bin"_s);
        QVERIFY(!datei.isEmpty());
        const QImage bild(datei);
        QCOMPARE(bild.size(), QSize(128, 128));
        QCOMPARE(Programmsymbol::Name(), u"rufmon"_s);
    }
};

QTEST_GUILESS_MAIN(tst_Programmsymbol)
#include "tst_Programmsymbol.moc"
