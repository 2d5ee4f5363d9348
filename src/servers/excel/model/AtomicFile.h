#pragma once
// A file written under a temporary name beside its target (a locked
// ".velloran-XXXXXX" file, see files/TemporaryFiles.h) and renamed to the
// target only once it is complete and on disk, so the target name never
// shows a half-written file. Dropped without commit(), the temporary file
// is removed.
#include <cstdio>
#include <string>
#include <sys/types.h>

namespace velloran::workbook {

// What a save does when a file of the target's name exists at its end.
enum class Existing {
    Replace,        // the saved file takes its place
    KeepAndNumber,  // it stays; the save takes the first free "name (2).xls", "name (3).xls", ...
};

class AtomicFile {
public:
    // Creates the temporary file. Throws WorkbookError naming `target` when
    // its folder is missing or not writable.
    AtomicFile(std::string target, Existing existing);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    FILE* stream() const { return stream_; }
    const std::string& target() const { return target_; }

    // Starts writing what the file holds so far to disk without waiting for
    // it, so that the sync of commit() finds less left to do.
    void startWriteback();

    // Flushes, syncs and renames; returns the name the file now has. Throws
    // WorkbookError naming the target.
    std::string commit();

private:
    [[noreturn]] void fail(const std::string& why) const;
    void closeStream();
    std::string publish();
    std::string publishBeside();
    void discardTemporary();

    std::string target_;
    Existing existing_;
    std::string temporary_;
    FILE* stream_ = nullptr;
    int lock_ = -1;          // holds the temporary file's lock until it is renamed or removed
    off_t writtenBack_ = 0;  // where the next writeback starts
};

}  // namespace velloran::workbook
