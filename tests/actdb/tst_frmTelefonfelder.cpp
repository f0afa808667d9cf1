#include "actdb/Telefonfeldliste.h"
#include "actdb/clActDBF.h"
#include "actdb/frmTelefonfelder.h"
#include "app/ListView.h"
#include "app/StatusPanel.h"
#include "app/modOptionen.h"
#include "doubles/FakeSystem.h"
#include "doubles/MemoryClipboard.h"
#include "doubles/ScriptedDialogs.h"
#include "platform/settings/IniSettingsStore.h"
#include "tools/dbf/DbfWriter.h"

#include <QApplication>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString Zaehltext = u"Bestimme Anzahl der Nummern..."_s;

// The contact fields as the definition file lists them; NAME is no phone field.
std::vector<clACTFeld> kontaktfelder()
{
    return {{u"Kontakt"_s, u"NAME"_s, 1},
            {u"Telefon"_s, u"PHONE"_s, clACTFeld::Telefonfeld},
            {u"Fax"_s, u"FAX"_s, clACTFeld::Telefonfeld},
            {u"Mobiltelefon"_s, u"MOBILE_PH"_s, clACTFeld::Telefonfeld}};
}

bool schreibeKunden(const QString &pfad, const QList<QVariantList> &zeilen)
{
    DbfWriter writer(0x03, 0x03);
    writer.addField(u"UNIQUE_ID"_s, 'C', 12);
    writer.addField(u"NAME"_s, 'C', 30);
    writer.addField(u"PHONE"_s, 'C', 25);
    writer.addField(u"FAX"_s, 'C', 25);
    writer.addField(u"MOBILE_PH"_s, 'C', 25);
    if (!writer.create(pfad))
        return false;
    for (const QVariantList &zeile : zeilen) {
        if (!writer.appendRecord(zeile))
            return false;
    }
    return writer.finish();
}

// Five contacts: PHONE filled 3 times, FAX 2 times, MOBILE_PH once, 6 numbers
// in all; the last contact has no number at all.
QList<QVariantList> kleineKunden()
{
    return {{u"K1"_s, u"Albers"_s, u"0221 100"_s, u"0221 101"_s, QString()},
            {u"K2"_s, u"Brandt"_s, u"0221 200"_s, QString(), u"0171 2"_s},
            {u"K3"_s, u"Cramer"_s, QString(), u"0221 301"_s, QString()},
            {u"K4"_s, u"Dietz"_s, u"0221 400"_s, QString(), QString()},
            {u"K5"_s, u"Engel"_s, QString(), QString(), QString()}};
}

// Contacts 1..n: PHONE on every even one, FAX on every third, MOBILE_PH never.
QList<QVariantList> vieleKunden(int anzahl)
{
    QList<QVariantList> zeilen;
    for (int n = 1; n <= anzahl; ++n) {
        zeilen.append({u"G%1"_s.arg(n), u"Kontakt %1"_s.arg(n), n % 2 == 0 ? u"030 %1"_s.arg(n) : QString(),
                       n % 3 == 0 ? u"040 %1"_s.arg(n) : QString(), QString()});
    }
    return zeilen;
}

} // namespace

// The phone-field dialog over a real contact table in a temporary folder,
// with the real options file; every box is answered by the scripted dialogs.
class tst_frmTelefonfelder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void prozentzahl_data();
    void prozentzahl();
    void felderSetzen_data();
    void felderSetzen();
    void neuFuellenErsetztEintraege();
    void bezeichnung_data();
    void bezeichnung();
    void formLoad();
    void kopfklick_data();
    void kopfklick();
    void zusammenfassungOhneAnzahlen_data();
    void zusammenfassungOhneAnzahlen();
    void zaehlen();
    void zusammenfassungMitAnzahlen_data();
    void zusammenfassungMitAnzahlen();
    void fortschritt_data();
    void fortschritt();
    void zweimalZaehlenGleich();
    void neueZaehlungBeginntBeiNull();
    void datenbankNichtZuOeffnen_data();
    void datenbankNichtZuOeffnen();
    void abfrageFehler();
    void cmdOK_data();
    void cmdOK();
    void schliessenSpeichertNicht();

