#pragma once

#include <QLoggingCategory>

// What the line devices meet on the wire: lost and restored connections, lines they skip. Quiet by
// default (warnings only); switched on with QT_LOGGING_RULES="rufmon.line.debug=true". Caller data
// (numbers, names) is logged at debug level only.
Q_DECLARE_LOGGING_CATEGORY(lcLeitung)
