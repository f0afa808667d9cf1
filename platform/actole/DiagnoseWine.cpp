#include "platform/actole/DiagnoseWine.h"

Q_LOGGING_CATEGORY(lcWine, "rufmon.wine", QtWarningMsg)
