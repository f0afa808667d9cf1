#pragma once

#include <QString>

// Text helpers for contact identifiers and separated lists. Positions are
// 1-based and comparisons exact, as the stored data expects.
QString Auffuellen12(const QString &text);
QString IDInKlammern(const QString &id);
QString IDAusKlammern(const QString &text);
int AnzahlElemente(const QString &liste, const QString &trenner);
QString Element(const QString &liste, const QString &trenner, int i);
bool InListe(const QString &liste, const QString &item, const QString &trenner);
