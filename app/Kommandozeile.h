#pragma once

#include <QString>
#include <QStringList>

// What the program was asked to do on its command line.
struct Kommandozeile
{
    // Uebergabe: a call for the simulator of the running program.
    enum class Aktion { Starten, Hilfe, Version, Ort, Uebergabe, Fehler };

    Aktion aktion = Aktion::Starten;
    QString fehler;          // the offending argument, for Fehler
    QStringList uebergabe;   // what a second start hands to the running program
    QStringList nummern;     // for Ort; "-" reads them from standard input
    bool verbunden = false;  // for Uebergabe: a connected number rather than a call
    QString nummer;          // for Uebergabe
    QString name;            // for Uebergabe
    QString actDatenbank;    // for Starten: the ACT! contact table to use

    static Kommandozeile lies(const QStringList &argumente);
    static QString Verwendung();
    // Why a path given with --act cannot be the contact table; empty when it can.
    static QString PruefeACTDatenbank(const QString &pfad);
};
