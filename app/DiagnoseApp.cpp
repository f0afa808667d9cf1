#include "app/DiagnoseApp.h"

Q_LOGGING_CATEGORY(lcApp, "rufmon.app", QtWarningMsg)
