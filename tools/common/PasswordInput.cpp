#include "common/PasswordInput.h"

#include "common/Secrets.h"
#include "common/ToolError.h"

#include <sodium.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace velloran::tools {

namespace {

// Room for the longest password taken; reserved up front, so the text is
// never moved to a larger buffer that would leave a copy behind.
constexpr std::size_t kMaxPasswordBytes = 1024;

// Where the password is read from; a file it opened is closed again.
struct PasswordSource {
    int fd = -1;
    bool opened = false;
    ~PasswordSource() {
        if (opened && fd >= 0) ::close(fd);
    }
};

// Appends the first line of `fd` to `line` one byte at a time, so no stream
// buffer keeps a copy of the password.
// `where` names the source in messages.
void readFirstLine(int fd, const std::string& where, std::string& line) {
    char byte = 0;
    while (true) {
        ssize_t got = ::read(fd, &byte, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw systemFailure("无法读取" + where, "cannot read " + where, errno);
        if (got == 0 || byte == '\n') break;
        if (line.size() == kMaxPasswordBytes)
            throw toolFailure(where + "中的密码超过 " + std::to_string(kMaxPasswordBytes) + " 个字节");
        line.push_back(byte);
    }
    sodium_memzero(&byte, sizeof byte);
}

// While it lives, what is typed on the terminal `fd` is not shown.
class HiddenTyping {
public:
    explicit HiddenTyping(int fd) : fd_(fd) {
        if (::tcgetattr(fd_, &saved_) != 0) throw systemFailure("无法提示输入密码", "cannot prompt for the password", errno);
        termios hidden = saved_;
        hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        hidden.c_lflag |= ECHONL;
        if (::tcsetattr(fd_, TCSAFLUSH, &hidden) != 0)
            throw systemFailure("无法在输入密码时隐藏它", "cannot hide the password as it is typed", errno);
    }
    ~HiddenTyping() { ::tcsetattr(fd_, TCSAFLUSH, &saved_); }
    HiddenTyping(const HiddenTyping&) = delete;
    HiddenTyping& operator=(const HiddenTyping&) = delete;

private:
    int fd_;
    termios saved_{};
};

// The source as messages name it.
std::string sourceName(const std::string& source) {
    return source == "-" ? std::string("标准输入") : "密码文件“" + source + "”";
}

// A prompt goes to standard error, so that standard output stays the tool's.
template <std::size_t size>
void prompt(const char (&text)[size]) {
    [[maybe_unused]] ssize_t written = ::write(STDERR_FILENO, text, size - 1);
}

// The first line of `fd` into `line`, without a CR at its end.
void readLine(int fd, const std::string& where, std::string& line) {
    line.reserve(kMaxPasswordBytes);
    readFirstLine(fd, where, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
}

// Reads the password from `source`; on a terminal, hidden, after a prompt,
// and a second time when `confirmed` (refused when the two differ).
void readFrom(const std::string& source, std::string& password, bool confirmed) {
    const bool standardInput = source == "-";
    const std::string where = sourceName(source);
    PasswordSource input{standardInput ? STDIN_FILENO : ::open(source.c_str(), O_RDONLY | O_CLOEXEC), !standardInput};
    if (input.fd < 0) throw systemFailure("无法读取" + where, "cannot read " + where, errno);
    if (!standardInput || !::isatty(input.fd)) return readLine(input.fd, where, password);
    const HiddenTyping hidden(input.fd);
    prompt("密码: ");
    readLine(input.fd, where, password);
    if (!confirmed || password.empty()) return;
    std::string again;
    const WipedOnExit wiped(again);
    prompt("再输入一次密码: ");
    readLine(input.fd, where, again);
    if (again != password) throw toolFailure("两次输入的密码不同，没有做任何更改");
}

}  // namespace

void readPassword(const std::string& source, std::string& password) { readFrom(source, password, false); }

void readNewPassword(const std::string& source, std::string& password) {
    readFrom(source, password, true);
    if (password.empty())
        throw toolFailure(sourceName(source) + "中的密码为空，人员必须有密码");
}

}  // namespace velloran::tools
