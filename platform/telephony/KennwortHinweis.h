#pragma once

#include <QString>

// The line under a device's password field: where a password typed there goes.
QString KennwortHinweis(bool dauerhaft);
