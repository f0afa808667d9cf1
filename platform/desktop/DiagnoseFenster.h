#pragma once

#include <QLoggingCategory>

// Foreign windows and keys on X11: activation without a window manager,
// pastes nobody took.
Q_DECLARE_LOGGING_CATEGORY(lcFenster)
