#include "platform/settings/IniSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// The settings file is edited by hand now and then and may be damaged by a
// crash or a full disk; the program must still start with defaults and must
// be able to write its settings again.
class tst_IniSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fehlendeDatei();
    void fehlenderOrdnerWirdAngelegt();
    void kaputteDatei_data();
    void kaputteDatei();
    void rundreise_data();
    void rundreise();
    void handgeschrieben_data();
    void handgeschrieben();
    void abschnitteGetrennt();

private:
    QString pfad() const { return m_dir->filePath(u"Rufmon.conf"_s); }
    static QByteArray dateiInhalt(const QString &pfad);
    static bool schreibeDatei(const QString &pfad, const QByteArray &inhalt);

    std::unique_ptr<QTemporaryDir> m_dir;
};

QByteArray tst_IniSettingsStore::dateiInhalt(const QString &pfad)
{
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return {};
    return datei.readAll();
}

bool tst_IniSettingsStore::schreibeDatei(const QString &pfad, const QByteArray &inhalt)
{
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return datei.write(inhalt) == inhalt.size();
}

void tst_IniSettingsStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_IniSettingsStore::cleanup()
{
    m_dir.reset();
}

void tst_IniSettingsStore::fehlendeDatei()
{
    QVERIFY(!QFileInfo::exists(pfad()));
    IniSettingsStore store(pfad());
    QCOMPARE(store.GetSetting(u"Optionen"_s, u"Stellen"_s, u"3"_s), u"3"_s);
    QCOMPARE(store.GetSetting(u"Optionen"_s, u"TapiDevice"_s, QString()), QString());
    QCOMPARE(store.GetSetting(u"Fenster"_s, u"Links"_s, u"-1"_s), u"-1"_s);
    // Reading alone leaves no file behind.
    QVERIFY(!QFileInfo::exists(pfad()));
}

void tst_IniSettingsStore::fehlenderOrdnerWirdAngelegt()
{
    const QString tief = m_dir->filePath(u"config/Rufmon/Rufmon.conf"_s);
    {
        IniSettingsStore store(tief);
        QCOMPARE(store.filePath(), tief);
        QCOMPARE(store.GetSetting(u"Optionen"_s, u"Debug"_s, u"0"_s), u"0"_s);
        store.SaveSetting(u"Optionen"_s, u"Debug"_s, u"1"_s);
        QVERIFY(store.sync());
    }
    QVERIFY(QFileInfo::exists(tief));
    IniSettingsStore wieder(tief);
    QCOMPARE(wieder.GetSetting(u"Optionen"_s, u"Debug"_s, u"0"_s), u"1"_s);
}

void tst_IniSettingsStore::kaputteDatei_data()
{
    QTest::addColumn<QByteArray>("inhalt");

    QByteArray zufall(4096, Qt::Uninitialized);
    QRandomGenerator zufallsquelle(20240517);
    for (char &c : zufall)
        c = static_cast<char>(zufallsquelle.bounded(256));
    QTest::newRow("random bytes") << zufall;

    QByteArray binaer;
    for (int runde = 0; runde < 16; ++runde) {
        for (int b = 0; b < 256; ++b)
            binaer.append(static_cast<char>(b));
    }
    QTest::newRow("every byte value") << binaer;

    QTest::newRow("image header") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0", 20);
    QTest::newRow("nul bytes only") << QByteArray(512, '\0');
    QTest::newRow("half section header") << "[Optionen\nStellen"_ba;
    QTest::newRow("half line") << "[Optionen]\nStel"_ba;
    QTest::newRow("lines without keys") << "[Optionen]\n=\n==\n= 5\n"_ba;
    QTest::newRow("open quote") << "[Optionen]\nPrefix=\"abc\n[Fen"_ba;
    QTest::newRow("brackets only") << "[[[[]]]]\n]]][\n[]\n"_ba;
    QTest::newRow("broken utf-8") << "[\xff\xfe]\n\xc3\x28=\xa0\xa1\n[Optionen]\n\xe2\x82=\xf0\x9f\n"_ba;
    QTest::newRow("one long line") << QByteArray(200000, 'x');
    QTest::newRow("cut off after escape") << "[Optionen]\nProtokollAufruf=\\"_ba;
}

