#include "support/ScratchFolder.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <stdlib.h>

namespace velloran::fuzz {

namespace {

namespace fs = std::filesystem;

class Folder {
public:
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "velloran-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("Cannot make a scratch folder from " + pattern);
        path_ = pattern;
    }
    ~Folder() {
        std::error_code ignored;  // nothing useful is left to do at exit when removal fails
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

}  // namespace

std::string scratchPath(const std::string& name) {
    static const Folder folder;
    return (folder.path() / name).string();
}

void writeScratchFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("Cannot write the scratch file " + path);
}

void removeDatabaseFiles(const std::string& path) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) fs::remove(path + suffix);
}

}  // namespace velloran::fuzz
