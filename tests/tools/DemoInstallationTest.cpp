// The demo installation, opened the way the program opens it.
#include "TempDir.h"
#include "api/NotesApi.h"
#include "component/ComponentRuntime.h"
#include "demo/DemoInstallation.h"
#include "registry/RegistryHive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace velloran::tools {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

class DemoInstallationTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempDir;
        makeDemo({(folder_->path() / "demo").string(), VELLORAN_NOTES_MODULE, std::nullopt});
        // Sessions made by the component read the installation from this hive.
        ::setenv(platform::RegistryHive::kPathVariable, (demo() / "registry.reg").c_str(), 1);
    }
    static void TearDownTestSuite() { delete folder_; }

    static fs::path demo() { return folder_->path() / "demo"; }
    static std::shared_ptr<notes::Session> login() {
        platform::ComponentRuntime runtime((demo() / "registry.reg").string());
        auto session = std::dynamic_pointer_cast<notes::Session>(runtime.createObject(notes::kSessionClassId));
        session->InitializeUsingNotesUserName(kDemoShortName, kDemoPassword);
        return session;
    }

    static TempDir* folder_;
};

TempDir* DemoInstallationTest::folder_ = nullptr;

TEST_F(DemoInstallationTest, TheHiveDescribesTheInstallationAndItsComponent) {
    auto hive = platform::RegistryHive::load((demo() / "registry.reg").string());
    EXPECT_EQ(hive.readString("HKEY_LOCAL_MACHINE\\Software\\Lotus\\Domino", "DataPath"), (demo() / "Domino" / "Data").string());
    EXPECT_EQ(hive.readString("HKEY_LOCAL_MACHINE\\Software\\Lotus\\Domino", "ServerName"), kDemoServerName);
    EXPECT_EQ(hive.readString("HKEY_LOCAL_MACHINE\\Software\\Lotus\\Notes", "Path"), (demo() / "Notes").string());
    EXPECT_EQ(hive.readString(platform::ComponentRuntime::inprocServerKey(notes::kSessionClassId), ""),
              (demo() / "Domino" / "nlsxbe.dll").string());
}

TEST_F(DemoInstallationTest, TheDataFolderHoldsTheSampleShapes) {
    fs::path data = demo() / "Domino" / "Data";
    EXPECT_TRUE(fs::is_directory(data / "empty") && fs::is_empty(data / "empty"));
    EXPECT_TRUE(fs::is_regular_file(data / "archive" / "reportsnsf"));
    auto session = login();
    notes::DatabasePtr sales = session->GetDatabase("VelloranDemo", "sales.nsf", false);
    EXPECT_EQ(sales->GetView("Orders")->AllEntriesCount(), 250);
    EXPECT_EQ(sales->GetView("Cancelled Orders")->AllEntriesCount(), 0);
    notes::StringList views = sales->Views();
    EXPECT_NE(std::find(views.begin(), views.end(), "($All)"), views.end());
    notes::DatabasePtr customers = session->GetDatabase("velloranDemo/velloran", "apps\\客户管理.nsf", false);
    EXPECT_GE(customers->GetView("所有客户")->AllEntriesCount(), 2500);
    notes::DatabasePtr knowledge = session->GetDatabase("VelloranDemo", "apps\\docs\\knowledge.nsf", false);
    std::vector<std::size_t> objectCounts;
    notes::ViewPtr articles = knowledge->GetView("Articles");
    for (auto doc = articles->GetNthDocument(1); doc; doc = articles->GetNextDocument(doc))
        objectCounts.push_back(doc->GetFirstItem("Body")->AsRichText()->EmbeddedObjects().size());
    std::sort(objectCounts.begin(), objectCounts.end());
    EXPECT_EQ(objectCounts, (std::vector<std::size_t>{0, 1, 3}));
    EXPECT_THROW(session->GetDatabase("VelloranDemo", "payroll.nsf", false), std::exception);
}

TEST_F(DemoInstallationTest, TheDatabasesAreTheOwnersAloneAndTheDirectoryHidesItsHashes) {
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(demo() / "Domino" / "Data")) {
        if (entry.path().extension() != ".nsf") continue;
        EXPECT_EQ(entry.status().permissions(), fs::perms(0600)) << entry.path();
    }
    auto session = login();
    notes::DatabasePtr directory = session->GetDatabase("VelloranDemo", "names.nsf", false);
    notes::DocumentPtr demoUser = directory->GetView("People")->GetNthDocument(1);
    ASSERT_NE(demoUser, nullptr);
    notes::StringList items = demoUser->Items();
    EXPECT_EQ(std::find(items.begin(), items.end(), "HTTPPassword"), items.end());
    EXPECT_EQ(demoUser->GetItemValue("HTTPPassword"), notes::ValueList{std::string()});
}

TEST_F(DemoInstallationTest, RefusesAFolderItDidNotMakeAndRemakesItsOwn) {
    TempDir other;
    other.write("precious.txt", "keep me");
    EXPECT_THROW(makeDemo({other.path().string(), VELLORAN_NOTES_MODULE, std::nullopt}), std::exception);
    EXPECT_TRUE(fs::exists(other.path() / "precious.txt"));

    TempDir again;
    fs::path target = again.path() / "demo";
    makeDemo({target.string(), VELLORAN_NOTES_MODULE, std::nullopt});
    again.write("demo/stray.txt", "left over");
    makeDemo({target.string(), VELLORAN_NOTES_MODULE, std::nullopt});
    EXPECT_FALSE(fs::exists(target / "stray.txt"));
    EXPECT_TRUE(fs::exists(target / "Domino" / "Data" / "sales.nsf"));
    EXPECT_THROW(makeDemo({(again.path() / "x").string(), again.file("missing.dll"), std::nullopt}), std::exception);
}

}  // namespace
}  // namespace velloran::tools
