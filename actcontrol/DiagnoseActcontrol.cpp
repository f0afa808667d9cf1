#include "actcontrol/DiagnoseActcontrol.h"

Q_LOGGING_CATEGORY(lcActcontrol, "rufmon.actcontrol", QtWarningMsg)
