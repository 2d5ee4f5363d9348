#include "errors/ErrorReport.h"

#include "errors/Diagnostics.h"
#include "errors/Failure.h"

namespace velloran::platform {

QString failureText(const std::exception& error) {
    if (hidesDetail(error)) qCWarning(diagnostics).noquote() << QString::fromStdString(describeFailure(error, true));
    return QString::fromStdString(describeFailure(error, false));
}

QString withFullStop(const QString& text) {
    if (text.isEmpty() || text.back().unicode() <= u'.') return text;
    return text + u'.';
}

void reportError(Prompts& prompts, const QString& text) {
    prompts.message(withFullStop(text), kApplicationTitle, MessageIcon::Error, MessageButtons::Ok);
}

}  // namespace velloran::platform
