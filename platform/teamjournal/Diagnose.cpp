#include "platform/teamjournal/Diagnose.h"

Q_LOGGING_CATEGORY(lcTeam, "rufmon.team", QtWarningMsg)
