#pragma once

#include <QString>
#include <QStringList>

#include <random>

// Realistic numbers for the benchmarks: German numbers with real area codes
// and international numbers of the neighbouring countries and beyond.
QStringList BenchNummern(int anzahl, const QString &nummernMdb, std::mt19937 &zufall);
// A copy of the built phone database in a folder of the caller's.
QString KopiereNummernMdb(const QString &ordner);
