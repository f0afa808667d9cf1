#pragma once

#include <QLoggingCategory>

// The line control and the caller identification: lost lines, failed look-ups. Quiet by default
// (warnings only); switched on with QT_LOGGING_RULES="rufmon.telephony.debug=true". Caller data
// (numbers, names) is logged at debug level only.
Q_DECLARE_LOGGING_CATEGORY(lcTelefonie)
