#pragma once
#include "errors/GuardedApplication.h"

namespace velloran::testing {

// The one application object of the Qt test program, made before the first
// test and destroyed after the last.
platform::GuardedApplication& testApplication();

}  // namespace velloran::testing
