#include "nsfjson/JsonReader.h"

#include "common/ToolError.h"
#include "text/Utf8.h"
#include "text/ValueText.h"
#include "write/RichTextRuns.h"

#include <array>
#include <chrono>
#include <climits>
#include <cmath>
#include <filesystem>
#include <sodium.h>

namespace velloran::tools {

namespace {

using namespace notes;
using nlohmann::json;

struct TypeName {
    const char* name;
    int code;
};

constexpr std::array<TypeName, 8> kTypes = {{{"text", kText},
                                             {"number", kNumber},
                                             {"datetime", kDateTime},
                                             {"richtext", kRichText},
                                             {"names", kNames},
                                             {"readers", kReaders},
                                             {"authors", kAuthors},
                                             {"noterefs", kNoteRefs}}};

// The most bytes a generated attachment may have (1 TiB): more than any
// test or benchmark needs, and far below what the size fields can hold.
constexpr std::int64_t kMaxGeneratedSize = std::int64_t{1} << 40;

constexpr std::array<const char*, 7> kLevels = {"noaccess", "depositor", "reader", "author",
                                                "editor",   "designer",  "manager"};

int typeCode(const JsonAt& type) {
    std::string name = text::lower(type.text());
    for (const TypeName& known : kTypes)
        if (name == known.name) return known.code;
    type.fail("未知的类型 '" + type.text() +
              "'（可以是 text、number、datetime、richtext、names、readers、authors 或 noterefs）");
}

std::int64_t nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

DateTime readDateTime(const JsonAt& at) {
    std::optional<DateTime> moment = text::parseDateTime(at.text());
    if (!moment) at.fail("'" + at.text() + "' 不是日期（YYYY-MM-DD 或 YYYY-MM-DDTHH:MM:SSZ）");
    return *moment;
}

Value readValue(const JsonAt& at, int type) {
    if (type == kNumber) return at.number();
    if (type == kDateTime) return readDateTime(at);
    return at.text();
}

ValueList readValues(const JsonAt& item, int type) {
    if (item.has("value")) return {readValue(item["value"], type)};
    if (!item.has("values")) item.fail("需要 \"value\" 或 \"values\"");
    JsonAt values = item["values"];
    values.array();
    ValueList out;
    for (std::size_t i = 0; i < values.size(); ++i) out.push_back(readValue(values[i], type));
    if (out.empty()) values.fail("至少需要一个值");
    return out;
}

store::RichTextParagraph readParagraph(const JsonAt& at) {
    store::RichTextParagraph paragraph;
    if (at.value().is_string()) {
        write::appendTextRuns(paragraph, at.text());
        return paragraph;
    }
    at.array();
    for (std::size_t i = 0; i < at.size(); ++i) {
        JsonAt run = at[i];
        if (run.value().is_string()) write::appendTextRuns(paragraph, run.text());
        else if (run.has("object")) paragraph.runs.push_back({store::RunKind::Object, run["object"].text()});
        else run.fail("一段内容须为文本或 {\"object\": 名称}");
    }
    return paragraph;
}

std::string decodeBase64(const JsonAt& at) {
    std::string encoded = at.text();
    std::string bytes(encoded.size(), '\0');
    std::size_t length = 0;
    if (sodium_base642bin(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size(), encoded.c_str(), encoded.size(),
                          " \r\n", &length, nullptr, sodium_base64_VARIANT_ORIGINAL) != 0)
        at.fail("不是有效的 base64");
    bytes.resize(length);
    return bytes;
}

write::ObjectInput readObject(const JsonAt& at, const std::string& baseFolder) {
    write::ObjectInput object{at["name"].text(), {}};
    if (object.name.empty() || object.name.find_first_of("/\\") != std::string::npos)
        at["name"].fail("需要一个不含目录的文件名");
    if (at.has("file")) {
        std::filesystem::path file = at["file"].text();
        if (file.is_relative()) file = std::filesystem::path(baseFolder) / file;
        if (!std::filesystem::is_regular_file(file)) at["file"].fail("文件 " + file.string() + " 不存在");
        object.source = {write::ObjectSource::Kind::File, file.string(), {}, 0};
    } else if (at.has("base64")) {
        object.source = {write::ObjectSource::Kind::Bytes, {}, decodeBase64(at["base64"]), 0};
    } else if (at.has("size")) {
        std::int64_t size = at["size"].wholeNumber(0, kMaxGeneratedSize);
        object.source = {write::ObjectSource::Kind::Generated, {}, {}, size};
    } else {
        at.fail("需要 \"file\"、\"base64\" 或 \"size\"");
    }
    return object;
}

std::vector<write::ObjectInput> readObjects(const JsonAt& parent, const char* key, const std::string& baseFolder) {
    std::vector<write::ObjectInput> objects;
    if (!parent.has(key)) return objects;
    JsonAt list = parent[key];
    list.array();
    for (std::size_t i = 0; i < list.size(); ++i) objects.push_back(readObject(list[i], baseFolder));
    return objects;
}

write::ItemInput readItem(const JsonAt& at, const std::string& baseFolder) {
    write::ItemInput item;
    item.name = at["name"].text();
    if (item.name.empty()) at["name"].fail("域必须有名字");
    item.type = at.has("type") ? typeCode(at["type"]) : kText;
    if (at.has("flags")) item.flags = static_cast<int>(at["flags"].wholeNumber(INT_MIN, INT_MAX));
    if (item.type != kRichText) {
        item.values = readValues(at, item.type);
        return item;
    }
    JsonAt paragraphs = at["paragraphs"];
    paragraphs.array();
    for (std::size_t i = 0; i < paragraphs.size(); ++i) item.richText.paragraphs.push_back(readParagraph(paragraphs[i]));
    item.richText.objects = readObjects(at, "objects", baseFolder);
    return item;
}

std::int64_t readTime(const JsonAt& document, const char* key, std::int64_t fallback) {
    return document.has(key) ? readDateTime(document[key]).msecsSinceEpoch : fallback;
}

store::SortOrder readSort(const JsonAt& column) {
    std::string sort = text::lower(column.optionalText("sort", "none"));
    if (sort == "none") return store::SortOrder::None;
    if (sort == "ascending") return store::SortOrder::Ascending;
    if (sort == "descending") return store::SortOrder::Descending;
    column["sort"].fail("未知的排序 '" + sort + "'（可以是 none、ascending 或 descending）");
}

// The number as a whole number, when it is one that 64 bits hold exactly.
std::optional<std::int64_t> exactWholeNumber(const json& number) {
    if (number.is_number_unsigned()) {
        std::uint64_t whole = number.get<std::uint64_t>();
        if (whole > static_cast<std::uint64_t>(INT64_MAX)) return std::nullopt;
        return static_cast<std::int64_t>(whole);
    }
    if (number.is_number_integer()) return number.get<std::int64_t>();
    double real = number.get<double>();
    constexpr double kLimit = 0x1p63;  // the first double past the 64-bit range
    if (real != std::floor(real) || !(real >= -kLimit && real < kLimit)) return std::nullopt;
    return static_cast<std::int64_t>(real);
}

}  // namespace

JsonAt JsonAt::operator[](const char* key) const {
    if (!value_.is_object()) fail("必须是一个对象");
    if (!value_.contains(key)) fail(std::string("缺少 \"") + key + "\"");
    return {value_.at(key), path_.empty() ? key : path_ + "." + key};
}

JsonAt JsonAt::operator[](std::size_t index) const {
    return {value_.at(index), path_ + "[" + std::to_string(index) + "]"};
}

void JsonAt::fail(const std::string& message) const {
    throw toolFailure((path_.empty() ? std::string("（顶层）") : path_) + ": " + message);
}

std::string JsonAt::text() const {
    if (!value_.is_string()) fail("必须是文本");
    return value_.get<std::string>();
}

double JsonAt::number() const {
    if (!value_.is_number()) fail("必须是数字");
    return value_.get<double>();
}

std::int64_t JsonAt::wholeNumber(std::int64_t min, std::int64_t max) const {
    std::optional<std::int64_t> whole = value_.is_number() ? exactWholeNumber(value_) : std::nullopt;
    if (!whole || *whole < min || *whole > max)
        fail("必须是 " + std::to_string(min) + " 到 " + std::to_string(max) + " 的整数，而不是 " + value_.dump());
    return *whole;
}

const nlohmann::json& JsonAt::array() const {
    if (!value_.is_array()) fail("必须是数组");
    return value_;
}

std::string JsonAt::optionalText(const char* key, const std::string& fallback) const {
    return has(key) ? (*this)[key].text() : fallback;
}

write::NoteInput readDocument(const JsonAt& document, const std::string& baseFolder) {
    write::NoteInput note;
    note.unid = document.optionalText("unid", "");
    std::int64_t now = nowMs();
    note.created = readTime(document, "created", now);
    note.modified = readTime(document, "modified", note.created);
    JsonAt items = document["items"];
    items.array();
    for (std::size_t i = 0; i < items.size(); ++i) note.items.push_back(readItem(items[i], baseFolder));
    note.attachments = readObjects(document, "attachments", baseFolder);
    return note;
}

write::ViewInput readView(const JsonAt& at) {
    write::ViewInput view{at["name"].text(), {}, at.optionalText("selection", ""), {}};
    if (at.has("aliases")) {
        JsonAt aliases = at["aliases"];
        aliases.array();
        for (std::size_t i = 0; i < aliases.size(); ++i) view.aliases.push_back(aliases[i].text());
    }
    if (at.has("columns")) {
        JsonAt columns = at["columns"];
        columns.array();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            JsonAt column = columns[i];
            view.columns.push_back({column["title"].text(), column["formula"].text(), readSort(column)});
        }
    }
    return view;
}

store::AclEntry readAclEntry(const JsonAt& entry) {
    std::string level = text::lower(entry["level"].text());
    for (std::size_t i = 0; i < kLevels.size(); ++i)
        if (level == kLevels[i]) return {entry["name"].text(), static_cast<store::AccessLevel>(i)};
    entry["level"].fail("未知的级别 '" + level + "'（可以是 noaccess、depositor、reader、author、editor、designer、manager）");
}

}  // namespace velloran::tools
