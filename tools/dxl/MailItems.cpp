#include "dxl/MailItems.h"

#include "dxl/MimeMessage.h"
#include "dxl/MimeParts.h"
#include "dxl/DxlValues.h"
#include "dxl/Rfc822Items.h"

#include "common/ToolError.h"
#include "write/RichTextRuns.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <set>

namespace velloran::tools::dxl {

namespace {

using namespace notes;

// A mail's parts together, attached files included, are read up to this size.
constexpr std::size_t kMaxMailBytes = 256 * 1024 * 1024;

std::optional<std::string> fromBase64(const std::string& text) {
    auto decoded = QByteArray::fromBase64Encoding(QByteArray::fromStdString(text),
                                                  QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) return std::nullopt;
    return decoded.decoded.toStdString();
}

void reportCharsets(const UnknownCharsets& unknown, const std::string& where, const std::string& item,
                    const ItemContext& context) {
    for (const std::string& charset : unknown)
        context.unreadable(where + ": " + item + " 的字符集“" + charset +
                           "”未知: 其文本按 UTF-8 保留，不是 UTF-8 的部分按 Latin-1 保留");
}

write::ItemInput headerItem(const Rfc822Item& header, write::ItemInput item, const std::string& where,
                            const ItemContext& context) {
    UnknownCharsets unknown;
    std::string text = decodeHeaderText(header.body, unknown);
    if (header.body.empty() && header.format() != Rfc822Format::Date) text = toUtf8(header.native, {}, unknown);
    reportCharsets(unknown, where, "域 " + item.name, context);
    if (header.format() == Rfc822Format::Date) {
        if (std::optional<DateTime> date = parseMailDate(text)) {
            item.type = kDateTime;
            item.values = {*date};
            return item;
        }
    }
    item.type = kText;
    item.values = {text};
    return item;
}

write::RichTextInput paragraphsOf(const std::string& text) {
    write::RichTextInput richText;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = std::min(text.find('\n', start), text.size());
        write::appendTextRuns(richText.paragraphs.emplace_back(), std::string_view(text).substr(start, end - start));
        start = end + 1;
    }
    return richText;
}

void reportBody(const MailBody& body, const std::string& where, const std::string& name, const ItemContext& context) {
    reportCharsets(body.unknownCharsets, where, "域 " + name, context);
    for (const std::string& problem : body.problems)
        context.unreadable(where + ": 邮件正文 " + name + ": " + problem);
}

// The attachment's bytes go into a spool file; the document gets the
// attachment and its $FILE item.
void attach(write::NoteInput& note, const MailAttachment& attachment, const ItemContext& context) {
    std::string path = context.spoolFile();
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(attachment.bytes.data(), static_cast<qint64>(attachment.bytes.size())) !=
            static_cast<qint64>(attachment.bytes.size()))
        throw toolFailure("无法写入临时文件 " + path + ": " + file.errorString().toStdString());
    note.items.push_back({"$FILE", kAttachment, 0, {attachment.name}, {}});
    note.attachments.push_back({attachment.name, {write::ObjectSource::Kind::File, path, {}, 0}});
}

// The bytes of the attachment `name`; nothing when the document has none
// of that name or it holds more than `room` bytes.
std::optional<std::string> attachmentBytes(const write::NoteInput& note, const std::string& name, std::size_t room) {
    for (const write::ObjectInput& object : note.attachments) {
        if (object.name != name) continue;
        if (object.source.kind == write::ObjectSource::Kind::Bytes)
            return object.source.bytes.size() <= room ? std::optional(object.source.bytes) : std::nullopt;
        QFile file(QString::fromStdString(object.source.file));
        if (object.source.kind != write::ObjectSource::Kind::File || !file.open(QIODevice::ReadOnly) ||
            static_cast<std::size_t>(file.size()) > room)
            return std::nullopt;
        return file.readAll().toStdString();
    }
    return std::nullopt;
}

// One name's MIME part items joined into the MIME text of the mail.
struct JoinedParts {
    std::string text;
    std::set<std::string> files;  // the attached files that held part bodies
};

