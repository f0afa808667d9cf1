// The layers the build promises: nothing below the windows links Qt Widgets
// or includes a header of the program frame, the libraries link without a
// cycle, and the window-free commands run from a program built without widgets.
#include "TestPaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Our libraries below the windows, and the program built from them alone.
const QStringList Fensterlos = {
    u"rufmon_platform_core"_s, u"rufmon_platform_system"_s, u"rufmon_xbase"_s, u"rufmon_jet"_s,
    u"rufmon_platform_telephony"_s, u"rufmon_platform_kennwort"_s, u"rufmon_platform_actole"_s,
    u"rufmon_platform_desktop"_s, u"rufmon_platform_benachrichtigung"_s, u"rufmon_core"_s,
    u"rufmon_phonedb"_s, u"rufmon_actdb"_s, u"rufmon_actcontrol"_s, u"rufmon_telephony"_s,
    u"rufmon_identifikation"_s, u"rufmon_konsole"_s, u"rufmon-konsole"_s, u"rufmon_platform_teamjournal"_s,
    u"rufmon_team"_s};

// The source folders of those libraries, and the few files in them that
// belong to the GUI pieces of the platform.
const QStringList FensterloseOrdner = {u"core"_s, u"phonedb"_s, u"actdb"_s, u"actcontrol"_s, u"telephony"_s,
                                       u"team"_s, u"platform"_s};
const QStringList GuiTeile = {u"platform/dialogs/QtDialogs"_s, u"platform/clipboard/QtClipboard"_s,
                              u"platform/telephony/QtGeraeteEinstellungen"_s,
                              u"platform/telephony/CallMonitorDialog"_s, u"platform/telephony/ModemDialog"_s,
                              u"platform/telephony/TelefonanlageDialog"_s, u"platform/telephony/KennwortHinweis"_s,
                              u"platform/telephony/WaehlregelnDialog"_s, u"platform/telephony/Leitungsseite"_s,
                              u"platform/telephony/RouterSeite"_s, u"platform/telephony/TelefonanlageSeite"_s,
                              u"platform/telephony/ModemSeite"_s, u"platform/telephony/LeitungHinzufuegenDialog"_s,
                              u"platform/telephony/Feldbreite"_s};

