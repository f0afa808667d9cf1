#include "platform/telephony/Diagnose.h"

Q_LOGGING_CATEGORY(lcLeitung, "rufmon.line", QtWarningMsg)
