#pragma once

#include <QString>
#include <QStringList>

// What the program was asked to do on its command line.
struct Kommandozeile
{
    enum class Aktion { Starten, Hilfe, Version, Ort, Fehler };

    Aktion aktion = Aktion::Starten;
    QString fehler;          // the offending argument, for Fehler
    QStringList uebergabe;   // what a second start hands to the running program
    QStringList nummern;     // for Ort; "-" reads them from standard input

    static Kommandozeile lies(const QStringList &argumente);
    static QString Verwendung();
};