private:
    QString tabelle() const { return m_dir->filePath(u"KUNDEN.dbf"_s); }
    ListView &liste() const;
    QStringList texte() const;
    QStringList anzahlen() const;
    int zeile(const QString &feldname) const;
    void ankreuzen(const QString &feldname, bool an);
    void neuerDialog();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeSystem> m_system;
    std::unique_ptr<IniSettingsStore> m_store;
    std::unique_ptr<modOptionen> m_optionen;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<MemoryClipboard> m_clipboard;
    std::unique_ptr<clActDBF> m_actDBF;
    std::unique_ptr<frmTelefonfelder> m_dlg;
    QString m_pfad;
    QStringList m_meldungen;
};

void tst_frmTelefonfelder::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void tst_frmTelefonfelder::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_system = std::make_unique<FakeSystem>();
    m_store = std::make_unique<IniSettingsStore>(m_dir->filePath(u"Rufmon.conf"_s));
    m_optionen = std::make_unique<modOptionen>(*m_store, *m_system);
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_clipboard = std::make_unique<MemoryClipboard>();
    m_actDBF = std::make_unique<clActDBF>(*m_dialogs, *m_clipboard, *m_optionen);
    m_pfad = tabelle();
    neuerDialog();
}

void tst_frmTelefonfelder::neuerDialog()
{
    m_dlg.reset();
    m_meldungen.clear();
    m_dlg = std::make_unique<frmTelefonfelder>(*m_dialogs, *m_optionen, *m_actDBF, [this] { return m_pfad; });
    connect(m_dlg.get(), &frmTelefonfelder::Statusmeldung, this, [this](const QString &text) {
        m_meldungen.append(text);
    });
}

