// The settings windows of the line devices and of the dialing rules as the
// keyboard and the eye meet them: every label leads to its field by its
// letter, and the fields show their texts whole.
#include "platform/kennwort/SitzungsKennwortspeicher.h"
#include "platform/telephony/CallMonitorDevice.h"
#include "platform/telephony/CallMonitorDialog.h"
#include "platform/telephony/ModemDevice.h"
#include "platform/telephony/ModemDialog.h"
#include "platform/telephony/TelefonanlageDevice.h"
#include "platform/telephony/TelefonanlageDialog.h"
#include "platform/telephony/WaehlregelnDialog.h"

#include "doubles/MemorySettings.h"
#include "doubles/ScriptedDialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// One device of each kind on settings of the test's own.
struct Geraete
{
    MemorySettings settings;
    SitzungsKennwortspeicher kennwoerter;
    ScriptedDialogs dialogs;
    CallMonitorDevice router{u"fritz.box"_s, 1012, settings};
    TelefonanlageDevice anlage{TelefonanlageDevice::Anlage{1, {u"pbx.example"_s, 5038}, u"rufmon"_s, {}, {}},
                               settings, kennwoerter, &dialogs};
    std::unique_ptr<ModemDevice> modem;

    Geraete() { router.setKennwoerter(&kennwoerter, nullptr); }

    std::unique_ptr<QDialog> dialog(const QString &art)
    {
        if (art == u"router"_s)
            return std::make_unique<CallMonitorDialog>(router);
        if (art == u"anlage"_s)
            return std::make_unique<TelefonanlageDialog>(anlage);
        if (art == u"modem"_s) {
            modem = std::make_unique<ModemDevice>(u"/dev/ttyACM0"_s, settings);
            return std::make_unique<ModemDialog>(*modem);
        }
        return std::make_unique<WaehlregelnDialog>(settings);
    }
};

// The width in which a text field draws its text, as the field paints it.
int textbreite(const QLineEdit &feld)
{
    QStyleOptionFrame option;
    option.initFrom(&feld);
    option.rect = feld.rect();
    option.lineWidth = feld.hasFrame() ? feld.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &feld) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    option.features = QStyleOptionFrame::None;
    const QRect innen =
        feld.style()->subElementRect(QStyle::SE_LineEditContents, &option, &feld).marginsRemoved(feld.textMargins());
    // The field keeps two pixels free on either side of the text.
    return innen.width() - 2 * 2;
}

bool zeigen(QDialog &d)
{
    d.show();
    d.activateWindow();
    return QTest::qWaitForWindowActive(&d);
}

} // namespace

class tst_Geraetedialoge : public QObject
{
    Q_OBJECT

private slots:
    void labelsLeadToTheirFields_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QStringList>("felder");
        QTest::newRow("router") << u"router"_s << QStringList{u"host"_s, u"port"_s, u"benutzer"_s, u"kennwort"_s};
        QTest::newRow("telephone system")
            << u"anlage"_s
            << QStringList{u"host"_s, u"port"_s, u"benutzer"_s, u"kennwort"_s, u"nebenstelle"_s, u"kontext"_s};
        QTest::newRow("modem") << u"modem"_s << QStringList{u"port"_s, u"speed"_s, u"init"_s};
        QTest::newRow("dialing rules") << u"waehlregeln"_s << QStringList{u"Standort"_s, u"Amtskennziffer"_s};
    }
    void labelsLeadToTheirFields()
    {
        QFETCH(QString, art);
        QFETCH(QStringList, felder);
        Geraete g;
        const std::unique_ptr<QDialog> d = g.dialog(art);
        QVERIFY(zeigen(*d));
        auto *form = d->findChild<QFormLayout *>();
        QVERIFY(form);
        QPushButton *weg = d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel);

        QStringList erreicht;
        QMap<QString, QStringList> nachBuchstabe;
        for (int zeile = 0; zeile < form->rowCount(); ++zeile) {
            QLayoutItem *links = form->itemAt(zeile, QFormLayout::LabelRole);
            QLayoutItem *rechts = form->itemAt(zeile, QFormLayout::FieldRole);
            if (!links || !rechts)
                continue; // a hint or the buttons, over the whole width
            auto *label = qobject_cast<QLabel *>(links->widget());
            QWidget *feld = rechts->widget();
            QVERIFY(label && feld);
            const QKeySequence taste = QKeySequence::mnemonic(label->text());
            QVERIFY2(!taste.isEmpty(), qPrintable(label->text()));
            QCOMPARE(label->buddy(), feld);
            nachBuchstabe[taste.toString()] << label->text();
            // The letter takes the focus from elsewhere to the field.
            weg->setFocus();
            QTest::keyClick(d.get(), taste[0].key(), taste[0].keyboardModifiers());
            QVERIFY2(feld->hasFocus() || feld->isAncestorOf(QApplication::focusWidget()), qPrintable(label->text()));
            erreicht << feld->objectName();
        }
        QCOMPARE(erreicht, felder);
        for (QAbstractButton *knopf : d->findChild<QDialogButtonBox *>()->buttons()) {
            const QKeySequence taste = QKeySequence::mnemonic(knopf->text());
            if (!taste.isEmpty())
                nachBuchstabe[taste.toString()] << knopf->text();
        }
        for (auto it = nachBuchstabe.cbegin(); it != nachBuchstabe.cend(); ++it)
            QVERIFY2(it.value().size() == 1, qPrintable(it.key() + u": "_s + it.value().join(u", "_s)));
    }

    // The examples and the usual init string, and an init string of the user's own.
    void textsFitTheirFields_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QString>("init"); // ModemInit in the settings; none when empty
        QTest::addColumn<bool>("platzhalter");
        QTest::newRow("router: user for dialing") << u"router"_s << u"benutzer"_s << QString() << true;
        QTest::newRow("telephone system: extension") << u"anlage"_s << u"nebenstelle"_s << QString() << true;
        QTest::newRow("telephone system: context") << u"anlage"_s << u"kontext"_s << QString() << true;
        QTest::newRow("modem: usual init string") << u"modem"_s << u"init"_s << QString() << false;
        QTest::newRow("modem: a longer one") << u"modem"_s << u"init"_s << u"AT&F E0 V1 S0=0 &C1 &D2 X4 +FCLASS=8"_s
                                             << false;
    }
    void textsFitTheirFields()
    {
        QFETCH(QString, art);
        QFETCH(QString, feld);
        QFETCH(QString, init);
        QFETCH(bool, platzhalter);
        Geraete g;
        if (!init.isEmpty())
            g.settings.SaveSetting(u"Telefonie"_s, u"ModemInit"_s, init);
        const std::unique_ptr<QDialog> d = g.dialog(art);
        QVERIFY(zeigen(*d));
        auto *zeile = d->findChild<QLineEdit *>(feld);
        QVERIFY(zeile);
        const QString text = platzhalter ? zeile->placeholderText() : zeile->text();
        QCOMPARE(text.isEmpty(), false);
        if (!platzhalter)
            QCOMPARE(text, init.isEmpty() ? ModemDevice::defaultInitString() : init);
        const int braucht = zeile->fontMetrics().horizontalAdvance(text);
        QVERIFY2(braucht <= textbreite(*zeile),
                 qPrintable(u"„%1“ braucht %2, das Feld zeigt %3"_s.arg(text).arg(braucht).arg(textbreite(*zeile))));
    }
};

QTEST_MAIN(tst_Geraetedialoge)
#include "tst_Geraetedialoge.moc"
