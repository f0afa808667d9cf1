// An entry of the caller list tells in its tool tip the number the call was
// for and whether it came while Rufmon was off, beside a text cut short.
#include "telephony/Anrufhinweis.h"
#include "core/Anruferliste.h"
#include "windows/Anruferlistenansicht.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_Anrufhinweis : public QObject
{
    Q_OBJECT

private slots:
    void whatTheEntryTells_data()
    {
        QTest::addColumn<QString>("angerufen");
        QTest::addColumn<int>("bild");
        QTest::addColumn<QString>("tip");
        QTest::newRow("nothing more") << QString() << 2 << QString();
        QTest::newRow("the number called") << u"987654"_s << 6 << u"Angerufen: 987654"_s;
        QTest::newRow("from the router's list")
            << u"987654"_s << Anrufhinweis::BildNachgetragen << u"Angerufen: 987654\nEingegangen, während Rufmon aus war"_s;
        QTest::newRow("from the list, nothing called") << QString() << Anrufhinweis::BildNachgetragen
                                                       << u"Eingegangen, während Rufmon aus war"_s;
    }

    void whatTheEntryTells()
    {
        QFETCH(QString, angerufen);
        QFETCH(int, bild);
        QFETCH(QString, tip);
        Anruferliste anrufe;
        Anruferlistenansicht liste(anrufe);
        liste.Modell().setColumns({{u"Nummer"_s, u"Nummer"_s, {}}, {u"Ort"_s, u"Ort"_s, {}}});
        liste.Modell().setToolTips(&Anrufhinweis::ToolTip);
        Anruf e;
        e.nummer = u"0301234567"_s;
        e.ort = u"Österreich/Steiermark/Graz-Umgebung"_s;
        e.bild = bild;
        e.angerufen = angerufen;
        anrufe.hinzufuegen(e);
        liste.resize(400, 200);
        liste.setColumnWidth(0, 200);
        liste.setColumnWidth(1, 40);
        liste.show();
        QCOMPARE(liste.Hinweis(liste.Modell().index(0, 0)), tip);
        // A place cut short shows whole first, then what the entry tells.
        const QString ort = liste.Hinweis(liste.Modell().index(0, 1));
        QCOMPARE(ort, tip.isEmpty() ? u"Österreich/Steiermark/Graz-Umgebung"_s
                                    : u"Österreich/Steiermark/Graz-Umgebung\n"_s + tip);
    }
};

QTEST_MAIN(tst_Anrufhinweis)
#include "tst_Anrufhinweis.moc"
