// A workbook that could not be saved where it is asked for is refused before
// the export starts: nothing read, nothing logged, one message saying why.
// Run as root, each case is tried as an ordinary user (in a child process
// that gives up root), since root may write nearly anywhere.
#include "ExportFixture.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velloran;
using namespace velloran::testing;

namespace {

constexpr uid_t kNobody = 65534;

bool isRoot() { return ::geteuid() == 0; }

// What `probe` returns, worked out as an ordinary user: in a child that
// gives up root when the test runs as root, else right here.
template <class Probe>
std::string asOrdinaryUser(Probe probe) {
    if (!isRoot()) return probe();
    int pipe[2];
    if (::pipe(pipe) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        std::string result = "could not give up root";
        if (::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0) {
            try {
                result = probe();
            } catch (const std::exception& error) {
                result = std::string("threw: ") + error.what();
            }
        }
        const ssize_t ignored = ::write(pipe[1], result.data(), result.size());
        static_cast<void>(ignored);
        ::_exit(0);
    }
    ::close(pipe[1]);
    std::string result;
    char chunk[4096];
    for (ssize_t got; (got = ::read(pipe[0], chunk, sizeof chunk)) > 0;) result.append(chunk, static_cast<std::size_t>(got));
    ::close(pipe[0]);
    ::waitpid(child, nullptr, 0);
    return result;
}

}  // namespace

class SaveTargetTest : public ExportFixture {
protected:
    void SetUp() override {
        registerSpreadsheet();
        openDatabase(nlohmann::json::parse(R"({"views": [{"name": "V"}],
            "documents": [{"unid": "000000000000000000000000000000A1", "items": [{"name": "Form", "value": "a"}]}]})"),
                     QStringLiteral("V"));
        // An ordinary user reaches the test's folders, and writes nowhere in them unless a case lets it.
        std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                                                     std::filesystem::perms::group_exec |
                                                     std::filesystem::perms::others_read |
                                                     std::filesystem::perms::others_exec);
        // The log is the one place it may write: a run that is not refused gets as far as it can.
        std::filesystem::create_directories(dir.path() / "logs");
        std::filesystem::permissions(dir.path() / "logs", std::filesystem::perms::all);
    }

    // The export of the view into `file` itself; what the user is told,
    // then whether the run got as far as its log, its wait window and a
    // saved workbook, as text.
    std::string exportAs(const std::string& file, bool replacing) {
        exporting::ExportRequest request = exporting::requestFrom(state, QString::fromStdString(file));
        request.exactName = true;
        request.replaceExisting = replacing;
        const std::size_t toldBefore = messageTexts().size();
        const qsizetype waitedBefore = wait.calls.size();
        const exporting::ExportOutcome outcome = exporter().ExportToWorkbook(request);
        std::string told;
        for (std::size_t i = toldBefore; i < messageTexts().size(); ++i) told += messageTexts()[i].toStdString() + "\n";
        if (QFileInfo::exists(logFile())) told += "logged\n";
        if (wait.calls.size() > waitedBefore) told += "waited\n";
        return outcome.saved ? told + "saved\n" : told;
    }
};

TEST_F(SaveTargetTest, ATargetThatCannotBeWrittenIsRefusedBeforeTheFirstDocument) {
    struct Case {
        const char* what;
        bool replacing;
        bool needsAnotherOwner;  // another user's file: made by root only
        std::function<std::string()> prepare;  // makes the case; returns the workbook's path
        const char* reason;
    };
    namespace fs = std::filesystem;
    const std::vector<Case> cases = {
        {"a folder of that name", true, false,
         [&] {
             fs::create_directories(dir.path() / "in-the-way" / "w.xls");
             return dir.file("in-the-way/w.xls");
         },
         "已有同名的目录"},
        {"a read-only folder", false, false,
         [&] {
             fs::create_directories(dir.path() / "read-only");
             fs::permissions(dir.path() / "read-only", fs::perms::owner_read | fs::perms::owner_exec |
                                                           fs::perms::group_read | fs::perms::group_exec |
                                                           fs::perms::others_read | fs::perms::others_exec);
             return dir.file("read-only/w.xls");
         },
         "您没有在所在目录中写入文件的权限"},
        {"another user's file in a sticky folder", true, true,
         [&] {
             fs::create_directories(dir.path() / "sticky");
             fs::permissions(dir.path() / "sticky", fs::perms::all | fs::perms::sticky_bit);
             const std::string file = dir.write("sticky/w.xls", "theirs");
             fs::permissions(file, fs::perms::all);
             return file;
         },
         "同名文件属于其他用户，所在目录只允许文件的所有者替换它"},
        {"a read-only file", true, false,
         [&] {
             fs::create_directories(dir.path() / "shared");
             fs::permissions(dir.path() / "shared", fs::perms::all);
             const std::string file = dir.write("shared/w.xls", "kept");
             fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
             if (isRoot() && ::chown(file.c_str(), kNobody, kNobody) != 0) ADD_FAILURE() << "chown " << file;
             return file;
         },
         "同名文件是只读的"}};
    for (const Case& c : cases) {
        if (c.needsAnotherOwner && !isRoot()) continue;  // no other user's file can be made
        const std::string file = c.prepare();
        const std::string told = asOrdinaryUser([&] { return exportAs(file, c.replacing); });
        EXPECT_EQ(told, "无法保存为 " + file + "：" + c.reason + "，导出没有开始\n") << c.what;
    }
}

// Root may replace a read-only file, or another's in a sticky folder: the
// run goes on and the new workbook takes the name.
TEST_F(SaveTargetTest, RootReplacesWhatOnlyPermissionsProtect) {
    if (!isRoot()) GTEST_SKIP() << "runs as root only";
    const std::string file = dir.write("out/w.xls", "old");
    std::filesystem::permissions(dir.path() / "out", std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    ASSERT_EQ(::chown(file.c_str(), kNobody, kNobody), 0);
    EXPECT_EQ(exportAs(file, true), "您好，数据导出完成，导出的附件文档存放在Excel文件的同一目录下，文件夹名为：" +
                                        dir.file("out/V附件") + "\nlogged\nwaited\nsaved\n");
}
