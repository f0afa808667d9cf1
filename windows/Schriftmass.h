#pragma once

#include <QFont>

// How much wider the running font writes than the font the window's design
// sizes were made for. Those sizes, in twips and in design pixels, fit an
// 8-point sans-serif dialog font whose letters average 6 pixels at 96 dots
// per inch (90 twips); a larger desktop font needs them larger by the same
// ratio, or texts that fitted there are cut off here. A smaller font keeps
// them: the window is never smaller than designed.
class Schriftmass
{
public:
    static constexpr double BezugsbreiteTwips = 90.0;

    // twipsProPixel: the screen's twips per pixel, which turns the font's
    // pixel width into twips.
    Schriftmass(const QFont &schrift, double twipsProPixel);

    double Faktor() const { return m_faktor; }
    // The font's average letter width in pixels.
    double Zeichenbreite() const { return m_zeichenbreite; }
    // A design size, scaled and rounded to whole pixels or twips.
    int px(double entwurfsPixel) const;
    double twips(double entwurfsTwips) const { return entwurfsTwips * m_faktor; }

private:
    double m_zeichenbreite;
    double m_faktor;
};
