#pragma once

#include <QLoggingCategory>

// The trail of ACT! under Wine: the bridge started, restarted, failing, and
// keys that could not be typed. Switched on with
// QT_LOGGING_RULES="rufmon.wine.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcWine)
