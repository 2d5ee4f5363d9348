// The one error type as a person reads it: the text, the file it concerns,
// the system's reason in words, and the original detail only when asked.
#include "errors/Failure.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <new>

namespace velloran::platform {
namespace {

using Kind = Failure::Kind;

TEST(FailureTest, DescriptionsByKindWithAndWithoutDetail) {
    struct Case {
        const char* what;
        std::shared_ptr<std::exception> error;
        std::string brief;
        std::string verbose;
        bool hidden;
    };
    const auto failure = [](Kind kind, const char* text, FailureDetails details = {}) {
        return std::make_shared<Failure>(kind, text, details);
    };
    const Case cases[] = {
        {"a file with the system's reason", failure(Kind::File, "无法创建文件 /d/a", {"/d/a", "Cannot create the file /d/a: Permission denied", EACCES}),
         "无法创建文件 /d/a（原因：没有权限）",
         "无法创建文件 /d/a（原因：没有权限）\n详细信息：Cannot create the file /d/a: Permission denied [EACCES]", false},
        {"a database named only as the subject", failure(Kind::Database, "无法打开数据库", {"/d/x.nsf", "", 0, true}),
         "无法打开数据库：/d/x.nsf", "无法打开数据库：/d/x.nsf", false},
        {"a damaged registry whose reason is in English only",
         failure(Kind::Registry, "注册表文件 /r 已损坏（第 3 行）", {"/r", "The registry file /r is damaged: line 3: no ]"}),
         "注册表文件 /r 已损坏（第 3 行）",
         "注册表文件 /r 已损坏（第 3 行）\n详细信息：The registry file /r is damaged: line 3: no ]", true},
        {"an original that only translates the text",
         failure(Kind::Registry, "没有设置环境变量 HOME", {"", "HOME is not set", 0, false}), "没有设置环境变量 HOME",
         "没有设置环境变量 HOME\n详细信息：HOME is not set", false},
        {"an error number without words", failure(Kind::Workbook, "无法保存工作簿 /w.xls", {"/w.xls", "", 4095}),
         "无法保存工作簿 /w.xls", "无法保存工作簿 /w.xls\n详细信息：[errno 4095]", true},
        {"a full disk", failure(Kind::Log, "无法写入导出日志 /l", {"/l", "I/O error writing /l: No space left on device", ENOSPC}),
         "无法写入导出日志 /l（原因：磁盘已满）",
         "无法写入导出日志 /l（原因：磁盘已满）\n详细信息：I/O error writing /l: No space left on device [ENOSPC]", false},
        {"a usage mistake", failure(Kind::Usage, "缺少选项 --out"), "缺少选项 --out", "缺少选项 --out", false},
        {"another exception", std::make_shared<std::runtime_error>("plain"), "plain", "plain", false},
        {"no memory", std::make_shared<std::bad_alloc>(), "内存不足", "内存不足", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(describeFailure(*c.error, false), c.brief) << c.what;
        EXPECT_EQ(describeFailure(*c.error, true), c.verbose) << c.what;
        EXPECT_EQ(hidesDetail(*c.error), c.hidden) << c.what;
    }
}

TEST(FailureTest, RetellingKeepsTheReasonUnderTheNewText) {
    const Failure inner(Kind::File, "无法创建文件 /d/a", {"/d/a", "Cannot create the file /d/a: No such file", ENOENT});
    const Failure outer = inner.retold(Kind::Database, "无法创建数据库: /d/a");
    EXPECT_TRUE(outer.is(Kind::Database));
    EXPECT_EQ(describeFailure(outer, false), "无法创建数据库: /d/a（原因：文件或文件夹不存在）");
    EXPECT_STREQ(outer.original(), "Cannot create the file /d/a: No such file");

    // A failure without an original of its own: its text becomes the
    // original, which says nothing the new text does not.
    const Failure plain = asFailure(std::runtime_error("boom")).retold(Kind::Input, "documents[0]: boom");
    EXPECT_FALSE(plain.originalSaysMore());
    EXPECT_FALSE(hidesDetail(plain));
}

}  // namespace
}  // namespace velloran::platform
