// The engine as the program meets it: a component file registered in a
// hive and loaded by the component runtime.
#include "SampleDatabase.h"
#include "TempDir.h"
#include "api/NotesApi.h"
#include "component/ComponentRuntime.h"
#include "registry/RegistryHive.h"

#include <gtest/gtest.h>

namespace velloran::notes {
namespace {

TEST(ComponentModuleTest, RegistersItselfAndServesSessionsThatReadDatabases) {
    testing::TempDir dir;
    std::string hivePath = dir.file("registry.reg");
    platform::ComponentRuntime runtime(hivePath);
    runtime.registerServer(VELLORAN_NOTES_MODULE);

    platform::RegistryHive hive = platform::RegistryHive::load(hivePath);
    EXPECT_EQ(hive.readString(platform::ComponentRuntime::inprocServerKey(kSessionClassId), ""), VELLORAN_NOTES_MODULE);

    auto session = std::dynamic_pointer_cast<Session>(runtime.createObject(kSessionClassId));
    ASSERT_NE(session, nullptr) << "the session class crosses the library boundary";
    std::string file = dir.file("sample.nsf");
    testing::writeSampleDatabase(file);
    session->Initialize("");
    DatabasePtr database = session->GetDatabase("", file, false);
    ViewPtr view = database->GetView("By Rank");
    EXPECT_EQ(view->AllEntriesCount(), 5);
    DocumentPtr last = view->GetNthDocument(5);
    EXPECT_EQ(view->GetNextDocument(last), nullptr);
    RichTextItemPtr body = view->GetNthDocument(1)->GetFirstItem("Body")->AsRichText();
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->EmbeddedObjects().size(), 3u);
    try {
        session->GetDatabase("", dir.file("absent.nsf"), false);
        FAIL() << "a missing file opened";
    } catch (const std::exception& e) {
        // The program sees the message for the user and, across the module's
        // boundary, the English original.
        EXPECT_EQ(std::string(e.what()), "数据库文件不存在: " + dir.file("absent.nsf"));
        const auto* failure = dynamic_cast<const platform::Failure*>(&e);
        ASSERT_NE(failure, nullptr);
        EXPECT_EQ(std::string(failure->original()), "The database file " + dir.file("absent.nsf") + " does not exist");
    }
}

TEST(ComponentModuleTest, OtherClassIdsAreNotServed) {
    testing::TempDir dir;
    platform::ComponentRuntime runtime(dir.file("registry.reg"));
    runtime.registerServer(VELLORAN_NOTES_MODULE);
    platform::RegistryHive hive = platform::RegistryHive::load(runtime.hivePath());
    const std::string other = "{00000000-0000-0000-0000-000000000001}";
    hive.setString(platform::ComponentRuntime::inprocServerKey(other), "", VELLORAN_NOTES_MODULE);
    hive.save();
    EXPECT_THROW(runtime.createObject(other), platform::Failure);
}

}  // namespace
}  // namespace velloran::notes
