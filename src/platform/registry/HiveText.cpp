#include "registry/HiveText.h"

namespace velloran::platform {

namespace {

constexpr const char* kHeader = "REGEDIT4";

struct PhysicalLine {
    std::string text;
    std::string end;
};

std::vector<PhysicalLine> physicalLines(const std::string& bytes) {
    std::vector<PhysicalLine> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t newline = bytes.find('\n', start);
        if (newline == std::string::npos) {
            lines.push_back({bytes.substr(start), {}});
            break;
        }
        std::size_t textEnd = newline > start && bytes[newline - 1] == '\r' ? newline - 1 : newline;
        lines.push_back({bytes.substr(start, textEnd - start), bytes.substr(textEnd, newline + 1 - textEnd)});
        start = newline + 1;
    }
    return lines;
}

std::string withoutLeadingBlanks(const std::string& text) {
    std::size_t start = text.find_first_not_of(" \t");
    return start == std::string::npos ? std::string() : text.substr(start);
}

// A hex value goes on over the next line when its line ends in "\"; a
// comment never does, whatever it holds.
bool continues(const std::string& content) {
    return !content.empty() && content.front() != ';' && content.back() == '\\' &&
           content.find("=hex") != std::string::npos;
}

}  // namespace

HiveText HiveText::split(const std::string& bytes) {
    HiveText text;
    std::vector<PhysicalLine> lines = physicalLines(bytes);
    if (!lines.empty() && !lines.front().end.empty()) text.newLine_ = lines.front().end;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Entry entry{lines[i].text, lines[i].end, lines[i].text, static_cast<int>(i) + 1, {}, {}};
        if (i == 0 && entry.content.rfind("\xEF\xBB\xBF", 0) == 0) entry.content.erase(0, 3);
        entry.content = withoutLeadingBlanks(entry.content);
        while (continues(entry.content) && i + 1 < lines.size()) {
            ++i;
            entry.raw += entry.end + lines[i].text;
            entry.end = lines[i].end;
            entry.content.pop_back();
            entry.content += withoutLeadingBlanks(lines[i].text);
        }
        text.entries_.push_back(std::move(entry));
    }
    return text;
}

std::optional<std::size_t> HiveText::lastOfValue(const std::string& key, const std::string& name) const {
    for (std::size_t i = entries_.size(); i-- > 0;)
        if (entries_[i].key == key && entries_[i].valueName == name) return i;
    return std::nullopt;
}

std::optional<std::size_t> HiveText::lastOfKey(const std::string& key) const {
    for (std::size_t i = entries_.size(); i-- > 0;)
        if (entries_[i].key == key) return i;
    return std::nullopt;
}

void HiveText::insert(std::size_t at, Entry entry) {
    if (at > 0 && entries_[at - 1].end.empty()) entries_[at - 1].end = newLine_;
    entry.end = newLine_;
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
}

void HiveText::startDocument() {
    if (!entries_.empty()) return;
    append({kHeader, {}, kHeader, 0, {}, {}});
}

void HiveText::addKeyHeader(const std::string& key, const std::string& keySpelling) {
    if (lastOfKey(key)) return;
    startDocument();
    // A blank line sets the key apart from what stands before it.
    if (!entries_.back().content.empty()) append({});
    const std::string header = "[" + keySpelling + "]";
    append({header, {}, header, 0, key, {}});
}

void HiveText::setValueLine(const std::string& key, const std::string& keySpelling, const std::string& name,
                            const std::string& line) {
    if (std::optional<std::size_t> at = lastOfValue(key, name)) {
        Entry& entry = entries_[*at];
        // The value keeps its place and its indent; only its text changes.
        entry.raw = entry.raw.substr(0, entry.raw.find_first_not_of(" \t")) + line;
        entry.content = line;
        return;
    }
    addKeyHeader(key, keySpelling);
    insert(*lastOfKey(key) + 1, {line, {}, line, 0, key, name});
}

std::string HiveText::bytes() const {
    std::string out;
    for (const Entry& entry : entries_) out += entry.raw + entry.end;
    return out;
}

}  // namespace velloran::platform
