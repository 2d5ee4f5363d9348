#pragma once
// The lock that makes the load, change and save of a hive one step for
// every process that updates it: an exclusive advisory lock on the file
// "<hive>.lock" beside the hive. The hive itself cannot carry the lock, as
// each save replaces it by a new file; the lock file is never replaced nor
// removed, so every process locks the same file.
#include <functional>
#include <string>

namespace velloran::platform {

class OpenFolder;

// Appended to the hive's file name to name its lock file.
inline constexpr const char* kHiveLockSuffix = ".lock";

class HiveLock {
public:
    // Takes the lock of the hive `hiveName` in `folder`, creating the lock
    // file when missing (never through a symbolic link). When another
    // process holds the lock, calls `waiting` once, then waits for it.
    // Throws a registry Failure naming the lock file when it cannot be opened or
    // locked.
    HiveLock(const OpenFolder& folder, const std::string& hiveName, const std::function<void()>& waiting);
    // Releases the lock.
    ~HiveLock();
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace velloran::platform
