#pragma once
// The one way this program writes a file: under a short hidden name
// (".velloran-XXXXXX", see TemporaryFiles.h) created new in the folder of
// its target, locked from its creation until it is renamed or removed (so
// a sweep of leftovers never takes it), and renamed to the target once
// complete, after which the folder is flushed to disk too. The target thus
// either keeps what it held or gets every byte, and any target name that
// fits the file system can be written, however long. The temporary file is
// removed on every failure, when the object goes before commit, and when a
// signal ends the process (see LiveTemporaries.h). Every system call goes
// through FileCalls.
#include "errors/Failure.h"
#include "files/FileCalls.h"

#include <optional>
#include <string>

namespace velloran::platform {

enum class SyncToDisk : bool { No, Yes };

// What the rename does with a file that has the target's name by then.
enum class AtTarget {
    Replace,  // takes its place
    Keep,     // leaves it, and the save fails
};

class StagedFile {
public:
    // Creates the temporary file. With AtTarget::Replace and a file at the
    // target, the new file gets that file's permissions and, when this
    // process runs as root, its owner and group, so that replacing it changes
    // nothing but its contents. Otherwise it gets `newFileMode` when given,
    // else the usual ones for its user (0666 less the umask).
    explicit StagedFile(std::string target, std::optional<mode_t> newFileMode = std::nullopt,
                        AtTarget atTarget = AtTarget::Replace);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    const std::string& target() const { return target_; }
    // The temporary file, for a writer that opens it itself (a database).
    const std::string& temporaryPath() const { return temporary_; }
    // The descriptor open for writing, until finish().
    int descriptor() const { return fd_; }
    // Also removes the side files a database keeps beside the temporary
    // file ("-journal", "-wal", "-shm") when a signal ends the process.
    void holdsDatabase();

    void write(const void* data, std::size_t size);
    // Flushes the file to disk when asked and closes it; the lock stays.
    void finish(SyncToDisk sync);
    // Finishes and renames the file to the target, then flushes the folder
    // to disk when `sync` asks. With AtTarget::Keep an existing file is left
    // and a Failure (Kind::File, error() EEXIST) tells that the name was taken.
    void commit(SyncToDisk sync);

private:
    void create(mode_t mode);
    void takeOverExisting(std::optional<mode_t> newFileMode);
    // Returns 0, or the system's error.
    int renameTo(const std::string& name, AtTarget atTarget);
    void syncFolder();
    void releaseLock();
    [[noreturn]] void fail(const char* action, int error, std::string reason = {});

    FileCalls calls_;
    std::string target_;
    AtTarget atTarget_;
    std::string temporary_;
    int fd_ = -1;
    int lock_ = -1;  // holds the temporary file's lock until it is renamed or removed
    int listed_ = -1;  // its place among the live temporaries, or -1
    bool holdsTemporary_ = false;  // created, and neither renamed nor removed yet
};

}  // namespace velloran::platform
