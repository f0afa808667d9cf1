#pragma once

#include <QLoggingCategory>

// The team journal: connections, outages, replays. Quiet by default (warnings
// only); switched on with QT_LOGGING_RULES="rufmon.team.info=true". Caller
// data is never logged.
Q_DECLARE_LOGGING_CATEGORY(lcTeam)
