// A database built from JSON, written out as an XML export by a small
// writer of this test, and imported again holds the same documents, items,
// attachments, views and access list.
#include "DxlImportFixture.h"
#include "dxl/DxlValues.h"
#include "nsfjson/JsonDatabase.h"
#include "store/ObjectFile.h"

#include <QXmlStreamWriter>
#include <chrono>
#include <cstdio>
#include <gmock/gmock.h>
#include <sodium.h>

namespace velloran::tools::dxl {
namespace {

using namespace notes;
using testing::TempDir;

const nlohmann::json kDescription = nlohmann::json::parse(R"({
  "title": "往返",
  "acl": [{"name": "-Default-", "level": "author"}, {"name": "CN=Boss/O=Velloran", "level": "manager"}],
  "views": [
    {"name": "By Customer", "aliases": ["Customers", "Cust"], "selection": "SELECT Form = \"Order\"",
     "columns": [{"title": "客户", "formula": "Customer", "sort": "ascending"},
                 {"title": "Twice", "formula": "Amount * 2", "sort": "descending"}]},
    {"name": "Everything", "columns": [{"title": "Due", "formula": "Due"}]}],
  "documents": [
    {"unid": "0123456789ABCDEF0123456789ABCDEF", "created": "2024-01-31T09:30:00Z", "modified": "2024-02-01",
     "items": [
       {"name": "Form", "value": "Order", "flags": 4},
       {"name": "Customer", "value": "Zed & <Söhne>", "flags": 4},
       {"name": "Amount", "type": "number", "values": [12.5, -0.1, 1e21]},
       {"name": "Due", "type": "datetime", "values": ["2024-03-01", "2024-03-02T08:15:30Z"]},
       {"name": "Owners", "type": "authors", "values": ["CN=A/O=B", "CN=C/O=D"], "flags": 96},
       {"name": "Readers", "type": "readers", "value": "CN=E/O=F", "flags": 1088},
       {"name": "Body", "type": "richtext",
        "paragraphs": ["First\tafter tab", ["see ", {"object": "chart.bin"}, " here"], "last line"],
        "objects": [{"name": "chart.bin", "base64": "AAEC/w=="}]}],
     "attachments": [{"name": "b.txt", "base64": "YmJi"}, {"name": "a.txt", "base64": "YQ=="}]},
    {"created": "2023-12-31T23:59:59Z",
     "items": [{"name": "Form", "value": "Order"}, {"name": "Customer", "value": "Acme"},
               {"name": "Amount", "type": "number", "value": 3}, {"name": "Tags", "values": ["x", "y", "z"]}]},
    {"created": "2020-02-29T12:00:00Z", "items": [{"name": "Form", "value": "Note"}, {"name": "Due", "type": "datetime", "value": "2020-02-29"}]}]
})");

// The test's export writer: what the import reads, written from a database.
class ExportWriter {
public:
    ExportWriter(store::Connection& db, const TempDir& dir) : db_(db), notes_(db), dir_(dir), xml_(&out_) {}

    QByteArray write() {
        xml_.writeStartDocument();
        xml_.writeStartElement("database");
        xml_.writeDefaultNamespace("http://www.lotus.com/dxl");
        xml_.writeAttribute("title", QString::fromStdString(notes_.title()));
        writeAcl();
        for (const store::ViewDesign& view : store::ViewStore(db_).views()) writeView(view);
        for (std::int64_t id : notes_.noteIds()) writeDocument(id);
        xml_.writeEndDocument();
        return out_;
    }

private:
    void text(const char* element, const std::string& value) {
        xml_.writeTextElement(QString::fromLatin1(element), QString::fromStdString(value));
    }

    void writeAcl() {
        static const char* kLevels[] = {"noaccess", "depositor", "reader", "author", "editor", "designer", "manager"};
        xml_.writeStartElement("acl");
        for (const store::AclEntry& entry : store::ViewStore(db_).acl()) {
            xml_.writeEmptyElement("aclentry");
            xml_.writeAttribute("name", QString::fromStdString(entry.name));
            xml_.writeAttribute("level", kLevels[static_cast<int>(entry.level)]);
        }
        xml_.writeEndElement();
    }

    void code(const char* event, const std::string& formula) {
        xml_.writeStartElement("code");
        xml_.writeAttribute("event", event);
        text("formula", formula);
        xml_.writeEndElement();
    }

