#pragma once
// An INI profile file on disk, in GB18030, read and written one key at a
// time the way the platform's profile functions do it:
// - section and key names match without regard to letter case;
// - blanks around a value and one pair of enclosing quotes (" or ') are
//   removed, and a value reads back as at most 2047 bytes, cut between
//   characters;
// - a missing or unreadable file, section or key reads as the default;
// - writing a key rewrites the whole file atomically, keeping every other
//   line as it was, creating the file and the section when missing and
//   appending a new key at the end of its section.
#include "ini/IniDocument.h"

#include <QString>

#include <optional>
#include <stdexcept>
#include <sys/types.h>

namespace velloran::platform {

// Thrown when the file cannot be written; the message is
// "Unable to write to <full path>".
class IniWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class IniFile {
public:
    static constexpr qsizetype kMaxValueBytes = 2047;

    // `newFileMode`: the permissions of the file when writing creates it
    // (an existing file keeps its own).
    explicit IniFile(const QString& path, std::optional<mode_t> newFileMode = std::nullopt);

    // The full path of the file.
    const QString& path() const { return path_; }

    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;

    // Throws IniWriteError when the file cannot be read back or written, and
    // IniError when a name or the value cannot be stored on one line.
    void writeString(const QString& section, const QString& key, const QString& value) const;

private:
    [[noreturn]] void failToWrite() const;

    QString path_;
    std::optional<mode_t> newFileMode_;
};

}  // namespace velloran::platform
