#include "windows/Breitenverteilung.h"

#include <QTest>

class tst_Breitenverteilung : public QObject
{
    Q_OBJECT

private slots:
    void verteilt_data()
    {
        QTest::addColumn<int>("platz");
        QTest::addColumn<QList<int>>("anteile");
        QTest::addColumn<QList<int>>("bedarf");
        QTest::addColumn<QList<int>>("breiten");

        // Short texts: the design's shares, room to spare left unused.
        QTest::newRow("shares fit") << 500 << QList<int>{100, 103, 100} << QList<int>{40, 90, 0}
                                    << QList<int>{100, 103, 100};
        // A need beyond its share is met when the room holds all wishes.
        QTest::newRow("need beyond share, room enough") << 500 << QList<int>{100, 100, 100}
                                                        << QList<int>{80, 212, 150} << QList<int>{100, 212, 150};
        // The wishes do not fit, the needs do: the rest goes to those that wished for
        // more, as much as each wished for (60 and 150 of the 150 left).
        QTest::newRow("needs fit, rest shared") << 450 << QList<int>{150, 150, 150} << QList<int>{90, 210, 0}
                                                << QList<int>{132, 210, 107};
        // Not even the needs fit: short texts whole, the long ones share what is left.
        QTest::newRow("needs do not fit") << 300 << QList<int>{100, 100, 100} << QList<int>{50, 200, 400}
                                          << QList<int>{50, 125, 125};
        QTest::newRow("one long, room for it but not the rest") << 100 << QList<int>{10, 10}
                                                                << QList<int>{30, 500} << QList<int>{30, 70};
        QTest::newRow("no room") << 0 << QList<int>{100, 100} << QList<int>{10, 10} << QList<int>{0, 0};
        QTest::newRow("negative room") << -20 << QList<int>{100} << QList<int>{10} << QList<int>{0};
        QTest::newRow("nothing to share") << 300 << QList<int>() << QList<int>() << QList<int>();
    }
    void verteilt()
    {
        QFETCH(int, platz);
        QFETCH(QList<int>, anteile);
        QFETCH(QList<int>, bedarf);
        QFETCH(QList<int>, breiten);
        const QList<int> ergebnis = VerteileBreiten(platz, anteile, bedarf);
        QCOMPARE(ergebnis, breiten);
        int summe = 0;
        for (int b : ergebnis)
            summe += b;
        // Whatever the wishes, never more than the room (unless the shares themselves fit).
        QVERIFY(summe <= std::max(platz, 0));
    }
};

QTEST_GUILESS_MAIN(tst_Breitenverteilung)
#include "tst_Breitenverteilung.moc"
