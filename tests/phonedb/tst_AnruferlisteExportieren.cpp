// The command that writes the caller list to a file: the file it asks for,
// the companies it adds, what it says when there is nothing to write, and
// the message for a target it cannot write, which is left without a file.
#include "core/Anruf.h"
#include "core/modHaupt.h"
#include "phonedb/AnruferlisteExportieren.h"
#include "phonedb/Anruferlistenexport.h"

#include "doubles/Dateien.h"
#include "doubles/Schreibschutz.h"
#include "doubles/ScriptedDialogs.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The caller list in the order it shows its calls.
struct Liste
{
    std::vector<Anruf> model;

    void anruf(const QString &nummer, const QString &kontakt, const QString &id = {})
    {
        Anruf a;
        a.nummer = nummer;
        a.zeit = QDateTime(QDate(2026, 12, 6), QTime(10, 0));
        a.ort = u"Berlin"_s;
        a.name = kontakt;
        a.ergebnis = id.isEmpty() ? Anruf::Ergebnis::Unbekannt : Anruf::Ergebnis::Erkannt;
        a.kontaktId = id;
        model.push_back(a);
    }
};

const QString Titel = u"Rufmon - Anruferliste exportieren"_s;

} // namespace

class tst_AnruferlisteExportieren : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // The file asked for, the companies looked up once for the contacts, the
    // message for the status bar.
    void writesWhereTheUserSays_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<QByteArray>("enthaelt");
        QTest::newRow("table") << u"Anrufe.csv"_s << u"3 Anrufe exportiert nach "_s
                               << u"\"0301234567\";\"06.12.2026 10:00:00\";\"Berlin\";\"Greta Grünwald\";"
                                  "\"Grünwald & Söhne\";\"erkannt\";\"\"\r\n"_s.toUtf8();
        QTest::newRow("address book") << u"Kontakte.vcf"_s << u"1 Kontakte exportiert nach "_s
                                      << u"ORG:Grünwald & Söhne\r\n"_s.toUtf8();
    }

    void writesWhereTheUserSays()
    {
        QFETCH(QString, name);
        QFETCH(QString, meldung);
        QFETCH(QByteArray, enthaelt);
        Liste l;
        l.anruf(u"0301234567"_s, u"Greta Grünwald"_s, u"GRETA0000001"_s);
        l.anruf(u"089123"_s, u"Unbekannt"_s);
        l.anruf(u"030 1234567"_s, u"Greta Grünwald"_s, u"GRETA0000001"_s);
        QTemporaryDir dir;
        const QString pfad = dir.filePath(name);
        ScriptedDialogs dialogs;
        dialogs.answerFile(pfad);
        QList<QStringList> gefragt;
        AnruferlisteExportieren befehl(dialogs, l.model);
        const QString geschrieben = befehl.mnuAnruferlisteExportieren([&gefragt](const QStringList &ids) {
            gefragt << ids;
            return QHash<QString, QString>{{u"GRETA0000001"_s, u"Grünwald & Söhne"_s}};
        });
        QCOMPARE(geschrieben, pfad);
        QVERIFY2(dateiInhalt(pfad).contains(enthaelt), dateiInhalt(pfad).constData());
        QCOMPARE(gefragt, QList<QStringList>{QStringList{u"GRETA0000001"_s}});
        QCOMPARE(befehl.Meldung(), meldung + pfad);
        QCOMPARE(dialogs.boxes().size(), 1);
        const ScriptedDialogs::Box &frage = dialogs.boxes().first();
        QCOMPARE(frage.kind, u"GetSaveFileName"_s);
        QCOMPARE(frage.title, Titel);
        QCOMPARE(frage.text, u"Tabelle (*.csv);;Adressbuch (*.vcf)"_s);
        QCOMPARE(frage.defaultText,
                 AnruferlisteExportieren::Vorschlag(QDir::homePath(), QDate::currentDate()));
    }

    void suggestion()
    {
        QCOMPARE(AnruferlisteExportieren::Vorschlag(u"/home/anna"_s, QDate(2026, 12, 6)),
                 u"/home/anna/Anruferliste 2026-12-06.csv"_s);
    }

    // Nothing to write, or the user chose no file: no file, a word where it helps.
    void nothingWritten_data()
    {
        QTest::addColumn<bool>("anrufe");
        QTest::addColumn<QString>("name"); // empty: cancelled
        QTest::addColumn<QStringList>("boxen");
        QTest::newRow("empty list") << false << u"Anrufe.csv"_s
                                    << QStringList{u"MsgBox: Die Anruferliste enthält keine Einträge."_s};
        QTest::newRow("cancelled") << true << QString() << QStringList{u"GetSaveFileName: "_s};
        QTest::newRow("address book without contacts")
            << true << u"Kontakte.vcf"_s
            << QStringList{u"GetSaveFileName: "_s,
                           u"MsgBox: In der Anruferliste steht kein Anrufer, der als Kontakt erkannt wurde."_s};
    }

    void nothingWritten()
    {
        QFETCH(bool, anrufe);
        QFETCH(QString, name);
        QFETCH(QStringList, boxen);
        Liste l;
        if (anrufe)
            l.anruf(u"089123"_s, u"Unbekannt"_s);
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        dialogs.answerFile(name.isEmpty() ? QString() : dir.filePath(name));
        AnruferlisteExportieren befehl(dialogs, l.model);
        QCOMPARE(befehl.mnuAnruferlisteExportieren(), QString());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
        QStringList gezeigt;
        for (const ScriptedDialogs::Box &b : dialogs.boxes()) {
            gezeigt << b.kind + u": "_s + (b.kind == u"MsgBox"_s ? b.text : QString());
            QCOMPARE(b.title, Titel);
            if (b.kind == u"MsgBox"_s)
                QCOMPARE(b.icon, Dialogs::Icon::Information);
        }
        QCOMPARE(gezeigt, boxen);
        QCOMPARE(befehl.Meldung(), QString());
    }

    // A folder the user may not write to: the message names the file and
    // why, and no file is there afterwards.
    void unwritableTargetShowsTheMessage()
    {
        Schreibschutz schutz;
        QVERIFY(schutz.bereit());
        const QString ziel = schutz.geschuetzterOrdner() + u"/Anrufe.csv"_s;
        Liste l;
        l.anruf(u"0301234567"_s, u"Greta Grünwald"_s, u"GRETA0000001"_s);
        ScriptedDialogs dialogs;
        dialogs.answerFile(ziel);
        AnruferlisteExportieren befehl(dialogs, l.model);
        QString geschrieben = u"?"_s;
        schutz.alsNutzer([&] { geschrieben = befehl.mnuAnruferlisteExportieren(); });
        QCOMPARE(geschrieben, QString());
        QCOMPARE(QDir(schutz.geschuetzterOrdner()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
        QCOMPARE(dialogs.boxes().size(), 2);
        const ScriptedDialogs::Box &meldung = dialogs.boxes().last();
        QCOMPARE(meldung.kind, u"MsgBox"_s);
        QCOMPARE(meldung.title, Titel);
        QCOMPARE(meldung.icon, Dialogs::Icon::Exclamation);
        QCOMPARE(meldung.buttons, Dialogs::Buttons::Ok);
        const QString anfang = u"Die Anruferliste konnte nicht als "_s + ziel + u" gespeichert werden.\r\n"_s;
        QVERIFY2(meldung.text.startsWith(anfang) && meldung.text.size() > anfang.size(), qPrintable(meldung.text));
        QCOMPARE(befehl.Meldung(), QString());
    }
};

QTEST_GUILESS_MAIN(tst_AnruferlisteExportieren)
#include "tst_AnruferlisteExportieren.moc"
