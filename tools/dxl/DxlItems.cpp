#include "dxl/DxlItems.h"

#include "dxl/DxlRichText.h"
#include "dxl/DxlValues.h"
#include "dxl/MailItems.h"

#include "common/ToolError.h"

#include <array>

namespace velloran::tools::dxl {

namespace {

using namespace notes;

struct FlagName {
    const char* attribute;
    int flag;
};

constexpr std::array<FlagName, 4> kFlags = {
    {{"summary", kFlagSummary}, {"names", kFlagNames}, {"readers", kFlagReaders}, {"authors", kFlagAuthors}}};

int flagsOf(const XmlCursor& cursor) {
    int flags = 0;
    for (const FlagName& name : kFlags)
        if (cursor.flag(name.attribute)) flags |= name.flag;
    return flags;
}

// Text items marked as names, readers or authors take that type.
int textType(int flags) {
    if (flags & kFlagReaders) return kReaders;
    if (flags & kFlagAuthors) return kAuthors;
    if (flags & kFlagNames) return kNames;
    return kText;
}

// A range of two date-times. Our values have no range type, so the pair
// becomes its start and its end, two date-times in the item's list, where a
// view column or an export shows both. An empty end adds nothing.
void readDateTimePair(XmlCursor& cursor, ValueList& values) {
    int ends = 0;
    while (cursor.nextChild()) {
        if (!cursor.is("datetime")) cursor.fail("日期时间对中有 <" + cursor.name() + ">");
        ++ends;
        if (std::optional<DateTime> moment = readDateTime(cursor)) values.emplace_back(*moment);
    }
    if (ends != 2) cursor.fail("日期时间对需要两个日期时间");
}

// One value element, or the values of a list or pair, appended to `values`.
void readValue(XmlCursor& cursor, ValueList& values) {
    XmlCursor::Nesting nesting(cursor);
    if (cursor.is("text")) {
        values.emplace_back(cursor.text());
    } else if (cursor.is("number")) {
        std::string text = cursor.text();
        std::optional<double> number = parseNumber(text);
        if (!number) cursor.fail("'" + text + "' 不是数字");
        values.emplace_back(*number);
    } else if (cursor.is("datetime")) {
        if (std::optional<DateTime> moment = readDateTime(cursor)) values.emplace_back(*moment);
    } else if (cursor.is("datetimepair")) {
        readDateTimePair(cursor, values);
    } else {
        // textlist, numberlist, datetimelist
        while (cursor.nextChild()) readValue(cursor, values);
    }
}

bool isValueElement(const XmlCursor& cursor) {
    static constexpr std::array<const char*, 8> kNames = {"text",     "textlist",     "number",       "numberlist",
                                                          "datetime", "datetimelist", "datetimepair", "richtext"};
    for (const char* name : kNames)
        if (cursor.is(name)) return true;
    return false;
}

int valueType(const XmlCursor& cursor, int flags) {
    std::string name = cursor.name();
    if (name.starts_with("number")) return kNumber;
    if (name.starts_with("datetime")) return kDateTime;
    if (name == "richtext") return kRichText;
    return textType(flags);
}

// The <file> elements of a $FILE item's <object>, each an attachment, in
// their order. The item itself stays where it is among the items.
void readAttachments(XmlCursor& cursor, const write::ItemInput& item, write::NoteInput& note,
                     const ItemContext& context) {
    while (cursor.nextChild()) {
        if (!cursor.is("file")) {
            context.unreadable(cursor.where() + ": <" + cursor.name() + "> 类的对象不是文件");
            cursor.skip();
            continue;
        }
        FileRead file = readFile(cursor, context);
        if (item.name == "$FILE")
            note.items.push_back({item.name, kAttachment, item.flags, {file.object.name}, {}});
        note.attachments.push_back(std::move(file.object));
    }
}

// Raw item data: its base64 text, which the engine keeps as it is and the
// browser shows as binary data, unless it is a mail's header or body part
// (see decodeMailItem); `place` is the item's place among the document's.
write::ItemInput rawItem(XmlCursor& cursor, write::ItemInput item, std::size_t place, const ItemContext& context) {
    std::string where = cursor.where(), type = cursor.attribute("type");
    item.type = notes::kRawData;
    std::string text = cursor.text();
    std::erase_if(text, [](char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; });
    item.values = {text};
    return decodeMailItem(type, std::move(item), place, where, context);
}

}  // namespace

std::optional<DateTime> readDateTime(XmlCursor& cursor) {
    std::string text = cursor.text();
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) return std::nullopt;
    std::optional<DateTime> moment = parseDateTime(text);
    if (!moment) cursor.fail("'" + text + "' 不是日期时间（例如 20010522T103636,81-04）");
    return moment;
}

void readItem(XmlCursor& cursor, write::NoteInput& note, const ItemContext& context) {
    write::ItemInput item{cursor.attribute("name"), kText, flagsOf(cursor), {}, {}};
    if (item.name.empty()) cursor.fail("域必须有名字");
    bool hasValue = false, handled = false;
    while (cursor.nextChild()) {
        handled = true;
        if (cursor.is("object")) {
            readAttachments(cursor, item, note, context);
            continue;
        }
        if (cursor.is("rawitemdata")) {
            note.items.push_back(rawItem(cursor, item, note.items.size(), context));
            continue;
        }
        if (!isValueElement(cursor) || hasValue) {
            context.unreadable(cursor.where() + ": 域 " + item.name + " 中有 <" + cursor.name() + ">，导入不读取它");
            cursor.skip();
            continue;
        }
        hasValue = true;
        item.type = valueType(cursor, item.flags);
        if (item.type == kRichText) item.richText = readRichText(cursor, context);
        else readValue(cursor, item.values);
    }
    // An item without any value is kept as an empty text item.
    if (hasValue || !handled) note.items.push_back(std::move(item));
}

}  // namespace velloran::tools::dxl
