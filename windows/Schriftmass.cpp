#include "windows/Schriftmass.h"

#include <QFontMetricsF>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// The average over the letters, as dialog units are measured; a font's own
// "average width" figure differs between font makers and tells little.
double buchstabenmittel(const QFont &schrift)
{
    static const QString buchstaben = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"_s;
    return QFontMetricsF(schrift).horizontalAdvance(buchstaben) / buchstaben.size();
}

} // namespace

Schriftmass::Schriftmass(const QFont &schrift, double twipsProPixel)
    : m_zeichenbreite(buchstabenmittel(schrift))
    , m_faktor(1.0)
{
    const double twips = m_zeichenbreite * twipsProPixel;
    // A smaller font fits the design sizes as they are, and a font that
    // measures nothing (no font engine) keeps them too.
    if (std::isfinite(twips) && twips > BezugsbreiteTwips)
        m_faktor = twips / BezugsbreiteTwips;
}

int Schriftmass::px(double entwurfsPixel) const
{
    return static_cast<int>(std::lround(entwurfsPixel * m_faktor));
}