void tst_frmTelefonfelder::cleanup()
{
    m_dlg.reset();
    m_actDBF.reset();
    m_clipboard.reset();
    m_dialogs.reset();
    m_optionen.reset();
    m_store.reset();
    m_system.reset();
    m_dir.reset();
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

ListView &tst_frmTelefonfelder::liste() const
{
    auto *lv = m_dlg->findChild<ListView *>(u"lvTelefonfelder"_s);
    Q_ASSERT(lv);
    return *lv;
}

QStringList tst_frmTelefonfelder::texte() const
{
    QStringList t;
    for (int i = 0; i < liste().Items().Count(); ++i)
        t.append(liste().Items().Item(i).Text);
    return t;
}

// Column 2 of the entries, in the order Fax, Mobiltelefon, Telefon.
QStringList tst_frmTelefonfelder::anzahlen() const
{
    QStringList t;
    for (const QString &feld : {u"FAX"_s, u"MOBILE_PH"_s, u"PHONE"_s}) {
        const int i = zeile(feld);
        t.append(i < 0 ? u"<fehlt>"_s : liste().Items().Item(i).columnText(1));
    }
    return t;
}

int tst_frmTelefonfelder::zeile(const QString &feldname) const
{
    for (int i = 0; i < liste().Items().Count(); ++i) {
        if (liste().Items().Item(i).Tag == feldname)
            return i;
    }
    return -1;
}

// As a click on the check box does it: through the list's model.
void tst_frmTelefonfelder::ankreuzen(const QString &feldname, bool an)
{
    const int i = zeile(feldname);
    QVERIFY(i >= 0);
    ListViewModel &m = liste().Items();
    QVERIFY(m.setData(m.index(i, 0), an ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole));
}

void tst_frmTelefonfelder::prozentzahl_data()
{
    QTest::addColumn<double>("wert");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");

    const QLocale de(QLocale::German, QLocale::Germany);
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("whole number keeps the separator") << 50.0 << de << u"50,"_s;
    QTest::newRow("hundred") << 100.0 << de << u"100,"_s;
    QTest::newRow("a third, two decimals") << 100.0 / 3 << de << u"33,33"_s;
    QTest::newRow("two thirds rounds up") << 200.0 / 3 << de << u"66,67"_s;
    QTest::newRow("below one has no leading zero") << 0.5 << de << u",5"_s;
    QTest::newRow("leading zero among the decimals") << 0.05 << de << u",05"_s;
    QTest::newRow("trailing zero dropped") << 12.5 << de << u"12,5"_s;
    QTest::newRow("zero is the separator alone") << 0.0 << de << u","_s;
    QTest::newRow("rounding carries into the whole") << 99.999 << de << u"100,"_s;
    QTest::newRow("separator of the locale") << 50.0 << en << u"50."_s;
    QTest::newRow("separator of the locale with decimals") << 100.0 / 3 << en << u"33.33"_s;
}

void tst_frmTelefonfelder::prozentzahl()
{
    QFETCH(double, wert);
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QCOMPARE(Telefonfeldliste::Prozentzahl(wert, locale), text);
}

void tst_frmTelefonfelder::felderSetzen_data()
{
    QTest::addColumn<QString>("ausschlussfelder");
    QTest::addColumn<QString>("ausgewaehlt");

    // The list is sorted by label: Fax, Mobiltelefon, Telefon.
    QTest::newRow("nothing excluded") << QString() << u"FAX,MOBILE_PH,PHONE"_s;
    QTest::newRow("one excluded") << u"FAX;"_s << u"MOBILE_PH,PHONE"_s;
    QTest::newRow("letter case differs, not excluded") << u"fax;Phone;"_s << u"FAX,MOBILE_PH,PHONE"_s;
    QTest::newRow("entries are trimmed") << u" FAX ; PHONE;"_s << u"MOBILE_PH"_s;
    QTest::newRow("empty entries ignored, last without separator") << u";;PHONE"_s << u"FAX,MOBILE_PH"_s;
    QTest::newRow("part of a name is no match") << u"FA;PHONE2;"_s << u"FAX,MOBILE_PH,PHONE"_s;
    QTest::newRow("all excluded") << u"PHONE;FAX;MOBILE_PH;"_s << QString();
    QTest::newRow("no phone field excluded") << u"NAME;"_s << u"FAX,MOBILE_PH,PHONE"_s;
}

void tst_frmTelefonfelder::felderSetzen()
{
    QFETCH(QString, ausschlussfelder);
    QFETCH(QString, ausgewaehlt);

    m_dlg->FelderSetzen(kontaktfelder(), ausschlussfelder);
    QCOMPARE(texte(), QStringList({u"Fax"_s, u"Mobiltelefon"_s, u"Telefon"_s}));
    QCOMPARE(m_dlg->AusgewaehlteFelder(), ausgewaehlt);
    const QStringList gewaehlt = ausgewaehlt.split(u',', Qt::SkipEmptyParts);
    for (int i = 0; i < liste().Items().Count(); ++i) {
        const ListItem &item = liste().Items().Item(i);
        QCOMPARE(item.Checked, gewaehlt.contains(item.Tag));
        QVERIFY(item.columnText(1).isEmpty());
    }
    // Filling the list is no change of a check box.
    QVERIFY(m_meldungen.isEmpty());
}

void tst_frmTelefonfelder::neuFuellenErsetztEintraege()
{
    m_dlg->FelderSetzen(kontaktfelder(), QString());
    std::vector<clACTFeld> andere = {{u"Privat"_s, u"HOME_PH"_s, clACTFeld::Telefonfeld},
                                     {u"Autotelefon"_s, u"CAR_PH"_s, clACTFeld::Telefonfeld},
                                     {u"E-Mail"_s, u"EMAIL"_s, 3}};
    m_dlg->FelderSetzen(andere, u"CAR_PH;"_s);
    QCOMPARE(texte(), QStringList({u"Autotelefon"_s, u"Privat"_s}));
    QCOMPARE(m_dlg->AusgewaehlteFelder(), u"HOME_PH"_s);
    QVERIFY(m_dlg->Bezeichnung(u"PHONE"_s).isEmpty());

    m_dlg->FelderSetzen({}, QString());
    QCOMPARE(liste().Items().Count(), 0);
    QVERIFY(m_dlg->AusgewaehlteFelder().isEmpty());
}

void tst_frmTelefonfelder::bezeichnung_data()
{
    QTest::addColumn<QString>("feldname");
    QTest::addColumn<QString>("bezeichnung");

    QTest::newRow("phone field") << u"PHONE"_s << u"Telefon"_s;
    QTest::newRow("unchecked phone field") << u"FAX"_s << u"Fax"_s;
    QTest::newRow("letter case differs") << u"phone"_s << QString();
    QTest::newRow("no phone field") << u"NAME"_s << QString();
    QTest::newRow("unknown") << u"EMAIL"_s << QString();
    QTest::newRow("empty") << QString() << QString();
}

void tst_frmTelefonfelder::bezeichnung()
{
    QFETCH(QString, feldname);
    QFETCH(QString, bezeichnung);
    m_dlg->FelderSetzen(kontaktfelder(), u"FAX;"_s);
    QCOMPARE(m_dlg->Bezeichnung(feldname), bezeichnung);
}

void tst_frmTelefonfelder::formLoad()
{
    QCOMPARE(m_dlg->windowTitle(), u"Auswahl der Telefonfelder"_s);
    ListView &lv = liste();
    const auto &spalten = lv.Items().columns();
    QCOMPARE(spalten.size(), std::size_t(2));
    QCOMPARE(spalten[0].Key, u"Telefonfeld"_s);
    QCOMPARE(spalten[0].Text, u"ACT!-Telefonfeld"_s);
    QVERIFY(spalten[1].Key.isEmpty());
    QCOMPARE(spalten[1].Text, u"Nummern"_s);
    QCOMPARE(m_dlg->findChild<QPushButton *>(u"cmdAnzahl"_s)->text(), u"&Nummernanzahl bestimmen"_s);
    QCOMPARE(m_dlg->findChild<QPushButton *>(u"cmdOK"_s)->text(), u"&OK"_s);
    QVERIFY(m_dlg->findChild<QPushButton *>(u"cmdAbbrechen"_s) == nullptr);

    QVERIFY(lv.width() > 24);
    QCOMPARE(lv.columnWidth(0), (lv.width() - 24) / 2);
    QCOMPARE(lv.columnWidth(1), (lv.width() - 24) / 2);

    // Sorted ascending by the label column, with the pictures to show it.
    QVERIFY(lv.Sorted());
    QCOMPARE(lv.SortKey(), 0);
    QCOMPARE(lv.sortOrder(), ListView::SortOrder::Ascending);
    QCOMPARE(spalten[0].IconKey, u"Runter"_s);
    QCOMPARE(spalten[1].IconKey, u"Leer"_s);
    const QVariant bild = lv.Items().headerData(0, Qt::Horizontal, Qt::DecorationRole);
    QVERIFY(!bild.value<QIcon>().isNull());

    m_dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dlg.get()));
    auto *bar = m_dlg->findChild<QStatusBar *>();
    auto *panel = m_dlg->findChild<StatusPanel *>(u"Panel1"_s);
    QVERIFY(bar && panel);
    QCOMPARE(panel->parentWidget(), bar);
    // The panel takes the bar's width, less the bar's own small margins.
    QVERIFY(panel->width() >= bar->width() - 12);
}

