// Logging in against the directory and opening server databases.
#include "SampleDatabase.h"
#include "TempDir.h"
#include "access/Directory.h"
#include "component/SessionObject.h"
#include "registry/RegistryHive.h"
#include "write/DatabaseWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velloran::notes {
namespace {

using ::testing::HasSubstr;
using testing::TempDir;

void addUser(const std::string& directory, const std::string& fullName, const std::string& password) {
    write::DatabaseWriter writer(directory);
    writer.addNote({{}, 0, 0,
                    {{"Form", kText, 0, {std::string("Person")}, {}},
                     {"FullName", kNames, 0, {fullName}, {}},
                     {"ShortName", kText, 0, {std::string("zs")}, {}},
                     {"HTTPPassword", kText, 0, {access::hashPassword(password, true)}, {}}},
                    {}});
    writer.commit();
}

void restrictTo(const std::string& database, const std::string& user) {
    write::DatabaseWriter writer(database);
    writer.setAcl({{"-Default-", store::AccessLevel::Depositor}, {user, store::AccessLevel::Reader}});
    writer.commit();
}

class AccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(data_ / "apps");
        platform::RegistryHive hive;
        hive.setString("HKEY_LOCAL_MACHINE\\Software\\Lotus\\Domino", "DataPath", data_.string());
        hive.setString("HKEY_LOCAL_MACHINE\\Software\\Lotus\\Domino", "ServerName", "Main/Velloran");
        hive.saveAs(hive_);
        addUser((data_ / "names.nsf").string(), "CN=Zhang San/O=Velloran", "secret");
        testing::writeSampleDatabase((data_ / "apps" / "open.nsf").string());
        testing::writeSampleDatabase((data_ / "closed.nsf").string());
        restrictTo((data_ / "closed.nsf").string(), "Li Si/Velloran");
    }

    std::string error(const std::function<void()>& action) {
        try {
            action();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "no error";
    }

    TempDir dir_;
    std::filesystem::path data_ = dir_.path() / "data";
    std::string hive_ = dir_.file("registry.reg");
    component::SessionObject session_{hive_};
};

TEST_F(AccessTest, AUserLogsInByAnyOfTheirNamesAndReadsServerDatabases) {
    for (const char* name : {"Zhang San/Velloran", "CN=Zhang San/O=Velloran", "zs", "ZS"}) {
        session_.InitializeUsingNotesUserName(name, "secret");
        EXPECT_EQ(session_.UserName(), "CN=Zhang San/O=Velloran");
    }
    for (const char* server : {"Main/Velloran", "main", "CN=Main/O=Velloran"})
        EXPECT_EQ(session_.GetDatabase(server, "apps\\open.nsf", false)->GetView("Main")->AllEntriesCount(), 5) << server;
}

TEST_F(AccessTest, EveryLoginRefusalSaysWhy) {
    EXPECT_THAT(error([&] { session_.InitializeUsingNotesUserName("Zhang San/Velloran", "wrong"); }), HasSubstr("Wrong password"));
    EXPECT_EQ(session_.UserName(), "") << "a failed login leaves no user";
    EXPECT_THAT(error([&] { session_.InitializeUsingNotesUserName("Nobody/Velloran", "secret"); }), HasSubstr("not known"));
    EXPECT_THAT(error([&] { session_.InitializeUsingNotesUserName(" ", "secret"); }), HasSubstr("No user name"));
    std::filesystem::remove(data_ / "names.nsf");
    EXPECT_THAT(error([&] { session_.InitializeUsingNotesUserName("zs", "secret"); }), HasSubstr("does not exist"));
    component::SessionObject uninstalled(dir_.file("absent.reg"));
    EXPECT_THAT(error([&] { uninstalled.InitializeUsingNotesUserName("zs", "secret"); }), HasSubstr("No server is installed"));
}

TEST_F(AccessTest, EveryDatabaseRefusalSaysWhy) {
    session_.InitializeUsingNotesUserName("zs", "secret");
    EXPECT_THAT(error([&] { session_.GetDatabase("Elsewhere/Other", "apps\\open.nsf", false); }), HasSubstr("is not known"));
    EXPECT_THAT(error([&] { session_.GetDatabase("Main", "apps\\absent.nsf", false); }), HasSubstr("does not exist"));
    EXPECT_THAT(error([&] { session_.GetDatabase("Main", "closed.nsf", false); }), HasSubstr("not authorised"));
}

TEST_F(AccessTest, ServerPathsCannotLeaveTheDataFolder) {
    session_.InitializeUsingNotesUserName("zs", "secret");
    testing::writeSampleDatabase(dir_.file("outside.nsf"));
    std::filesystem::create_directory_symlink(dir_.path(), data_ / "link");
    for (const char* path : {"..\\outside.nsf", "apps\\..\\..\\outside.nsf", "\\outside.nsf", "/outside.nsf",
                             "C:\\outside.nsf", "link\\outside.nsf", "", "apps\\\\open.nsf"})
        EXPECT_THAT(error([&] { session_.GetDatabase("Main", path, false); }), ::testing::AnyOf(HasSubstr("not valid"),
                    HasSubstr("relative"), HasSubstr("outside the data folder"))) << path;
}

TEST_F(AccessTest, LocalFilesNeedNoAccessListEntry) {
    session_.Initialize("");
    EXPECT_FALSE(session_.UserName().empty());
    EXPECT_EQ(session_.GetDatabase("", (data_ / "closed.nsf").string(), false)->Title(), "Sample");
}

}  // namespace
}  // namespace velloran::notes
