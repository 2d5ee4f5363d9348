// Every program, the window's included, answers --help and --version and
// ends a wrong command line with status 2, before it opens or writes
// anything: the window also without a display.
#include "ToolProcess.h"

#include <gmock/gmock.h>

using namespace velloran::testing;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;

namespace {

struct Program {
    const char* name;
    const char* file;
};

const Program kPrograms[] = {
    {"velloran", VELLORAN_WINDOW},
    {"velloran-export", VELLORAN_EXPORT_TOOL},
    {"velloran-setup", VELLORAN_SETUP_TOOL},
    {"velloran-add-person", VELLORAN_ADD_PERSON_TOOL},
    {"velloran-nsf-build", VELLORAN_NSF_BUILD_TOOL},
    {"velloran-dxl-import", VELLORAN_DXL_IMPORT_TOOL},
    {"velloran-nsf-generate", VELLORAN_NSF_GENERATE_TOOL},
    {"velloran-make-demo", VELLORAN_MAKE_DEMO_TOOL},
};

// No display at all: a window that opened would fail to connect to one.
const std::string kNoDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb";

}  // namespace

TEST(ProgramOptionsTest, EveryProgramAnswersHelpAndVersionAndRefusesAWrongCommandLineWithTwo) {
    struct Case {
        const char* argument;
        std::string prefix;
        int status;
    };
    const Case cases[] = {
        {"--help", kNoDisplay, 0},
        {"--version", kNoDisplay, 0},
        {"--no-such-option", "QT_QPA_PLATFORM=offscreen", 2},
    };
    for (const Program& program : kPrograms) {
        for (const Case& c : cases) {
            const ToolRun run = runProcess(c.prefix, program.file, {c.argument});
            EXPECT_EQ(run.status, c.status) << program.name << " " << c.argument << ": " << run.output;
            if (c.status == 2) {
                EXPECT_THAT(run.output, HasSubstr("no-such-option")) << program.name;
            }
        }
        const ToolRun help = runProcess(kNoDisplay, program.file, {"--help"});
        EXPECT_THAT(help.output, HasSubstr(program.name)) << "the usage names the program";
        EXPECT_THAT(help.output, HasSubstr("--version")) << program.name;
        const ToolRun version = runProcess(kNoDisplay, program.file, {"--version"});
        EXPECT_THAT(version.output, MatchesRegex(std::string(program.name) + " [0-9]+\\.[0-9]+(\\.[0-9]+)*\n"));
    }
}
