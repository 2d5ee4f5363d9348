#pragma once
// The application-wide error report: what a command or a window event does
// not handle itself is shown to the user in one standard message box, and
// the program goes on.
#include "ui/Prompts.h"

#include <QString>

#include <exception>

namespace velloran::platform {

// The caption of the program's message boxes.
inline const QString kApplicationTitle = QStringLiteral("VelloranV3.4");

// Appends "." unless the text is empty or ends in a character whose code is
// at most that of the full stop: "Failed!" and "Failed." stay as they are,
// texts ending in a letter, a digit or a Chinese character get the stop.
QString withFullStop(const QString& text);

// A failure as the window shows it: describeFailure (see Failure.h)
// without the detail, which goes to the diagnostics channel instead when it
// says more.
QString failureText(const std::exception& error);

// Shows the text (with the full stop) in a message box captioned with the
// application title, with an error icon and an OK button.
void reportError(Prompts& prompts, const QString& text);

}  // namespace velloran::platform
