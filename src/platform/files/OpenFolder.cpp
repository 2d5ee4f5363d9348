#include "files/OpenFolder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran::platform {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// `original`: the same in English, which says no more unless it holds the
// system's reason (`error`).
Failure folderFailure(const std::string& text, const std::string& path, const std::string& original, int error) {
    return Failure(Failure::Kind::Folder, text, {path, original, error, error != 0});
}

Failure cannotOpen(const std::string& path, int error) {
    return folderFailure("无法打开文件夹 " + path, path, "Cannot open the folder " + path + ": " + std::strerror(error),
                         error);
}

// Why `name` in `parent` could not be opened as a folder: what is in its
// place, when something is.
Failure whyNotOpened(int parent, const std::string& name, const std::string& path, int error) {
    struct stat found {};
    if (::fstatat(parent, name.c_str(), &found, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISLNK(found.st_mode))
            return folderFailure("文件夹 " + path + " 是符号链接，不会通过链接写入", path,
                                 "The folder " + path + " is a symbolic link; nothing is written through a link", 0);
        if (!S_ISDIR(found.st_mode))
            return folderFailure("无法使用文件夹 " + path + "：那里有一个不是文件夹的东西", path,
                                 "Cannot use the folder " + path + ": something that is not a folder is in its place", 0);
    }
    return cannotOpen(path, error);
}

}  // namespace

OpenFolder OpenFolder::open(const std::string& path) {
    const int fd = ::open(path.c_str(), kFolderFlags);
    if (fd < 0) throw cannotOpen(path, errno);
    return OpenFolder(fd, path);
}

OpenFolder::OpenFolder(OpenFolder&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)) { other.fd_ = -1; }

OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
    if (this == &other) return *this;
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    path_ = std::move(other.path_);
    other.fd_ = -1;
    return *this;
}

OpenFolder::~OpenFolder() {
    if (fd_ >= 0) ::close(fd_);
}

OpenFolder OpenFolder::child(const std::string& name) const {
    const std::string path = pathOf(name);
    // An existing name is left as it is: what it is shows when it is opened.
    if (::mkdirat(fd_, name.c_str(), 0777) != 0 && errno != EEXIST) {
        const int error = errno;
        throw folderFailure("无法创建文件夹 " + path, path,
                            "Cannot create the folder " + path + ": " + std::strerror(error), error);
    }
    const int fd = ::openat(fd_, name.c_str(), kFolderFlags | O_NOFOLLOW);
    if (fd < 0) throw whyNotOpened(fd_, name, path, errno);
    return OpenFolder(fd, path);
}

OpenFolder OpenFolder::descend(const std::vector<std::string>& names) const {
    OpenFolder folder = child(names.at(0));
    for (std::size_t i = 1; i < names.size(); ++i) folder = folder.child(names[i]);
    return folder;
}

std::string OpenFolder::throughDescriptor(const std::string& name) const {
    return "/proc/self/fd/" + std::to_string(fd_) + "/" + name;
}

std::string OpenFolder::pathOf(const std::string& name) const {
    return !path_.empty() && path_.back() == '/' ? path_ + name : path_ + "/" + name;
}

}  // namespace velloran::platform
