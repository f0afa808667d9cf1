#include "platform/telephony/DiagnoseLeitung.h"

Q_LOGGING_CATEGORY(lcLeitung, "rufmon.line", QtWarningMsg)
