#include "app/Diagnose.h"

Q_LOGGING_CATEGORY(lcApp, "rufmon.app", QtWarningMsg)
