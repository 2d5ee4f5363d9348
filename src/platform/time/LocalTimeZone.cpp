#include "time/LocalTimeZone.h"

#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace velloran::platform {

void settleLocalTimeZone() {
    const char* zone = std::getenv("TZ");
    if (zone && *zone) return;
    if (::access("/etc/localtime", R_OK) != 0) return;
    ::setenv("TZ", ":/etc/localtime", 1);
    ::tzset();
}

}  // namespace velloran::platform
