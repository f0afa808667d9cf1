#pragma once

#include <QLoggingCategory>

// The database engine: trigram tables that could not be built on the second
// core and were filled in place. Quiet by default (warnings only); switched
// on with QT_LOGGING_RULES="rufmon.jet.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcJet)
