#include "platform/kennwort/DiagnoseKennwort.h"

Q_LOGGING_CATEGORY(lcKennwort, "rufmon.keyring", QtWarningMsg)
