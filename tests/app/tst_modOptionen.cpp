#include "app/modOptionen.h"

#include "doubles/FakeSystem.h"
#include "platform/settings/IniSettingsStore.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Passes everything on to the real store and counts what reaches it, so a
// test can tell whether the options touched the store at all.
class ZaehlenderStore : public SettingsStore
{
public:
    explicit ZaehlenderStore(SettingsStore &echt)
        : m_echt(echt)
    {
    }

    QString GetSetting(const QString &section, const QString &key,
                       const QString &defaultValue) const override
    {
        ++gelesen;
        return m_echt.GetSetting(section, key, defaultValue);
    }
    void SaveSetting(const QString &section, const QString &key, const QString &value) override
    {
        ++geschrieben;
        m_echt.SaveSetting(section, key, value);
    }
    bool sync() override { return m_echt.sync(); }

    mutable int gelesen = 0;
    int geschrieben = 0;

private:
    SettingsStore &m_echt;
};

} // namespace

class tst_modOptionen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void standardwerte_data();
    void standardwerte();
    void alleSchluesselBekannt();
    void zahlAusGespeichertemText_data();
    void zahlAusGespeichertemText();
    void handgeschriebeneDatei_data();
    void handgeschriebeneDatei();
    void schreiben_data();
    void schreiben();
    void unbekannterSchluessel_data();
    void unbekannterSchluessel();

private:
    QString iniPfad() const { return m_dir->filePath(u"Rufmon.conf"_s); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeSystem> m_system;
};

void tst_modOptionen::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_system = std::make_unique<FakeSystem>();
}

void tst_modOptionen::cleanup()
{
    m_system.reset();
    m_dir.reset();
}

void tst_modOptionen::standardwerte_data()
{
    // The expected value is a QString for text keys and a double for number
    // keys; the cache path depends on the temp folder and is filled in by the test.
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("expected");

    const auto text = [](const QString &key, const QString &wert) {
        QTest::newRow(qPrintable(key)) << key << QVariant(wert);
    };
    const auto zahl = [](const QString &key, double wert) {
        QTest::newRow(qPrintable(key)) << key << QVariant(wert);
    };

    text(u"TapiDevice"_s, QString());
    zahl(u"Null"_s, 0);
    zahl(u"AutoTapimonitor"_s, 0);
    zahl(u"AutoNummern"_s, 1);
    text(u"CacheMDB"_s, u"<temp>RUFMON.MDB"_s);
    zahl(u"NummernCache"_s, 0);
    zahl(u"FensterMin"_s, 0);
    text(u"InternationaleKennung"_s, u"00"_s);
    text(u"Ausschlussfelder"_s, QString());
    zahl(u"Stellen"_s, 3);
    zahl(u"Debug"_s, 0);
    zahl(u"KeineNullBeimSuchen"_s, 0);
    text(u"Nummernfilter"_s, QString());
    zahl(u"AutostartTimer"_s, 0);
    zahl(u"DialLineAdressMode"_s, 1);
    text(u"Prefix"_s, u"0"_s);
    text(u"ProtokollAufruf"_s, u"^h"_s);
    text(u"ProtokollSendKeys"_s, u"%D|%Datum|%U||%Uhrzeit|%y||{HOME}|%A||%y|{TAB}"_s);
    zahl(u"ProtokollSendKeyIntervall"_s, 150);
    text(u"ProtokollFensterKennung"_s, u"OK|Button|Protokoll aufzeichnen |#32770"_s);
    zahl(u"PlusKlammerFilter"_s, 0);
    zahl(u"NummernCacheAutomatisch"_s, 1);
    zahl(u"WeiterleitungErkennen"_s, 0);
}

void tst_modOptionen::standardwerte()
{
    QFETCH(QString, key);
    QFETCH(QVariant, expected);

    if (expected.toString() == u"<temp>RUFMON.MDB"_s) {
        QVERIFY(m_system->tempFolder.endsWith(u'/'));
        expected = QVariant(m_system->tempFolder + u"RUFMON.MDB"_s);
    }

    IniSettingsStore store(iniPfad());
    modOptionen optionen(store, *m_system);
    const QVariant wert = optionen.leseOption(key);

    QCOMPARE(wert.typeId(), expected.typeId());
    if (expected.typeId() == QMetaType::Double)
        QCOMPARE(wert.toDouble(), expected.toDouble());
    else
        QCOMPARE(wert.toString(), expected.toString());
}