void tst_frmTelefonfelder::kopfklick_data()
{
    QTest::addColumn<QList<int>>("klicks");
    QTest::addColumn<QStringList>("reihenfolge");
    QTest::addColumn<QStringList>("bilder");

    // Counts: Telefon 3, Fax 2, Mobiltelefon 1.
    QTest::newRow("label once: descending") << QList<int>{0} << QStringList{u"Telefon"_s, u"Mobiltelefon"_s, u"Fax"_s}
                                            << QStringList{u"Hoch"_s, u"Leer"_s};
    QTest::newRow("label twice: ascending again")
        << QList<int>{0, 0} << QStringList{u"Fax"_s, u"Mobiltelefon"_s, u"Telefon"_s}
        << QStringList{u"Runter"_s, u"Leer"_s};
    QTest::newRow("numbers once: ascending") << QList<int>{1}
                                             << QStringList{u"Mobiltelefon"_s, u"Fax"_s, u"Telefon"_s}
                                             << QStringList{u"Leer"_s, u"Runter"_s};
    QTest::newRow("numbers twice: descending")
        << QList<int>{1, 1} << QStringList{u"Telefon"_s, u"Fax"_s, u"Mobiltelefon"_s}
        << QStringList{u"Leer"_s, u"Hoch"_s};
    QTest::newRow("other column starts ascending")
        << QList<int>{0, 1, 0} << QStringList{u"Fax"_s, u"Mobiltelefon"_s, u"Telefon"_s}
        << QStringList{u"Runter"_s, u"Leer"_s};
}