class MailBodyDecoder {
public:
    MailBodyDecoder(write::NoteInput& note, const ItemContext& context) : note_(note), context_(context) {}

    void decode() {
        std::vector<std::string> names;
        for (const MimePartPlace& place : *context_.mimeParts) {
            const std::string& name = note_.items.at(place.item).name;
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
        }
        for (const std::string& name : names) decodeItem(name);
        rebuildItems();
        for (const MailAttachment& attachment : attachments_) attach(note_, attachment, context_);
    }

private:
    void decodeItem(const std::string& name) {
        std::vector<MimePartPlace> places;
        for (const MimePartPlace& place : *context_.mimeParts)
            if (note_.items[place.item].name == name) places.push_back(place);
        std::optional<JoinedParts> joined = join(places);
        if (!joined) return;
        MailBody body = readMimeEntity(joined->text);
        reportBody(body, places[0].where, name, context_);
        write::ItemInput& first = note_.items[places[0].item];
        first = {name, kRichText, first.flags, {}, paragraphsOf(body.text)};
        for (std::size_t i = 1; i < places.size(); ++i) dropped_.insert(places[i].item);
        usedFiles_.insert(joined->files.begin(), joined->files.end());
        for (MailAttachment& attachment : body.attachments) attachments_.push_back(std::move(attachment));
    }

    std::optional<JoinedParts> join(const std::vector<MimePartPlace>& places) {
        JoinedParts joined;
        for (const MimePartPlace& place : places) {
            const write::ItemInput& item = note_.items[place.item];
            std::optional<std::string> bytes = fromBase64(std::get<std::string>(item.values.at(0)));
            std::optional<MimePartItem> part = bytes ? parseMimePartItem(*bytes) : std::nullopt;
            if (!part) return unreadable(place, "其中一部分不是 base64，或其长度超出了数据");
            std::optional<std::string> body = part->body;
            if (part->bodyInObject()) {
                std::string file(trimmedName(part->body));
                body = attachmentBytes(note_, file, kMaxMailBytes - std::min(kMaxMailBytes, joined.text.size()));
                if (!body) return unreadable(place, "存放其中一部分的附件 " + file + " 缺失或太大");
                joined.files.insert(file);
            }
            joined.text += mimePartText(*part, *body);
            if (joined.text.size() > kMaxMailBytes) return unreadable(place, "邮件大于 256 MB");
        }
        return joined;
    }

    std::optional<JoinedParts> unreadable(const MimePartPlace& place, const std::string& why) {
        context_.unreadable(place.where + ": 邮件正文 " + note_.items[place.item].name + " 按原始数据保留: " + why);
        return std::nullopt;
    }

    static std::string_view trimmedName(std::string_view name) {
        while (!name.empty() && (name.back() == '\0' || name.back() == ' ')) name.remove_suffix(1);
        return name;
    }

    // The document's items without the joined parts after the first, and
    // without the $FILE items of the files whose bytes went into a body.
    void rebuildItems() {
        std::vector<write::ItemInput> kept;
        for (std::size_t i = 0; i < note_.items.size(); ++i) {
            write::ItemInput& item = note_.items[i];
            bool usedFile = item.type == kAttachment && item.name == "$FILE" && item.values.size() == 1 &&
                            usedFiles_.count(std::get<std::string>(item.values[0]));
            if (!dropped_.count(i) && !usedFile) kept.push_back(std::move(item));
        }
        note_.items = std::move(kept);
        std::erase_if(note_.attachments, [&](const write::ObjectInput& object) { return usedFiles_.count(object.name) > 0; });
    }

    write::NoteInput& note_;
    const ItemContext& context_;
    std::set<std::size_t> dropped_;
    std::set<std::string> usedFiles_;
    std::vector<MailAttachment> attachments_;
};