    void writeView(const store::ViewDesign& view) {
        xml_.writeStartElement("view");
        xml_.writeAttribute("name", QString::fromStdString(view.name));
        std::string aliases;
        for (const std::string& alias : view.aliases) aliases += (aliases.empty() ? "" : "|") + alias;
        if (!aliases.empty()) xml_.writeAttribute("alias", QString::fromStdString(aliases));
        if (!view.selection.empty()) code("selection", view.selection);
        for (const store::ViewColumn& column : view.columns) {
            xml_.writeStartElement("column");
            if (column.sort != store::SortOrder::None)
                xml_.writeAttribute("sort", column.sort == store::SortOrder::Ascending ? "ascending" : "descending");
            xml_.writeEmptyElement("columnheader");
            xml_.writeAttribute("title", QString::fromStdString(column.title));
            code("value", column.formula);
            xml_.writeEndElement();
        }
        xml_.writeEndElement();
    }

    static std::string moment(const DateTime& value) {
        using namespace std::chrono;
        sys_time<milliseconds> at{milliseconds{value.msecsSinceEpoch}};
        year_month_day day{floor<days>(at)};
        hh_mm_ss<milliseconds> time{at - floor<days>(at)};
        char out[40];
        std::snprintf(out, sizeof out, "%04d%02u%02u", static_cast<int>(day.year()), static_cast<unsigned>(day.month()),
                      static_cast<unsigned>(day.day()));
        if (!value.hasTime) return out;
        std::snprintf(out + 8, sizeof out - 8, "T%02lld%02lld%02lld,%02lldZ", static_cast<long long>(time.hours().count()),
                      static_cast<long long>(time.minutes().count()), static_cast<long long>(time.seconds().count()),
                      static_cast<long long>(time.subseconds().count() / 10));
        return out;
    }

    void value(const Value& value) {
        if (auto* s = std::get_if<std::string>(&value)) return text("text", *s);
        if (auto* n = std::get_if<double>(&value)) {
            char out[32];
            std::snprintf(out, sizeof out, "%.17g", *n);
            return text("number", out);
        }
        text("datetime", moment(std::get<DateTime>(value)));
    }

    void values(int type, const ValueList& list) {
        const char* listName = type == kNumber ? "numberlist" : type == kDateTime ? "datetimelist" : "textlist";
        if (list.size() != 1) xml_.writeStartElement(listName);
        for (const Value& each : list) value(each);
        if (list.size() != 1) xml_.writeEndElement();
    }

