#include "files/FileCalls.h"

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran::platform {

namespace {

// open takes its mode as a variadic argument; the others are taken as they are.
int openFile(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }

const FileCalls kSystemCalls{openFile, ::write, ::fchmod, ::fsync, ::close, ::rename, ::unlink};

// Read by any thread that writes a file, so swapped atomically.
std::atomic<const FileCalls*> current{&kSystemCalls};

}  // namespace

const FileCalls& systemFileCalls() { return kSystemCalls; }

const FileCalls& fileCalls() { return *current.load(); }

ScopedFileCalls::ScopedFileCalls(const FileCalls& calls) : calls_(calls), previous_(current.exchange(&calls_)) {}

ScopedFileCalls::~ScopedFileCalls() { current.store(previous_); }

}  // namespace velloran::platform
