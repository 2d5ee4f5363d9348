#pragma once
// Lets pending window messages run during the walk, on a time slice rather
// than after every cell: often enough to keep the window painted, rarely
// enough not to cost more than the export itself.
#include "time/CoarseClock.h"
#include "ui/WaitIndicator.h"

#include <cstdint>

namespace velloran::exporting {

class MessagePump {
public:
    static constexpr qint64 kSliceMs = 20;

    explicit MessagePump(platform::WaitIndicator& wait) : wait_(wait), last_(platform::coarseMonotonicMSecs()) {}

    // Processes pending messages when a slice has passed since the last
    // time. Asked after every cell, so it reads the coarse clock.
    void poll() {
        const std::int64_t now = platform::coarseMonotonicMSecs();
        if (now - last_ < kSliceMs) return;
        wait_.ProcessMessages();
        last_ = now;
    }

private:
    platform::WaitIndicator& wait_;
    std::int64_t last_;
};

}  // namespace velloran::exporting
