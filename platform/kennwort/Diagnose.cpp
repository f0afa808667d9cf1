#include "platform/kennwort/Diagnose.h"

Q_LOGGING_CATEGORY(lcKennwort, "rufmon.keyring", QtWarningMsg)
