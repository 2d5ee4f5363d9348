#include "errors/Failure.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace velloran::platform {

namespace {

struct ErrorWords {
    int error;
    const char* name;
    const char* words;
};

// The system errors a file, folder or database operation meets, in words.
constexpr ErrorWords kErrorWords[] = {
    {EACCES, "EACCES", "没有权限"},
    {EPERM, "EPERM", "不允许这样操作"},
    {ENOENT, "ENOENT", "文件或文件夹不存在"},
    {EEXIST, "EEXIST", "已有同名的文件"},
    {ENOTDIR, "ENOTDIR", "路径中有一段不是文件夹"},
    {EISDIR, "EISDIR", "这是一个文件夹"},
    {ENOTEMPTY, "ENOTEMPTY", "文件夹不是空的"},
    {ENOSPC, "ENOSPC", "磁盘已满"},
    {EDQUOT, "EDQUOT", "磁盘配额已用完"},
    {EFBIG, "EFBIG", "文件太大"},
    {EROFS, "EROFS", "文件系统是只读的"},
    {ELOOP, "ELOOP", "路径中有符号链接"},
    {ENAMETOOLONG, "ENAMETOOLONG", "名称太长"},
    {EMFILE, "EMFILE", "本程序打开的文件太多"},
    {ENFILE, "ENFILE", "系统打开的文件太多"},
    {EIO, "EIO", "读写设备出错"},
    {ENOMEM, "ENOMEM", "内存不足"},
    {EBUSY, "EBUSY", "正被占用"},
    {ETXTBSY, "ETXTBSY", "正被执行"},
    {EXDEV, "EXDEV", "不在同一个文件系统上"},
    {EINVAL, "EINVAL", "参数无效"},
    {EAGAIN, "EAGAIN", "资源暂时不可用"},
    {EINTR, "EINTR", "被信号打断"},
    {ENODEV, "ENODEV", "没有这个设备"},
    {ENXIO, "ENXIO", "没有这个设备"},
};

const ErrorWords* wordsFor(int error) {
    for (const ErrorWords& entry : kErrorWords)
        if (entry.error == error) return &entry;
    return nullptr;
}

std::string errorName(int error) {
    if (const ErrorWords* entry = wordsFor(error)) return entry->name;
    return "errno " + std::to_string(error);
}

// The original words when they say more than the text, and the error's
// name; empty when there is nothing beyond what the text shows.
std::string detailOf(const Failure& failure) {
    std::string detail;
    if (std::strcmp(failure.original(), failure.what()) != 0) detail = failure.original();
    if (failure.error() != 0) {
        if (!detail.empty()) detail += ' ';
        detail += '[' + errorName(failure.error()) + ']';
    }
    return detail;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

Failure::Kind kindOf(const std::exception& error) {
    const auto* failure = dynamic_cast<const Failure*>(&error);
    return failure ? failure->kind() : Failure::Kind::Database;
}

std::string originalOf(const std::exception& error) {
    const auto* failure = dynamic_cast<const Failure*>(&error);
    return failure ? failure->original() : error.what();
}

bool originalSaysMore(const std::exception& error) {
    const auto* failure = dynamic_cast<const Failure*>(&error);
    return failure && failure->originalSaysMore();
}

Failure asFailure(const std::exception& error) {
    if (const auto* failure = dynamic_cast<const Failure*>(&error)) return *failure;
    return Failure(Failure::Kind::Database, error.what());
}

int errorOf(const std::exception& error) {
    const auto* failure = dynamic_cast<const Failure*>(&error);
    return failure ? failure->error() : 0;
}

bool isFailure(const std::exception& error, Failure::Kind kind) {
    const auto* failure = dynamic_cast<const Failure*>(&error);
    return failure && failure->is(kind);
}

std::string reasonInWords(int error) {
    const ErrorWords* entry = wordsFor(error);
    return entry ? entry->words : std::string();
}

std::string describeFailure(const std::exception& error, bool verbose) {
    const auto* failure = dynamic_cast<const Failure*>(&error);
    if (!failure) return dynamic_cast<const std::bad_alloc*>(&error) ? std::string("内存不足") : std::string(error.what());
    std::string text = failure->what();
    const std::string subject = failure->subject();
    if (!subject.empty() && !contains(text, subject)) text += (text.empty() ? "" : "：") + subject;
    const std::string words = reasonInWords(failure->error());
    if (!words.empty() && !contains(text, words)) text += "（原因：" + words + "）";
    if (verbose) {
        const std::string detail = detailOf(*failure);
        if (!detail.empty()) text += "\n详细信息：" + detail;
    }
    return text;
}

bool hidesDetail(const std::exception& error) {
    const auto* failure = dynamic_cast<const Failure*>(&error);
    if (!failure) return false;
    if (failure->error() != 0) return reasonInWords(failure->error()).empty();
    return failure->originalSaysMore();
}

}  // namespace velloran::platform
