#include "files/Replaceable.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace velloran::platform {

namespace {

constexpr uid_t kRoot = 0;

// The owner's, the group's or the others' bits, whichever class `who`
// falls in first, as the kernel checks them.
bool permits(const EntryFacts& entry, const Identity& who, mode_t bits) {
    if (who.user == kRoot) return true;
    if (who.user == entry.owner) return (entry.mode >> 6 & bits) == bits;
    if (std::ranges::find(who.groups, entry.group) != who.groups.end()) return (entry.mode >> 3 & bits) == bits;
    return (entry.mode & bits) == bits;
}

// In a sticky folder only the file's owner, the folder's owner or root may
// rename over the file.
bool stickyKeepsOut(const EntryFacts& folder, const EntryFacts& file, const Identity& who) {
    return (folder.mode & S_ISVTX) != 0 && who.user != kRoot && who.user != file.owner && who.user != folder.owner;
}

std::optional<EntryFacts> factsFrom(int result, const struct stat& info) {
    if (result != 0) return std::nullopt;
    return EntryFacts{info.st_mode, info.st_uid, info.st_gid};
}

std::string folderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

}  // namespace

Identity Identity::current() {
    Identity who{::geteuid(), {::getegid()}};
    const int count = ::getgroups(0, nullptr);
    if (count <= 0) return who;
    std::vector<gid_t> more(static_cast<std::size_t>(count));
    const int got = ::getgroups(count, more.data());
    if (got > 0) who.groups.insert(who.groups.end(), more.begin(), more.begin() + got);
    return who;
}

WriteRefusal writeRefusal(const TargetFacts& facts, const Identity& who) {
    if (!facts.folder || !S_ISDIR(facts.folder->mode)) return WriteRefusal::NoFolder;
    if (facts.readOnlyFileSystem) return WriteRefusal::ReadOnlyFileSystem;
    if (facts.existing && S_ISDIR(facts.existing->mode)) return WriteRefusal::FolderInTheWay;
    if (!permits(*facts.folder, who, S_IWOTH | S_IXOTH)) return WriteRefusal::FolderNotWritable;
    if (!facts.existing) return WriteRefusal::None;
    if (stickyKeepsOut(*facts.folder, *facts.existing, who)) return WriteRefusal::OwnedByAnother;
    // A link's own bits mean nothing: the rename replaces the link, never
    // the file it points to.
    if (!S_ISLNK(facts.existing->mode) && !permits(*facts.existing, who, S_IWOTH)) return WriteRefusal::ReadOnlyFile;
    return WriteRefusal::None;
}

TargetFacts targetFacts(const std::string& path) {
    TargetFacts facts;
    const std::string folder = folderOf(path);
    struct stat info {};
    facts.folder = factsFrom(::stat(folder.c_str(), &info), info);
    facts.existing = factsFrom(::lstat(path.c_str(), &info), info);
    struct statvfs fileSystem {};
    facts.readOnlyFileSystem = ::statvfs(folder.c_str(), &fileSystem) == 0 && (fileSystem.f_flag & ST_RDONLY) != 0;
    return facts;
}

WriteRefusal writeRefusalAt(const std::string& path, bool replacing) {
    if (path.empty()) return WriteRefusal::NoFolder;
    TargetFacts facts = targetFacts(path);
    if (!replacing) facts.existing.reset();
    return writeRefusal(facts, Identity::current());
}

bool canReplaceFile(const std::string& path) {
    const WriteRefusal refusal = writeRefusalAt(path, true);
    return refusal == WriteRefusal::None || refusal == WriteRefusal::FolderInTheWay;
}

}  // namespace velloran::platform
