#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace velloran::platform {

// Writes `contents` to a temporary file beside `path`, flushes it to disk and
// renames it over `path`, so readers see either the old or the new file,
// never a half-written one. A file being replaced keeps its permissions
// (and, when run as root, its owner); a new file gets `newFileMode` when
// given, else the usual ones for its user.
// Throws a Failure (Kind::File) naming the file.
void writeFileAtomically(const std::string& path, std::string_view contents,
                         std::optional<mode_t> newFileMode = std::nullopt);

// The file a write to `path` should replace: where its chain of symbolic
// links ends (relative links are read from the link's own folder), or
// `path` itself when it is no link. Replacing the link instead would turn
// it into a plain file and leave its target as it was.
std::string linkTarget(const std::string& path);

}  // namespace velloran::platform
