#pragma once

#include <QLoggingCategory>

// ACT!'s tables and the number cache: definitions that cannot be read, tables that do not open. Quiet
// by default (warnings only); switched on with QT_LOGGING_RULES="rufmon.actdb.debug=true". Caller data
// (numbers, names) is logged at debug level only.
Q_DECLARE_LOGGING_CATEGORY(lcActdb)
