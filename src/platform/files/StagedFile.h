#pragma once
// A file written under a short hidden name (".velloran-XXXXXX", see
// TemporaryFiles.h) in the folder of its target, locked while it is written,
// and renamed over the target once complete. The target thus
// either keeps what it held or gets every byte, and any target name that fits
// the file system can be written, however long. The temporary file is
// removed on every failure and when the object goes before commit().
#include "files/FileCalls.h"

#include <optional>
#include <stdexcept>
#include <string>

namespace velloran::platform {

// A file could not be written; the message names it and the system's reason.
class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class SyncToDisk : bool { No, Yes };

class StagedFile {
public:
    // Creates the temporary file. It gets the permissions `exactMode` when
    // given, else the usual ones for its user (0666 less the umask).
    explicit StagedFile(std::string target, std::optional<mode_t> exactMode = std::nullopt);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    void write(const void* data, std::size_t size);
    // Closes the file, flushed to disk first when asked, and renames it over
    // the target.
    void commit(SyncToDisk sync);

private:
    void create(mode_t mode);
    void closeFile();
    void releaseLock();
    [[noreturn]] void fail(const char* action, int error);

    FileCalls calls_;
    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    int lock_ = -1;  // holds the temporary file's lock until it is renamed or removed
    bool holdsTemporary_ = false;  // created, and neither renamed nor removed yet
};

}  // namespace velloran::platform
