#include "platform/jet/DiagnoseJet.h"

Q_LOGGING_CATEGORY(lcJet, "rufmon.jet", QtWarningMsg)
