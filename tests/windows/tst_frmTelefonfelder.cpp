#include "actdb/Telefonfeldliste.h"
#include "actdb/clActDBF.h"
#include "windows/frmTelefonfelder.h"
#include "windows/ListView.h"
#include "tools/dbf/DbfWriter.h"

#include "doubles/Umgebung.h"

#include <QApplication>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Zaehltext = u"Bestimme Anzahl der Nummern..."_s;

// The contact fields as the definition file lists them; NAME is no phone field.
const std::vector<clACTFeld> Kontaktfelder = {{u"Kontakt"_s, u"NAME"_s, 1},
                                              {u"Telefon"_s, u"PHONE"_s, clACTFeld::Telefonfeld},
                                              {u"Fax"_s, u"FAX"_s, clACTFeld::Telefonfeld},
                                              {u"Mobiltelefon"_s, u"MOBILE_PH"_s, clACTFeld::Telefonfeld}};

// Contacts 1..n: PHONE on every 2nd, FAX on every 3rd, MOBILE_PH on the 5th only when `mobil`.
QList<QVariantList> kunden(int anzahl, bool mobil = false)
{
    QList<QVariantList> zeilen;
    for (int n = 1; n <= anzahl; ++n)
        zeilen.append({u"G%1"_s.arg(n), u"Kontakt %1"_s.arg(n), n % 2 == 0 ? u"030 %1"_s.arg(n) : QString(),
                       n % 3 == 0 ? u"040 %1"_s.arg(n) : QString(), n == 5 && mobil ? u"0171 5"_s : QString()});
    return zeilen;
}
// Six contacts, the first without any number: 6 numbers in all.
const QList<QVariantList> KleineKunden = kunden(6, true);
const QString KleineAnzahlen = u"FAX=2,MOBILE_PH=1,PHONE=3"_s;

// The dialog over a real contact table and options file in a temporary
// folder; every box is answered by the scripted dialogs.
struct Dialog : Umgebung
{
    clActDBF actDBF{dialogs, clipboard, optionen};
    QString pfad = dir.filePath(u"KUNDEN.dbf"_s);
    frmTelefonfelder dlg{dialogs, optionen, actDBF, [this] { return pfad; }};
    ListViewModel &liste = dlg.findChild<ListView *>(u"lvTelefonfelder"_s)->Items();
    QStringList meldungen;

    Dialog()
    {
        QObject::connect(&dlg, &frmTelefonfelder::Statusmeldung, &dlg, [this](const QString &t) { meldungen << t; });
    }
    bool schreibeKunden(const QList<QVariantList> &zeilen) const
    {
        DbfWriter writer(0x03, 0x03);
        writer.addField(u"UNIQUE_ID"_s, 'C', 12);
        writer.addField(u"NAME"_s, 'C', 30);
        for (const QString &feld : {u"PHONE"_s, u"FAX"_s, u"MOBILE_PH"_s})
            writer.addField(feld, 'C', 25);
        bool ok = writer.create(pfad);
        for (const QVariantList &zeile : zeilen)
            ok = ok && writer.appendRecord(zeile);
        return ok && writer.finish();
    }
    bool zaehle(const QString &ausschlussfelder = {}, const QList<QVariantList> &kunden = KleineKunden)
    {
        dlg.FelderSetzen(Kontaktfelder, ausschlussfelder);
        const bool ok = schreibeKunden(kunden);
        dlg.cmdAnzahl_Click();
        return ok;
    }
    // The entries in list order as "FIELD=count".
    QString eintraege() const
    {
        QStringList t;
        for (int i = 0; i < liste.Count(); ++i)
            t << liste.Item(i).Tag + u'=' + liste.Item(i).columnText(1).trimmed();
        return t.join(u',');
    }
    // As a click on the check box does it: through the list's model.
    bool ankreuzen(const QString &feldname, bool an)
    {
        for (int i = 0; i < liste.Count(); ++i) {
            if (liste.Item(i).Tag == feldname)
                return liste.setData(liste.index(i, 0), an ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
        }
        return false;
    }
    bool zeige(const QList<int> &kopfklicks = {})
    {
        dlg.show();
        if (!QTest::qWaitForWindowExposed(&dlg))
            return false;
        QHeaderView *kopf = dlg.findChild<ListView *>()->header();
        for (int s : kopfklicks)
            QTest::mouseClick(kopf->viewport(), Qt::LeftButton, {},
                              QPoint(kopf->sectionViewportPosition(s) + kopf->sectionSize(s) / 2, kopf->height() / 2));
        return true;
    }
};

} // namespace

