#pragma once
// The program's diagnostics channel, on standard error: the precise reason
// behind a failure whose user-facing message is a fixed text ("请确认您电脑上
// 是否安装了EXCEL！"), so that whoever looks into it still finds the cause.
#include <QLoggingCategory>

#include <exception>

namespace velloran::platform {

Q_DECLARE_LOGGING_CATEGORY(diagnostics)

// Writes "<what>: <the reason in its reporter's own words>" (originalOf: the
// English detail a Failure keeps beside its Chinese text) to the
// diagnostics channel.
void logCaughtReason(const char* what, const std::exception& reason);

}  // namespace velloran::platform
