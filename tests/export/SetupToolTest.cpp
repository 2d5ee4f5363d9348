// velloran-setup writes a hive that the batch tool then finds by itself in
// the user's HOME; a tool without a hive names the files it looked for.
#include "ExportFixture.h"
#include "ToolProcess.h"

#include "registry/RegistryHive.h"

#include <gmock/gmock.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

using namespace velloran;
using namespace velloran::testing;
using ::testing::HasSubstr;

namespace {

namespace fs = std::filesystem;

// Runs `program` with only HOME (and the hive variable when given) from
// the test, so that the tool finds its hive as a user's program would.
std::string environment(const std::string& home, const std::string& hiveVariable) {
    std::string prefix = std::string("env -u VELLORAN_REGISTRY LC_ALL=C HOME=").append(shellQuoted(home));
    if (!hiveVariable.empty()) prefix.append(" VELLORAN_REGISTRY=").append(shellQuoted(hiveVariable));
    return prefix;
}

ToolRun run(const std::string& home, const std::string& hiveVariable, const std::string& program,
            const std::vector<std::string>& args) {
    return runProcess(environment(home, hiveVariable), program, args);
}

// Holds the exclusive lock on `path` while it lives, as a run of
// velloran-setup holds the lock file beside the hive.
class HeldLock {
public:
    explicit HeldLock(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd_ < 0 || ::flock(fd_, LOCK_EX) != 0) throw std::runtime_error("cannot lock " + path);
    }
    ~HeldLock() { release(); }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    void release() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

// Reads `from` line by line until a line holds `until` (when given) or the
// output ends; returns what was read.
std::string readLines(FILE* from, const std::string& until = {}) {
    std::string read;
    std::array<char, 4096> line{};
    while ((until.empty() || read.find(until) == std::string::npos) && std::fgets(line.data(), line.size(), from))
        read += line.data();
    return read;
}

}  // namespace

class SetupToolTest : public ExportFixture {
protected:
    void SetUp() override {
        openDatabase(nlohmann::json::parse(R"({"views": [{"name": "V"}],
            "documents": [{"items": [{"name": "Form", "value": "a"}]}]})"),
                     QStringLiteral("V"));
        fs::create_directories(components);
        fs::copy_file(VELLORAN_NOTES_MODULE, components / "nlsxbe.dll");
        fs::copy_file(VELLORAN_EXCEL_MODULE, components / "velloran-excel.so");
        fs::create_directories(home);
    }

    std::vector<std::string> setupArguments(const std::vector<std::string>& args) const {
        std::vector<std::string> all{"--components", components.string(), "--user"};
        all.insert(all.end(), args.begin(), args.end());
        return all;
    }
    ToolRun setup(const std::vector<std::string>& args, const std::string& inHome = "") {
        return run(inHome.empty() ? home.string() : inHome, "", VELLORAN_SETUP_TOOL, setupArguments(args));
    }
    ToolRun exportView(const std::string& hiveVariable = "") {
        return run(home.string(), hiveVariable, VELLORAN_EXPORT_TOOL,
                   {"--database", dir.file("data.nsf"), "--view", "V", "--out", dir.file("out.xls"), "--log-folder",
                    dir.file("logs")});
    }
    std::string userHive() const { return (home / ".config/velloran/registry.reg").string(); }

    fs::path components = dir.path() / "lib";
    fs::path home = dir.path() / "home";
};

TEST_F(SetupToolTest, TheHiveItWritesInHomeServesTheBatchExport) {
    const ToolRun written = setup({"--data", dir.file(""), "--server", "Main/Velloran"});
    ASSERT_EQ(written.status, 0) << written.output;
    EXPECT_THAT(written.output, HasSubstr("已写入注册表文件: " + userHive()));

    const ToolRun exported = exportView();
    EXPECT_EQ(exported.status, 0) << exported.output;
    EXPECT_TRUE(fs::exists(dir.file("out_开始为第1个文档.xls"))) << exported.output;

    const platform::RegistryHive hive = platform::RegistryHive::load(userHive());
    EXPECT_EQ(hive.readString("Software\\Lotus\\Domino", "ServerName"), "Main/Velloran");
    EXPECT_EQ(hive.readString("Software\\Lotus\\Domino", "Path"), fs::canonical(components).string());
}

// What a user needs next: the server name --server takes, and, from the
// build tree, where the components are to come from.
TEST_F(SetupToolTest, ItSaysTheServerNameItChoseAndWhatToDoWithoutInstalledComponents) {
    const ToolRun named = setup({"--data", dir.file(""), "--server", "Main/Velloran"});
    EXPECT_THAT(named.output, HasSubstr("服务器名: Main/Velloran（velloran-export 的 --server 用这个名字）\n"));
    const ToolRun hostNamed = setup({"--data", dir.file("")});
    const platform::RegistryHive hive = platform::RegistryHive::load(userHive());
    EXPECT_THAT(hostNamed.output, HasSubstr("服务器名: " + hive.readString("Software\\Lotus\\Domino", "ServerName") + "（"));

    const ToolRun fromBuildTree = run(home.string(), "", VELLORAN_SETUP_TOOL, {"--data", dir.file(""), "--user"});
    EXPECT_EQ(fromBuildTree.status, 1);
    EXPECT_THAT(fromBuildTree.output, HasSubstr("没有找到安装的组件 nlsxbe.dll"));
    EXPECT_THAT(fromBuildTree.output, HasSubstr("cmake --install"));
    EXPECT_THAT(fromBuildTree.output, HasSubstr("或用 --components 指定"));
}

