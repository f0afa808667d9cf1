// The program's commands that need no window, in a program built from the
// libraries below the windows alone: proof that they link no widgets.
#include "app/Kommandozeile.h"
#include "app/Konsolenbefehl.h"

#include <cstdio>

int main(int argc, char **argv)
{
    QStringList argumente;
    for (int i = 0; i < argc; ++i)
        argumente.append(QString::fromLocal8Bit(argv[i]));
    const Kommandozeile befehl = Kommandozeile::lies(argumente);
    if (const auto ergebnis = Konsolenbefehl(befehl, argc, argv, false))
        return *ergebnis;
    std::fputs("rufmon-konsole: hat kein Fenster; zum Starten dient rufmon.\n", stderr);
    return 2;
}
