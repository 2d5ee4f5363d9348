#pragma once
// A log file that is a named pipe: the export's lines reach the test as the
// export writes them, and the export waits whenever the test stops reading
// (once the pipe's buffer is full). A test can so act at a known point of
// a run without any timing.
#include "text/Gb18030.h"

#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velloran::testing {

class LogPipe {
public:
    explicit LogPipe(const std::string& path) {
        if (::mkfifo(path.c_str(), 0600) != 0) throw std::runtime_error("cannot make the pipe " + path);
        // Opened without waiting for the writer, which opens it later.
        fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) throw std::runtime_error("cannot open the pipe " + path);
    }
    ~LogPipe() { ::close(fd_); }
    LogPipe(const LogPipe&) = delete;
    LogPipe& operator=(const LogPipe&) = delete;

    // Reads until `text` was read (true), or the process `pid` has ended
    // and everything it wrote was read (false).
    bool readUntil(const QString& text, pid_t pid) {
        while (!decoded().contains(text))
            if (!readMore(pid)) return false;
        return true;
    }
    // Reads until the process has ended; its exit status, -1 for a signal.
    int readToEnd(pid_t pid) {
        while (readMore(pid)) {
        }
        return status_;
    }
    QStringList lines() const { return decoded().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts); }

private:
    QString decoded() const { return platform::fromGb18030(bytes_); }

    // Waits for more bytes (the short poll only looks in on the process);
    // false once the process has ended and the pipe is empty.
    bool readMore(pid_t pid) {
        for (;;) {
            pollfd ready{fd_, POLLIN, 0};
            ::poll(&ready, 1, 100);
            char chunk[4096];
            const ssize_t got = ::read(fd_, chunk, sizeof chunk);
            if (got > 0) {
                bytes_.append(chunk, got);
                return true;
            }
            if (got < 0 && errno != EAGAIN && errno != EINTR) throw std::runtime_error("cannot read the log pipe");
            if (ended(pid)) return false;
        }
    }

    bool ended(pid_t pid) {
        if (status_ != kRunning) return true;
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) != pid) return false;
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return true;
    }

    static constexpr int kRunning = -2;
    int fd_ = -1;
    int status_ = kRunning;
    QByteArray bytes_;
};

}  // namespace velloran::testing
