#include "demo/DemoItems.h"

#include "write/RichTextRuns.h"

namespace velloran::tools::demo {

ItemInput richTextItem(const std::string& name, const std::vector<std::string>& paragraphs,
                       const std::vector<notes::write::ObjectInput>& objects) {
    ItemInput item{name, notes::kRichText, 0, {}, {}};
    for (const std::string& line : paragraphs) {
        item.richText.paragraphs.emplace_back();
        notes::write::appendTextRuns(item.richText.paragraphs.back(), line);
    }
    if (item.richText.paragraphs.empty()) item.richText.paragraphs.emplace_back();
    for (const notes::write::ObjectInput& object : objects)
        item.richText.paragraphs.back().runs.push_back({notes::store::RunKind::Object, object.name});
    item.richText.objects = objects;
    return item;
}

notes::write::ObjectInput textFile(const std::string& name, const std::string& contents) {
    return {name, {notes::write::ObjectSource::Kind::Bytes, {}, contents, 0}};
}

}  // namespace velloran::tools::demo
