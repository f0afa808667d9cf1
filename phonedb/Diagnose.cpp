#include "phonedb/Diagnose.h"

Q_LOGGING_CATEGORY(lcPhonedb, "rufmon.phonedb", QtWarningMsg)
