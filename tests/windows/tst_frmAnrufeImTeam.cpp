// The window "Anrufe im Team" without a server: what it asks for, how it
// shows the answer, and its model.
#include "team/TeamAnrufeModell.h"
#include "windows/frmAnrufeImTeam.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

Journalzeile zeile(const QString &nummer, const QString &platz, std::optional<bool> angenommen, int dauer = -1)
{
    Journalzeile z;
    z.anrufId = nummer;
    z.nummer = nummer;
    z.arbeitsplatz = platz;
    z.zeit = QDateTime(QDate(2026, 12, 7), QTime(7, 55));
    z.angenommen = angenommen;
    z.dauer = dauer;
    z.kontaktName = u"Greta"_s;
    z.leitung = u"Anrufmonitor fritz.box:1012"_s;
    return z;
}

} // namespace

class tst_frmAnrufeImTeam : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void theModel()
    {
        TeamAnrufeModell m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        Journalzeile nachgetragen = zeile(u"1"_s, u"Empfang"_s, true, 185);
        nachgetragen.nachgetragen = true;
        m.setZeilen({nachgetragen, zeile(u"2"_s, u"Vertrieb"_s, false), zeile(u"3"_s, u"Vertrieb"_s, std::nullopt)});
        QCOMPARE(m.rowCount(), 3);
        QCOMPARE(m.headerData(TeamAnrufeModell::Angerufen, Qt::Horizontal).toString(), u"Angerufen"_s);
        QCOMPARE(m.index(0, TeamAnrufeModell::Zeit).data().toString(), u"07.12.2026 07:55:00"_s);
        QCOMPARE(m.index(0, TeamAnrufeModell::Ergebnis).data().toString(), u"angenommen"_s);
        QCOMPARE(m.index(0, TeamAnrufeModell::Dauer).data().toString(), u"3:05"_s);
        QCOMPARE(m.index(1, TeamAnrufeModell::Ergebnis).data().toString(), u"verpasst"_s);
        QCOMPARE(m.index(1, TeamAnrufeModell::Dauer).data().toString(), QString());
        QCOMPARE(m.index(2, TeamAnrufeModell::Ergebnis).data().toString(), QString());
        QVERIFY(m.index(0, 0).data(Qt::ToolTipRole).toString().contains(u"während Rufmon am Arbeitsplatz aus war"_s));
        m.setZeilen({});
        QCOMPARE(m.rowCount(), 0);
    }

    void theFiltersAskAgain()
    {
        frmAnrufeImTeam f;
        QSignalSpy abfrage(&f, &frmAnrufeImTeam::Abfrage);
        f.show();
        QCOMPARE(abfrage.size(), 1);
        QCOMPARE(abfrage.last().first().value<Teamfilter>().tage, 7);
        f.zeige({zeile(u"1"_s, u"Empfang"_s, true)}, {u"Empfang"_s, u"Vertrieb"_s});
        QCOMPARE(f.cbxArbeitsplatz()->count(), 3);
        QCOMPARE(f.cbxArbeitsplatz()->itemText(0), u"Alle"_s);

        // Typing is one question once the typing stops, not one a key.
        f.cbxArbeitsplatz()->setCurrentIndex(2);
        f.chkVerpasst()->setChecked(true);
        QTest::keyClicks(f.txbSuche(), u"Greta"_s);
        QTRY_COMPARE(abfrage.size(), 2);
        QTest::qWait(300);
        QCOMPARE(abfrage.size(), 2);
        const Teamfilter filter = abfrage.last().first().value<Teamfilter>();
        QCOMPARE(filter.arbeitsplatz, u"Vertrieb"_s);
        QVERIFY(filter.nurVerpasste);
        QCOMPARE(filter.suchtext, u"Greta"_s);

        // The desk chosen stays chosen when the journal names other desks.
        f.zeige({}, {u"Empfang"_s});
        QCOMPARE(f.cbxArbeitsplatz()->currentText(), u"Vertrieb"_s);
        QCOMPARE(f.Modell().rowCount(), 0);
        QCOMPARE(abfrage.size(), 2);

        // A new call anywhere: asked again.
        f.Neu();
        QTRY_COMPARE(abfrage.size(), 3);
        f.setZustand(false, u"Team-Journal x:5432/team nicht erreichbar: weg"_s);
        QCOMPARE(f.lbZustand()->toolTip(), u"Team-Journal x:5432/team nicht erreichbar: weg"_s);
    }
};

QTEST_MAIN(tst_frmAnrufeImTeam)
#include "tst_frmAnrufeImTeam.moc"
