#include "telephony/DiagnoseTelefonie.h"

Q_LOGGING_CATEGORY(lcTelefonie, "rufmon.telephony", QtWarningMsg)