class tst_frmTelefonfelder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void cleanup() { QCOMPARE(QApplication::overrideCursor(), nullptr); }

    void prozentzahl_data()
    {
        QTest::addColumn<double>("wert");
        QTest::addColumn<QString>("text");

        QTest::newRow("below one: no leading zero, zero among the decimals") << 0.05 << u",05"_s;
        QTest::newRow("trailing zero dropped") << 12.5 << u"12,5"_s;
        QTest::newRow("rounding carries into the whole") << 99.999 << u"100,"_s;
    }

    void prozentzahl()
    {
        QFETCH(double, wert);
        QFETCH(QString, text);
        QCOMPARE(Telefonfeldliste::Prozentzahl(wert), text);
        QCOMPARE(Telefonfeldliste::Prozentzahl(wert, QLocale(QLocale::English)), QString(text).replace(u',', u'.'));
    }

    void felderSetzen_data()
    {
        QTest::addColumn<QString>("ausschlussfelder");
        QTest::addColumn<QString>("ausgewaehlt");

        QTest::newRow("nothing excluded") << QString() << u"FAX,MOBILE_PH,PHONE"_s;
        QTest::newRow("other letter case or part of a name: not excluded") << u"fax;Phone;FA;PHONE2;"_s
                                                                           << u"FAX,MOBILE_PH,PHONE"_s;
        QTest::newRow("entries are trimmed") << u" FAX ; PHONE;"_s << u"MOBILE_PH"_s;
        QTest::newRow("empty entries ignored, last without separator") << u";;PHONE"_s << u"FAX,MOBILE_PH"_s;
        QTest::newRow("all excluded") << u"PHONE;FAX;MOBILE_PH;"_s << QString();
    }

    void felderSetzen()
    {
        QFETCH(QString, ausschlussfelder);

        // A counted list before: filling again replaces it, counts and all.
        Dialog d;
        QVERIFY(d.zaehle());
        d.meldungen.clear();
        d.dlg.FelderSetzen(Kontaktfelder, ausschlussfelder);
        // Only the phone fields, sorted by label, not counted yet.
        QCOMPARE(d.eintraege(), u"FAX=,MOBILE_PH=,PHONE="_s);
        QTEST(d.dlg.AusgewaehlteFelder(), "ausgewaehlt");
        // Labels by exact column name, checked or not.
        QCOMPARE(d.dlg.Bezeichnung(u"FAX"_s), u"Fax"_s);
        QCOMPARE(d.dlg.Bezeichnung(u"phone"_s), QString());
        // Filling the list is no change of a check box.
        QVERIFY(d.meldungen.isEmpty());
    }

    void kopfklick_data()
    {
        QTest::addColumn<QList<int>>("klicks");
        QTest::addColumn<QString>("eintraege");

        // Labels Fax, Mobiltelefon, Telefon; sorted by label from the start. What
        // further clicks do and the header's pictures are the list's own, tested with it.
        QTest::newRow("label: descending") << QList<int>{0} << u"PHONE=3,MOBILE_PH=1,FAX=2"_s;
        QTest::newRow("numbers: ascending") << QList<int>{1} << u"MOBILE_PH=1,FAX=2,PHONE=3"_s;
    }

    void kopfklick()
    {
        QFETCH(QList<int>, klicks);
        QFETCH(QString, eintraege);

        Dialog d;
        QVERIFY(d.zaehle());
        QVERIFY(d.zeige(klicks));
        QCOMPARE(d.eintraege(), eintraege);
        QCOMPARE(d.dlg.Bezeichnung(u"PHONE"_s), u"Telefon"_s);
        QVERIFY(!d.liste.headerData(0, Qt::Horizontal, Qt::DecorationRole).value<QIcon>().isNull());
    }

    void zusammenfassung_data()
    {
        QTest::addColumn<bool>("gezaehlt");
        QTest::addColumn<QStringList>("angekreuzt");
        QTest::addColumn<QString>("text");

        // Once counted (Telefon 3, Fax 2, Mobiltelefon 1), with the checked fields' share.
        const QString t = u" %1 von 3 Feldern sind ausgewählt."_s, anteil = u" (%1% aller Nummern)"_s;
        QTest::newRow("not counted") << false << QStringList{u"FAX"_s, u"PHONE"_s} << t.arg(2);
        QTest::newRow("Telefon and Fax") << true << QStringList{u"PHONE"_s, u"FAX"_s}
                                         << t.arg(2) + anteil.arg(u"83,33"_s);
        QTest::newRow("none") << true << QStringList{} << t.arg(0) + anteil.arg(u","_s);
    }

    void zusammenfassung()
    {
        QFETCH(bool, gezaehlt);
        QFETCH(QStringList, angekreuzt);
        QFETCH(QString, text);

        Dialog d;
        if (gezaehlt)
            QVERIFY(d.zaehle());
        else
            d.dlg.FelderSetzen(Kontaktfelder, QString());
        // Each change of a check box tells the new summary.
        d.meldungen.clear();
        for (const QString &feld : {u"PHONE"_s, u"FAX"_s, u"MOBILE_PH"_s})
            QVERIFY(d.ankreuzen(feld, angekreuzt.contains(feld)));
        QCOMPARE(d.dlg.Statustext(), text);
        QCOMPARE(d.meldungen.mid(d.meldungen.size() - 1), QStringList{text});
    }

    void zaehlen_data()
    {
        QTest::addColumn<int>("datensaetze");
        QTest::addColumn<QList<int>>("prozente");

        QTest::newRow("72: none") << 72 << QList<int>{};
        // A progress text every 73 records: 7300 / 150 and 14600 / 150, rounded down.
        QTest::newRow("150: rounded down") << 150 << QList<int>{48, 97};
    }

    void zaehlen()
    {
        QFETCH(int, datensaetze);
        QFETCH(QList<int>, prozente);

        // A count before: the new one begins at zero, MOBILE_PH is empty now.
        Dialog d;
        QVERIFY(d.zaehle(u"FAX;"_s));
        QVERIFY(d.schreibeKunden(kunden(datensaetze)));
        // The wait cursor shows while the records are read, and only then.
        QStringList erwartet = {Zaehltext + u" Pfeil"_s};
        for (int p : prozente)
            erwartet << u"%1 (%2%) Sanduhr"_s.arg(Zaehltext).arg(p);
        const int telefon = datensaetze / 2, fax = datensaetze / 3;
        erwartet << u" 3 Telefonfelder %1 Nummern Pfeil"_s.arg(telefon + fax);
        QStringList gesehen;
        connect(&d.dlg, &frmTelefonfelder::Statusmeldung, this, [&gesehen](const QString &text) {
            const QCursor *c = QApplication::overrideCursor();
            gesehen << text + (c && c->shape() == Qt::WaitCursor ? u" Sanduhr"_s : u" Pfeil"_s);
        });
        d.dlg.findChild<QPushButton *>(u"cmdAnzahl"_s)->click();
        QCOMPARE(gesehen, erwartet);
        QCOMPARE(d.eintraege(), u"FAX=%1,MOBILE_PH=,PHONE=%2"_s.arg(fax).arg(telefon));
        QCOMPARE(d.liste.Item(0).columnText(1), QString::number(fax).rightJustified(10));
        // Counting is no choice: the check boxes stay as they were.
        QCOMPARE(d.dlg.AusgewaehlteFelder(), u"MOBILE_PH,PHONE"_s);
        QVERIFY(!d.actDBF.istOffen() && d.dialogs.boxes().isEmpty());
    }

    void datenbankNichtZuOeffnen_data()
    {
        QTest::addColumn<QString>("pfad");
        QTest::addColumn<QString>("meldung");

        QTest::newRow("no database open in ACT!") << QString() << u"Fehler in Methode init in Klasse clACTDBF"_s;
        QTest::newRow("file not there") << u"/FEHLT/KUNDEN.dbf"_s << u"Konnte Ihre ACT!-Datenbank nicht öffnen !"_s;
    }

    void datenbankNichtZuOeffnen()
    {
        QFETCH(QString, pfad);
        QFETCH(QString, meldung);

        // First a count that works, so that one can see the failed one keeps it.
        Dialog d;
        QVERIFY(d.zaehle());
        d.pfad = pfad.isEmpty() ? QString() : d.dir.path() + pfad;
        d.meldungen.clear();
        d.dlg.cmdAnzahl_Click();
        QCOMPARE(d.dialogs.boxes().size(), 1);
        QVERIFY2(d.dialogs.boxes().first().text.startsWith(meldung), qPrintable(d.dialogs.boxes().first().text));
        QCOMPARE(d.meldungen, QStringList{Zaehltext});
        QCOMPARE(d.eintraege(), KleineAnzahlen);
    }

    void abfrageFehler()
    {
        Dialog d;
        QVERIFY(d.schreibeKunden(KleineKunden));
        // A phone field the table does not have makes the query fail.
        std::vector<clACTFeld> felder = Kontaktfelder;
        felder.push_back({u"Privat"_s, u"HOME_PH"_s, clACTFeld::Telefonfeld});
        d.dlg.FelderSetzen(felder, QString());
        d.dlg.cmdAnzahl_Click();

        // The table access reports first, then the dialog.
        QCOMPARE(d.dialogs.boxes().size(), 2);
        QVERIFY(d.dialogs.boxes().at(0).text.startsWith(u"Konnte Ihre ACT!-Datenbank nicht öffnen !"_s));
        QCOMPARE(d.dialogs.boxes().at(1).text, u"Fehler beim Abfragen der Telefonfolder"_s);
        QCOMPARE(d.dlg.Statustext(), u" 4 Telefonfelder 0 Nummern"_s);
        QCOMPARE(d.eintraege(), u"FAX=,MOBILE_PH=,HOME_PH=,PHONE="_s);
        QVERIFY(!d.actDBF.istOffen());
    }

    void speichern_data()
    {
        QTest::addColumn<QString>("ausschlussfelder");
        QTest::addColumn<QStringList>("abgewaehlt");
        QTest::addColumn<QList<int>>("klicks");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("gespeichert");

        QTest::newRow("all checked") << u"FAX;PHONE;"_s << QStringList{} << QList<int>{} << true << QString();
        QTest::newRow("one unchecked") << QString() << QStringList{u"FAX"_s} << QList<int>{} << true << u"FAX;"_s;
        QTest::newRow("in the order shown") << QString() << QStringList{u"FAX"_s, u"PHONE"_s} << QList<int>{0}
                                            << true << u"PHONE;FAX;"_s;
        QTest::newRow("closed: nothing saved") << QString() << QStringList{u"FAX"_s} << QList<int>{} << false
                                               << u"ALT;"_s;
    }

    void speichern()
    {
        QFETCH(QString, ausschlussfelder);
        QFETCH(QStringList, abgewaehlt);
        QFETCH(QList<int>, klicks);
        QFETCH(bool, ok);

        Dialog d;
        d.optionen.schreibOption(u"Ausschlussfelder"_s, u"ALT;"_s);
        d.dlg.FelderSetzen(Kontaktfelder, ausschlussfelder);
        for (const QString &feld : {u"FAX"_s, u"MOBILE_PH"_s, u"PHONE"_s})
            QVERIFY(d.ankreuzen(feld, !abgewaehlt.contains(feld)));
        QVERIFY(d.zeige(klicks));
        if (ok)
            d.dlg.findChild<QPushButton *>(u"cmdOK"_s)->click();
        else
            QVERIFY(d.dlg.close());
        QVERIFY(!d.dlg.isVisible());
        // Written to the file, not only held: a second store reads it back.
        QVERIFY(d.store.sync());
        IniSettingsStore zweiter(d.dir.filePath(u"Rufmon.conf"_s));
        QTEST(modOptionen(zweiter, d.system).leseText(u"Ausschlussfelder"_s), "gespeichert");
        // Hidden, not gone: the list and its marks are still there for the caller search.
        QCOMPARE(d.dlg.AusgewaehlteFelder().split(u',', Qt::SkipEmptyParts).size(), 3 - abgewaehlt.size());
    }
};

QTEST_MAIN(tst_frmTelefonfelder)
#include "tst_frmTelefonfelder.moc"
