#pragma once
// Lets pending window messages run during the walk, on a time slice rather
// than after every cell: often enough to keep the window painted, rarely
// enough not to cost more than the export itself.
#include "ui/WaitIndicator.h"

#include <QElapsedTimer>

namespace velloran::exporting {

class MessagePump {
public:
    static constexpr qint64 kSliceMs = 20;

    explicit MessagePump(platform::WaitIndicator& wait) : wait_(wait) { sinceLast_.start(); }

    // Processes pending messages when a slice has passed since the last time.
    void poll() {
        if (sinceLast_.elapsed() < kSliceMs) return;
        wait_.ProcessMessages();
        sinceLast_.restart();
    }

private:
    platform::WaitIndicator& wait_;
    QElapsedTimer sinceLast_;
};

}  // namespace velloran::exporting
