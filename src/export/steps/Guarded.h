#pragma once
// A guarded step of the export: a failure inside ends the step, is written
// to the log right after it as one line naming what was not exported and
// why, and the export goes on with its next step. A log that cannot be
// written is not a step's failure: the log counts its lost lines itself.
#include "log/ExportLog.h"
#include "log/RunLog.h"

#include <exception>

namespace velloran::exporting {

class StepGuard {
public:
    explicit StepGuard(const RunLog& log) : log_(log) {}

    // Runs `step` of document n; false when it failed. `what` names what the
    // step exports (an attachment, object or item name).
    template <class Step>
    bool run(int n, const QString& what, Step&& step) const {
        try {
            step();
            return true;
        } catch (const std::exception& error) {
            if (platform::isFailure(error, platform::Failure::Kind::Log)) throw;
            report(n, what, error);
            return false;
        }
    }

    // Logs a failure that was caught elsewhere.
    void report(int n, const QString& what, const std::exception& error) const;

private:
    const RunLog& log_;
};

}  // namespace velloran::exporting
