#pragma once

#include <QLoggingCategory>

// The program's start and end: signals, hand-overs, exit steps that fail. Quiet by default (warnings
// only); switched on with QT_LOGGING_RULES="rufmon.app.debug=true". Caller data (numbers, names) is
// logged at debug level only.
Q_DECLARE_LOGGING_CATEGORY(lcApp)