void tst_modOptionen::alleSchluesselBekannt()
{
    // Every option the program uses, exactly once; a key missing from the
    // table would silently read as nothing.
    const QStringList erwartet = {
        u"TapiDevice"_s, u"Null"_s, u"AutoTapimonitor"_s, u"AutoNummern"_s, u"CacheMDB"_s,
        u"NummernCache"_s, u"FensterMin"_s, u"InternationaleKennung"_s, u"Ausschlussfelder"_s,
        u"Stellen"_s, u"Debug"_s, u"KeineNullBeimSuchen"_s, u"Nummernfilter"_s,
        u"AutostartTimer"_s, u"DialLineAdressMode"_s, u"Prefix"_s, u"ProtokollAufruf"_s,
        u"ProtokollSendKeys"_s, u"ProtokollSendKeyIntervall"_s, u"ProtokollFensterKennung"_s,
        u"PlusKlammerFilter"_s, u"NummernCacheAutomatisch"_s, u"WeiterleitungErkennen"_s,
    };
    IniSettingsStore store(iniPfad());
    modOptionen optionen(store, *m_system);

    QStringList vorhanden;
    for (const modOptionen::Schluessel &s : optionen.Schluesseltabelle())
        vorhanden.append(s.name);
    QStringList sortiertVorhanden = vorhanden;
    sortiertVorhanden.sort();
    QStringList sortiertErwartet = erwartet;
    sortiertErwartet.sort();
    QCOMPARE(sortiertVorhanden, sortiertErwartet);

    for (const QString &key : erwartet)
        QVERIFY2(optionen.leseOption(key).isValid(), qPrintable(key));

    // The long defaults are compared character for character above; their
    // lengths guard against a lost blank or bar.
    QCOMPARE(optionen.leseText(u"ProtokollSendKeys"_s).size(), 46);
    QCOMPARE(optionen.leseText(u"ProtokollFensterKennung"_s).size(), 39);
}

void tst_modOptionen::zahlAusGespeichertemText_data()
{
    QTest::addColumn<QString>("gespeichert");
    QTest::addColumn<double>("expected");

    QTest::newRow("plain") << u"7"_s << 7.0;
    QTest::newRow("True is no number") << u"True"_s << 0.0;
    QTest::newRow("False is no number") << u"False"_s << 0.0;
    QTest::newRow("leading blanks, trailing letters") << u" 12abc"_s << 12.0;
    QTest::newRow("negative") << u"-1"_s << -1.0;
    QTest::newRow("explicit plus") << u"+4"_s << 4.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("blanks only") << u"   "_s << 0.0;
    QTest::newRow("letters first") << u"abc12"_s << 0.0;
    QTest::newRow("sign only") << u"-"_s << 0.0;
    QTest::newRow("point only") << u"."_s << 0.0;
    QTest::newRow("decimal point") << u"2.5"_s << 2.5;
    QTest::newRow("leading point") << u".5"_s << 0.5;
    QTest::newRow("negative leading point") << u"-.25"_s << -0.25;
    QTest::newRow("trailing point") << u"5."_s << 5.0;
    QTest::newRow("second point ends the number") << u"1.2.3"_s << 1.2;
    QTest::newRow("comma is no decimal point") << u"1,5"_s << 1.0;
    QTest::newRow("leading zeros") << u"007"_s << 7.0;
    QTest::newRow("blank between sign and digits") << u"- 3"_s << 0.0;
    QTest::newRow("interval") << u"150 ms"_s << 150.0;
}

