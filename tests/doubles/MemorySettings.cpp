#include "MemorySettings.h"
