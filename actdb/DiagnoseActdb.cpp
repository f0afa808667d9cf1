#include "actdb/DiagnoseActdb.h"

Q_LOGGING_CATEGORY(lcActdb, "rufmon.actdb", QtWarningMsg)