void tst_modOptionen::zahlAusGespeichertemText()
{
    QFETCH(QString, gespeichert);
    QFETCH(double, expected);

    {
        IniSettingsStore schreiber(iniPfad());
        schreiber.SaveSetting(u"Optionen"_s, u"Stellen"_s, gespeichert);
        QVERIFY(schreiber.sync());
    }
    IniSettingsStore store(iniPfad());
    QCOMPARE(store.GetSetting(u"Optionen"_s, u"Stellen"_s, u"<fehlt>"_s), gespeichert);

    modOptionen optionen(store, *m_system);
    const QVariant wert = optionen.leseOption(u"Stellen"_s);
    QCOMPARE(wert.typeId(), int(QMetaType::Double));
    QCOMPARE(wert.toDouble(), expected);
    QCOMPARE(optionen.leseZahl(u"Stellen"_s), expected);
}

void tst_modOptionen::handgeschriebeneDatei_data()
{
    QTest::addColumn<QByteArray>("zeile");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("switch written as True") << "Null=True"_ba << u"Null"_s << QVariant(0.0);
    QTest::newRow("switch -1") << "Null=-1"_ba << u"Null"_s << QVariant(-1.0);
    QTest::newRow("number with blanks") << "Stellen= 4 "_ba << u"Stellen"_s << QVariant(4.0);
    QTest::newRow("number with comment text") << "ProtokollSendKeyIntervall=200 ms"_ba
                                              << u"ProtokollSendKeyIntervall"_s << QVariant(200.0);
    QTest::newRow("text with commas") << "Nummernfilter=0049,0031,+"_ba << u"Nummernfilter"_s
                                      << QVariant(u"0049,0031,+"_s);
    QTest::newRow("text looking like a number") << "Prefix=0"_ba << u"Prefix"_s
                                                << QVariant(u"0"_s);
    QTest::newRow("umlaut text") << "TapiDevice=Modem für Büro"_ba << u"TapiDevice"_s
                                 << QVariant(u"Modem für Büro"_s);
}

void tst_modOptionen::handgeschriebeneDatei()
{
    QFETCH(QByteArray, zeile);
    QFETCH(QString, key);
    QFETCH(QVariant, expected);

    QFile datei(iniPfad());
    QVERIFY(datei.open(QIODevice::WriteOnly));
    datei.write("[Optionen]\n" + zeile + '\n');
    datei.close();

    IniSettingsStore store(iniPfad());
    modOptionen optionen(store, *m_system);
    const QVariant wert = optionen.leseOption(key);
    QCOMPARE(wert.typeId(), expected.typeId());
    if (expected.typeId() == QMetaType::Double)
        QCOMPARE(wert.toDouble(), expected.toDouble());
    else
        QCOMPARE(wert.toString(), expected.toString());
}

void tst_modOptionen::schreiben_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("wert");
    QTest::addColumn<QString>("gespeichert");
    QTest::addColumn<QVariant>("gelesen");

    QTest::newRow("switch on") << u"Debug"_s << QVariant(true) << u"1"_s << QVariant(1.0);
    QTest::newRow("switch off") << u"AutoNummern"_s << QVariant(false) << u"0"_s << QVariant(0.0);
    QTest::newRow("Null as -1") << u"Null"_s << QVariant(-1) << u"-1"_s << QVariant(-1.0);
    QTest::newRow("Null as -1 double") << u"Null"_s << QVariant(-1.0) << u"-1"_s << QVariant(-1.0);
    QTest::newRow("Null as 0") << u"Null"_s << QVariant(0) << u"0"_s << QVariant(0.0);
    QTest::newRow("integer") << u"ProtokollSendKeyIntervall"_s << QVariant(250) << u"250"_s
                             << QVariant(250.0);
    QTest::newRow("whole double") << u"Stellen"_s << QVariant(4.0) << u"4"_s << QVariant(4.0);
    QTest::newRow("fraction") << u"AutostartTimer"_s << QVariant(2.5) << u"2.5"_s << QVariant(2.5);
    QTest::newRow("text") << u"TapiDevice"_s << QVariant(u"ISDN Leitung 1"_s)
                          << u"ISDN Leitung 1"_s << QVariant(u"ISDN Leitung 1"_s);
    QTest::newRow("empty text") << u"Prefix"_s << QVariant(QString()) << QString()
                                << QVariant(QString());
    QTest::newRow("text with separators")
        << u"ProtokollSendKeys"_s << QVariant(u"%D|%Datum||{TAB}, \"x\"; 100% = ä"_s)
        << u"%D|%Datum||{TAB}, \"x\"; 100% = ä"_s << QVariant(u"%D|%Datum||{TAB}, \"x\"; 100% = ä"_s);
    QTest::newRow("path") << u"CacheMDB"_s << QVariant(u"/home/anna/Daten/RUFMON.MDB"_s)
                          << u"/home/anna/Daten/RUFMON.MDB"_s
                          << QVariant(u"/home/anna/Daten/RUFMON.MDB"_s);
}

