#pragma once
// The frame of a dialog that cannot be resized: a title and a close button,
// no minimise or maximise button.
#include <Qt>

namespace velloran::platform {

inline constexpr Qt::WindowFlags kFixedSizeDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

}  // namespace velloran::platform