QHash<QString, QStringList> verknuepfungen()
{
    QHash<QString, QStringList> links;
    QFile datei(QStringLiteral(RUFMON_VERKNUEPFUNGEN));
    if (!datei.open(QIODevice::ReadOnly))
        return links;
    for (const QString &zeile : QString::fromUtf8(datei.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype gleich = zeile.indexOf(u'=');
        links.insert(zeile.left(gleich), zeile.mid(gleich + 1).split(u';', Qt::SkipEmptyParts));
    }
    return links;
}

// Everything `ziel` links, directly or through our libraries.
QSet<QString> huelle(const QHash<QString, QStringList> &links, const QString &ziel)
{
    QSet<QString> gesehen;
    QStringList offen{ziel};
    while (!offen.isEmpty()) {
        const QString t = offen.takeLast();
        for (QString lib : links.value(t)) {
            lib.remove(QRegularExpression(u"^\\$<LINK_ONLY:|>$"_s));
            if (!gesehen.contains(lib)) {
                gesehen.insert(lib);
                offen.append(lib);
            }
        }
    }
    return gesehen;
}

QStringList quelldateien(const QString &ordner)
{
    QStringList dateien;
    QDirIterator it(QStringLiteral(RUFMON_SOURCE_DIR) + u'/' + ordner, {u"*.h"_s, u"*.cpp"_s}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        dateien << it.next();
    return dateien;
}

} // namespace

class tst_Schichten : public QObject
{
    Q_OBJECT

private slots:
    void nothingBelowTheWindowsLinksWidgets()
    {
        const auto links = verknuepfungen();
        QVERIFY2(links.contains(u"rufmon_app_gui"_s), "no link lines written by the build");
        // The check itself sees widgets where they are.
        QVERIFY(huelle(links, u"rufmon_app_gui"_s).contains(u"Qt6::Widgets"_s));
        for (const QString &ziel : Fensterlos) {
            QVERIFY2(links.contains(ziel), qPrintable(ziel));
            QVERIFY2(!huelle(links, ziel).contains(u"Qt6::Widgets"_s), qPrintable(ziel + u" links Qt Widgets"_s));
        }
    }

    void librariesLinkWithoutACycle()
    {
        const auto links = verknuepfungen();
        for (auto it = links.cbegin(); it != links.cend(); ++it)
            QVERIFY2(!huelle(links, it.key()).contains(it.key()), qPrintable(it.key() + u" links itself"_s));
    }

    void nothingBelowTheWindowsIncludesTheFrameOrWidgets()
    {
        // Every header Qt Widgets has, by name.
        const QString widgetsOrdner = QLibraryInfo::path(QLibraryInfo::HeadersPath) + u"/QtWidgets"_s;
        const QSet<QString> widgetKoepfe = [&] {
            const QStringList namen = QDir(widgetsOrdner).entryList(QDir::Files);
            return QSet<QString>(namen.begin(), namen.end());
        }();
        QVERIFY2(widgetKoepfe.contains(u"QWidget"_s), qPrintable(widgetsOrdner));
        const QRegularExpression include(u"^\\s*#\\s*include\\s*[<\"](?:QtWidgets/)?([^>\"]+)[>\"]"_s,
                                         QRegularExpression::MultilineOption);
        QStringList verstoesse;
        for (const QString &ordner : FensterloseOrdner) {
            for (const QString &datei : quelldateien(ordner)) {
                const QString relativ = QDir(QStringLiteral(RUFMON_SOURCE_DIR)).relativeFilePath(datei);
                QFile f(datei);
                QVERIFY(f.open(QIODevice::ReadOnly));
                const QString text = QString::fromUtf8(f.readAll());
                const bool gui = GuiTeile.contains(relativ.section(u'.', 0, 0));
                for (auto m = include.globalMatch(text); m.hasNext();) {
                    const QString kopf = m.next().captured(1);
                    if (kopf.startsWith(u"app/"_s) || kopf.startsWith(u"windows/"_s))
                        verstoesse << relativ + u": "_s + kopf;
                    else if (!gui && widgetKoepfe.contains(kopf))
                        verstoesse << relativ + u": "_s + kopf;
                }
            }
        }
        QVERIFY2(verstoesse.isEmpty(), qPrintable(verstoesse.join(u'\n')));
    }

    // The database engine is for ACT!'s tables and the number cache and for
    // the phone database; the identification, the windows and the program
    // frame reach it only through them (the engine's error type may pass).
    void onlyTheStoresUseTheDatabaseEngine()
    {
        const QRegularExpression include(u"^\\s*#\\s*include\\s*\"platform/jet/([^\"]+)\""_s,
                                         QRegularExpression::MultilineOption);
        QStringList verstoesse;
        int gesehen = 0;
        for (const QString &ordner : {u"core"_s, u"telephony"_s, u"actcontrol"_s, u"windows"_s, u"app"_s,
                                      u"actdb"_s}) {
            for (const QString &datei : quelldateien(ordner)) {
                const QString relativ = QDir(QStringLiteral(RUFMON_SOURCE_DIR)).relativeFilePath(datei);
                QFile f(datei);
                QVERIFY(f.open(QIODevice::ReadOnly));
                const QString text = QString::fromUtf8(f.readAll());
                for (auto m = include.globalMatch(text); m.hasNext();) {
                    const QString kopf = m.next().captured(1);
                    ++gesehen;
                    if (ordner != u"actdb"_s && kopf != u"JetFehler.h"_s)
                        verstoesse << relativ + u": platform/jet/"_s + kopf;
                }
            }
        }
        // The check sees the includes where they are.
        QVERIFY(gesehen > 0);
        QVERIFY2(verstoesse.isEmpty(), qPrintable(verstoesse.join(u'\n')));
    }

    // The call's way runs on without stopping: its long work answers from
    // the search thread, and nothing in it lets the event loop run inside a
    // step, where the next event would walk into half-changed state.
    void theCoreNeverReentersTheEventLoop_data()
    {
        QTest::addColumn<QString>("ordner");
        for (const QString &ordner : {u"core"_s, u"telephony"_s, u"actdb"_s, u"phonedb"_s})
            QTest::newRow(qPrintable(ordner)) << ordner;
    }
    void theCoreNeverReentersTheEventLoop()
    {
        QFETCH(QString, ordner);
        const QRegularExpression kommentar(u"//[^\n]*|/\\*.*?\\*/"_s, QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpression wiedereintritt(u"\\b(processEvents|sendPostedEvents|atmen|QEventLoop)\\b"_s);
        // The pattern finds what it looks for, and not in a comment.
        QVERIFY(QString(u"    QCoreApplication::processEvents(); // atmen"_s).remove(kommentar).contains(wiedereintritt));
        QVERIFY(!QString(u"    x(); // lets the window breathe: atmen()"_s).remove(kommentar).contains(wiedereintritt));
        QStringList verstoesse;
        const QStringList dateien = quelldateien(ordner);
        QVERIFY(!dateien.isEmpty());
        for (const QString &datei : dateien) {
            QFile f(datei);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(f.readAll()).remove(kommentar);
            for (auto m = wiedereintritt.globalMatch(text); m.hasNext();)
                verstoesse << QDir(QStringLiteral(RUFMON_SOURCE_DIR)).relativeFilePath(datei) + u": "_s
                                  + m.next().captured(1);
        }
        QVERIFY2(verstoesse.isEmpty(), qPrintable(verstoesse.join(u'\n')));
    }

    void placeLookUpRunsWithoutWidgets()
    {
        QProcess p;
        p.start(QStringLiteral(RUFMON_KONSOLE), {u"--ort"_s, u"0301234567"_s});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        const QString aus = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(aus.contains(u"Vorwahl: 030\n"_s) && aus.contains(u"Ort: Berlin\n"_s), qPrintable(aus));
    }
};

QTEST_GUILESS_MAIN(tst_Schichten)
#include "tst_Schichten.moc"
