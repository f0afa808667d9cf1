#pragma once

#include <QLoggingCategory>

// The desktop's services: notifications that could not be shown. Quiet by
// default; QT_LOGGING_RULES="rufmon.desktop.debug=true" for more.
Q_DECLARE_LOGGING_CATEGORY(lcDesktop)