// The items a mail's headers become, by header name in lower case.
struct HeaderItem {
    std::string_view header;
    std::string_view item;
};
constexpr std::array<HeaderItem, 8> kHeaderItems = {{{"subject", "Subject"},
                                                     {"from", "From"},
                                                     {"to", "SendTo"},
                                                     {"cc", "CopyTo"},
                                                     {"bcc", "BlindCopyTo"},
                                                     {"reply-to", "ReplyTo"},
                                                     {"date", "PostedDate"},
                                                     {"message-id", "$MessageID"}}};

bool hasItem(const write::NoteInput& note, std::string_view name) {
    return std::any_of(note.items.begin(), note.items.end(), [&](const write::ItemInput& item) { return item.name == name; });
}

// The mail's headers as the items the platform keeps them in, those the
// document does not have already.
void addHeaderItems(std::string_view mail, write::NoteInput& note, const std::string& where, const ItemContext& context) {
    UnknownCharsets unknown;
    for (const MailHeader& header : parseMailHeaders(mail)) {
        std::string name = lowerAscii(header.name);
        auto known = std::find_if(kHeaderItems.begin(), kHeaderItems.end(), [&](const HeaderItem& h) { return h.header == name; });
        if (known == kHeaderItems.end() || hasItem(note, known->item)) continue;
        std::string text = decodeHeaderText(header.value, unknown);
        std::optional<DateTime> date = name == "date" ? parseMailDate(text) : std::nullopt;
        if (date) note.items.push_back({std::string(known->item), kDateTime, kFlagSummary, {*date}, {}});
        else note.items.push_back({std::string(known->item), kText, kFlagSummary, {text}, {}});
    }
    reportCharsets(unknown, where, "邮件信头", context);
}

// The text of the element at the cursor, up to `limit` bytes; nothing,
// with the rest skipped, when it is longer.
std::optional<std::string> boundedText(XmlCursor& cursor, std::size_t limit) {
    std::string text;
    bool tooLong = false;
    for (QXmlStreamReader::TokenType token; (token = cursor.xml().readNext()) != QXmlStreamReader::EndElement;) {
        cursor.checkWellFormed();
        if (token == QXmlStreamReader::StartElement) cursor.skip();
        if (token != QXmlStreamReader::Characters || tooLong) continue;
        text += cursor.xml().text().toString().toStdString();
        tooLong = text.size() > limit;
        if (tooLong) text = {};
    }
    if (tooLong) return std::nullopt;
    return text;
}

}  // namespace

void readMimeElement(XmlCursor& cursor, write::NoteInput& note, const ItemContext& context) {
    std::string where = cursor.where();
    std::optional<std::string> mail = boundedText(cursor, kMaxMailBytes);
    if (!mail) {
        context.unreadable(where + ": <mime> 中的邮件大于 256 MB，没有导入");
        return;
    }
    addHeaderItems(*mail, note, where, context);
    MailBody body = readMimeEntity(*mail);
    reportBody(body, where, "Body", context);
    note.items.push_back({"Body", kRichText, 0, {}, paragraphsOf(body.text)});
    for (const MailAttachment& attachment : body.attachments) attach(note, attachment, context);
}

write::ItemInput decodeMailItem(const std::string& rawType, write::ItemInput item, std::size_t place,
                                const std::string& where, const ItemContext& context) {
    unsigned type = 0;
    auto [end, error] = std::from_chars(rawType.data(), rawType.data() + rawType.size(), type, 16);
    if (error != std::errc() || end != rawType.data() + rawType.size()) return item;
    if (type == kMimePartType) context.mimeParts->push_back({place, where});
    if (type != kRfc822TextType) return item;
    std::optional<std::string> bytes = fromBase64(std::get<std::string>(item.values.at(0)));
    std::optional<Rfc822Item> header = bytes ? parseRfc822Item(*bytes) : std::nullopt;
    if (header) return headerItem(*header, std::move(item), where, context);
    context.unreadable(where + ": 邮件信头 " + item.name + " 按原始数据保留: 它不是 base64，或其长度超出了数据");
    return item;
}

void decodeMimeBody(write::NoteInput& note, const ItemContext& context) {
    if (!context.mimeParts->empty()) MailBodyDecoder(note, context).decode();
}

}  // namespace velloran::tools::dxl
