#pragma once
#include "errors/ErrorReport.h"
#include "ui/Prompts.h"

namespace velloran::platform {

// A plain message: the text, the application title as caption, no icon and
// an OK button.
inline void showPlainMessage(Prompts& prompts, const QString& text) {
    prompts.message(text, kApplicationTitle, MessageIcon::None, MessageButtons::Ok);
}

}  // namespace velloran::platform
