#pragma once

#include <QString>
#include <QStringList>

// What the program was asked to do on its command line.
struct Kommandozeile
{
    enum class Aktion { Starten, Hilfe, Version, Fehler };

    Aktion aktion = Aktion::Starten;
    QString fehler;          // the offending argument, for Fehler
    QStringList uebergabe;   // what a second start hands to the running program

    static Kommandozeile lies(const QStringList &argumente);
    static QString Verwendung();
};
