#include "component/ItemObjects.h"

#include "store/ObjectFile.h"
#include "text/FormattedText.h"

namespace velloran::notes::component {

const store::RichText& RichTextItemObject::richText() {
    if (!richText_) richText_ = database_->notes.richText(noteId_, item_->seq);
    return *richText_;
}

std::string RichTextItemObject::GetFormattedText(bool stripTabs, int lineLength) {
    return text::formatRichText(richText(), stripTabs, lineLength);
}

StringList RichTextItemObject::EmbeddedObjects() {
    StringList names;
    for (const store::RichTextParagraph& paragraph : richText())
        for (const store::RichTextRun& run : paragraph.runs)
            if (run.kind == store::RunKind::Object) names.push_back(run.content);
    return names;
}

EmbeddedObjectPtr RichTextItemObject::GetEmbeddedObject(const std::string& name) {
    std::optional<store::StoredObject> object = database_->notes.embeddedObject(noteId_, item_->seq, name);
    if (!object) return nullptr;
    return std::make_shared<EmbeddedObjectImpl>(database_, std::move(*object));
}

ItemPtr makeItemObject(OpenDatabasePtr database, std::int64_t noteId, std::shared_ptr<const store::StoredItem> item) {
    if (item->type == kRichText) return std::make_shared<RichTextItemObject>(std::move(database), noteId, std::move(item));
    return std::make_shared<ItemObject>(std::move(database), noteId, std::move(item));
}

void EmbeddedObjectImpl::ExtractFile(const std::string& path) {
    if (path.empty()) throw engineFailure(msg::kNoExtractTarget, {object_.name});
    store::extractObject(*database_->connection, object_, path);
}

}  // namespace velloran::notes::component
