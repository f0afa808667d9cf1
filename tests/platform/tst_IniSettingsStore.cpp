#include "core/modOptionen.h"
#include "platform/settings/IniSettingsStore.h"

#include "doubles/Dateien.h"
#include "doubles/FakeSystem.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// As a later run reads it. QSettings in this process would hand back what it
// last wrote while the file looks unchanged, so the file is marked changed.
QString lies(const QString &pfad, const QString &abschnitt, const QString &key)
{
    static int mal = 0;
    QFile datei(pfad);
    if (datei.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        datei.setFileTime(QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC).addSecs(++mal),
                          QFileDevice::FileModificationTime);
    return IniSettingsStore(pfad).GetSetting(abschnitt, key, u"<fehlt>"_s);
}

} // namespace

// The settings file is edited by hand now and then and may be damaged by a
// crash or a full disk; the program must still start with defaults and must
// be able to write its settings again. The program's options are read and
// written through it.
class tst_IniSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void init() { ++m_nr; }
    void kaputteDatei_data()
    {
        QTest::addColumn<QByteArray>("inhalt");
        // Files that are no text are kept aside whole, so nothing the user had is lost.
        QTest::addColumn<bool>("beiseite");

        QTest::newRow("missing, in a folder not yet made") << QByteArray() << false;
        QTest::newRow("image header") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0", 20) << true;
        QTest::newRow("broken utf-8") << "[\xff\xfe]\n\xc3\x28=\xa0\xa1\n[Optionen]\nStellen=\xe2\x82\n"_ba << true;
        QTest::newRow("unclosed section header") << "[Optionen\nStellen=9\n"_ba << false;
        QTest::newRow("lines without keys") << "[Optionen]\n=\n==\n= 5\nStel"_ba << false;
        QTest::newRow("brackets only") << "[[[[]]]]\n]]][\n[]\n"_ba << false;
        QTest::newRow("open quote, trailing escape") << "[Optionen]\nPrefix=\"abc\n[Fen\nProtokollAufruf=\\"_ba
                                                     << false;
        QTest::newRow("one long line") << QByteArray(200000, 'x') << false;
    }
    void kaputteDatei()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(bool, beiseite);
        const QString datei = inhalt.isNull() ? m_dir.filePath(u"config/Rufmon/Rufmon.conf"_s) : pfad();
        QVERIFY(inhalt.isNull() || schreibeDatei(datei, inhalt));
        {
            IniSettingsStore store(datei);
            // Keys the file does not hold read as their defaults; reading alone leaves no file behind.
            QCOMPARE(store.GetSetting(u"Optionen"_s, u"Stellen"_s, u"3"_s), u"3"_s);
            QCOMPARE(store.GetSetting(u"Anrufmonitore"_s, u"Liste"_s, QString()), QString());
            QVERIFY(!inhalt.isNull() || !QFileInfo::exists(datei));
            store.SaveSetting(u"Optionen"_s, u"Stellen"_s, u"5"_s);
            store.SaveSetting(u"Anrufmonitore"_s, u"Liste"_s, u"a:1,b:2"_s);
            QVERIFY2(store.sync(), "the new values are on disk, so sync() must report success");
        }
        QVERIFY2(dateiInhalt(datei) != inhalt, "the damaged file was not rewritten");
        QCOMPARE(lies(datei, u"Optionen"_s, u"Stellen"_s), u"5"_s);
        QCOMPARE(lies(datei, u"Anrufmonitore"_s, u"Liste"_s), u"a:1,b:2"_s);
        QCOMPARE(lies(datei, u"Optionen"_s, u"Debug"_s), u"<fehlt>"_s);
        QCOMPARE(dateiInhalt(datei + u".defekt"_s), beiseite ? inhalt : QByteArray());
    }

    void wert_data()
    {
        // The line as typed into the file, and the value it stands for.
        QTest::addColumn<QByteArray>("zeile");
        QTest::addColumn<QString>("wert");

        const auto zeile = [](const char *name, const QString &wert) {
            QTest::newRow(name) << "Wert=" + wert.toUtf8() << wert;
        };
        zeile("lists", u",a:1,,b:2, c ,PHONE;FAX;"_s);
        zeile("comment marks first", u";Kommentar #32770"_s);
        zeile("percent codes and bars", u"%D|%Datum||{HOME}|100%"_s);
        zeile("equals", u"a=b==c="_s);
        zeile("quotes", u"\"zitiert\" 5\" O'Brien"_s);
        zeile("umlauts", u"Grüße aus Köln, Straße Ä Ö Ü"_s);
        zeile("backslashes", u"C:\\Programme\\Rufmon\\"_s);
        zeile("variant syntax", u"@Variant(x)"_s);
        zeile("section look-alike", u"[Optionen]"_s);
        zeile("blanks at the ends", u"  x  "_s);
        zeile("empty", QString());
        QTest::newRow("windows line end") << "Wert=abc\r"_ba << u"abc"_s;
    }
    void wert()
    {
        QFETCH(QByteArray, zeile);
        QFETCH(QString, wert);

        // Typed by hand: read as it stands, and kept so when another key is written.
        QVERIFY(schreibeDatei(pfad(), "[Optionen]\n" + zeile + "\nDanach=1\n"));
        {
            IniSettingsStore store(pfad());
            QCOMPARE(store.GetSetting(u"Optionen"_s, u"Wert"_s, u"<fehlt>"_s), wert);
            QCOMPARE(store.GetSetting(u"Optionen"_s, u"Danach"_s, u"<fehlt>"_s), u"1"_s);
            store.SaveSetting(u"Optionen"_s, u"Neu"_s, u"2"_s);
            QVERIFY(store.sync());
        }
        QCOMPARE(lies(pfad(), u"Optionen"_s, u"Wert"_s), wert);
        QCOMPARE(lies(pfad(), u"Optionen"_s, u"Neu"_s), u"2"_s);

        // Written by the program: a later run reads the same.
        const QString neu = pfad() + u".neu"_s;
        {
            IniSettingsStore store(neu);
            store.SaveSetting(u"Optionen"_s, u"Wert"_s, wert);
            QVERIFY(store.sync());
        }
        QCOMPARE(lies(neu, u"Optionen"_s, u"Wert"_s), wert);
    }

    void abschnitteUndZeilenGetrennt()
    {
        {
            IniSettingsStore store(pfad());
            store.SaveSetting(u"Optionen"_s, u"Debug"_s, u"1"_s);
            store.SaveSetting(u"Fenster"_s, u"Debug"_s, u"2"_s);
            // A line break in a value must not start a key or section of its own.
            store.SaveSetting(u"Optionen"_s, u"Prefix"_s, u"a\r\n[Fenster]\nLeft=9"_s);
            QVERIFY(store.sync());
        }
        QCOMPARE(lies(pfad(), u"Optionen"_s, u"Debug"_s), u"1"_s);
        QCOMPARE(lies(pfad(), u"Fenster"_s, u"Debug"_s), u"2"_s);
        QCOMPARE(lies(pfad(), u"Optionen"_s, u"debug"_s), u"<fehlt>"_s);
        QCOMPARE(lies(pfad(), u"Fenster"_s, u"Left"_s), u"<fehlt>"_s);
        QCOMPARE(lies(pfad(), u"Optionen"_s, u"Prefix"_s), u"a  [Fenster] Left=9"_s);
    }

    // A removed line takes its keys out of the file; its neighbours stay.
    void schluesselEntfernen()
    {
        {
            IniSettingsStore store(pfad());
            store.SaveSetting(u"Telefonie"_s, u"Telefonanlage1/Adresse"_s, u"pbx:5038"_s);
            store.SaveSetting(u"Telefonie"_s, u"Telefonanlage2/Adresse"_s, u"pbx2:5038"_s);
            store.SaveSetting(u"Telefonie"_s, u"Modems"_s, u"/dev/ttyACM0"_s);
            QVERIFY(store.sync());
        }
        {
            IniSettingsStore store(pfad());
            store.RemoveSetting(u"Telefonie"_s, u"Telefonanlage1/Adresse"_s);
            store.RemoveSetting(u"Telefonie"_s, u"Modems"_s);
            store.RemoveSetting(u"Telefonie"_s, u"gibtEsNicht"_s);
            QVERIFY(store.sync());
        }
        QCOMPARE(lies(pfad(), u"Telefonie"_s, u"Telefonanlage1/Adresse"_s), u"<fehlt>"_s);
        QCOMPARE(lies(pfad(), u"Telefonie"_s, u"Modems"_s), u"<fehlt>"_s);
        QCOMPARE(lies(pfad(), u"Telefonie"_s, u"Telefonanlage2/Adresse"_s), u"pbx2:5038"_s);
        QVERIFY(!dateiInhalt(pfad()).contains("Telefonanlage1"));
    }

    // The options over the file: a number key reads as a double, a text key as
    // text, whatever the file holds; unknown keys are neither read nor written.
    void optionLesen_data()
    {
        QTest::addColumn<QByteArray>("zeile");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("expected");

        QTest::newRow("number default") << QByteArray() << u"Stellen"_s << QVariant(3.0);
        QTest::newRow("text default that looks like a number") << QByteArray() << u"Prefix"_s << QVariant(u"0"_s);
        QTest::newRow("cache in the temporary folder") << QByteArray() << u"CacheMDB"_s
                                                       << QVariant(m_system.GetTempFolder() + u"RUFMON.MDB"_s);
        QTest::newRow("switch written as True") << "Null=True\n"_ba << u"Null"_s << QVariant(0.0);
        QTest::newRow("number with blanks and text") << "ProtokollSendKeyIntervall= 200 ms\n"_ba
                                                     << u"ProtokollSendKeyIntervall"_s << QVariant(200.0);
    }
    void optionLesen()
    {
        QFETCH(QByteArray, zeile);
        QFETCH(QString, key);
        QFETCH(QVariant, expected);

        QVERIFY(schreibeDatei(pfad(), "[Optionen]\n" + zeile));
        IniSettingsStore store(pfad());
        const QVariant wert = modOptionen(store, m_system).leseOption(key);
        QCOMPARE(wert.typeId(), expected.typeId());
        QCOMPARE(wert, expected);
    }

    void zahlAusText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");

        QTest::newRow("leading blanks, trailing letters") << u" 12abc"_s << 12.0;
        QTest::newRow("negative") << u"-1"_s << -1.0;
        QTest::newRow("explicit plus") << u"+4"_s << 4.0;
        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("sign only") << u"-"_s << 0.0;
        QTest::newRow("decimal point") << u"2.5"_s << 2.5;
        QTest::newRow("negative leading point") << u"-.25"_s << -0.25;
        QTest::newRow("trailing point") << u"5."_s << 5.0;
        QTest::newRow("second point ends the number") << u"1.2.3"_s << 1.2;
        QTest::newRow("comma is no decimal point") << u"1,5"_s << 1.0;
        QTest::newRow("blank between sign and digits") << u"- 3"_s << 0.0;
    }
    void zahlAusText()
    {
        QFETCH(QString, text);
        QTEST(modOptionen::ZahlAusText(text), "expected");
    }

    void optionSchreiben_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("wert");
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<QVariant>("gelesen");

        QTest::newRow("switch on") << u"Debug"_s << QVariant(true) << u"1"_s << QVariant(1.0);
        QTest::newRow("switch off") << u"AutoNummern"_s << QVariant(false) << u"0"_s << QVariant(0.0);
        QTest::newRow("integer") << u"Null"_s << QVariant(-1) << u"-1"_s << QVariant(-1.0);
        QTest::newRow("whole double") << u"Null"_s << QVariant(-1.0) << u"-1"_s << QVariant(-1.0);
        QTest::newRow("fraction") << u"AutostartTimer"_s << QVariant(2.5) << u"2.5"_s << QVariant(2.5);
        // Texts go to the file as they are, as the values above show.
    }
    void optionSchreiben()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, wert);
        QFETCH(QVariant, gelesen);

        {
            IniSettingsStore store(pfad());
            modOptionen(store, m_system).schreibOption(key, wert);
            QVERIFY(store.sync());
        }
        // A later run reads what this one wrote.
        IniSettingsStore store(pfad());
        QTEST(store.GetSetting(u"Optionen"_s, key, u"<fehlt>"_s), "gespeichert");
        const QVariant wertGelesen = modOptionen(store, m_system).leseOption(key);
        QCOMPARE(wertGelesen.typeId(), gelesen.typeId());
        QCOMPARE(wertGelesen, gelesen);
    }

    void unbekannterSchluessel_data()
    {
        QTest::addColumn<QString>("key");

        QTest::newRow("other case of a known key") << u"null"_s;
        QTest::newRow("unknown") << u"Anrufmonitore"_s;
        QTest::newRow("empty") << QString();
        QTest::newRow("known key with blank") << u"Debug "_s;
    }
    void unbekannterSchluessel()
    {
        QFETCH(QString, key);

        // The file holds a value under the unknown key, so reading it would be noticed.
        QVERIFY(schreibeDatei(pfad(), "[Optionen]\nnull=5\nAnrufmonitore=y\n"));
        IniSettingsStore store(pfad());
        modOptionen optionen(store, m_system);
        QVERIFY(!optionen.leseOption(key).isValid());
        QCOMPARE(optionen.leseText(key), QString());
        optionen.schreibOption(key, QVariant(u"neu"_s));
        QVERIFY(store.sync());

        // Nothing was added or changed in the file.
        QCOMPARE(dateiInhalt(pfad()), "[Optionen]\nnull=5\nAnrufmonitore=y\n"_ba);
        // The known key next to it still reads its default.
        QCOMPARE(optionen.leseOption(u"Null"_s), QVariant(0.0));
    }

private:
    QTemporaryDir m_dir;
    FakeSystem m_system;
    int m_nr = 0;
    // A file of its own for each test and row.
    QString pfad() const { return m_dir.filePath(QString::number(m_nr) + u".conf"_s); }
};

QTEST_GUILESS_MAIN(tst_IniSettingsStore)
#include "tst_IniSettingsStore.moc"
