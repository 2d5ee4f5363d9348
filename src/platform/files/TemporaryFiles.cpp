#include "files/TemporaryFiles.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran::platform {

namespace {

constexpr std::string_view kPrefix = ".velloran-";
constexpr std::size_t kSuffixLength = 6;
constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr int kCreateAttempts = 100;
// What a database built in a temporary file keeps beside it.
constexpr std::string_view kDatabaseSideFiles[] = {"-journal", "-wal", "-shm"};

std::string randomName() {
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string name(kPrefix);
    for (std::size_t i = 0; i < kSuffixLength; ++i) name += kLetters[pick(generator)];
    return name;
}

bool isLetterOrDigit(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

bool takeLock(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; }

// Locks a new file and returns a second descriptor that keeps the lock; -1
// when a sweep took the lock first (it removes the file) or it failed.
int lockNewFile(int fd) {
    if (!takeLock(fd)) return -1;
    return ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

std::string reason(const char* action, const std::string& name, int error) {
    return std::string("cannot ") + action + " the leftover temporary file " + name + ": " + std::strerror(error);
}

// Removes `name` when it is a leftover: a regular file, not a link, whose
// lock can be taken, and still the file under that name once locked.
void removeIfLeftover(int folder, const std::string& name, std::vector<std::string>& problems) {
    const int fd = ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        // A link (refused), or gone since the folder was read.
        if (errno != ELOOP && errno != ENOENT) problems.push_back(reason("open", name, errno));
        return;
    }
    struct stat opened {}, named {};
    const bool leftover = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && takeLock(fd) &&
                          ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(opened, named);
    if (leftover && ::unlinkat(folder, name.c_str(), 0) != 0 && errno != ENOENT)
        problems.push_back(reason("remove", name, errno));
    ::close(fd);
}

// Whether `name` is a side file of a database built under a temporary name.
bool isDatabaseSideName(std::string_view name) {
    for (std::string_view suffix : kDatabaseSideFiles)
        if (name.ends_with(suffix) && isTemporaryName(name.substr(0, name.size() - suffix.size()))) return true;
    return false;
}

// Removes a side file whose database is gone: no process builds that
// database any more, as the database is only renamed once it is closed.
void removeIfOrphaned(int folder, const std::string& name, std::vector<std::string>& problems) {
    struct stat info {};
    const std::string database = name.substr(0, name.rfind('-'));
    if (::fstatat(folder, database.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT) return;
    if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode)) return;
    if (::unlinkat(folder, name.c_str(), 0) != 0 && errno != ENOENT) problems.push_back(reason("remove", name, errno));
}

}  // namespace

bool isTemporaryName(std::string_view name) {
    if (name.size() != kPrefix.size() + kSuffixLength || !name.starts_with(kPrefix)) return false;
    for (char c : name.substr(kPrefix.size()))
        if (!isLetterOrDigit(c)) return false;
    return true;
}

TemporaryFile createTemporaryFile(const FileCalls& calls, const std::string& folderPrefix, mode_t mode) {
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        std::string path = folderPrefix + randomName();
        const int fd = calls.open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            break;
        }
        const int lock = lockNewFile(fd);
        if (lock >= 0) return {fd, lock, std::move(path)};
        const int error = errno;
        calls.close(fd);
        // A file whose lock a sweep took first is that sweep's to remove.
        if (error == EWOULDBLOCK) continue;
        calls.unlink(path.c_str());
        errno = error;
        break;
    }
    return {};
}

std::vector<std::string> removeLeftoverTemporaries(int folder) {
    std::vector<std::string> problems;
    const int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* entries = listed < 0 ? nullptr : ::fdopendir(listed);
    if (!entries) {
        problems.push_back(std::string("cannot read the folder for leftover temporary files: ") + std::strerror(errno));
        if (listed >= 0) ::close(listed);
        return problems;
    }
    std::vector<std::string> sideFiles;
    while (const dirent* entry = ::readdir(entries)) {
        if (isTemporaryName(entry->d_name)) removeIfLeftover(folder, entry->d_name, problems);
        if (isDatabaseSideName(entry->d_name)) sideFiles.emplace_back(entry->d_name);
    }
    ::closedir(entries);
    // Once the leftover databases are gone, so that their side files go too.
    for (const std::string& name : sideFiles) removeIfOrphaned(folder, name, problems);
    return problems;
}

}  // namespace velloran::platform
