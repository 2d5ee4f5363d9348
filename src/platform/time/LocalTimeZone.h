#pragma once

namespace velloran::platform {

// Without TZ in the environment the C library looks at /etc/localtime again
// for every local time it computes; the export stamps millions of log lines.
// Naming the zone file once in TZ lets the library read it once. A TZ the
// user set is kept.
void settleLocalTimeZone();

}  // namespace velloran::platform
