#include "nsfjson/JsonDatabase.h"

#include "common/ToolError.h"
#include "nsfjson/JsonReader.h"
#include "write/DatabaseWriter.h"

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace velloran::tools {

namespace {

// Runs `read` over every element of the array at `key`, if present.
template <typename Read>
void eachOf(const JsonAt& top, const char* key, Read read) {
    if (!top.has(key)) return;
    JsonAt list = top[key];
    list.array();
    for (std::size_t i = 0; i < list.size(); ++i) read(list[i]);
}

// Runs `work`, prefixing any failure with the JSON path of `at`.
template <typename Work>
void at(const JsonAt& where, Work work) {
    try {
        work();
    } catch (const std::exception& e) {
        if (platform::isFailure(e, Failure::Kind::Input)) throw;
        throw toolFailure(where.path(), e);
    }
}

}  // namespace

notes::write::ViewIndexReport buildFromJson(const nlohmann::json& description, const std::string& baseFolder,
                                            const std::string& databasePath) {
    JsonAt top(description, "");
    if (!description.is_object()) top.fail("必须是一个对象");
    notes::write::DatabaseWriter writer(databasePath);
    if (top.has("title")) writer.setTitle(top["title"].text());
    eachOf(top, "views", [&](const JsonAt& view) { at(view, [&] { writer.addView(readView(view)); }); });
    if (top.has("acl")) {
        std::vector<notes::store::AclEntry> acl;
        eachOf(top, "acl", [&](const JsonAt& entry) { acl.push_back(readAclEntry(entry)); });
        writer.setAcl(acl);
    }
    eachOf(top, "documents", [&](const JsonAt& document) {
        notes::write::NoteInput note = readDocument(document, baseFolder);
        at(document, [&] { writer.addNote(note); });
    });
    return writer.commit();
}

notes::write::ViewIndexReport buildFromJsonFile(const std::string& jsonPath, const std::string& databasePath) {
    std::ifstream in(jsonPath);
    if (!in) throw systemFailure("无法读取 JSON 文件 " + jsonPath, "cannot read " + jsonPath, errno);
    nlohmann::json description;
    try {
        description = nlohmann::json::parse(in);
    } catch (const nlohmann::json::exception& e) {
        throw toolFailure("文件 " + jsonPath + " 不是有效的 JSON: " + e.what());
    }
    std::string base = std::filesystem::absolute(jsonPath).parent_path().string();
    return buildFromJson(description, base, databasePath);
}

}  // namespace velloran::tools
