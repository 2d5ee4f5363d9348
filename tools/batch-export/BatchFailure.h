#pragma once
// How the batch tool ends: its exit statuses, and the failures it throws
// itself (platform::Failure with a message for the user).
#include "common/CommandLine.h"
#include "errors/Failure.h"

#include <QString>

#include <exception>

namespace velloran::batch {

enum ExitStatus : int {
    kExported = 0,      // the whole view was exported (or the list printed)
    kNotExported = tools::kFailedStatus,  // the run failed, or something was not exported
    kUsageError = tools::kUsageStatus,    // the command line cannot be taken
    kInterrupted = 130  // Ctrl+C or SIGTERM ended the run
};

inline platform::Failure batchFailure(platform::Failure::Kind kind, const QString& message,
                                      const platform::FailureDetails& details = {}) {
    return platform::Failure(kind, message.toStdString(), details);
}

// A command line the tool cannot take.
inline platform::Failure usageFailure(const QString& message) {
    return batchFailure(platform::Failure::Kind::Usage, message + QStringLiteral("（见 --help）"));
}

// The status a failure ends the tool with: kUsageError for a usage mistake.
inline ExitStatus exitStatusOf(const std::exception& error) {
    return platform::isFailure(error, platform::Failure::Kind::Usage) ? kUsageError : kNotExported;
}

}  // namespace velloran::batch