    void file(const store::StoredObject& object) {
        std::string target = dir_.file("export-" + std::to_string(object.objectId));
        store::extractObject(db_, object, target);
        std::string bytes = TempDir::read(target);
        std::string encoded(sodium_base64_ENCODED_LEN(bytes.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
        sodium_bin2base64(encoded.data(), encoded.size(), reinterpret_cast<const unsigned char*>(bytes.data()),
                          bytes.size(), sodium_base64_VARIANT_ORIGINAL);
        encoded.pop_back();
        xml_.writeStartElement("object");
        xml_.writeStartElement("file");
        xml_.writeAttribute("name", QString::fromStdString(object.name));
        text("filedata", encoded);
        xml_.writeEndElement();
        xml_.writeEndElement();
    }

    void richText(std::int64_t noteId, int seq) {
        xml_.writeStartElement("richtext");
        for (const store::RichTextParagraph& paragraph : notes_.richText(noteId, seq)) {
            xml_.writeStartElement("par");
            for (const store::RichTextRun& run : paragraph.runs) {
                if (run.kind == store::RunKind::Tab) xml_.writeEmptyElement("tab");
                else if (run.kind == store::RunKind::Object) file(*notes_.embeddedObject(noteId, seq, run.content));
                else xml_.writeCharacters(QString::fromStdString(run.content));
            }
            xml_.writeEndElement();
        }
        xml_.writeEndElement();
    }

    void writeItem(std::int64_t noteId, const store::StoredItem& item) {
        xml_.writeStartElement("item");
        xml_.writeAttribute("name", QString::fromStdString(item.name));
        for (auto [flag, name] : {std::pair{kFlagSummary, "summary"}, {kFlagNames, "names"}, {kFlagReaders, "readers"},
                                  {kFlagAuthors, "authors"}})
            if (item.flags & flag) xml_.writeAttribute(name, "true");
        if (item.type == kRichText) richText(noteId, item.seq);
        else if (item.type == kAttachment) file(*notes_.attachment(noteId, std::get<std::string>(item.values.list().at(0))));
        else values(item.type, item.values);
        xml_.writeEndElement();
    }

    void writeDocument(std::int64_t noteId) {
        store::NoteHeader header = *notes_.header(noteId);
        xml_.writeStartElement("document");
        xml_.writeStartElement("noteinfo");
        xml_.writeAttribute("unid", QString::fromStdString(header.unid));
        for (auto [element, at] : {std::pair{"created", header.created}, {"modified", header.modified}}) {
            xml_.writeStartElement(element);
            text("datetime", moment({at, true}));
            xml_.writeEndElement();
        }
        xml_.writeEndElement();
        for (const store::StoredItem& item : notes_.items(noteId)) writeItem(noteId, item);
        xml_.writeEndElement();
    }

    store::Connection& db_;
    store::NoteStore notes_;
    const TempDir& dir_;
    QByteArray out_;
    QXmlStreamWriter xml_;
};

std::string shown(const Value& value) {
    if (auto* s = std::get_if<std::string>(&value)) return "'" + *s + "'";
    if (auto* n = std::get_if<double>(&value)) {
        char out[32];
        std::snprintf(out, sizeof out, "%.17g", *n);
        return out;
    }
    const DateTime& moment = std::get<DateTime>(value);
    return std::to_string(moment.msecsSinceEpoch) + (moment.hasTime ? "" : " (date)");
}

std::string shown(const ValueList& values) {
    std::string out;
    for (const Value& value : values) out += shown(value) + " ";
    return out;
}

// Everything the two databases should agree on, one fact a line.
std::vector<std::string> contentsOf(const std::string& path, const TempDir& dir) {
    store::Connection db(path, store::Connection::Mode::ReadOnly);
    store::NoteStore notes(db);
    store::ViewStore views(db);
    std::vector<std::string> lines{"title " + notes.title()};
    for (const store::AclEntry& entry : views.acl())
        lines.push_back("acl " + entry.name + " " + std::to_string(static_cast<int>(entry.level)));
    for (std::int64_t id : notes.noteIds()) {
        store::NoteHeader header = *notes.header(id);
        lines.push_back("note " + header.unid + " " + std::to_string(header.created) + " " + std::to_string(header.modified));
        for (const store::StoredItem& item : notes.items(id)) {
            lines.push_back("  item " + item.name + " type " + std::to_string(item.type) + " flags " +
                            std::to_string(item.flags) + ": " + shown(item.values));
            if (item.type != kRichText) continue;
            for (const store::RichTextParagraph& paragraph : notes.richText(id, item.seq))
                for (const store::RichTextRun& run : paragraph.runs)
                    lines.push_back("    run " + std::to_string(static_cast<int>(run.kind)) + " '" + run.content + "'");
        }
        for (const store::StoredObject& object : notes.attachments(id)) {
            store::extractObject(db, object, dir.file("compare.bin"));
            lines.push_back("  attachment " + object.name + " = " + TempDir::read(dir.file("compare.bin")));
        }
    }
    for (const store::ViewDesign& view : views.views()) {
        lines.push_back("view " + view.name + " selection " + view.selection + " entries " + std::to_string(view.entryCount));
        for (const std::string& alias : view.aliases) lines.push_back("  alias " + alias);
        for (const store::ViewColumn& column : view.columns)
            lines.push_back("  column " + column.title + " = " + column.formula + " sort " +
                            std::to_string(static_cast<int>(column.sort)));
        for (const store::ListedEntry& entry : views.entriesFrom(view.viewId, 1, 100))
            lines.push_back("  entry " + entry.header->unid + ": " + shown(views.columnValues(entry)));
    }
    return lines;
}

TEST_F(DxlImportFixture, ADatabaseWrittenAsXmlImportsBackTheSame) {
    std::string original = dir_.file("original.nsf");
    buildFromJson(kDescription, dir_.path().string(), original);
    QByteArray xml;
    {
        store::Connection db(original, store::Connection::Mode::ReadOnly);
        xml = ExportWriter(db, dir_).write();
    }
    ImportSummary summary = importXml(xml.toStdString());
    EXPECT_EQ(summary.imported["documents"], 3);
    EXPECT_EQ(summary.lost, 0);
    EXPECT_TRUE(summary.problems.empty()) << summary.report();

    std::vector<std::string> expected = contentsOf(original, dir_);
    EXPECT_EQ(contentsOf(database_, dir_), expected);
    EXPECT_THAT(expected, ::testing::Contains(::testing::HasSubstr("item $FILE")));
    EXPECT_THAT(expected, ::testing::Contains(::testing::StartsWith("    run 2 'chart.bin'")));
}

}  // namespace
}  // namespace velloran::tools::dxl
