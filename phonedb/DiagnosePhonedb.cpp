#include "phonedb/DiagnosePhonedb.h"

Q_LOGGING_CATEGORY(lcPhonedb, "rufmon.phonedb", QtWarningMsg)
