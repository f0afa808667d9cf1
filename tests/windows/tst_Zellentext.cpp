// List cells draw their text laid out once and kept. What the user sees must
// stay what the style draws: the colours of a selected row, the text cut
// with "…" where the column is too narrow and nothing beyond the cell, the
// alignment, the icon; and a cell whose text changes shows the new text.
#include "windows/Zellentext.h"

#include <QPixmap>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Zelle
{
    QString text;
    int breite = 200;
    bool ausgewaehlt = false;
    Qt::Alignment ausrichtung = Qt::AlignLeft | Qt::AlignVCenter;
    bool bild = false;
};

} // namespace

Q_DECLARE_METATYPE(Zelle)

namespace {

// The first cell of a one-row table drawn by the delegate, with a second,
// empty column beside it.
QImage zeichne(const Zelle &z, QAbstractItemDelegate *delegate, QRect *feld = nullptr)
{
    QStandardItemModel modell(1, 2);
    auto *eintrag = new QStandardItem(z.text);
    eintrag->setTextAlignment(z.ausrichtung);
    if (z.bild) {
        QPixmap p(16, 16);
        p.fill(Qt::darkGreen);
        eintrag->setIcon(QIcon(p));
    }
    modell.setItem(0, 0, eintrag);
    QTableView ansicht;
    ansicht.setModel(&modell);
    ansicht.setItemDelegate(delegate);
    ansicht.setShowGrid(false);
    // As the program's lists: one line a row.
    ansicht.setWordWrap(false);
    ansicht.setColumnWidth(0, z.breite);
    ansicht.setColumnWidth(1, 200);
    ansicht.resize(z.breite + 260, 90);
    if (z.ausgewaehlt)
        ansicht.selectRow(0);
    if (feld)
        *feld = ansicht.visualRect(modell.index(0, 0));
    return ansicht.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Pixels that differ more than antialiasing does.
int unterschiede(const QImage &a, const QImage &b, const QRect &bereich)
{
    int n = 0;
    for (int y = bereich.top(); y <= bereich.bottom(); ++y) {
        for (int x = bereich.left(); x <= bereich.right(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))})
                > 80)
                ++n;
        }
    }
    return n;
}

} // namespace

class tst_Zellentext : public QObject
{
    Q_OBJECT

private slots:
    void wieDerStil_data()
    {
        QTest::addColumn<Zelle>("zelle");
        QTest::newRow("text") << Zelle{u"Greta Grünwald"_s};
        QTest::newRow("selected") << Zelle{u"Greta Grünwald"_s, 200, true};
        QTest::newRow("cut at the end") << Zelle{u"Österreich/Graz Steiermark"_s, 70};
        QTest::newRow("cut and selected") << Zelle{u"Österreich/Graz Steiermark"_s, 70, true};
        QTest::newRow("right aligned") << Zelle{u"07.12.2026 22:28"_s, 200, false, Qt::AlignRight | Qt::AlignVCenter};
        QTest::newRow("with its icon") << Zelle{u"0301234567"_s, 200, true, Qt::AlignLeft | Qt::AlignVCenter, true};
    }
    void wieDerStil()
    {
        QFETCH(Zelle, zelle);
        QRect feld;
        QStyledItemDelegate stil;
        Zellentext gesetzt;
        const QImage soll = zeichne(zelle, &stil, &feld);
        const QImage ist = zeichne(zelle, &gesetzt);
        // A text moved by one pixel differs in a few of the cell's pixels; text
        // in the wrong colour, uncut or out of place in many.
        const int erlaubt = feld.width() * feld.height() / 25;
        QVERIFY2(unterschiede(soll, ist, feld) <= erlaubt,
                 qPrintable(u"%1 of %2 pixels differ"_s.arg(unterschiede(soll, ist, feld)).arg(feld.width() * feld.height())));
        // Nothing is drawn beyond the cell.
        const QRect daneben(feld.right() + 1, feld.top(), 200, feld.height());
        QCOMPARE(unterschiede(soll, ist, daneben), 0);
    }

    // The text a cell had before is never shown for its new one.
    void neuerTextNeuGesetzt()
    {
        Zellentext gesetzt;
        QStandardItemModel modell(1, 2);
        modell.setItem(0, 0, new QStandardItem(u"Anna Ahrens"_s));
        QTableView ansicht;
        ansicht.setModel(&modell);
        ansicht.setItemDelegate(&gesetzt);
        ansicht.setShowGrid(false);
        ansicht.setWordWrap(false);
        ansicht.setColumnWidth(0, 200);
        ansicht.setColumnWidth(1, 200);
        ansicht.resize(460, 90);
        const QImage vorher = ansicht.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        modell.item(0, 0)->setText(u"Bernd Brunner"_s);
        const QImage nachher = ansicht.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        Zellentext frisch;
        QCOMPARE(nachher, zeichne(Zelle{u"Bernd Brunner"_s}, &frisch));
        QVERIFY(nachher != vorher);
    }
};

QTEST_MAIN(tst_Zellentext)
#include "tst_Zellentext.moc"
