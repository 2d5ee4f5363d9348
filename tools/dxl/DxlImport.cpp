#include "dxl/DxlImport.h"

#include "dxl/DxlReader.h"

#include "common/EnglishReason.h"
#include "common/ToolError.h"
#include "write/DatabaseWriter.h"

#include <QFile>
#include <filesystem>

namespace velloran::tools::dxl {

namespace {

using namespace notes;

// Writes what the reader finds and counts it.
class WritingHandler : public DxlHandler {
public:
    WritingHandler(write::DatabaseWriter& writer, ImportSummary& summary) : writer_(writer), summary_(summary) {}

    void title(const std::string& title) override { writer_.setTitle(title); }

    void document(const write::NoteInput& note, const std::string& where) override {
        try {
            writer_.addNote(note);
        } catch (const std::exception& e) {
            throw ToolError(where + ": the document cannot be written: " + englishReason(e));
        }
        ++summary_.imported["documents"];
    }

    // A view whose formulas the engine cannot evaluate is kept unindexed and
    // reported with its formula; only a view that cannot be stored at all
    // is lost.
    void view(const ViewRead& view) override {
        const char* kind = view.folder ? "folder" : "view";
        std::optional<std::string> notIndexed;
        try {
            notIndexed = writer_.keepView(view.design);
        } catch (const std::exception& e) {
            ++summary_.lost;
            unreadable(kind, view.where + ": " + englishReason(e));
            return;
        }
        ++summary_.imported[view.folder ? "folders" : "views"];
        if (view.emptyFolder) summary_.emptyFolders.push_back(view.design.name);
        if (view.unnamed)
            summary_.unnamedViews.push_back(view.where + ": " + kind + " imported as '" + view.design.name + "'");
        if (notIndexed)
            summary_.unindexed.push_back(view.where + ": " + kind + " '" + view.design.name + "': " + *notIndexed +
                                         " (selection: " + view.design.selection + ")");
    }

    void acl(const std::vector<store::AclEntry>& entries) override {
        writer_.setAcl(entries);
        summary_.imported["acl entries"] += static_cast<int>(entries.size());
    }

    void skipped(const std::string& kind) override { ++summary_.skipped[kind]; }

    void unreadable(const std::string& kind, const std::string& reason) override {
        ++summary_.unreadable[kind];
        summary_.problems.push_back(reason);
    }

private:
    write::DatabaseWriter& writer_;
    ImportSummary& summary_;
};

void appendCounts(std::string& out, const char* heading, const std::map<std::string, int>& counts) {
    if (counts.empty()) return;
    out += heading;
    out += "\n";
    for (const auto& [kind, count] : counts) out += "  " + kind + ": " + std::to_string(count) + "\n";
}

void appendLines(std::string& out, const char* heading, const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    out += heading;
    out += "\n";
    for (const std::string& line : lines) out += "  " + line + "\n";
}

}  // namespace

std::string ImportSummary::report() const {
    std::string out;
    appendCounts(out, "Imported:", imported);
    if (imported.empty()) out += "Imported: nothing\n";
    appendLines(out, "Kept without an index, listing no documents, as the engine cannot evaluate a formula of theirs:",
                unindexed);
    appendLines(out, "Folders imported empty, as the export does not say which documents a folder holds:", emptyFolders);
    appendLines(out, "Views without a name, imported under the name given here:", unnamedViews);
    appendCounts(out, "Skipped:", skipped);
    appendCounts(out, "Could not read:", unreadable);
    for (const std::string& problem : problems) out += "  " + problem + "\n";
    if (lost > 0) out += "Lost documents and views: " + std::to_string(lost) + "\n";
    return out;
}

ImportSummary importDxlFile(const std::string& xmlPath, const std::string& databasePath) {
    QFile input(QString::fromStdString(xmlPath));
    if (!input.open(QIODevice::ReadOnly))
        throw ToolError("Cannot read the XML file " + xmlPath + ": " + input.errorString().toStdString());
    if (std::filesystem::exists(databasePath))
        throw ToolError("The database " + databasePath + " exists already; the import makes a new one");
    ImportSummary summary;
    write::DatabaseWriter writer(databasePath);
    WritingHandler handler(writer, summary);
    try {
        DxlReader(input, handler).read();
    } catch (const ToolError& e) {
        throw ToolError(xmlPath + ", " + e.what());
    }
    summary.index = writer.commit();
    summary.index.unindexedViews.clear();
    return summary;
}

}  // namespace velloran::tools::dxl
