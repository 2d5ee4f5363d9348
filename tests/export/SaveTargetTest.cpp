// A workbook that could not be saved where it is asked for is refused before
// the export starts: nothing read, nothing logged, one message saying why.
// Run as root, each case is tried as an ordinary user (in a child process
// that gives up root), since root may write nearly anywhere.
#include "ExportFixture.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <filesystem>
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
    enum class AtTheName { Nothing, Folder, UsersFile, OthersFile };
    struct Case {
        const char* what;
        mode_t folderMode;
        AtTheName atTheName;
        mode_t fileMode;
        bool replacing;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"a folder of that name", 0777, AtTheName::Folder, 0755, true, "已有同名的目录"},
        {"a read-only folder", 0555, AtTheName::Nothing, 0, false, "您没有在所在目录中写入文件的权限"},
        {"another user's file in a sticky folder", 01777, AtTheName::OthersFile, 0666, true,
         "同名文件属于其他用户，所在目录只允许文件的所有者替换它"},
        {"a read-only file", 0777, AtTheName::UsersFile, 0444, true, "同名文件是只读的"}};
    for (const Case& c : cases) {
        // Another user's file can be made by root only.
        if (c.atTheName == AtTheName::OthersFile && !isRoot()) continue;
        const std::filesystem::path folder = dir.path() / c.what;
        const std::string file = (folder / "w.xls").string();
        std::filesystem::create_directories(c.atTheName == AtTheName::Folder ? file : folder.string());
        if (c.atTheName == AtTheName::UsersFile || c.atTheName == AtTheName::OthersFile) dir.write(file, "old");
        if (c.atTheName == AtTheName::UsersFile && isRoot()) {
            ASSERT_EQ(::chown(file.c_str(), kNobody, kNobody), 0);
        }
        if (c.atTheName != AtTheName::Nothing) {
            ASSERT_EQ(::chmod(file.c_str(), c.fileMode), 0);
        }
        ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);

        const std::string told = asOrdinaryUser([&] { return exportAs(file, c.replacing); });
        EXPECT_EQ(told, "无法保存为 " + file + "：" + c.reason + "，导出没有开始\n") << c.what;
    }
}
