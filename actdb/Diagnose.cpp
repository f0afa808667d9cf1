#include "actdb/Diagnose.h"

Q_LOGGING_CATEGORY(lcActdb, "rufmon.actdb", QtWarningMsg)
