#include "errors/ErrorReport.h"

namespace velloran::platform {

QString withFullStop(const QString& text) {
    if (text.isEmpty() || text.back().unicode() <= u'.') return text;
    return text + u'.';
}

void reportError(Prompts& prompts, const QString& text) {
    prompts.message(withFullStop(text), kApplicationTitle, MessageIcon::Error, MessageButtons::Ok);
}

}  // namespace velloran::platform
