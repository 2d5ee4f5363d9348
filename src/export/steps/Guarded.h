#pragma once
// A guarded step of the export: a failure anywhere inside ends the step
// silently and the export goes on with its next step.
#include <exception>

namespace velloran::exporting {

template <class Step>
void runGuarded(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
        // Swallowed by design: guarded steps never report to the user.
    }
}

}  // namespace velloran::exporting