void tst_IniSettingsStore::kaputteDatei()
{
    QFETCH(QByteArray, inhalt);
    QVERIFY(schreibeDatei(pfad(), inhalt));

    bool gesichert = false;
    {
        IniSettingsStore store(pfad());
        // Keys the file does not hold read as their defaults.
        QCOMPARE(store.GetSetting(u"Optionen"_s, u"Stellen"_s, u"3"_s), u"3"_s);
        QCOMPARE(store.GetSetting(u"Optionen"_s, u"Debug"_s, u"0"_s), u"0"_s);
        QCOMPARE(store.GetSetting(u"Anrufmonitore"_s, u"Liste"_s, QString()), QString());

        store.SaveSetting(u"Optionen"_s, u"Stellen"_s, u"5"_s);
        store.SaveSetting(u"Anrufmonitore"_s, u"Liste"_s, u"a:1,b:2"_s);
        QCOMPARE(store.GetSetting(u"Optionen"_s, u"Stellen"_s, u"3"_s), u"5"_s);
        gesichert = store.sync();
    }

    QVERIFY2(dateiInhalt(pfad()) != inhalt, "the damaged file was not rewritten");
    IniSettingsStore wieder(pfad());
    QCOMPARE(wieder.GetSetting(u"Optionen"_s, u"Stellen"_s, u"3"_s), u"5"_s);
    QCOMPARE(wieder.GetSetting(u"Anrufmonitore"_s, u"Liste"_s, QString()), u"a:1,b:2"_s);
    QCOMPARE(wieder.GetSetting(u"Optionen"_s, u"Debug"_s, u"0"_s), u"0"_s);

    // The new values are on disk, so the caller must be told they are.
    QVERIFY2(gesichert, "sync() reports a failure although the file was rewritten");
}

void tst_IniSettingsStore::rundreise_data()
{
    QTest::addColumn<QString>("wert");

    QTest::newRow("plain") << u"ISDN Leitung 1"_s;
    QTest::newRow("commas") << u"a:1,b:2"_s;
    QTest::newRow("comma at the ends") << u",mitte,"_s;
    QTest::newRow("empty element between commas") << u"a,,b"_s;
    QTest::newRow("blanks around commas") << u"a, b ,c"_s;
    QTest::newRow("semicolons") << u"PHONE;FAX;"_s;
    QTest::newRow("leading semicolon") << u";Kommentar?"_s;
    QTest::newRow("percent") << u"100%"_s;
    QTest::newRow("percent codes") << u"%D|%Datum|%U||%Uhrzeit|%y||{HOME}|%A||%y|{TAB}"_s;
    QTest::newRow("bars and blank") << u"OK|Button|Protokoll aufzeichnen |#32770"_s;
    QTest::newRow("equals") << u"a=b==c="_s;
    QTest::newRow("double quotes") << u"\"zitiert\" und \"noch\""_s;
    QTest::newRow("lone double quote") << u"5\" Diskette"_s;
    QTest::newRow("single quote") << u"O'Brien"_s;
    QTest::newRow("umlauts") << u"Grüße aus Köln, Straße Ä Ö Ü"_s;
    QTest::newRow("backslashes") << u"C:\\Programme\\Rufmon\\"_s;
    QTest::newRow("at sign first") << u"@Variant(x)"_s;
    QTest::newRow("hash first") << u"#32770"_s;
    QTest::newRow("section look-alike") << u"[Optionen]"_s;
    QTest::newRow("blanks at the ends") << u"  x  "_s;
    QTest::newRow("caret") << u"^h"_s;
    QTest::newRow("all at once") << u"a,b;c%d|e=f\"g'h ä\\i"_s;
    QTest::newRow("empty") << QString();
}

