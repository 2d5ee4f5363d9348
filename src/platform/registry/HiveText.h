#pragma once
// The lines of a hive file exactly as read, each tagged with the key or
// value it holds, so that changing one value rewrites that value's line and
// leaves every other byte of the file (comments, blank lines, the order of
// the keys, the spelling of each value's type, odd lines) as it was.
#include <optional>
#include <string>
#include <vector>

namespace velloran::platform {

class HiveText {
public:
    // One line of the file, or several when a hex value goes on over lines
    // that end in "\".
    struct Entry {
        std::string raw;      // the bytes as read, without the last line end
        std::string end;      // "\r\n", "\n", or empty for a last line without one
        std::string content;  // the continued lines joined, without leading blanks or a byte order mark
        int firstLine = 0;    // counted from 1
        std::string key;      // the folded path of the key it names or holds a value of; empty for none
        std::optional<std::string> valueName;  // folded; for a value line
    };

    static HiveText split(const std::string& bytes);

    std::vector<Entry>& entries() { return entries_; }

    // Makes `line` the line of the value: replaces the value's last line,
    // or adds it after the key's last line, or adds the key (as `keySpelling`)
    // at the end of the file and the value under it.
    void setValueLine(const std::string& key, const std::string& keySpelling, const std::string& name,
                      const std::string& line);
    // Adds the key's header at the end unless the file names it already.
    void addKeyHeader(const std::string& key, const std::string& keySpelling);

    std::string bytes() const;

private:
    std::optional<std::size_t> lastOfValue(const std::string& key, const std::string& name) const;
    std::optional<std::size_t> lastOfKey(const std::string& key) const;
    // Inserts a line before entry `at`, ending the entry above it first when
    // that was the last line and had no line end.
    void insert(std::size_t at, Entry entry);
    void append(Entry entry) { insert(entries_.size(), std::move(entry)); }
    void startDocument();

    std::vector<Entry> entries_;
    std::string newLine_ = "\n";  // for lines this program adds: the file's own
};

}  // namespace velloran::platform
