#include "platform/desktop/DiagnoseFenster.h"

Q_LOGGING_CATEGORY(lcFenster, "rufmon.windows", QtWarningMsg)
