#pragma once
// An INI profile file on disk, in GB18030, read and written one key at a
// time the way the platform's profile functions do it:
// - section and key names match without regard to letter case;
// - blanks around a value and one pair of enclosing quotes (" or ') are
//   removed, and a value reads back as at most 2047 bytes, cut between
//   characters;
// - a missing or unreadable file, section or key reads as the default;
// - writing keys rewrites the whole file atomically, keeping every other
//   line as it was, creating the file and the section when missing and
//   appending a new key at the end of its section; a symbolic link stays a
//   link and its target is rewritten.
#include "ini/IniDocument.h"

#include <QString>

#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace velloran::platform {

class IniFile {
public:
    static constexpr qsizetype kMaxValueBytes = 2047;

    // `mostPermissions`: the permissions of the file when writing creates
    // it; an existing file loses those of its own that are not among them
    // before it is written (a file holding a secret stays its owner's).
    // Without them a new file gets the usual ones and an existing file keeps
    // its own.
    explicit IniFile(const QString& path, std::optional<mode_t> mostPermissions = std::nullopt);

    // The full path of the file.
    const QString& path() const { return path_; }

    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;

    // Throws a Failure of Kind::File when the file cannot be read back or
    // written ("无法写入设置文件 <full path>", the original "Unable to write
    // to <full path>: <reason>"), and of Kind::Settings when a name or the
    // value cannot be stored on one line.
    void writeString(const QString& section, const QString& key, const QString& value) const {
        writeStrings(section, {{key, value}});
    }
    // Writes the keys in one rewrite of the file: all of them or, when one
    // cannot be stored or the file cannot be written, none.
    void writeStrings(const QString& section, const std::vector<std::pair<QString, QString>>& values) const;

private:
    [[noreturn]] void failToWrite(const std::string& reason, int error = 0) const;

    QString path_;
    std::optional<mode_t> mostPermissions_;
};

}  // namespace velloran::platform
