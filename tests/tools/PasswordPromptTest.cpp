// A password typed on a terminal is read without being shown, and the
// terminal gets its echo back afterwards; a new one is asked for twice.
#include "common/PasswordInput.h"

#include <gmock/gmock.h>

#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace velloran::tools {
namespace {

// A pseudo-terminal standing in for standard input while it lives.
class TerminalInput {
public:
    TerminalInput() {
        if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) throw std::runtime_error("no pty");
        savedInput_ = ::dup(STDIN_FILENO);
        ::dup2(slave_, STDIN_FILENO);
    }
    ~TerminalInput() {
        ::dup2(savedInput_, STDIN_FILENO);
        ::close(savedInput_);
        ::close(slave_);
        ::close(master_);
    }
    TerminalInput(const TerminalInput&) = delete;
    TerminalInput& operator=(const TerminalInput&) = delete;

    bool echoes() const {
        termios modes{};
        ::tcgetattr(slave_, &modes);
        return (modes.c_lflag & ECHO) != 0;
    }
    // Types the line once the echo is off, as a user answering the prompt;
    // types it anyway after many looks, so that a reader that never hides
    // the echo fails the test instead of waiting for ever.
    void typeWhenHidden(const std::string& line) {
        for (int looks = 0; echoes() && looks < 10'000'000; ++looks) std::this_thread::yield();
        [[maybe_unused]] ssize_t written = ::write(master_, line.data(), line.size());
    }
    // What the terminal has shown so far.
    std::string shown() const {
        ::fcntl(master_, F_SETFL, O_NONBLOCK);
        std::string out;
        char chunk[256];
        for (ssize_t got; (got = ::read(master_, chunk, sizeof chunk)) > 0;) out.append(chunk, static_cast<std::size_t>(got));
        return out;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    int savedInput_ = -1;
};

TEST(PasswordPromptTest, ATypedPasswordIsNotShownAndTheEchoComesBack) {
    TerminalInput terminal;
    ASSERT_TRUE(terminal.echoes());
    std::thread user([&] { terminal.typeWhenHidden("typed secret\n"); });
    std::string password;
    readPassword("-", password);
    user.join();

    EXPECT_EQ(password, "typed secret");
    EXPECT_TRUE(terminal.echoes()) << "the terminal echoes again after the prompt";
    EXPECT_EQ(terminal.shown().find("secret"), std::string::npos) << "the password was shown as it was typed";
}

TEST(PasswordPromptTest, ANewPasswordIsTypedTwiceTheSameAndNotEmpty) {
    const struct {
        const char* typed;
        const char* refusal;  // nullptr: taken
    } cases[] = {
        {"new secret\nnew secret\n", nullptr},
        {"new secret\nnew secrets\n", "两次输入的密码不同"},
        {"\n\n", "中的密码为空"},
    };
    for (const auto& typing : cases) {
        TerminalInput terminal;
        std::thread user([&] { terminal.typeWhenHidden(typing.typed); });
        std::string password;
        std::string refusal;
        try {
            readNewPassword("-", password);
        } catch (const std::exception& error) {
            refusal = error.what();
        }
        user.join();
        if (typing.refusal)
            EXPECT_THAT(refusal, ::testing::HasSubstr(typing.refusal)) << typing.typed;
        else
            EXPECT_EQ(password, "new secret") << refusal;
        EXPECT_TRUE(terminal.echoes()) << typing.typed;
    }
}

}  // namespace
}  // namespace velloran::tools
