#include "people/Person.h"

#include "access/Directory.h"
#include "access/UserNames.h"
#include "common/ToolError.h"
#include "store/NsfFile.h"
#include "store/ViewStore.h"
#include "text/Utf8.h"
#include "write/DatabaseWriter.h"

#include <chrono>
#include <filesystem>

namespace velloran::tools {

namespace {

using namespace notes;

const std::vector<write::ViewInput>& directoryViews() {
    static const std::vector<write::ViewInput> views = {
        {"($Users)", {"$Users"}, "SELECT Form = \"Person\"",
         {{"Name", "FullName", store::SortOrder::Ascending}, {"Short name", "ShortName", store::SortOrder::None}}},
        {"People", {}, "SELECT Form = \"Person\"",
         {{"Name", "@Subset(FullName; -1)", store::SortOrder::Ascending}, {"Short name", "ShortName", store::SortOrder::None}}},
    };
    return views;
}

bool hasUsersView(const std::string& file) {
    auto connection = store::openForReading(file);
    for (const store::ViewDesign& view : store::ViewStore(*connection).views())
        if (view.name == "($Users)") return true;
    return false;
}

// Logins read names.nsf alone, so a file of another name is never a
// directory: a person added there could not log in, and a database such as
// sales.nsf would get a Person document among its own. An existing names.nsf
// is a directory when it has the people view every directory is made with.
void checkDirectoryFile(const std::string& file, bool exists) {
    if (std::filesystem::path(file).filename() != access::kDirectoryFile)
        throw toolFailure("“" + file + "”不是目录数据库: 登录时只读取数据目录中的 " + access::kDirectoryFile);
    if (exists && !hasUsersView(file))
        throw toolFailure("“" + file + "”不是目录数据库: 它没有 ($Users) 视图");
}

void checkPassword(const std::string& password) {
    if (password.empty()) throw toolFailure("人员必须有密码，不接受空密码");
}

std::int64_t nowMSecs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

write::ItemInput passwordItem(const std::string& password, bool fastHash) {
    return {access::kPasswordItem, kText, 0, {access::hashPassword(password, fastHash)}, {}};
}

write::NoteInput personNote(const PersonEntry& person, bool fastHash) {
    const std::int64_t now = nowMSecs();
    std::string canonical = canonicalName(person.name);
    write::NoteInput note{{}, now, now, {}, {}};
    note.items.push_back({"Form", kText, 0, {std::string("Person")}, {}});
    note.items.push_back({"FullName", kNames, 0, {canonical, access::commonName(canonical)}, {}});
    note.items.push_back({"ShortName", kText, 0, {person.shortName}, {}});
    note.items.push_back(passwordItem(person.password, fastHash));
    return note;
}

}  // namespace

std::string canonicalName(const std::string& name) {
    std::string trimmed(text::trimmed(name));
    if (text::upper(trimmed).starts_with("CN=")) return trimmed;
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t slash; (slash = trimmed.find('/', start)) != std::string::npos; start = slash + 1)
        parts.push_back(trimmed.substr(start, slash - start));
    parts.push_back(trimmed.substr(start));
    std::string out = "CN=" + parts.front();
    for (std::size_t i = 1; i < parts.size(); ++i) out += (i + 1 == parts.size() ? "/O=" : "/OU=") + parts[i];
    return out;
}

bool addPerson(const std::string& directoryFile, const PersonEntry& person, bool fastHash) {
    if (text::trimmed(person.name).empty()) throw toolFailure("人员必须有姓名");
    checkPassword(person.password);
    const bool exists = std::filesystem::exists(directoryFile);
    checkDirectoryFile(directoryFile, exists);
    for (const std::string& name : {person.name, person.shortName})
        if (exists && !name.empty() && access::findUser(directoryFile, name))
            throw toolFailure("“" + name + "”已在目录数据库 " + directoryFile + " 中");
    write::DatabaseWriter writer(directoryFile);
    if (!exists) {
        writer.setTitle("Directory");
        for (const write::ViewInput& view : directoryViews()) writer.addView(view);
    }
    writer.addNote(personNote(person, fastHash));
    writer.commit();
    return !exists;
}

std::string changePassword(const std::string& directoryFile, const std::string& name, const std::string& password,
                           bool fastHash) {
    checkPassword(password);
    if (!std::filesystem::exists(directoryFile)) throw toolFailure("目录数据库 " + directoryFile + " 不存在");
    checkDirectoryFile(directoryFile, true);
    const std::optional<access::DirectoryEntry> entry = access::findUser(directoryFile, name);
    if (!entry) throw toolFailure("“" + name + "”不在目录数据库 " + directoryFile + " 中");
    write::DatabaseWriter writer(directoryFile);
    writer.setItem(entry->noteId, passwordItem(password, fastHash), nowMSecs());
    writer.commit();
    return entry->canonicalName;
}

}  // namespace velloran::tools
