#pragma once

#include <QString>

class topTapi;

// A flag list of the telephony control ("<A><B>") as one flag per line, each
// indented by a tab, for the driver information.
QString Flagliste(const QString &flags);

// The summary of the current line device's capabilities, preceded by the
// record of the last incoming call when there is one.
QString Treiberinformation(const topTapi &tapi, const QString &letzterAnruf);
