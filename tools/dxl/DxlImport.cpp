#include "dxl/DxlImport.h"

#include "dxl/DxlReader.h"

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
            throw ToolError(where + ": the document cannot be written: " + e.what());
        }
        ++summary_.imported["documents"];
    }

    // A view whose formulas the engine cannot evaluate is not written: it is
    // reported with its formula, and counted as lost.
    void view(const ViewRead& view) override {
        try {
            writer_.addView(view.design);
        } catch (const std::exception& e) {
            ++summary_.lost;
            unreadable(view.folder ? "folder" : "view", view.where + ": " + e.what() + " (selection: " +
                                                            view.design.selection + ")");
            return;
        }
        ++summary_.imported[view.folder ? "folders" : "views"];
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

}  // namespace

std::string ImportSummary::report() const {
    std::string out;
    appendCounts(out, "Imported:", imported);
    if (imported.empty()) out += "Imported: nothing\n";
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
    writer.commit();
    return summary;
}

}  // namespace velloran::tools::dxl
