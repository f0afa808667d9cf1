// Development aid: saves a picture of the whole X screen, for looking at the
// program under Xvfb. Usage: rufmon-screenshot FILE.png
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: rufmon-screenshot FILE.png\n", stderr);
        return 2;
    }
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen || !screen->grabWindow(0).save(QString::fromLocal8Bit(argv[1]))) {
        std::fputs("rufmon-screenshot: could not grab or save the screen\n", stderr);
        return 1;
    }
    return 0;
}
