// velloran-setup writes a hive that the batch tool then finds by itself in
// the user's HOME; a tool without a hive names the files it looked for.
#include "ExportFixture.h"
#include "ToolProcess.h"

#include "registry/RegistryHive.h"

#include <gmock/gmock.h>

#include <filesystem>

using namespace velloran;
using namespace velloran::testing;
using ::testing::HasSubstr;

namespace {

namespace fs = std::filesystem;

// Runs `program` with only HOME (and the hive variable when given) from
// the test, so that the tool finds its hive as a user's program would.
ToolRun run(const std::string& home, const std::string& hiveVariable, const std::string& program,
            const std::vector<std::string>& args) {
    std::string prefix = std::string("env -u VELLORAN_REGISTRY LC_ALL=C HOME=").append(shellQuoted(home));
    if (!hiveVariable.empty()) prefix.append(" VELLORAN_REGISTRY=").append(shellQuoted(hiveVariable));
    return runProcess(prefix, program, args);
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

    ToolRun setup(const std::vector<std::string>& args) {
        std::vector<std::string> all{"--components", components.string(), "--user"};
        all.insert(all.end(), args.begin(), args.end());
        return run(home.string(), "", VELLORAN_SETUP_TOOL, all);
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
    EXPECT_THAT(written.output, HasSubstr("Registry written: " + userHive()));

    const ToolRun exported = exportView();
    EXPECT_EQ(exported.status, 0) << exported.output;
    EXPECT_TRUE(fs::exists(dir.file("out_开始为第1个文档.xls"))) << exported.output;

    const platform::RegistryHive hive = platform::RegistryHive::load(userHive());
    EXPECT_EQ(hive.readString("Software\\Lotus\\Domino", "ServerName"), "Main/Velloran");
    EXPECT_EQ(hive.readString("Software\\Lotus\\Domino", "Path"), fs::canonical(components).string());
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
    EXPECT_THAT(noData.output, HasSubstr("The data folder " + dir.file("nowhere") + " is not an existing folder"));

    fs::remove(components / "nlsxbe.dll");
    const ToolRun noComponent = setup({"--data", dir.file("")});
    EXPECT_EQ(noComponent.status, 1);
    EXPECT_THAT(noComponent.output, HasSubstr("holds no nlsxbe.dll"));
    EXPECT_FALSE(fs::exists(userHive()));
}

TEST_F(SetupToolTest, WithoutAHiveTheToolNamesTheFileItLookedForAndTheSetupCommand) {
    const ToolRun exported = exportView(dir.file("none/registry.reg"));
    EXPECT_EQ(exported.status, 1);
    EXPECT_THAT(exported.output, HasSubstr("looked for " + dir.file("none/registry.reg")));
    EXPECT_THAT(exported.output, HasSubstr("velloran-setup --data DATA_FOLDER"));
}
