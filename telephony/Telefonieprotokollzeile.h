#pragma once

#include <QDateTime>
#include <QString>

// One line of the telephony log as it is appended: a line break, the moment
// in the user's short date and long time, the event's name and its values
// on the same line.
QString Telefonieprotokollzeile(const QString &ereignis, const QString &werte, const QDateTime &zeitpunkt);
