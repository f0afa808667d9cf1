#pragma once

#include <QLoggingCategory>

// The keyring: whether it answers and why not. Never a password, at no level.
Q_DECLARE_LOGGING_CATEGORY(lcKennwort)
