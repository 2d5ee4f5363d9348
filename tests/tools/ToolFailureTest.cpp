// The data tools print a failure the way every tool does: the text, and
// the reason behind an engine failure, not its user-facing text alone.
#include "TempDir.h"
#include "ToolProcess.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velloran::tools {
namespace {

using testing::TempDir;
using testing::ToolRun;

TEST(ToolFailureTest, AnEngineFailurePrintsItsCause) {
    TempDir dir;
    const std::string json = dir.write("in.json", R"({"documents": []})");
    const std::string xml = dir.write("in.xml", "<database title='T'></database>");
    const std::string database = dir.file("missing/out.nsf");
    const struct {
        const char* tool;
        std::string program;
        std::vector<std::string> args;
    } runs[] = {
        {"velloran-nsf-build", VELLORAN_NSF_BUILD_TOOL, {"--json", json, "--out", database}},
        {"velloran-dxl-import", VELLORAN_DXL_IMPORT_TOOL, {"--xml", xml, "--out", database}},
    };
    for (const auto& run : runs) {
        const ToolRun ran = testing::runProcess("LC_ALL=C", run.program, run.args);
        EXPECT_EQ(ran.status, 1) << run.tool;
        EXPECT_EQ(ran.output,
                  std::string(run.tool) + ": 错误: 无法创建数据库: " + database + "（原因：文件或文件夹不存在）\n");
        EXPECT_FALSE(std::filesystem::exists(dir.file("missing"))) << run.tool;
    }
}

}  // namespace
}  // namespace velloran::tools
