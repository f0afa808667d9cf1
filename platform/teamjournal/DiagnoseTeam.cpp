#include "platform/teamjournal/DiagnoseTeam.h"

Q_LOGGING_CATEGORY(lcTeam, "rufmon.team", QtWarningMsg)
