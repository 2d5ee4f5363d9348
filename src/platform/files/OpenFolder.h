#pragma once
// A folder held open by its descriptor, to create folders and files inside
// it without any name on the way being looked up again: a folder made
// inside one is opened without following a link, so a symbolic link
// planted in its place (or a file) is refused instead of written through.
#include "errors/Failure.h"

#include <string>
#include <vector>

namespace velloran::platform {

class OpenFolder {
public:
    // Opens the folder at `path`, following links on the way: a folder the
    // user chose. Throws a Failure (Kind::Folder) naming it.
    static OpenFolder open(const std::string& path);

    OpenFolder(OpenFolder&& other) noexcept;
    OpenFolder& operator=(OpenFolder&& other) noexcept;
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    ~OpenFolder();

    // The folder `name` inside this one, created when missing, then opened
    // without following a link. Throws a Failure (Kind::Folder) naming it when it is a
    // link, is not a folder, or cannot be created or opened.
    OpenFolder child(const std::string& name) const;
    // The same for each of `names` in turn, each inside the one before.
    OpenFolder descend(const std::vector<std::string>& names) const;

    int descriptor() const { return fd_; }
    // The path this folder was reached by, for messages.
    const std::string& path() const { return path_; }
    // A path to `name` in this folder that the kernel resolves through the
    // descriptor ("/proc/self/fd/<descriptor>/<name>"), for code that takes
    // only paths: whatever happens to the names above, it stays here.
    std::string throughDescriptor(const std::string& name) const;
    // "<path>/<name>", for messages.
    std::string pathOf(const std::string& name) const;

private:
    OpenFolder(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

    int fd_ = -1;
    std::string path_;
};

}  // namespace velloran::platform
