#pragma once
// A fresh folder for one test, removed with everything in it afterwards.
#include <filesystem>
#include <fstream>
#include <string>

namespace velloran::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Writes `contents` to `name` (parents created) and returns its full path.
    std::string write(const std::string& name, const std::string& contents) const;
    static std::string read(const std::string& path);

private:
    std::filesystem::path path_;
};

}  // namespace velloran::testing
