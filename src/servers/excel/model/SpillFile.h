#pragma once
// Bytes a workbook has made but will only write at its save, kept on disk
// instead of in memory: an unlinked file in $TMPDIR (or /tmp), so that it
// never shows in a folder and goes with the process however it ends. The
// file is made at the first write; appends go straight to it, as callers
// hand over large pieces.
#include "ByteSink.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace velloran::workbook {

class SpillFile : public ByteSink {
public:
    SpillFile() = default;
    ~SpillFile() override;
    SpillFile(SpillFile&& other) noexcept;
    SpillFile& operator=(SpillFile&& other) noexcept;

    // Appends `size` bytes. Throws a workbook Failure naming the folder when the
    // file cannot be made or written (a full disk, a missing folder).
    void write(const char* data, std::size_t size) override;

    std::uint64_t size() const { return size_; }

    // Reads `size` bytes from `offset` (which must lie within size()) into
    // `into`. Throws a workbook Failure when the file cannot be read.
    void read(std::uint64_t offset, char* into, std::size_t size) const;

    // Calls `visit` with the whole contents in order, a piece at a time,
    // each with the offset it starts at.
    void forEachPiece(const std::function<void(std::string_view piece, std::uint64_t offset)>& visit) const;

    // The folder spill files go to: $TMPDIR, or /tmp without it.
    static std::string folder();

private:
    void open();
    [[noreturn]] void fail(const std::string& what, int error) const;

    int fd_ = -1;
    std::uint64_t size_ = 0;
};

}  // namespace velloran::workbook
