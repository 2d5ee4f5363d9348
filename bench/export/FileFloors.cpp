#include "FileFloors.h"

#include "files/FileCalls.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace velloran::bench {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kCopyBuffer = std::size_t{1} << 20;

[[noreturn]] void fail(const std::string& what, const std::string& path, int error) {
    throw std::runtime_error("cannot " + what + " " + path + ": " + std::strerror(error));
}

// A descriptor closed however the work ends; close() reports a failure.
class File {
public:
    File(const std::string& path, int flags) : path_(path), fd_(::open(path.c_str(), flags | O_CLOEXEC, 0644)) {
        if (fd_ < 0) fail("open", path, errno);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() {
        if (fd_ >= 0) ::close(fd_);
    }

    // The bytes read, 0 at the end.
    std::size_t read(char* into, std::size_t size) {
        for (;;) {
            const ssize_t got = ::read(fd_, into, size);
            if (got >= 0) return static_cast<std::size_t>(got);
            if (errno != EINTR) fail("read", path_, errno);
        }
    }
    void write(std::string_view bytes) {
        if (const int error = platform::writeAll(platform::systemFileCalls(), fd_, bytes.data(), bytes.size()))
            fail("write", path_, error);
    }
    void sync() {
        if (::fsync(fd_) != 0) fail("sync", path_, errno);
    }
    void close() {
        const int result = ::close(fd_);
        fd_ = -1;
        if (result != 0) fail("close", path_, errno);
    }

private:
    std::string path_;
    int fd_;
};

constexpr int kCreateNew = O_WRONLY | O_CREAT | O_EXCL;

void copyFile(const fs::path& source, const fs::path& target, std::vector<char>& buffer, CopiedFiles& copied) {
    File from(source.string(), O_RDONLY);
    File to(target.string(), kCreateNew);
    while (const std::size_t got = from.read(buffer.data(), buffer.size())) {
        to.write({buffer.data(), got});
        copied.bytes += static_cast<std::int64_t>(got);
    }
    to.close();
    ++copied.files;
}

}  // namespace

std::string readFile(const std::string& path) {
    File file(path, O_RDONLY);
    std::string bytes;
    std::vector<char> buffer(kCopyBuffer);
    while (const std::size_t got = file.read(buffer.data(), buffer.size())) bytes.append(buffer.data(), got);
    return bytes;
}

std::string logBytes(const std::string& folder) {
    std::vector<fs::path> days;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && name.starts_with("log") && name.ends_with(".txt")) days.push_back(entry.path());
    }
    if (days.empty()) throw std::runtime_error("the folder " + folder + " holds no log file");
    std::sort(days.begin(), days.end());
    std::string bytes;
    for (const fs::path& day : days) bytes += readFile(day.string());
    return bytes;
}

void writeInOneGo(const std::string& target, std::string_view bytes, Sync sync) {
    File file(target, kCreateNew);
    file.write(bytes);
    if (sync == Sync::Yes) file.sync();
    file.close();
}

CopiedFiles copyFolder(const std::string& source, const std::string& target) {
    std::vector<char> buffer(kCopyBuffer);
    CopiedFiles copied;
    fs::create_directories(target);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source)) {
        const fs::path copy = fs::path(target) / fs::relative(entry.path(), source);
        if (entry.is_directory())
            fs::create_directory(copy);
        else if (entry.is_regular_file())
            copyFile(entry.path(), copy, buffer, copied);
    }
    return copied;
}

}  // namespace velloran::bench
