#pragma once
// Prompts shown as real Qt dialogs, modal and parented to the active window
// (to its owner when that is a tool window).
#include "ui/Prompts.h"

class QWidget;

namespace velloran::platform {

class QtPrompts : public Prompts {
public:
    MessageAnswer message(const QString& text, const QString& caption, MessageIcon icon,
                          MessageButtons buttons) override;
    QString openFileName(const QString& filter, const QString& folder) override;
    SaveFileChoice saveFileName(const QString& filter, const QString& folder) override;
    InputResult input(const QString& caption, const QString& prompt, const QString& initial) override;
};

}  // namespace velloran::platform