TEST_F(SetupToolTest, RunAgainItChangesTheDataFolderAndKeepsTheRegistrations) {
    ASSERT_EQ(setup({"--data", dir.file("")}).status, 0);
    fs::create_directories(dir.path() / "other");
    const ToolRun again = setup({"--data", dir.file("other")});
    ASSERT_EQ(again.status, 0) << again.output;

    const platform::RegistryHive hive = platform::RegistryHive::load(userHive());
    EXPECT_EQ(hive.readString("Software\\Lotus\\Domino", "DataPath"), fs::canonical(dir.path() / "other").string());
    EXPECT_EQ(exportView().status, 0) << "the components stay registered";
}

TEST_F(SetupToolTest, RefusesAMissingDataFolderOrComponentWithoutWritingAHive) {
    const ToolRun noData = setup({"--data", dir.file("nowhere")});
    EXPECT_EQ(noData.status, 1);
    EXPECT_THAT(noData.output, HasSubstr("数据目录 " + dir.file("nowhere") + " 不是已有的目录"));

    fs::remove(components / "nlsxbe.dll");
    const ToolRun noComponent = setup({"--data", dir.file("")});
    EXPECT_EQ(noComponent.status, 1);
    EXPECT_THAT(noComponent.output, HasSubstr("中没有 nlsxbe.dll"));
    EXPECT_FALSE(fs::exists(userHive()));
}

TEST_F(SetupToolTest, WithoutAHiveTheToolNamesTheFileItLookedForAndTheSetupCommand) {
    const ToolRun exported = exportView(dir.file("none/registry.reg"));
    EXPECT_EQ(exported.status, 1);
    EXPECT_THAT(exported.output, HasSubstr("找过：" + dir.file("none/registry.reg")));
    EXPECT_THAT(exported.output, HasSubstr("velloran-setup --data 数据目录"));
}

TEST_F(SetupToolTest, ARunThatFindsTheHiveLockedWaitsAndKeepsWhatTheHolderSaved) {
    fs::create_directories(home / ".config/velloran");
    HeldLock held(userHive() + ".lock");
    const std::string command =
        commandLine(environment(home.string(), ""), VELLORAN_SETUP_TOOL, setupArguments({"--data", dir.file("")}));
    FILE* tool = ::popen(command.c_str(), "r");
    ASSERT_NE(tool, nullptr);
    std::string output = readLines(tool, "正在等待另一个程序用完注册表文件");
    if (output.find("正在等待") == std::string::npos) {
        ::pclose(tool);
        FAIL() << "the run did not wait for the lock: " << output;
    }

    // The holder's update, made while the run waits: the run must start from it.
    platform::RegistryHive holder = platform::RegistryHive::load(userHive());
    holder.setString("Software\\Holder", "Kept", "yes");
    holder.save();
    held.release();
    output += readLines(tool);
    ASSERT_EQ(WEXITSTATUS(::pclose(tool)), 0) << output;

    const platform::RegistryHive hive = platform::RegistryHive::load(userHive());
    EXPECT_EQ(hive.readString("Software\\Holder", "Kept"), "yes");
    EXPECT_EQ(hive.readString("Software\\Lotus\\Domino", "Path"), fs::canonical(components).string());
    EXPECT_EQ(exportView().status, 0) << "the components are registered";
}

TEST_F(SetupToolTest, ALinkOnTheWayToTheUsersHiveIsRefusedAndNothingIsWrittenThroughIt) {
    struct Case {
        const char* link;    // below HOME
        const char* target;  // in the folder "elsewhere", which holds only victim.reg
        const char* said;
    };
    const Case cases[] = {
        {".config", "", "文件夹 "},
        {".config/velloran", "", "文件夹 "},
        {".config/velloran/registry.reg", "victim.reg", "注册表文件 "},
    };
    for (const Case& c : cases) {
        const std::string number = std::to_string(&c - cases);
        const fs::path caseHome = dir.path() / ("home-" + number);
        const fs::path elsewhere = dir.path() / ("elsewhere-" + number);
        const std::string victim = dir.write("elsewhere-" + number + "/victim.reg", "REGEDIT4\n");
        fs::create_directories((caseHome / c.link).parent_path());
        fs::create_symlink(elsewhere / c.target, caseHome / c.link);

        const ToolRun refused = setup({"--data", dir.file("")}, caseHome.string());
        EXPECT_EQ(refused.status, 1) << c.link;
        EXPECT_THAT(refused.output, HasSubstr(c.said + (caseHome / c.link).string() + " 是符号链接"));
        EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere), fs::directory_iterator()), 1)
            << c.link << ": a file was made through the link";
        EXPECT_EQ(TempDir::read(victim), "REGEDIT4\n") << c.link;
    }
}

TEST_F(SetupToolTest, AsRootItRefusesTheHomeOfAnotherUser) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can own a HOME of another user's";
    ASSERT_EQ(::chown(home.c_str(), 1000, 1000), 0);
    const ToolRun refused = setup({"--data", dir.file("")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.output, HasSubstr("属于另一个用户"));
    EXPECT_THAT(refused.output, HasSubstr("请以该用户身份运行"));
    EXPECT_FALSE(fs::exists(home / ".config"));
}
