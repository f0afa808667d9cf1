#include "platform/benachrichtigung/DiagnoseDesktop.h"

Q_LOGGING_CATEGORY(lcDesktop, "rufmon.desktop", QtWarningMsg)
