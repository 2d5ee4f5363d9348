#include "Interruption.h"

#include "BatchFailure.h"

#include <csignal>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace velloran::batch {

namespace {

std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

constexpr char kFirstNotice[] =
    "\nvelloran-export: 收到中断信号：当前文档导出后保存工作簿并退出（再按一次Ctrl+C立即退出）\n";
constexpr char kSecondNotice[] = "\nvelloran-export: 再次收到中断信号，立即退出\n";

void say(const char* text, std::size_t size) {
    // Nothing can be done in a signal handler about a line that cannot be
    // written; the exit status still tells what happened.
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text, size);
}

extern "C" void onInterrupt(int) {
    if (requested.exchange(true)) {
        say(kSecondNotice, sizeof kSecondNotice - 1);
        ::_exit(kInterrupted);
    }
    say(kFirstNotice, sizeof kFirstNotice - 1);
}

}  // namespace

void installInterruption() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // Reads and writes under way go on after the handler returns.
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM})
        if (::sigaction(signal, &action, nullptr) != 0)
            throw batchFailure(platform::Failure::Kind::System, QStringLiteral("无法处理中断信号"),
                               {"", std::string("sigaction: ") + std::strerror(errno), errno});
}

const std::atomic<bool>& interruptionRequested() { return requested; }

}  // namespace velloran::batch
