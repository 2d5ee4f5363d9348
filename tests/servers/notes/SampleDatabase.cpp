#include "SampleDatabase.h"

#include "write/DatabaseWriter.h"

namespace velloran::testing {

namespace {

using namespace notes;

write::ObjectInput object(const std::string& name) {
    return {name, {write::ObjectSource::Kind::Bytes, {}, sampleObjectBytes(name), 0}};
}

write::ItemInput body(const std::vector<std::string>& objects) {
    write::ItemInput item{"Body", kRichText, 0, {}, {}};
    store::RichTextParagraph first;
    first.runs = {{store::RunKind::Text, "Subject"}, {store::RunKind::Tab, {}}, {store::RunKind::Text, "value"}};
    item.richText.paragraphs.push_back(first);
    store::RichTextParagraph second;
    for (const std::string& name : objects) {
        second.runs.push_back({store::RunKind::Object, name});
        item.richText.objects.push_back(object(name));
    }
    item.richText.paragraphs.push_back(second);
    return item;
}

write::NoteInput document(int number) {
    static const double ranks[] = {3, 1, 5, 2, 4};
    static const std::vector<std::string> objects[] = {{}, {"one.txt"}, {"one.txt", "two.txt", "three.txt"}, {}, {}};
    std::int64_t time = 1'700'000'000'000 + number * 1000;
    write::NoteInput note{{}, time, time + 1, {}, {}};
    note.items = {{"Subject", kText, 0, {"Doc " + std::to_string(number)}, {}},
                  {"Rank", kNumber, 0, {ranks[number - 1]}, {}},
                  {"When", kDateTime, 0, {DateTime{time, true}}, {}},
                  {"Tags", kText, 0, {std::string("red"), std::string("blue")}, {}},
                  body(objects[number - 1])};
    if (number == 1) note.attachments = {object("a.txt"), object("b.txt")};
    return note;
}

}  // namespace

std::string sampleObjectBytes(const std::string& name) { return "contents of " + name + "\n"; }

void writeSampleDatabase(const std::string& path) {
    write::DatabaseWriter writer(path);
    writer.setTitle("Sample");
    writer.addView({"Main", {"Primary"}, "", {{"Subject", "Subject", {}}, {"Rank", "Rank", {}}}});
    writer.addView({"By Rank", {}, "SELECT @All", {{"Rank", "Rank", store::SortOrder::Descending}, {"Subject", "Subject", {}}}});
    writer.addView({"($Hidden)", {}, "SELECT @All", {}});
    writer.addView({"Lookup$Keys", {}, "SELECT @All", {}});
    writer.addView({"Empty", {}, "SELECT @False", {{"Subject", "Subject", {}}}});
    for (int i = 1; i <= 5; ++i) writer.addNote(document(i));
    writer.commit();
}

}  // namespace velloran::testing
