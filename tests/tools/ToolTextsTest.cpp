// Every data tool speaks Chinese: its help, its complaint about a command
// line it cannot take, and its errors, with the engine's English account of
// a failure only on --verbose.
#include "TempDir.h"
#include "ToolProcess.h"

#include <gmock/gmock.h>

#include <climits>

namespace velloran::tools {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;
using testing::TempDir;
using testing::ToolRun;

ToolRun runTool(const std::string& tool, const std::vector<std::string>& args) {
    return testing::runProcess("LC_ALL=C", std::string(VELLORAN_TOOLS_DIR) + "/" + tool, args);
}

TEST(ToolTextsTest, EveryDataToolHelpsAndRefusesAMistakenCommandLineInChinese) {
    const struct {
        std::string tool;
        std::vector<std::string> mistake;
        std::string complaint;
    } tools[] = {
        {"velloran-dxl-import", {"--xml", "a.xml"}, "缺少选项 --out（见 --help）"},
        {"velloran-setup", {"--data"}, "选项 --data 需要一个值"},
        {"velloran-add-person", {"--directory", "names.nsf", "extra"}, "多余的参数 'extra'（见 --help）"},
        {"velloran-nsf-build", {"--json=a.json", "--verbose=yes"}, "选项 --verbose 不带值"},
        {"velloran-nsf-generate", {"--out", "a.nsf", "--documents", "many"},
         "选项 --documents 需要一个 0 到 " + std::to_string(LLONG_MAX) + " 的整数，而不是 'many'"},
        {"velloran-make-demo", {"--bogus"}, "未知的选项 --bogus（见 --help）"},
    };
    for (const auto& tool : tools) {
        const ToolRun help = runTool(tool.tool, {"--help"});
        EXPECT_EQ(help.status, 0) << tool.tool;
        EXPECT_THAT(help.output, StartsWith("用法: " + tool.tool + " ")) << tool.tool;
        EXPECT_THAT(help.output, HasSubstr("--verbose")) << tool.tool;
        const ToolRun refused = runTool(tool.tool, tool.mistake);
        EXPECT_EQ(refused.status, 2) << tool.tool;
        EXPECT_EQ(refused.output, tool.tool + ": 错误: " + tool.complaint + "\n");
    }
}

TEST(ToolTextsTest, AFailureSaysWhyAndTheOriginalEnglishOnlyWithVerbose) {
    TempDir dir;
    const std::string database = dir.file("missing/a.nsf");
    const std::string json = dir.file("none.json");
    const std::string xml = dir.write("a.xml", "<document form='Memo'/>");
    const std::string cannotCreate = "无法创建数据库: " + database + "（原因：文件或文件夹不存在）";
    const std::string englishCreate = "Cannot create the database " + database;
    const struct {
        std::string tool;
        std::vector<std::string> args;
        std::string said;
        std::string detail;
    } failures[] = {
        {"velloran-nsf-generate", {"--out", database}, cannotCreate, englishCreate},
        {"velloran-dxl-import", {"--xml", xml, "--out", database}, cannotCreate, englishCreate},
        {"velloran-nsf-build", {"--json", json, "--out", dir.file("b.nsf")},
         "无法读取 JSON 文件 " + json + "（原因：文件或文件夹不存在）", "cannot read " + json + ": No such file"},
    };
    for (const auto& failure : failures) {
        const std::string said = failure.tool + ": 错误: " + failure.said + "\n";
        const ToolRun plain = runTool(failure.tool, failure.args);
        EXPECT_EQ(plain.status, 1) << failure.tool;
        EXPECT_EQ(plain.output, said);
        std::vector<std::string> verbose = failure.args;
        verbose.push_back("--verbose");
        const ToolRun detailed = runTool(failure.tool, verbose);
        EXPECT_EQ(detailed.status, 1) << failure.tool;
        EXPECT_THAT(detailed.output, StartsWith(said));
        EXPECT_THAT(detailed.output, HasSubstr(failure.tool + ": 详细信息：" + failure.detail));
    }
}

}  // namespace
}  // namespace velloran::tools