void tst_frmTelefonfelder::kopfklick()
{
    QFETCH(QList<int>, klicks);
    QFETCH(QStringList, reihenfolge);
    QFETCH(QStringList, bilder);

    QVERIFY(schreibeKunden(tabelle(), kleineKunden()));
    m_dlg->FelderSetzen(kontaktfelder(), QString());
    m_dlg->cmdAnzahl_Click();
    m_dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dlg.get()));

    QHeaderView *kopf = liste().header();
    for (int spalte : klicks) {
        const QPoint mitte(kopf->sectionViewportPosition(spalte) + kopf->sectionSize(spalte) / 2, kopf->height() / 2);
        QTest::mouseClick(kopf->viewport(), Qt::LeftButton, {}, mitte);
    }
    QCOMPARE(texte(), reihenfolge);
    const auto &spalten = liste().Items().columns();
    QCOMPARE(QStringList({spalten[0].IconKey, spalten[1].IconKey}), bilder);
    // The keys travel with their entries.
    QCOMPARE(liste().Items().Item(zeile(u"PHONE"_s)).Text, u"Telefon"_s);
}

void tst_frmTelefonfelder::zusammenfassungOhneAnzahlen_data()
{
    QTest::addColumn<QString>("ausschlussfelder");
    QTest::addColumn<QString>("feld");
    QTest::addColumn<bool>("an");
    QTest::addColumn<QString>("text");

    QTest::newRow("one of three unchecked") << QString() << u"PHONE"_s << false
                                            << u" 2 von 3 Feldern sind ausgewählt."_s;
    QTest::newRow("checked again") << u"FAX;"_s << u"FAX"_s << true << u" 3 von 3 Feldern sind ausgewählt."_s;
    QTest::newRow("none left") << u"FAX;PHONE;"_s << u"MOBILE_PH"_s << false
                               << u" 0 von 3 Feldern sind ausgewählt."_s;
}

void tst_frmTelefonfelder::zusammenfassungOhneAnzahlen()
{
    QFETCH(QString, ausschlussfelder);
    QFETCH(QString, feld);
    QFETCH(bool, an);
    QFETCH(QString, text);

    m_dlg->FelderSetzen(kontaktfelder(), ausschlussfelder);
    ankreuzen(feld, an);
    QCOMPARE(m_dlg->Statustext(), text);
    QCOMPARE(m_meldungen, QStringList{text});
}

void tst_frmTelefonfelder::zaehlen()
{
    QVERIFY(schreibeKunden(tabelle(), kleineKunden()));
    m_dlg->FelderSetzen(kontaktfelder(), u"FAX;"_s);
    m_dlg->cmdAnzahl_Click();

    QVERIFY(m_dialogs->boxes().isEmpty());
    QCOMPARE(anzahlen(), QStringList({u"         2"_s, u"         1"_s, u"         3"_s}));
    QCOMPARE(m_dlg->Statustext(), u" 3 Telefonfelder 6 Nummern"_s);
    // Five records: no progress text in between.
    QCOMPARE(m_meldungen, QStringList({Zaehltext, u" 3 Telefonfelder 6 Nummern"_s}));
    // Counting is no choice: the check boxes stay as they were.
    QCOMPARE(m_dlg->AusgewaehlteFelder(), u"MOBILE_PH,PHONE"_s);
    // The table access is closed again.
    QVERIFY(!m_actDBF->istOffen());
}

