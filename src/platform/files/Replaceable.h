#pragma once
// Whether a file may be written at a path by renaming a new file onto it,
// decided before any work is done: from the folder's and the existing
// entry's owners and mode bits, the sticky bit and the file system, as the
// kernel decides, rather than from access(), which says yes to root for
// nearly everything and looks through links.
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velloran::platform {

enum class WriteRefusal {
    None,
    NoFolder,            // the folder is missing or is not a folder
    ReadOnlyFileSystem,  // the folder lies on a file system mounted read-only
    FolderInTheWay,      // a folder has the file's name
    FolderNotWritable,   // no write or search permission on the folder
    OwnedByAnother,      // a sticky folder keeps another user's file from being replaced
    ReadOnlyFile,        // the file is there and its user may not write it
};

// What lstat() tells of a folder or a file.
struct EntryFacts {
    mode_t mode = 0;  // type and permission bits
    uid_t owner = 0;
    gid_t group = 0;
};

struct TargetFacts {
    std::optional<EntryFacts> folder;    // none: missing or not a folder
    std::optional<EntryFacts> existing;  // the entry of the file's name itself; none: free
    bool readOnlyFileSystem = false;
};

// Who asks: the effective user and all its groups.
struct Identity {
    uid_t user = 0;
    std::vector<gid_t> groups;

    static Identity current();
};

// The decision on plain facts. Root may replace anything but a folder, and
// nothing on a read-only file system.
WriteRefusal writeRefusal(const TargetFacts& facts, const Identity& who);

// The facts of `path` as they are now; a link at `path` is the entry itself,
// as a rename over the name replaces the link.
TargetFacts targetFacts(const std::string& path);

// Why a file could not be put at `path` now by the calling process (None
// when it can). Replacing: the entry already at `path` is replaced; else it
// is kept and only the folder matters.
WriteRefusal writeRefusalAt(const std::string& path, bool replacing);

// Whether the calling process's permissions let it create or replace a
// file at `path`. A folder of that name is no matter of permission: it is
// left for the write to report, naming the file, rather than passed over.
bool canReplaceFile(const std::string& path);

}  // namespace velloran::platform
