// Renders an SVG file as a square PNG of the given size, for the icon
// theme's fixed sizes: rufmon-svgpng ICON.svg SIZE OUT.png
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char **argv)
{
    // The icon has no text: no fonts, so no GUI application and no display.
    QCoreApplication app(argc, argv);
    const QStringList a = QCoreApplication::arguments();
    bool ok = false;
    const int groesse = a.size() == 4 ? a[2].toInt(&ok) : 0;
    if (!ok || groesse <= 0) {
        std::fputs("Aufruf: rufmon-svgpng BILD.svg GROESSE AUS.png\n", stderr);
        return 2;
    }
    QSvgRenderer svg(a[1]);
    if (!svg.isValid()) {
        std::fprintf(stderr, "rufmon-svgpng: %s ist kein lesbares SVG\n", qPrintable(a[1]));
        return 1;
    }
    QImage bild(groesse, groesse, QImage::Format_ARGB32_Premultiplied);
    bild.fill(Qt::transparent);
    QPainter maler(&bild);
    svg.render(&maler);
    maler.end();
    return bild.save(a[3], "PNG") ? 0 : 1;
}