void tst_frmTelefonfelder::zusammenfassungMitAnzahlen_data()
{
    QTest::addColumn<QStringList>("angekreuzt");
    QTest::addColumn<QString>("text");

    // Telefon 3, Fax 2, Mobiltelefon 1: 6 numbers.
    QTest::newRow("Telefon") << QStringList{u"PHONE"_s} << u" 1 von 3 Feldern sind ausgewählt. (50,% aller Nummern)"_s;
    QTest::newRow("Fax") << QStringList{u"FAX"_s} << u" 1 von 3 Feldern sind ausgewählt. (33,33% aller Nummern)"_s;
    QTest::newRow("Mobiltelefon") << QStringList{u"MOBILE_PH"_s}
                                  << u" 1 von 3 Feldern sind ausgewählt. (16,67% aller Nummern)"_s;
    QTest::newRow("Telefon and Fax") << QStringList{u"PHONE"_s, u"FAX"_s}
                                     << u" 2 von 3 Feldern sind ausgewählt. (83,33% aller Nummern)"_s;
    QTest::newRow("Fax and Mobiltelefon") << QStringList{u"FAX"_s, u"MOBILE_PH"_s}
                                          << u" 2 von 3 Feldern sind ausgewählt. (50,% aller Nummern)"_s;
    QTest::newRow("all") << QStringList{u"PHONE"_s, u"FAX"_s, u"MOBILE_PH"_s}
                         << u" 3 von 3 Feldern sind ausgewählt. (100,% aller Nummern)"_s;
    QTest::newRow("none") << QStringList{} << u" 0 von 3 Feldern sind ausgewählt. (,% aller Nummern)"_s;
}

void tst_frmTelefonfelder::zusammenfassungMitAnzahlen()
{
    QFETCH(QStringList, angekreuzt);
    QFETCH(QString, text);

    QVERIFY(schreibeKunden(tabelle(), kleineKunden()));
    m_dlg->FelderSetzen(kontaktfelder(), QString());
    m_dlg->cmdAnzahl_Click();
    // Each click recomputes; the last one leaves the state of the row.
    for (const QString &feld : {u"PHONE"_s, u"FAX"_s, u"MOBILE_PH"_s})
        ankreuzen(feld, angekreuzt.contains(feld));
    QCOMPARE(m_dlg->Statustext(), text);
}

void tst_frmTelefonfelder::fortschritt_data()
{
    QTest::addColumn<int>("datensaetze");
    QTest::addColumn<QStringList>("fortschritt");

    const auto bei = [](int prozent) { return u"Bestimme Anzahl der Nummern... (%1%)"_s.arg(prozent); };
    QTest::newRow("72: none") << 72 << QStringList{};
    QTest::newRow("73: at the last") << 73 << QStringList{bei(100)};
    QTest::newRow("146: half and all") << 146 << QStringList{bei(50), bei(100)};
    // 7300 / 150 and 14600 / 150, rounded down.
    QTest::newRow("150: rounded down") << 150 << QStringList{bei(48), bei(97)};
    QTest::newRow("219: thirds") << 219 << QStringList{bei(33), bei(66), bei(100)};
}

void tst_frmTelefonfelder::fortschritt()
{
    QFETCH(int, datensaetze);
    QFETCH(QStringList, fortschritt);

    QVERIFY(schreibeKunden(tabelle(), vieleKunden(datensaetze)));
    m_dlg->FelderSetzen(kontaktfelder(), QString());
    QList<Qt::CursorShape> zeiger;
    connect(m_dlg.get(), &frmTelefonfelder::Statusmeldung, this, [&zeiger] {
        const QCursor *c = QApplication::overrideCursor();
        zeiger.append(c ? c->shape() : Qt::ArrowCursor);
    });
    m_dlg->cmdAnzahl_Click();

    const int telefon = datensaetze / 2;
    const int fax = datensaetze / 3;
    const QString ende = u" 3 Telefonfelder %1 Nummern"_s.arg(telefon + fax);
    QCOMPARE(m_meldungen, QStringList{Zaehltext} + fortschritt + QStringList{ende});
    // The wait cursor shows while the records are read, and only then.
    QList<Qt::CursorShape> erwartet{Qt::ArrowCursor};
    for (int i = 0; i < fortschritt.size(); ++i)
        erwartet.append(Qt::WaitCursor);
    erwartet.append(Qt::ArrowCursor);
    QCOMPARE(zeiger, erwartet);
    // MOBILE_PH holds no number: its column stays empty.
    QCOMPARE(anzahlen(), QStringList({u"%1"_s.arg(fax).rightJustified(10), QString(),
                                      u"%1"_s.arg(telefon).rightJustified(10)}));
}

