#include "dxl/DxlInputs.h"

#include "common/ToolError.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace velloran::tools::dxl {

namespace {

namespace fs = std::filesystem;

bool hasXmlExtension(const fs::path& name) {
    std::string extension = name.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".xml";
}

bool isInside(const fs::path& path, const fs::path& folder) {
    auto [end, unused] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return end == folder.end();
}

// Why the folder's entry `entry` is not read, or empty when it is read: a
// link must stay inside the folder, and only plain files are read (a
// device or a pipe could block the import for good).
std::string whyNotRead(const fs::directory_entry& entry, const fs::path& folder) {
    std::error_code error;
    if (entry.is_symlink(error)) {
        fs::path target = fs::weakly_canonical(entry.path(), error);
        if (error || !isInside(target, folder)) return "指向文件夹以外的链接，没有跟随";
    }
    if (!fs::is_regular_file(entry.path(), error)) return "不是普通文件";
    return {};
}

void addFolder(const fs::path& folder, XmlInputs& inputs) {
    std::error_code error;
    const fs::path canonical = fs::canonical(folder, error);
    if (error) throw toolFailure("无法读取文件夹 " + folder.string() + ": " + error.message());
    std::vector<fs::path> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (!hasXmlExtension(entry.path().filename())) continue;
        if (std::string why = whyNotRead(entry, canonical); !why.empty())
            inputs.notRead.push_back(entry.path().string() + ": " + why);
        else names.push_back(entry.path());
    }
    if (error) throw toolFailure("无法读取文件夹 " + folder.string() + ": " + error.message());
    if (names.empty()) throw toolFailure("文件夹 " + folder.string() + " 中没有要导入的 .xml 文件");
    std::sort(names.begin(), names.end());
    for (const fs::path& name : names) inputs.files.push_back(name.string());
}

}  // namespace

XmlInputs listXmlInputs(const std::vector<std::string>& paths) {
    XmlInputs inputs;
    for (const std::string& path : paths) {
        std::error_code error;
        fs::file_status status = fs::status(path, error);
        if (!fs::exists(status))
            throw toolFailure("无法读取 XML 文件 " + path + ": 没有这个文件或文件夹");
        if (fs::is_directory(status)) addFolder(path, inputs);
        else inputs.files.push_back(path);
    }
    return inputs;
}

std::string titleFromName(const std::string& path) {
    std::error_code error;
    fs::path name = fs::absolute(path, error).lexically_normal();
    if (!name.has_filename()) name = name.parent_path();
    return fs::is_directory(name, error) ? name.filename().string() : name.stem().string();
}

}  // namespace velloran::tools::dxl
