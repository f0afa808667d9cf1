#pragma once

#include <QLoggingCategory>

// The phone database and the caller list: rows that cannot be read or stored. Quiet by default
// (warnings only); switched on with QT_LOGGING_RULES="rufmon.phonedb.debug=true". Caller data
// (numbers, names) is logged at debug level only.
Q_DECLARE_LOGGING_CATEGORY(lcPhonedb)