void tst_frmTelefonfelder::zweimalZaehlenGleich()
{
    QVERIFY(schreibeKunden(tabelle(), vieleKunden(146)));
    m_dlg->FelderSetzen(kontaktfelder(), QString());
    const QStringList erwartet{u"        48"_s, QString(), u"        73"_s};

    m_dlg->cmdAnzahl_Click();
    QCOMPARE(anzahlen(), erwartet);
    QCOMPARE(m_dlg->Statustext(), u" 3 Telefonfelder 121 Nummern"_s);

    m_meldungen.clear();
    m_dlg->findChild<QPushButton *>(u"cmdAnzahl"_s)->click();
    QCOMPARE(anzahlen(), erwartet);
    QCOMPARE(m_dlg->Statustext(), u" 3 Telefonfelder 121 Nummern"_s);
    QCOMPARE(m_meldungen.size(), 4);
    QVERIFY(m_dialogs->boxes().isEmpty());
}

void tst_frmTelefonfelder::neueZaehlungBeginntBeiNull()
{
    QVERIFY(schreibeKunden(tabelle(), kleineKunden()));
    m_dlg->FelderSetzen(kontaktfelder(), QString());
    m_dlg->cmdAnzahl_Click();
    QCOMPARE(anzahlen(), QStringList({u"         2"_s, u"         1"_s, u"         3"_s}));

    // The contacts changed meanwhile; MOBILE_PH is now empty everywhere.
    QVERIFY(schreibeKunden(tabelle(), vieleKunden(146)));
    m_dlg->cmdAnzahl_Click();
    QCOMPARE(anzahlen(), QStringList({u"        48"_s, QString(), u"        73"_s}));
    QCOMPARE(m_dlg->Statustext(), u" 3 Telefonfelder 121 Nummern"_s);
}

void tst_frmTelefonfelder::datenbankNichtZuOeffnen_data()
{
    QTest::addColumn<QString>("pfad");
    QTest::addColumn<QString>("meldung");

    QTest::newRow("no database open in ACT!") << QString() << u"Fehler in Methode init in Klasse clACTDBF"_s;
    QTest::newRow("file not there") << u"/FEHLT/KUNDEN.dbf"_s << u"Konnte Ihre ACT!-Datenbank nicht öffnen !"_s;
}

void tst_frmTelefonfelder::datenbankNichtZuOeffnen()
{
    QFETCH(QString, pfad);
    QFETCH(QString, meldung);

    // First a count that works, so that one can see the failed one keeps it.
    QVERIFY(schreibeKunden(tabelle(), kleineKunden()));
    m_dlg->FelderSetzen(kontaktfelder(), QString());
    m_dlg->cmdAnzahl_Click();
    const QStringList vorher = anzahlen();
    QCOMPARE(vorher, QStringList({u"         2"_s, u"         1"_s, u"         3"_s}));

    m_pfad = pfad.isEmpty() ? QString() : m_dir->path() + pfad;
    m_meldungen.clear();
    m_dlg->cmdAnzahl_Click();

    QCOMPARE(m_dialogs->boxes().size(), 1);
    QVERIFY2(m_dialogs->boxes().first().text.startsWith(meldung), qPrintable(m_dialogs->boxes().first().text));
    QCOMPARE(m_dlg->Statustext(), Zaehltext);
    QCOMPARE(m_meldungen, QStringList{Zaehltext});
    QCOMPARE(anzahlen(), vorher);
}

void tst_frmTelefonfelder::abfrageFehler()
{
    QVERIFY(schreibeKunden(tabelle(), kleineKunden()));
    std::vector<clACTFeld> felder = kontaktfelder();
    // A phone field the table does not have makes the query fail.
    felder.push_back({u"Privat"_s, u"HOME_PH"_s, clACTFeld::Telefonfeld});
    m_dlg->FelderSetzen(felder, QString());
    m_dlg->cmdAnzahl_Click();

    QCOMPARE(m_dialogs->boxes().size(), 2);
    // The table access reports first, then the dialog.
    QVERIFY(m_dialogs->boxes().at(0).text.startsWith(u"Konnte Ihre ACT!-Datenbank nicht öffnen !"_s));
    const ScriptedDialogs::Box &box = m_dialogs->boxes().at(1);
    QCOMPARE(box.text, u"Fehler beim Abfragen der Telefonfolder"_s);
    QCOMPARE(box.icon, Dialogs::Icon::Exclamation);
    QCOMPARE(box.buttons, Dialogs::Buttons::Ok);
    QCOMPARE(box.title, u"Rufmon"_s);
    QCOMPARE(m_dlg->Statustext(), u" 4 Telefonfelder 0 Nummern"_s);
    QCOMPARE(anzahlen(), QStringList({QString(), QString(), QString()}));
    QVERIFY(!m_actDBF->istOffen());
}

