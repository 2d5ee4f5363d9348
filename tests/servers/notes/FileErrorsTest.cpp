// Files that are not usable databases each give their own clear message.
#include "ReadWholeDatabase.h"
#include "SampleDatabase.h"
#include "TempDir.h"
#include "component/SessionObject.h"
#include "store/EngineError.h"
#include "store/Sqlite.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

namespace velloran::notes {
namespace {

using ::testing::HasSubstr;
using testing::TempDir;

class FileErrorsTest : public ::testing::Test {
protected:
    void SetUp() override { session_.Initialize(""); }

    std::string openError(const std::string& path) { return testing::errorOfReadingAll(session_, path); }

    TempDir dir_;
    component::SessionObject session_{dir_.file("no-registry.reg")};
};

TEST_F(FileErrorsTest, MissingEmptyAndForeignFilesAreToldApart) {
    EXPECT_EQ(openError(dir_.file("absent.nsf")), "数据库文件不存在: " + dir_.file("absent.nsf"));
    EXPECT_THAT(openError(dir_.write("empty.nsf", "")), HasSubstr("是空的，不含数据库"));
    EXPECT_THAT(openError(dir_.write("text.nsf", "This is a letter, not a database.\n")),
                HasSubstr("不是本系统的文档数据库"));
    EXPECT_EQ(openError(dir_.path().string()), dir_.path().string() + " 是文件夹，不是数据库文件");
}

TEST_F(FileErrorsTest, ASqliteDatabaseOfAnotherProgramIsRefused) {
    std::string path = dir_.file("other.nsf");
    {
        store::Connection other(path, store::Connection::Mode::Create);
        other.execute("CREATE TABLE t (x); INSERT INTO t VALUES (1);");
    }
    EXPECT_THAT(openError(path), HasSubstr("不是本系统的文档数据库"));
}

TEST_F(FileErrorsTest, ANewerLayoutIsRefusedWithTheVersions) {
    std::string path = dir_.file("newer.nsf");
    testing::writeSampleDatabase(path);
    store::Connection(path, store::Connection::Mode::ReadWrite).execute("PRAGMA user_version = 99");
    EXPECT_THAT(openError(path), HasSubstr("由更新版本的本系统创建（格式"));
}

TEST_F(FileErrorsTest, ADamagedFileGivesAnErrorNotACrash) {
    std::string path = dir_.file("damaged.nsf");
    testing::writeSampleDatabase(path);
    std::string bytes = TempDir::read(path);
    for (std::size_t at = 4096; at < bytes.size(); at += 7) bytes[at] = static_cast<char>(bytes[at] ^ 0x5a);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    EXPECT_THAT(openError(path), HasSubstr("damaged"));
}

TEST_F(FileErrorsTest, ADamagedValueMakesOnlyItsOwnItemUnreadable) {
    std::string path = dir_.file("values.nsf");
    testing::writeSampleDatabase(path);
    store::Connection(path, store::Connection::Mode::ReadWrite)
        .execute("UPDATE items SET vals = X'54FF' WHERE name = 'Rank'");
    DatabasePtr database = session_.GetDatabase("", path, false);
    DocumentPtr document = database->GetView("Main")->GetNthDocument(1);

    EXPECT_THAT(document->Items(), ::testing::Contains("Rank"));
    EXPECT_EQ(document->GetItemValue("Subject"), (ValueList{std::string("Doc 1")}));
    EXPECT_EQ(session_.Evaluate("Subject", document), (ValueList{std::string("Doc 1")}));
    ItemPtr rank = document->GetFirstItem("Rank");
    ASSERT_NE(rank, nullptr);
    EXPECT_EQ(rank->Name(), "Rank");

    auto errorOf = [](auto read) -> std::string {
        try {
            read();
        } catch (const Failure& e) {
            return testing::originalText(e);
        }
        return "no error";
    };
    for (const std::string& error : {errorOf([&] { document->GetItemValue("rank"); }), errorOf([&] { rank->Values(); }),
                                     errorOf([&] { session_.Evaluate("Rank * 2", document); })}) {
        EXPECT_THAT(error, HasSubstr("the item Rank of note"));
        EXPECT_THAT(error, HasSubstr(path));
        EXPECT_THAT(error, HasSubstr("is damaged (truncated)"));
    }
}

TEST_F(FileErrorsTest, DamagedViewValuesNameTheViewAndTheDatabase) {
    std::string entries = dir_.file("entries.nsf");
    testing::writeSampleDatabase(entries);
    store::Connection(entries, store::Connection::Mode::ReadWrite)
        .execute("UPDATE view_entries SET column_values = X'4E01' WHERE position = 2");
    std::string error = testing::originalErrorOfReadingAll(session_, entries);
    EXPECT_THAT(error, HasSubstr("entry 2 of a view index in " + entries));
    EXPECT_THAT(error, HasSubstr("is damaged (truncated)"));

    std::string aliases = dir_.file("aliases.nsf");
    testing::writeSampleDatabase(aliases);
    store::Connection(aliases, store::Connection::Mode::ReadWrite).execute("UPDATE views SET aliases = X'5A'");
    EXPECT_THAT(testing::originalErrorOfReadingAll(session_, aliases), HasSubstr("The stored value of the aliases of view Main in " + aliases +
                                              " is damaged (unknown kind)"));
}

TEST_F(FileErrorsTest, ATruncatedFileGivesAnError) {
    std::string path = dir_.file("truncated.nsf");
    testing::writeSampleDatabase(path);
    std::filesystem::resize_file(path, 100);
    EXPECT_THAT(openError(path), ::testing::Not(HasSubstr("no error")));
}

}  // namespace
}  // namespace velloran::notes
