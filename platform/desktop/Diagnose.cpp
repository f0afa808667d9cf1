#include "platform/desktop/Diagnose.h"

Q_LOGGING_CATEGORY(lcFenster, "rufmon.windows", QtWarningMsg)
