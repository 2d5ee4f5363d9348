#include "SpilledLog.h"

#include <algorithm>

namespace velloran::workbook {

SpilledLog::SpilledLog(std::size_t bufferBytes)
    : capacity_(bufferBytes), buffer_(std::unique_ptr<char[]>(new char[bufferBytes])) {}

void SpilledLog::spill() {
    spilled_.write(buffer_.get(), used_);
    used_ = 0;
}

void SpilledLog::read(std::uint64_t position, char* into, std::size_t size) const {
    const std::uint64_t inFile = spilled_.size();
    if (position < inFile) {
        auto fromFile = static_cast<std::size_t>(std::min<std::uint64_t>(size, inFile - position));
        spilled_.read(position, into, fromFile);
        position += fromFile, into += fromFile, size -= fromFile;
    }
    if (size > 0) std::memcpy(into, buffer_.get() + (position - inFile), size);
}

void LogWindow::load(std::uint64_t position, std::size_t size) {
    std::uint64_t wanted = std::max(size, windowBytes_);
    bytes_.resize(static_cast<std::size_t>(std::min(wanted, log_.size() - position)));
    log_.read(position, bytes_.data(), bytes_.size());
    start_ = position;
}

}  // namespace velloran::workbook
