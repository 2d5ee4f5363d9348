// velloran-add-person refuses an empty password and a database that is not
// the directory, says when it creates the directory, and keeps the password
// out of core dumps.
#include "TempDir.h"
#include "ToolProcess.h"
#include "common/ToolError.h"
#include "generate/Generator.h"
#include "people/AddPersonTool.h"
#include "people/Person.h"

#include <gmock/gmock.h>

#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace velloran::tools {
namespace {

using testing::TempDir;
using testing::ToolRun;
using ::testing::HasSubstr;

ToolRun addPersonTool(const std::vector<std::string>& args) {
    return testing::runProcess("LC_ALL=C", VELLORAN_ADD_PERSON_TOOL, args);
}

TEST(AddPersonToolTest, AnEmptyPasswordIsRefusedFromEveryRoute) {
    TempDir dir;
    const struct {
        const char* route;
        std::string source;
    } routes[] = {
        {"standard input from /dev/null", "-"},
        {"an empty file", dir.write("empty", "")},
        {"a file whose first line is empty", dir.write("blank", "\nsecret\n")},
        {"a file whose first line is a lone CR", dir.write("cr", "\r\nsecret\n")},
    };
    for (const auto& route : routes) {
        const ToolRun run = addPersonTool(
            {"--directory", dir.file("names.nsf"), "--name", "Zhang San/Velloran", "--password-file", route.source});
        EXPECT_EQ(run.status, 1) << route.route;
        EXPECT_THAT(run.output, HasSubstr("中的密码为空，人员必须有密码")) << route.route;
        EXPECT_FALSE(std::filesystem::exists(dir.file("names.nsf"))) << route.route;
    }
}

TEST(AddPersonToolTest, SaysWhenItCreatesTheDirectoryAndWhere) {
    TempDir dir;
    const std::string password = dir.write("pw", "secret\n");
    const std::string directory = dir.file("names.nsf");
    const ToolRun first = addPersonTool({"--directory", directory, "--name", "A/Velloran", "--password-file", password});
    EXPECT_EQ(first.status, 0) << first.output;
    EXPECT_EQ(first.output, "已创建目录数据库 " + directory + "\n已添加 CN=A/O=Velloran\n");
    const ToolRun second = addPersonTool({"--directory", directory, "--name", "B/Velloran", "--password-file", password});
    EXPECT_EQ(second.output, "已添加 CN=B/O=Velloran\n");
}

TEST(PersonTest, ADatabaseThatIsNotTheDirectoryIsRefusedAndLeftAsItWas) {
    TempDir dir;
    generateDatabase(dir.file("sales.nsf"), {3, 3, -1, 1, "All"});
    std::filesystem::create_directories(dir.path() / "copy");
    generateDatabase(dir.file("copy/names.nsf"), {3, 3, -1, 1, "All"});
    const struct {
        const char* file;
        const char* reason;
    } refused[] = {
        {"sales.nsf", "登录时只读取数据目录中的 names.nsf"},
        {"Names.nsf", "登录时只读取数据目录中的 names.nsf"},
        {"copy/names.nsf", "它没有 ($Users) 视图"},
    };
    for (const auto& database : refused) {
        const std::string file = dir.file(database.file);
        const bool existed = std::filesystem::exists(file);
        const std::string before = existed ? TempDir::read(file) : std::string();
        try {
            addPerson(file, {"Zhang San/Velloran", "zs", "pw"}, true);
            ADD_FAILURE() << database.file << " was taken as the directory";
        } catch (const Failure& error) {
            EXPECT_THAT(error.what(), HasSubstr(database.reason)) << database.file;
        }
        if (existed) {
            EXPECT_THROW(changePassword(file, "Zhang San", "pw", true), Failure) << database.file;
            EXPECT_EQ(TempDir::read(file), before) << database.file;
        }
        EXPECT_EQ(std::filesystem::exists(file), existed) << database.file;
    }
}

TEST(PersonTest, AnEmptyPasswordIsNeverStored) {
    TempDir dir;
    const std::string directory = dir.file("names.nsf");
    EXPECT_THROW(addPerson(directory, {"Zhang San/Velloran", "zs", ""}, true), Failure);
    EXPECT_FALSE(std::filesystem::exists(directory));
    ASSERT_TRUE(addPerson(directory, {"Zhang San/Velloran", "zs", "pw"}, true)) << "the directory was created";
    const std::string before = TempDir::read(directory);
    EXPECT_THROW(changePassword(directory, "zs", "", true), Failure);
    EXPECT_EQ(TempDir::read(directory), before);
}

// The tool's run in a child process, which answers whether it could still
// leave a core dump afterwards.
TEST(AddPersonToolTest, TheProcessHoldingThePasswordCannotBeDumped) {
    TempDir dir;
    std::vector<std::string> texts = {"velloran-add-person", "--directory", dir.file("names.nsf"), "--name",
                                      "A/Velloran", "--password-file", dir.write("pw", "secret\n")};
    std::vector<char*> args;
    for (std::string& text : texts) args.push_back(text.data());
    args.push_back(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(::open("/dev/null", O_WRONLY), STDOUT_FILENO);
        const int status = runAddPerson(static_cast<int>(texts.size()), args.data());
        ::_exit(status != 0 ? 2 : ::prctl(PR_GET_DUMPABLE) == 0 ? 0 : 3);
    }
    EXPECT_EQ(testing::waitForExit(child), 0) << "2: the tool failed; 3: the process could leave a core dump";
}

}  // namespace
}  // namespace velloran::tools
