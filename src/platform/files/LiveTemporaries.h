#pragma once
// The temporary files this process holds now, so that a signal that ends
// it can remove them first. The list lives in fixed memory that a signal
// handler reads without locks or allocation. A file that does not fit on it
// (the list is full, or its name too long) is still removed on every other
// path, and after a signal by the next sweep of leftovers: its lock ends
// with the process.
#include <string>

namespace velloran::platform {

// Puts `path` on the list; returns its place there, or -1 when it did not fit.
int rememberTemporary(const std::string& path);
// Also removes, with the file at `place`, the side files a database keeps
// beside it ("-journal", "-wal", "-shm").
void listTemporaryDatabase(int place);
// Takes the file at `place` off the list; -1 is no place and ignored.
void forgetTemporary(int place);

// Removes every file on the list. Async-signal-safe: for a handler that
// ends the process itself.
void removeLiveTemporaries() noexcept;

// Makes SIGINT, SIGTERM and SIGHUP remove the listed files before they end
// the process as they would have (a signal the process ignores stays
// ignored). Throws std::system_error when a handler cannot be installed.
void removeTemporariesOnTermination();

}  // namespace velloran::platform
