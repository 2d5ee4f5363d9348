#include "files/LiveTemporaries.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <system_error>
#include <unistd.h>

namespace velloran::platform {

namespace {

// Files held at once: a save or a database build each, per thread.
constexpr std::size_t kPlaces = 64;
constexpr std::size_t kSuffixRoom = sizeof "-journal";
constexpr const char* kDatabaseSideFiles[] = {"-journal", "-wal", "-shm"};

enum State : int { Free, Filling, Listed };

struct Place {
    std::atomic<int> state{Free};
    std::atomic<bool> database{false};
    char path[PATH_MAX] = {};
};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the signal handler reads the list without locks");

std::array<Place, kPlaces> places;

// Unlinks `path` followed by `suffix`, built on the stack.
void unlinkWithSuffix(const char* path, const char* suffix) noexcept {
    char name[PATH_MAX + kSuffixRoom];
    std::size_t length = 0;
    while (path[length] != '\0' && length < PATH_MAX) name[length] = path[length], ++length;
    for (; *suffix != '\0'; ++suffix) name[length++] = *suffix;
    name[length] = '\0';
    ::unlink(name);
}

extern "C" void removeAndEnd(int signal) {
    removeLiveTemporaries();
    // The handler was reset to the default action on entry, and the signal
    // stays blocked until it returns: then the default action ends the process.
    ::raise(signal);
}

}  // namespace

int rememberTemporary(const std::string& path) {
    if (path.size() >= PATH_MAX) return -1;
    for (std::size_t i = 0; i < kPlaces; ++i) {
        int expected = Free;
        if (!places[i].state.compare_exchange_strong(expected, Filling)) continue;
        path.copy(places[i].path, path.size());
        places[i].path[path.size()] = '\0';
        places[i].database.store(false);
        places[i].state.store(Listed);
        return static_cast<int>(i);
    }
    return -1;
}

void listTemporaryDatabase(int place) {
    if (place >= 0) places[static_cast<std::size_t>(place)].database.store(true);
}

void forgetTemporary(int place) {
    if (place >= 0) places[static_cast<std::size_t>(place)].state.store(Free);
}

void removeLiveTemporaries() noexcept {
    const int savedErrno = errno;
    for (Place& place : places) {
        if (place.state.load() != Listed) continue;
        if (place.database.load())
            for (const char* suffix : kDatabaseSideFiles) unlinkWithSuffix(place.path, suffix);
        ::unlink(place.path);
    }
    errno = savedErrno;
}

void removeTemporariesOnTermination() {
    struct sigaction action {};
    action.sa_handler = removeAndEnd;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 ||
            (current.sa_handler != SIG_IGN && ::sigaction(signal, &action, nullptr) != 0))
            throw std::system_error(errno, std::generic_category(), "cannot handle the signals that end the process");
    }
}

}  // namespace velloran::platform
