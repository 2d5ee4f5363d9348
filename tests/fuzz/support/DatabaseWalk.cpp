#include "support/DatabaseWalk.h"

#include "component/DatabaseObject.h"
#include "store/NsfFile.h"
#include "support/ScratchFolder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace velloran::fuzz {

namespace {

using namespace notes;

// Enough to reach every kind of record while keeping one input fast.
constexpr std::size_t kMaxViews = 8;
constexpr int kMaxDocuments = 32;
constexpr std::size_t kMaxItems = 32;
constexpr std::int64_t kMaxExtractedBytes = 1 << 20;

class Walk {
public:
    explicit Walk(Damage damage) : damage_(damage) {}

    void database(const std::string& path) {
        // Opened as the installation's directory, so that the hiding of
        // password items is walked too.
        auto opened = std::make_shared<notes::component::OpenDatabase>(store::openForReading(path), true);
        notes::component::DatabaseObject database(opened);
        database.Title();
        const StringList views = database.Views();
        for (std::size_t i = 0; i < std::min(views.size(), kMaxViews); ++i)
            step([&] { view(database, *database.GetView(views[i])); });
    }

private:
    template <typename Step>
    void step(Step run) {
        try {
            run();
        } catch (const Failure&) {
            if (damage_ == Damage::Fault) throw;
        }
    }

    void view(Database& database, View& view) {
        view.Aliases();
        view.ColumnNames();
        const int count = view.AllEntriesCount();
        step([&] { view.GetNthDocument(count); });
        step([&] { view.GetNthDocument(count + 1); });
        DocumentPtr current;
        step([&] { current = view.GetNthDocument(1); });
        for (int walked = 0; current && walked < kMaxDocuments; ++walked) {
            step([&] { document(database, *current); });
            DocumentPtr next;
            step([&] { next = view.GetNextDocument(current); });
            current = next;
        }
    }

    void document(Database& database, Document& document) {
        step([&] { database.GetDocumentByUNID(document.UniversalID()); });
        document.NoteID();
        document.Created();
        document.LastModified();
        document.ColumnValues();
        step([&] { document.HasEmbedded(); });
        const StringList names = document.Items();
        for (std::size_t i = 0; i < std::min(names.size(), kMaxItems); ++i) {
            step([&] { document.GetItemValue(names[i]); });
            step([&] { item(document, names[i]); });
        }
        step([&] { attachments(document); });
    }

    void item(Document& document, const std::string& name) {
        ItemPtr found = document.GetFirstItem(name);
        if (!found) return;
        found->Type();
        step([&] { found->Values(); });
        RichTextItemPtr richText = found->AsRichText();
        if (!richText) return;
        richText->GetFormattedText(false, 0);
        richText->GetFormattedText(true, 7);
        for (const std::string& object : richText->EmbeddedObjects())
            step([&] { extract(richText->GetEmbeddedObject(object)); });
    }

    // The files named by the document's attachment item.
    void attachments(Document& document) {
        for (const Value& value : document.GetItemValue("$FILE"))
            if (const auto* name = std::get_if<std::string>(&value))
                step([&] { extract(document.GetAttachment(*name)); });
    }

    void extract(const EmbeddedObjectPtr& object) {
        if (!object) return;
        object->Name();
        if (object->FileSize() > kMaxExtractedBytes) return;
        const std::string path = scratchPath("extracted");
        object->ExtractFile(path);
        std::filesystem::remove(path);
    }

    Damage damage_;
};

}  // namespace

void walkDatabase(const std::string& path, Damage damage) { Walk(damage).database(path); }

}  // namespace velloran::fuzz
