#pragma once
// How the batch tool ends: its exit statuses, and the failure that carries
// one with a message for the user.
#include "common/CommandLine.h"

#include <QString>

#include <stdexcept>

namespace velloran::batch {

enum ExitStatus : int {
    kExported = 0,      // the whole view was exported (or the list printed)
    kNotExported = tools::kFailedStatus,  // the run failed, or something was not exported
    kUsageError = tools::kUsageStatus,    // the command line cannot be taken
    kInterrupted = 130  // Ctrl+C or SIGTERM ended the run
};

class BatchFailure : public std::runtime_error {
public:
    BatchFailure(ExitStatus status, const QString& message)
        : std::runtime_error(message.toStdString()), status_(status) {}

    ExitStatus status() const { return status_; }

private:
    ExitStatus status_;
};

// A command line the tool cannot take.
inline BatchFailure usageFailure(const QString& message) {
    return BatchFailure(kUsageError, message + QStringLiteral("（见 --help）"));
}

}  // namespace velloran::batch
