#pragma once
// What the browsing commands work on: the shared state, the tree and the
// list of the main window, the status bar's summary panel, and how they
// talk to the user.
#include "BrowseState.h"
#include "ui/Prompts.h"
#include "ui/WaitIndicator.h"

#include <functional>

class QTreeWidget;

namespace velloran::browse {

class ListView;

struct BrowseContext {
    domino::BrowseState& state;
    QTreeWidget& tree;
    ListView& list;
    platform::Prompts& prompts;
    platform::WaitIndicator& wait;
    // Sets the text of the status bar's view summary panel.
    std::function<void(const QString&)> setSummary;
};

}  // namespace velloran::browse
