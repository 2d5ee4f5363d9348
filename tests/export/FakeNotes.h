#pragma once
// A small in-memory stand-in for the document-database component, for what
// the real engine cannot produce: names that try to leave their folder, a
// view whose next document cannot be reached, an attachment that fails.
#include "NotesApi.h"

#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace velloran::testing {

class FakeObject : public notes::EmbeddedObject {
public:
    // `failWith`, when set, is the system error that extraction meets, as a
    // full disk (ENOSPC), a name too long (ENAMETOOLONG) or a folder that
    // may not be written (EACCES) gives it.
    FakeObject(std::string name, std::string bytes, int failWith = 0)
        : name_(std::move(name)), bytes_(std::move(bytes)), failWith_(failWith) {}
    std::string Name() override { return name_; }
    std::int64_t FileSize() override { return static_cast<std::int64_t>(bytes_.size()); }
    void ExtractFile(const std::string& path) override {
        if (whileExtracting) whileExtracting();
        if (failWith_ != 0) throw std::runtime_error("Cannot write the file " + path + ": " + std::strerror(failWith_));
        std::ofstream file(path, std::ios::binary);
        if (!(file << bytes_)) throw std::runtime_error("cannot write " + path);
    }

    // Run at the start of every extraction: what someone else does meanwhile.
    std::function<void()> whileExtracting;

private:
    std::string name_;
    std::string bytes_;
    int failWith_;
};

class FakeRichText : public notes::RichTextItem, public std::enable_shared_from_this<FakeRichText> {
public:
    FakeRichText(std::string name, std::string text, std::vector<std::shared_ptr<FakeObject>> objects)
        : name_(std::move(name)), text_(std::move(text)), objects_(std::move(objects)) {}
    std::string Name() override { return name_; }
    int Type() override { return notes::kRichText; }
    notes::ValueList Values() override { return {text_}; }
    notes::RichTextItemPtr AsRichText() override { return shared_from_this(); }
    std::string GetFormattedText(bool, int) override { return text_; }
    notes::StringList EmbeddedObjects() override {
        notes::StringList names;
        for (const auto& object : objects_) names.push_back(object->Name());
        return names;
    }
    notes::EmbeddedObjectPtr GetEmbeddedObject(const std::string& name) override {
        for (const auto& object : objects_)
            if (object->Name() == name) return object;
        return nullptr;
    }

private:
    std::string name_;
    std::string text_;
    std::vector<std::shared_ptr<FakeObject>> objects_;
};

class FakeDocument : public notes::Document {
public:
    explicit FakeDocument(std::string universalId) : universalId_(std::move(universalId)) {}

    std::string universalId_;
    std::vector<std::string> attachmentNames;  // what @AttachmentNames answers
    std::map<std::string, std::shared_ptr<FakeObject>> attachments;
    std::shared_ptr<FakeRichText> body;        // the item "Body", when set
    std::string damagedItem;                   // an item whose value cannot be read
    notes::ValueList columnValues;
    bool damagedColumns = false;               // the column values cannot be read

    std::string UniversalID() override { return universalId_; }
    std::int32_t NoteID() override { return 1; }
    notes::DateTime Created() override { return {}; }
    notes::DateTime LastModified() override { return {}; }
    notes::ValueList ColumnValues() override {
        if (damagedColumns) throw std::runtime_error("the view entry of " + universalId_ + " is damaged");
        return columnValues;
    }
    notes::StringList Items() override { return {"Body", "Subject"}; }
    notes::ValueList GetItemValue(const std::string& name) override {
        if (name == damagedItem) throw std::runtime_error("the value of " + name + " is damaged");
        if (name == "Subject") return {universalId_ + " subject"};
        return name == "Body" && body ? body->Values() : notes::ValueList{std::string()};
    }
    bool HasEmbedded() override { return !attachmentNames.empty() || body; }
    notes::EmbeddedObjectPtr GetAttachment(const std::string& name) override {
        auto found = attachments.find(name);
        return found == attachments.end() ? nullptr : found->second;
    }
    notes::ItemPtr GetFirstItem(const std::string& name) override { return name == "Body" ? body : nullptr; }
    notes::ItemPtr GetNthItem(const std::string& name, int occurrence) override {
        return occurrence == 1 ? GetFirstItem(name) : nullptr;
    }
};

class FakeView : public notes::View {
public:
    std::vector<std::shared_ptr<FakeDocument>> documents;
    // GetNextDocument fails once for the document at this index.
    int failNextAfter = -1;
    // GetNthDocument fails for positions from this one on.
    int failNthFrom = 0;

    std::string Name() const override { return "V"; }
    notes::StringList Aliases() const override { return {}; }
    notes::StringList columnTitles;

    int ColumnCount() override { return static_cast<int>(columnTitles.size()); }
    notes::StringList ColumnNames() override { return columnTitles; }
    int AllEntriesCount() override { return static_cast<int>(documents.size()); }
    notes::DocumentPtr GetNthDocument(int position) override {
        if (failNthFrom > 0 && position >= failNthFrom) throw std::runtime_error("the view's index is unreadable");
        return position >= 1 && position <= AllEntriesCount() ? documents[position - 1] : nullptr;
    }
    notes::DocumentPtr GetNextDocument(const notes::DocumentPtr& document) override {
        for (std::size_t i = 0; i < documents.size(); ++i) {
            if (documents[i] != document) continue;
            if (static_cast<int>(i) == failNextAfter) {
                failNextAfter = -1;
                throw std::runtime_error("the view's index is damaged");
            }
            return i + 1 < documents.size() ? documents[i + 1] : nullptr;
        }
        return nullptr;
    }
};

class FakeDatabase : public notes::Database {
public:
    std::shared_ptr<FakeView> view = std::make_shared<FakeView>();
    std::string Title() const override { return "Fake"; }
    std::string FilePath() const override { return "fake.nsf"; }
    notes::StringList Views() override { return {"V"}; }
    notes::ViewPtr GetView(const std::string&) override { return view; }
    notes::DocumentPtr GetDocumentByUNID(const std::string&) override { return nullptr; }
};

class FakeSession : public notes::Session {
public:
    void Initialize(const std::string&) override {}
    void InitializeUsingNotesUserName(const std::string&, const std::string&) override {}
    std::string UserName() const override { return "Fake"; }
    notes::DatabasePtr GetDatabase(const std::string&, const std::string&, bool) override { return nullptr; }
    notes::ValueList Evaluate(const std::string&, const notes::DocumentPtr& document) override {
        notes::ValueList names;
        for (const std::string& name : std::dynamic_pointer_cast<FakeDocument>(document)->attachmentNames)
            names.push_back(name);
        return names;
    }
};

}  // namespace velloran::testing
