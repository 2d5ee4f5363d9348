// Logging in against the directory and opening server databases.
#include "SampleDatabase.h"
#include "TempDir.h"
#include "access/Directory.h"
#include "component/SessionObject.h"
#include "registry/RegistryHive.h"
#include "write/DatabaseWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sodium.h>

#include <functional>

namespace velloran::notes {
namespace {

using ::testing::AllOf;
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
    EXPECT_EQ(error([&] { session_.InitializeUsingNotesUserName("Zhang San/Velloran", "wrong"); }),
              "用户名或密码不正确");
    EXPECT_EQ(session_.UserName(), "") << "a failed login leaves no user";
    EXPECT_EQ(error([&] { session_.InitializeUsingNotesUserName("Nobody/Velloran", "secret"); }),
              "用户名或密码不正确")
        << "an unknown user is told the same as a wrong password";
    EXPECT_EQ(error([&] { session_.InitializeUsingNotesUserName(" ", "secret"); }), "没有填写用户名");
    std::filesystem::remove(data_ / "names.nsf");
    EXPECT_EQ(error([&] { session_.InitializeUsingNotesUserName("zs", "secret"); }),
              "用户目录 " + (data_ / "names.nsf").string() + " 不存在，任何用户都无法登录");
    std::filesystem::remove_all(data_);
    EXPECT_EQ(error([&] { session_.InitializeUsingNotesUserName("zs", "secret"); }), "数据目录不存在: " + data_.string());
    component::SessionObject uninstalled(dir_.file("absent.reg"));
    EXPECT_THAT(error([&] { uninstalled.InitializeUsingNotesUserName("zs", "secret"); }),
                AllOf(HasSubstr("本机没有安装服务器"), HasSubstr("velloran-setup --data")));
}

// Records which hashes a login verified the password against.
struct RecordingVerifier {
    std::vector<std::string> hashes;
    bool operator()(const std::string& hash, const std::string& password) {
        hashes.push_back(hash);
        return access::verifyArgon2(hash, password);
    }
};

TEST_F(AccessTest, EveryRefusedLoginCostsOneVerificationWithTheDirectorysParameters) {
    {
        write::DatabaseWriter writer((data_ / "names.nsf").string());
        writer.addNote({{}, 0, 0, {{"Form", kText, 0, {std::string("Person")}, {}},
                                   {"FullName", kNames, 0, {std::string("CN=Hashless/O=Velloran")}, {}}}, {}});
        writer.commit();
    }
    auto verifiedFor = [&](const std::string& user, const std::string& password) {
        RecordingVerifier recorder;
        std::string outcome = error([&] { access::authenticate(data_.string(), user, password, std::ref(recorder)); });
        EXPECT_NE(outcome, "no error") << user;
        EXPECT_EQ(recorder.hashes.size(), 1u) << user;
        return recorder.hashes.empty() ? std::string() : recorder.hashes.front();
    };
    std::string realHash = verifiedFor("Zhang San/Velloran", "wrong");
    for (const char* user : {"Nobody/Velloran", "Hashless/Velloran"}) {
        std::string dummy = verifiedFor(user, "secret");
        EXPECT_NE(dummy, realHash) << user;
        EXPECT_EQ(crypto_pwhash_str_needs_rehash(dummy.c_str(), crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN), 0)
            << user << ": a well-formed hash with the same cost as the directory's (fast) hashes: " << dummy;
        for (const char* password : {"secret", "", "wrong"}) EXPECT_FALSE(access::verifyArgon2(dummy, password));
    }
    EXPECT_EQ(access::authenticate(data_.string(), "zs", "secret"), "CN=Zhang San/O=Velloran");
}

TEST_F(AccessTest, TheDirectorysPasswordHashesAreNeverShown) {
    {
        write::DatabaseWriter writer((data_ / "names.nsf").string());
        writer.addView({"People", {}, "SELECT Form = \"Person\"",
                        {{"Name", "FullName", store::SortOrder::None},
                         {"Hash", "HTTPPassword", store::SortOrder::None},
                         {"Part", "@Left(HTTPPassword; 12)", store::SortOrder::None}}});
        writer.commit();
    }
    session_.InitializeUsingNotesUserName("zs", "secret");
    DatabasePtr directory = session_.GetDatabase("Main", "names.nsf", false);
    DocumentPtr person = directory->GetView("People")->GetNthDocument(1);
    EXPECT_EQ(person->Items(), (StringList{"Form", "FullName", "ShortName"}));
    EXPECT_EQ(person->GetItemValue("HTTPPassword"), ValueList{std::string()});
    EXPECT_EQ(person->GetFirstItem("httppassword"), nullptr);
    EXPECT_EQ(person->ColumnValues(), (ValueList{std::string("CN=Zhang San/O=Velloran"), std::string(), std::string()}));
    EXPECT_EQ(session_.Evaluate("@IsAvailable(HTTPPassword)", person), ValueList{0.0});
    session_.InitializeUsingNotesUserName("zs", "secret");
    EXPECT_EQ(session_.UserName(), "CN=Zhang San/O=Velloran") << "logins still read the hashes";
}

TEST_F(AccessTest, AnItemHoldingAPasswordHashIsHiddenInEveryDatabase) {
    std::string other = (data_ / "apps" / "other.nsf").string();
    {
        write::DatabaseWriter writer(other);
        writer.addView({"All", {}, "", {{"Copy", "Copied", store::SortOrder::None}}});
        writer.addNote({{}, 0, 0, {{"Copied", kText, 0, {std::string("x"), access::hashPassword("pw", true)}, {}},
                                   {"HTTPPassword", kText, 0, {std::string("an ordinary text")}, {}}}, {}});
        writer.commit();
    }
    session_.InitializeUsingNotesUserName("zs", "secret");
    for (const std::string& server : {std::string("Main"), std::string()}) {
        DocumentPtr document = session_.GetDatabase(server, server.empty() ? other : "apps\\other.nsf", false)
                                   ->GetView("All")->GetNthDocument(1);
        EXPECT_EQ(document->Items(), StringList{"HTTPPassword"}) << "outside the directory the name alone hides nothing";
        EXPECT_EQ(document->GetFirstItem("Copied"), nullptr);
        EXPECT_EQ(document->ColumnValues(), ValueList{std::string()});
        EXPECT_EQ(session_.Evaluate("Copied", document), ValueList{std::string()});
    }
}

TEST_F(AccessTest, EveryDatabaseRefusalSaysWhy) {
    session_.InitializeUsingNotesUserName("zs", "secret");
    EXPECT_EQ(error([&] { session_.GetDatabase("Elsewhere/Other", "apps\\open.nsf", false); }),
              "服务器“Elsewhere/Other”未知，本机的服务器是“Main/Velloran”");
    EXPECT_EQ(error([&] { session_.GetDatabase("Main", "apps\\absent.nsf", false); }),
              "服务器“Main”上没有数据库“apps\\absent.nsf”");
    EXPECT_EQ(error([&] { session_.GetDatabase("Main", "closed.nsf", false); }),
              "用户“Zhang San/Velloran”无权打开服务器“Main”上的数据库“closed.nsf”");
}

TEST_F(AccessTest, ServerPathsCannotLeaveTheDataFolder) {
    session_.InitializeUsingNotesUserName("zs", "secret");
    testing::writeSampleDatabase(dir_.file("outside.nsf"));
    std::filesystem::create_directory_symlink(dir_.path(), data_ / "link");
    for (const char* path : {"..\\outside.nsf", "apps\\..\\..\\outside.nsf", "\\outside.nsf", "/outside.nsf",
                             "C:\\outside.nsf", "link\\outside.nsf", "", "apps\\\\open.nsf"})
        EXPECT_THAT(error([&] { session_.GetDatabase("Main", path, false); }), ::testing::AnyOf(HasSubstr("无效"),
                    HasSubstr("必须相对于数据目录"), HasSubstr("之外"))) << path;
}

TEST_F(AccessTest, LocalFilesNeedNoAccessListEntry) {
    session_.Initialize("");
    EXPECT_FALSE(session_.UserName().empty());
    EXPECT_EQ(session_.GetDatabase("", (data_ / "closed.nsf").string(), false)->Title(), "Sample");
}

}  // namespace
}  // namespace velloran::notes