void tst_IniSettingsStore::rundreise()
{
    QFETCH(QString, wert);

    {
        IniSettingsStore store(pfad());
        store.SaveSetting(u"Optionen"_s, u"Wert"_s, wert);
        QCOMPARE(store.GetSetting(u"Optionen"_s, u"Wert"_s, u"<fehlt>"_s), wert);
        QVERIFY(store.sync());
    }
    IniSettingsStore wieder(pfad());
    QCOMPARE(wieder.GetSetting(u"Optionen"_s, u"Wert"_s, u"<fehlt>"_s), wert);
}

void tst_IniSettingsStore::handgeschrieben_data()
{
    QTest::addColumn<QByteArray>("zeile");
    QTest::addColumn<QString>("expected");

    QTest::newRow("monitor list") << "Wert=a:1,b:2"_ba << u"a:1,b:2"_s;
    QTest::newRow("three elements") << "Wert=x,y,z"_ba << u"x,y,z"_s;
    QTest::newRow("empty element") << "Wert=a:1,,b:2"_ba << u"a:1,,b:2"_s;
    QTest::newRow("trailing comma") << "Wert=PHONE,FAX,"_ba << u"PHONE,FAX,"_s;
    QTest::newRow("blank after comma") << "Wert=a:1, b:2"_ba << u"a:1, b:2"_s;
    QTest::newRow("semicolon list") << "Wert=PHONE;FAX;"_ba << u"PHONE;FAX;"_s;
    QTest::newRow("percent") << "Wert=50%"_ba << u"50%"_s;
    QTest::newRow("bars") << "Wert=a|b||c"_ba << u"a|b||c"_s;
    QTest::newRow("equals in value") << "Wert=x=y"_ba << u"x=y"_s;
    QTest::newRow("umlauts") << "Wert=Müller"_ba << u"Müller"_s;
    QTest::newRow("hash inside") << "Wert=OK|#32770"_ba << u"OK|#32770"_s;
    QTest::newRow("windows line end") << "Wert=abc\r"_ba << u"abc"_s;
}

void tst_IniSettingsStore::handgeschrieben()
{
    QFETCH(QByteArray, zeile);
    QFETCH(QString, expected);

    QVERIFY(schreibeDatei(pfad(), "[Optionen]\n" + zeile + "\nDanach=1\n"));
    IniSettingsStore store(pfad());
    QCOMPARE(store.GetSetting(u"Optionen"_s, u"Wert"_s, u"<fehlt>"_s), expected);
    QCOMPARE(store.GetSetting(u"Optionen"_s, u"Danach"_s, u"<fehlt>"_s), u"1"_s);

    // Writing another key keeps the hand-written value as it reads.
    store.SaveSetting(u"Optionen"_s, u"Neu"_s, u"2"_s);
    QVERIFY(store.sync());
    IniSettingsStore wieder(pfad());
    QCOMPARE(wieder.GetSetting(u"Optionen"_s, u"Wert"_s, u"<fehlt>"_s), expected);
    QCOMPARE(wieder.GetSetting(u"Optionen"_s, u"Neu"_s, u"<fehlt>"_s), u"2"_s);
}

void tst_IniSettingsStore::abschnitteGetrennt()
{
    IniSettingsStore store(pfad());
    store.SaveSetting(u"Optionen"_s, u"Debug"_s, u"1"_s);
    store.SaveSetting(u"Fenster"_s, u"Debug"_s, u"2"_s);
    QVERIFY(store.sync());

    IniSettingsStore wieder(pfad());
    QCOMPARE(wieder.GetSetting(u"Optionen"_s, u"Debug"_s, u"0"_s), u"1"_s);
    QCOMPARE(wieder.GetSetting(u"Fenster"_s, u"Debug"_s, u"0"_s), u"2"_s);
    QCOMPARE(wieder.GetSetting(u"Optionen"_s, u"debug"_s, u"0"_s), u"0"_s);
}

QTEST_GUILESS_MAIN(tst_IniSettingsStore)
#include "tst_IniSettingsStore.moc"
