#include "platform/benachrichtigung/Diagnose.h"

Q_LOGGING_CATEGORY(lcDesktop, "rufmon.desktop", QtWarningMsg)
