#include "platform/actole/Diagnose.h"

Q_LOGGING_CATEGORY(lcWine, "rufmon.wine", QtWarningMsg)
