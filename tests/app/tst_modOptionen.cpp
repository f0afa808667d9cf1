#include "core/modOptionen.h"

#include "doubles/FakeSystem.h"
#include "platform/settings/IniSettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_modOptionen : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void lesen_data()
    {
        // A number key reads as a double, a text key as text, whatever the file holds.
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
        QTest::newRow("text with commas") << "Nummernfilter=0049,0031,+\n"_ba << u"Nummernfilter"_s
                                          << QVariant(u"0049,0031,+"_s);
    }
    void lesen()
    {
        QFETCH(QByteArray, zeile);
        QFETCH(QString, key);
        QFETCH(QVariant, expected);

        schreibeDatei(zeile);
        IniSettingsStore store(iniPfad());
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
        QFETCH(double, expected);
        QCOMPARE(modOptionen::ZahlAusText(text), expected);
    }

    void schreiben_data()
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
        QTest::newRow("empty text") << u"Prefix"_s << QVariant(QString()) << QString() << QVariant(QString());
        const QString zeichen = u"%D|%Datum||{TAB}, \"x\"; 100% = ä"_s;
        QTest::newRow("text with separators") << u"ProtokollSendKeys"_s << QVariant(zeichen) << zeichen << QVariant(zeichen);
    }
    void schreiben()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, wert);
        QFETCH(QString, gespeichert);
        QFETCH(QVariant, gelesen);

        {
            IniSettingsStore store(iniPfad());
            modOptionen(store, m_system).schreibOption(key, wert);
            QVERIFY(store.sync());
        }
        // A later run reads what this one wrote.
        IniSettingsStore store(iniPfad());
        QCOMPARE(store.GetSetting(u"Optionen"_s, key, u"<fehlt>"_s), gespeichert);
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
        schreibeDatei("null=5\nAnrufmonitore=y\n");
        IniSettingsStore store(iniPfad());
        modOptionen optionen(store, m_system);
        QVERIFY(!optionen.leseOption(key).isValid());
        QCOMPARE(optionen.leseText(key), QString());
        optionen.schreibOption(key, QVariant(u"neu"_s));
        QVERIFY(store.sync());

        // Nothing was added or changed in the file.
        QFile datei(iniPfad());
        QVERIFY(datei.open(QIODevice::ReadOnly));
        QCOMPARE(datei.readAll(), "[Optionen]\nnull=5\nAnrufmonitore=y\n"_ba);
        // The known key next to it still reads its default.
        QCOMPARE(optionen.leseOption(u"Null"_s), QVariant(0.0));
    }

private:
    QString iniPfad() const { return m_dir->filePath(u"Rufmon.conf"_s); }
    void schreibeDatei(const QByteArray &zeilen);

    std::unique_ptr<QTemporaryDir> m_dir;
    FakeSystem m_system;
};

void tst_modOptionen::schreibeDatei(const QByteArray &zeilen)
{
    QFile datei(iniPfad());
    QVERIFY(datei.open(QIODevice::WriteOnly));
    datei.write("[Optionen]\n" + zeilen);
}

QTEST_GUILESS_MAIN(tst_modOptionen)
#include "tst_modOptionen.moc"
