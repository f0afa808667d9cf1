#include "platform/system/Ortszeit.h"

#include <cstdlib>
#include <ctime>

void Ortszeit::festhalten()
{
    if (std::getenv("TZ") == nullptr) {
        ::setenv("TZ", ":/etc/localtime", 0);
        ::tzset();
    }
}
