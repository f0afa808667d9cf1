#include "actcontrol/Diagnose.h"

Q_LOGGING_CATEGORY(lcActcontrol, "rufmon.actcontrol", QtWarningMsg)
