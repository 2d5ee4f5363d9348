#pragma once
// A file written under a temporary name beside its target and renamed over
// the target only once it is complete and on disk, so the target name never
// shows a half-written file. Dropped without commit(), the temporary file
// is removed.
#include <cstdio>
#include <string>
#include <sys/types.h>

namespace velloran::biff {

class AtomicFile {
public:
    // Creates the temporary file. Throws WorkbookError naming `target` when
    // its folder is missing or not writable.
    explicit AtomicFile(std::string target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    FILE* stream() const { return stream_; }
    const std::string& target() const { return target_; }

    // Starts writing what the file holds so far to disk without waiting for
    // it, so that the sync of commit() finds less left to do.
    void startWriteback();

    // Flushes, syncs and renames. Throws WorkbookError naming the target.
    void commit();

private:
    [[noreturn]] void fail(const std::string& why) const;
    void closeStream();

    std::string target_;
    std::string temporary_;
    FILE* stream_ = nullptr;
    off_t writtenBack_ = 0;  // where the next writeback starts
};

}  // namespace velloran::biff
