// How the data tools create database files: built under a hidden name in
// the target's folder, named once complete, readable by their owner only,
// or also by the group of a folder that group shares.
#include "TempDir.h"
#include "generate/Generator.h"
#include "nsfjson/JsonDatabase.h"
#include "people/Person.h"
#include "write/DatabaseWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace velloran::tools {
namespace {

namespace fs = std::filesystem;
using notes::write::DatabaseWriter;
using testing::TempDir;

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

fs::perms permissionsOf(const std::string& file) { return fs::status(file).permissions(); }

notes::write::NoteInput oneItemNote() { return {{}, 0, 0, {{"Subject", notes::kText, 0, {std::string("x")}, {}}}, {}}; }

TEST(NewDatabaseFileTest, TheDatabaseTakesItsNameOnlyWhenCommitted) {
    TempDir dir;
    std::string target = dir.file("new.nsf");
    {
        DatabaseWriter writer(target);
        writer.addNote(oneItemNote());
        std::vector<std::string> building = namesIn(dir.path());
        ASSERT_FALSE(building.empty());
        for (const std::string& name : building)
            EXPECT_TRUE(name.starts_with(".velloran-")) << name << ": a crash now leaves no database under the name";
    }
    EXPECT_TRUE(fs::is_empty(dir.path())) << "a writer left without commit removes its build file";

    DatabaseWriter writer(target);
    writer.addNote(oneItemNote());
    writer.commit();
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"new.nsf"});
    EXPECT_THROW(writer.addNote(oneItemNote()), platform::Failure) << "the committed writer is closed";
}

TEST(NewDatabaseFileTest, AddingToADatabaseKeepsItsPermissions) {
    TempDir dir;
    std::string target = dir.file("shared.nsf");
    DatabaseWriter(target, 0640).commit();
    EXPECT_EQ(permissionsOf(target), fs::perms(0640)) << "the mode asked for, whatever the umask";
    DatabaseWriter adding(target);
    adding.addNote(oneItemNote());
    adding.commit();
    EXPECT_EQ(permissionsOf(target), fs::perms(0640));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"shared.nsf"});
}

TEST(NewDatabaseFileTest, EveryToolCreatesOwnerOnlyDatabasesButInAGroupSharedFolder) {
    struct Case {
        mode_t folder;
        mode_t database;
    };
    // The set-group-ID bit marks a folder a group shares; its other bits
    // never widen a database beyond its owner.
    for (const Case& c : {Case{0755, 0600}, Case{0770, 0600}, Case{02750, 0640}, Case{02700, 0640}}) {
        TempDir dir;
        fs::permissions(dir.path(), fs::perms(c.folder));
        generateDatabase(dir.file("generated.nsf"), {3, 3, -1, 1, "All"});
        addPerson(dir.file("names.nsf"), {"Zhang San/Velloran", "zs", "pw"}, true);
        buildFromJson(nlohmann::json::parse(R"({"title": "T"})"), dir.path().string(), dir.file("built.nsf"));
        for (const char* file : {"generated.nsf", "names.nsf", "built.nsf"})
            EXPECT_EQ(permissionsOf(dir.file(file)), fs::perms(c.database)) << file << " in a folder " << std::oct
                                                                              << c.folder;
    }
}

}  // namespace
}  // namespace velloran::tools
