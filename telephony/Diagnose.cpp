#include "telephony/Diagnose.h"

Q_LOGGING_CATEGORY(lcTelefonie, "rufmon.telephony", QtWarningMsg)