void tst_frmTelefonfelder::cmdOK_data()
{
    QTest::addColumn<QString>("ausschlussfelder");
    QTest::addColumn<QStringList>("abgewaehlt");
    QTest::addColumn<QList<int>>("klicks");
    QTest::addColumn<QString>("gespeichert");

    QTest::newRow("all checked") << u"FAX;PHONE;"_s << QStringList{} << QList<int>{} << QString();
    QTest::newRow("one unchecked") << QString() << QStringList{u"FAX"_s} << QList<int>{} << u"FAX;"_s;
    QTest::newRow("two, in list order") << QString() << QStringList{u"PHONE"_s, u"FAX"_s} << QList<int>{}
                                        << u"FAX;PHONE;"_s;
    QTest::newRow("two, list sorted descending") << QString() << QStringList{u"FAX"_s, u"PHONE"_s} << QList<int>{0}
                                                 << u"PHONE;FAX;"_s;
    QTest::newRow("all unchecked") << QString() << QStringList{u"FAX"_s, u"MOBILE_PH"_s, u"PHONE"_s}
                                   << QList<int>{} << u"FAX;MOBILE_PH;PHONE;"_s;
}

void tst_frmTelefonfelder::cmdOK()
{
    QFETCH(QString, ausschlussfelder);
    QFETCH(QStringList, abgewaehlt);
    QFETCH(QList<int>, klicks);
    QFETCH(QString, gespeichert);

    m_optionen->schreibOption(u"Ausschlussfelder"_s, u"ALT;"_s);
    m_dlg->FelderSetzen(kontaktfelder(), ausschlussfelder);
    for (const QString &feld : {u"FAX"_s, u"MOBILE_PH"_s, u"PHONE"_s})
        ankreuzen(feld, !abgewaehlt.contains(feld));
    m_dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dlg.get()));
    QHeaderView *kopf = liste().header();
    for (int spalte : klicks) {
        const QPoint mitte(kopf->sectionViewportPosition(spalte) + kopf->sectionSize(spalte) / 2, kopf->height() / 2);
        QTest::mouseClick(kopf->viewport(), Qt::LeftButton, {}, mitte);
    }

    m_dlg->findChild<QPushButton *>(u"cmdOK"_s)->click();
    QVERIFY(!m_dlg->isVisible());
    QCOMPARE(m_optionen->leseText(u"Ausschlussfelder"_s), gespeichert);
    // Written to the file, not only held: a second store reads it back.
    QVERIFY(m_store->sync());
    IniSettingsStore zweiter(m_dir->filePath(u"Rufmon.conf"_s));
    QCOMPARE(modOptionen(zweiter, *m_system).leseText(u"Ausschlussfelder"_s), gespeichert);
    // Hidden, not gone: the list is still there for the caller search.
    QCOMPARE(liste().Items().Count(), 3);
}

void tst_frmTelefonfelder::schliessenSpeichertNicht()
{
    m_optionen->schreibOption(u"Ausschlussfelder"_s, u"FAX;"_s);
    m_dlg->FelderSetzen(kontaktfelder(), u"FAX;"_s);
    m_dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dlg.get()));
    ankreuzen(u"PHONE"_s, false);
    QVERIFY(m_dlg->close());
    QVERIFY(!m_dlg->isVisible());
    QCOMPARE(m_optionen->leseText(u"Ausschlussfelder"_s), u"FAX;"_s);
    QCOMPARE(m_dlg->AusgewaehlteFelder(), u"MOBILE_PH"_s);
    QVERIFY(m_dialogs->boxes().isEmpty());
}

QTEST_MAIN(tst_frmTelefonfelder)
#include "tst_frmTelefonfelder.moc"
