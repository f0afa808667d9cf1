// The foreign-window search on a busy desktop: an X server of its own with
// a hundred top-level windows of ten inner windows each, and the history
// dialog's OK button found (or not) by the button guard.
#include "actcontrol/clButtonGuard.h"
#include "platform/desktop/X11Desktop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>

#include <benchmark/benchmark.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <string>

using namespace Qt::StringLiterals;

namespace {

constexpr int Hauptfenster = 100;
constexpr int Kindfenster = 10;

struct Schreibtisch
{
    QProcess xvfb;
    Display *anzeige = nullptr;

    bool starte()
    {
        const QString programm = QStandardPaths::findExecutable(u"Xvfb"_s);
        if (programm.isEmpty())
            return false;
        xvfb.start(programm, {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s});
        QByteArray nummer;
        const QDeadlineTimer frist(15000);
        while (!nummer.contains('\n') && !frist.hasExpired()) {
            xvfb.waitForReadyRead(100);
            nummer += xvfb.readAllStandardOutput();
        }
        qputenv("DISPLAY", ":" + nummer.trimmed());
        anzeige = XOpenDisplay(nullptr);
        if (!anzeige)
            return false;
        const Window wurzel = DefaultRootWindow(anzeige);
        auto fenster = [&](Window eltern, const char *klasse, const std::string &text) {
            const Window w = XCreateSimpleWindow(anzeige, eltern, 0, 0, 50, 20, 0, 0, 0);
            XClassHint hinweis{const_cast<char *>("bench"), const_cast<char *>(klasse)};
            XSetClassHint(anzeige, w, &hinweis);
            XStoreName(anzeige, w, text.c_str());
            XMapWindow(anzeige, w);
            return w;
        };
        // The dialog lies at the bottom: every window is looked at.
        const Window dialog = fenster(wurzel, "#32770", "Protokoll aufzeichnen Meier");
        fenster(dialog, "Button", "OK");
        for (int i = 0; i < Hauptfenster - 1; ++i) {
            const Window w = fenster(wurzel, "Other", "Fenster " + std::to_string(i));
            for (int k = 0; k < Kindfenster; ++k)
                fenster(w, "Button", "Knopf " + std::to_string(k));
        }
        XSync(anzeige, False);
        return true;
    }

    ~Schreibtisch()
    {
        if (anzeige)
            XCloseDisplay(anzeige);
        xvfb.kill();
        xvfb.waitForFinished();
    }
};

Schreibtisch *schreibtisch = nullptr;

void WindowExist(benchmark::State &state, const char *konfiguration, bool erwartet)
{
    if (!schreibtisch) {
        state.SkipWithError("no X server");
        return;
    }
    X11Desktop desktop;
    clButtonGuard guard(desktop);
    guard.SetConfiguration(QString::fromUtf8(konfiguration));
    for (auto _ : state) {
        const bool da = guard.WindowExist();
        if (da != erwartet) {
            state.SkipWithError("unexpected result");
            break;
        }
        benchmark::DoNotOptimize(da);
    }
}

void WindowExist_gefunden(benchmark::State &state)
{
    WindowExist(state, "OK|Button|Protokoll aufzeichnen |#32770", true);
}
void WindowExist_nichtGefunden(benchmark::State &state)
{
    WindowExist(state, "OK|Button|Kein solcher Dialog|#32770", false);
}

BENCHMARK(WindowExist_gefunden)->Unit(benchmark::kMillisecond);
BENCHMARK(WindowExist_nichtGefunden)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Schreibtisch s;
    if (s.starte())
        schreibtisch = &s;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
