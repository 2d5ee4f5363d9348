#pragma once
// A workbook file written the program's one way (files/StagedFile.h): under
// a locked temporary name beside its target, renamed to the target only
// once it is complete and on disk, so the target name never shows a
// half-written file. Dropped without commit(), the temporary file is removed.
#include "files/StagedFile.h"

#include <cstdio>
#include <optional>
#include <string>
#include <sys/types.h>

namespace velloran::workbook {

// What a save does when a file of the target's name exists at its end.
enum class Existing {
    Replace,  // the saved file takes its place, with its permissions (and, as root, its owner)
    Keep,     // it stays and the save fails, leaving nothing behind
};

class AtomicFile {
public:
    // Creates the temporary file. Throws a workbook Failure naming `target` when
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

    // Flushes, syncs and renames; returns the target. Throws a workbook
    // Failure naming the target, also when Existing::Keep finds its name
    // taken.
    std::string commit();

private:
    [[noreturn]] void fail(const std::string& why, int error = 0) const;
    void closeStream();

    std::string target_;
    Existing existing_;
    std::optional<platform::StagedFile> file_;
    FILE* stream_ = nullptr;  // writes to the staged file through a descriptor of its own
    off_t writtenBack_ = 0;   // where the next writeback starts
};

}  // namespace velloran::workbook
