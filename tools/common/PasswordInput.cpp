#include "common/PasswordInput.h"

#include "common/ToolError.h"

#include <sodium.h>

#include <cerrno>
#include <optional>
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
        if (got < 0) throw ToolError("cannot read " + where + ": " + std::strerror(errno));
        if (got == 0 || byte == '\n') break;
        if (line.size() == kMaxPasswordBytes)
            throw ToolError("the password in " + where + " is longer than " +
                                   std::to_string(kMaxPasswordBytes) + " bytes");
        line.push_back(byte);
    }
    sodium_memzero(&byte, sizeof byte);
}

// While it lives, what is typed on the terminal `fd` is not shown; the
// prompt goes to standard error, so that standard output stays the tool's.
class HiddenTyping {
public:
    explicit HiddenTyping(int fd) : fd_(fd) {
        if (::tcgetattr(fd_, &saved_) != 0) throw ToolError(std::string("cannot prompt for the password: ") +
                                                            std::strerror(errno));
        termios hidden = saved_;
        hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        hidden.c_lflag |= ECHONL;
        if (::tcsetattr(fd_, TCSAFLUSH, &hidden) != 0)
            throw ToolError(std::string("cannot hide the password as it is typed: ") + std::strerror(errno));
        static constexpr char kPrompt[] = "Password: ";
        [[maybe_unused]] ssize_t written = ::write(STDERR_FILENO, kPrompt, sizeof kPrompt - 1);
    }
    ~HiddenTyping() { ::tcsetattr(fd_, TCSAFLUSH, &saved_); }
    HiddenTyping(const HiddenTyping&) = delete;
    HiddenTyping& operator=(const HiddenTyping&) = delete;

private:
    int fd_;
    termios saved_{};
};

}  // namespace

void readPassword(const std::string& source, std::string& password) {
    const bool standardInput = source == "-";
    const std::string where = standardInput ? std::string("standard input") : "the password file '" + source + "'";
    PasswordSource input{standardInput ? STDIN_FILENO : ::open(source.c_str(), O_RDONLY | O_CLOEXEC), !standardInput};
    if (input.fd < 0) throw ToolError("cannot read " + where + ": " + std::strerror(errno));
    password.reserve(kMaxPasswordBytes);
    std::optional<HiddenTyping> hidden;
    if (standardInput && ::isatty(input.fd)) hidden.emplace(input.fd);
    readFirstLine(input.fd, where, password);
    if (!password.empty() && password.back() == '\r') password.pop_back();
}

}  // namespace velloran::tools
