#include "platform/telephony/Feldbreite.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

// What a text field keeps free beside its text on each side, inside its
// margins (QLineEdit's own, not to be had from the style).
constexpr int Textabstand = 2;

} // namespace

int Feldbreite(const QLineEdit &feld, const QString &text)
{
    feld.ensurePolished();
    const QFontMetrics mass(feld.font());
    const QMargins rand = feld.textMargins();
    // One pixel more for the cursor behind the last letter.
    const int innen = mass.horizontalAdvance(text) + 2 * Textabstand + rand.left() + rand.right() + 1;
    QStyleOptionFrame option;
    option.initFrom(&feld);
    option.rect = feld.contentsRect();
    option.lineWidth = feld.hasFrame() ? feld.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &feld) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    option.features = QStyleOptionFrame::None;
    return feld.style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(innen, mass.height()), &feld).width();
}
