#pragma once

#include <QStringList>

#include <cstdio>

class clRufmonDaten;

// Prints for each number how the phone database splits it: five lines
// "Laendervorwahl: ", "Vorwahl: ", "Anschluss: ", "Land: ", "Ort: " and a
// blank line. "-" as the only number reads one number per line from `ein`.
// Returns the exit code.
int OrtAusgabe(clRufmonDaten &daten, const QStringList &nummern, std::FILE *ein, std::FILE *aus, std::FILE *fehler);