void tst_modOptionen::schreiben()
{
    QFETCH(QString, key);
    QFETCH(QVariant, wert);
    QFETCH(QString, gespeichert);
    QFETCH(QVariant, gelesen);

    {
        IniSettingsStore store(iniPfad());
        modOptionen optionen(store, *m_system);
        optionen.schreibOption(key, wert);
        QCOMPARE(store.GetSetting(u"Optionen"_s, key, u"<fehlt>"_s), gespeichert);
        QVERIFY(store.sync());
    }

    // A later run reads what this one wrote.
    IniSettingsStore store(iniPfad());
    QCOMPARE(store.GetSetting(u"Optionen"_s, key, u"<fehlt>"_s), gespeichert);
    modOptionen optionen(store, *m_system);
    const QVariant wertGelesen = optionen.leseOption(key);
    QCOMPARE(wertGelesen.typeId(), gelesen.typeId());
    if (gelesen.typeId() == QMetaType::Double)
        QCOMPARE(wertGelesen.toDouble(), gelesen.toDouble());
    else
        QCOMPARE(wertGelesen.toString(), gelesen.toString());
}

void tst_modOptionen::unbekannterSchluessel_data()
{
    QTest::addColumn<QString>("key");

    QTest::newRow("lower case of a known key") << u"null"_s;
    QTest::newRow("upper case of a known key") << u"STELLEN"_s;
    QTest::newRow("camel case differs") << u"Tapidevice"_s;
    QTest::newRow("unknown") << u"Anrufmonitore"_s;
    QTest::newRow("empty") << QString();
    QTest::newRow("known key with blank") << u"Debug "_s;
}

void tst_modOptionen::unbekannterSchluessel()
{
    QFETCH(QString, key);

    // The file already holds a value under the unknown key, so reading it
    // would be noticed.
    QFile datei(iniPfad());
    QVERIFY(datei.open(QIODevice::WriteOnly));
    datei.write("[Optionen]\nnull=5\nSTELLEN=6\nTapidevice=x\nAnrufmonitore=y\n");
    datei.close();

    IniSettingsStore echt(iniPfad());
    ZaehlenderStore store(echt);
    modOptionen optionen(store, *m_system);

    const QVariant wert = optionen.leseOption(key);
    QVERIFY(!wert.isValid());
    QCOMPARE(store.gelesen, 0);

    optionen.schreibOption(key, QVariant(u"neu"_s));
    optionen.schreibOption(key, QVariant(1));
    QCOMPARE(store.geschrieben, 0);
    QVERIFY(echt.sync());

    // Nothing was added or changed in the file.
    QSettings roh(iniPfad(), QSettings::IniFormat);
    roh.beginGroup(u"Optionen"_s);
    QStringList keys = roh.childKeys();
    keys.sort();
    QCOMPARE(keys, (QStringList{u"Anrufmonitore"_s, u"STELLEN"_s, u"Tapidevice"_s, u"null"_s}));
    QCOMPARE(roh.value(u"null"_s).toString(), u"5"_s);
    QCOMPARE(roh.value(u"STELLEN"_s).toString(), u"6"_s);

    // The known key next to it still reads its default.
    QCOMPARE(optionen.leseOption(u"Null"_s), QVariant(0.0));
}

QTEST_GUILESS_MAIN(tst_modOptionen)
#include "tst_modOptionen.moc"
