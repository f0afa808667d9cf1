#pragma once

#include <QLoggingCategory>

// ACT! and the foreign windows: windows not found, keys not typed. Quiet by default (warnings only);
// switched on with QT_LOGGING_RULES="rufmon.actcontrol.debug=true". Caller data (numbers, names) is
// logged at debug level only.
Q_DECLARE_LOGGING_CATEGORY(lcActcontrol)
