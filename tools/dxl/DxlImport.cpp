#include "dxl/DxlImport.h"

#include "dxl/DxlInputs.h"
#include "dxl/DxlReader.h"

#include "common/ToolError.h"
#include "files/AtomicFile.h"
#include "write/DatabaseWriter.h"

#include <QFile>
#include <cctype>
#include <filesystem>
#include <set>

namespace velloran::tools::dxl {

namespace {

using namespace notes;

// Writes what the reader finds and counts it.
class WritingHandler : public DxlHandler {
public:
    WritingHandler(write::DatabaseWriter& writer, ImportSummary& summary) : writer_(writer), summary_(summary) {}

    // The lines of the summary name the file they are about when there are
    // several: `source` is "FILE, " then, or empty.
    void startFile(std::string source) { source_ = std::move(source); }

    // The first title the XML names is the database's.
    void title(const std::string& title) override {
        if (titled_) return;
        writer_.setTitle(title);
        titled_ = true;
    }
    bool titled() const { return titled_; }

    void document(const write::NoteInput& note, const std::string& where) override {
        try {
            writer_.addNote(note);
        } catch (const std::exception& e) {
            throw toolFailure(where + ": the document cannot be written", e);
        }
        ++summary_.imported["documents"];
    }

    // A view whose formulas the engine cannot evaluate is kept unindexed and
    // reported with its formula; only a view that cannot be stored at all
    // is lost.
    void view(const ViewRead& read) override {
        const char* kind = read.folder ? "folder" : "view";
        write::ViewInput design = read.design;
        design.name = claimViewName(read.design.name);
        std::optional<std::string> notIndexed;
        try {
            notIndexed = writer_.keepView(design);
        } catch (const std::exception& e) {
            ++summary_.lost;
            unreadable(kind, read.where + ": " + platform::describeFailure(e, false));
            return;
        }
        ++summary_.imported[read.folder ? "folders" : "views"];
        if (read.emptyFolder) summary_.emptyFolders.push_back(design.name);
        if (read.unnamed || design.name != read.design.name)
            summary_.renamedViews.push_back(source_ + read.where + ": " + kind + " imported as '" + design.name + "'" +
                                            (read.unnamed ? "" : " (an earlier one is named '" + read.design.name + "')"));
        if (notIndexed)
            summary_.unindexed.push_back(source_ + read.where + ": " + kind + " '" + design.name +
                                         "': " + *notIndexed + " (selection: " + design.selection + ")");
    }

    void acl(const std::vector<store::AclEntry>& entries) override {
        writer_.setAcl(entries);
        summary_.imported["acl entries"] += static_cast<int>(entries.size());
    }

    void skipped(const std::string& kind) override { ++summary_.skipped[kind]; }

    void unreadable(const std::string& kind, const std::string& reason) override {
        ++summary_.unreadable[kind];
        summary_.problems.push_back(source_ + reason);
    }

private:
    // The database keeps one view of a name (letter case and trailing
    // blanks aside, as views are looked up): a view whose name an earlier
    // view or folder has is numbered rather than put in its place.
    std::string claimViewName(const std::string& name) {
        std::string unique = name, base = name.substr(0, name.find_last_not_of(' ') + 1);
        for (int number = 2; !viewNames_.insert(viewKey(unique)).second; ++number)
            unique = base + " (" + std::to_string(number) + ")";
        return unique;
    }

    static std::string viewKey(std::string name) {
        while (!name.empty() && name.back() == ' ') name.pop_back();
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return name;
    }

    write::DatabaseWriter& writer_;
    ImportSummary& summary_;
    std::string source_;
    bool titled_ = false;
    std::set<std::string> viewNames_;
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

// Refuses, before anything is read, a target that cannot be written or
// that exists when it is not to be replaced.
void checkTarget(const ImportRequest& request) {
    if (request.database.empty()) throw toolFailure("The database to write needs a name");
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(request.database, error);
    if (!std::filesystem::exists(status)) return;
    if (!request.overwrite)
        throw toolFailure("The database " + request.database +
                          " exists already; the import makes a new one (--overwrite replaces it)");
    if (!std::filesystem::is_regular_file(status))
        throw toolFailure("Cannot replace " + request.database + ": it is not a database file");
}

void readFile(const std::string& path, DxlHandler& handler) {
    QFile input(QString::fromStdString(path));
    if (!input.open(QIODevice::ReadOnly))
        throw toolFailure("Cannot read the XML file " + path + ": " + input.errorString().toStdString());
    try {
        DxlReader(input, handler).read();
    } catch (const Failure& e) {
        if (!e.is(Failure::Kind::Input)) throw;
        throw e.retold(Failure::Kind::Input, path + ", " + e.what());
    }
}

}  // namespace

std::string ImportSummary::report() const {
    std::string out;
    appendCounts(out, "Imported:", imported);
    if (imported.empty()) out += "Imported: nothing\n";
    appendLines(out, "Kept without an index, listing no documents, as the engine cannot evaluate a formula of theirs:",
                unindexed);
    appendLines(out, "Folders imported empty, as the export does not say which documents a folder holds:", emptyFolders);
    appendLines(out, "Views without a name, or with one an earlier view has, imported under the name given here:",
                renamedViews);
    appendCounts(out, "Skipped:", skipped);
    appendCounts(out, "Could not read:", unreadable);
    for (const std::string& problem : problems) out += "  " + problem + "\n";
    if (lost > 0) out += "Lost documents and views: " + std::to_string(lost) + "\n";
    return out;
}

ImportSummary importDxl(const ImportRequest& request) {
    checkTarget(request);
    if (request.xml.empty()) throw toolFailure("No XML file to import");
    XmlInputs inputs = listXmlInputs(request.xml);
    ImportSummary summary;
    // A link named as the database to replace stays a link: its target is replaced.
    using Existing = write::DatabaseWriter::Existing;
    write::DatabaseWriter writer(request.overwrite ? platform::linkTarget(request.database) : request.database, 0600,
                                 request.overwrite ? Existing::Replace : Existing::Add);
    WritingHandler handler(writer, summary);
    for (const std::string& problem : inputs.notRead) handler.unreadable("file", problem);
    for (const std::string& file : inputs.files) {
        handler.startFile(inputs.files.size() > 1 ? file + ", " : std::string());
        readFile(file, handler);
    }
    if (!handler.titled()) writer.setTitle(titleFromName(request.xml.front()));
    summary.index = writer.commit();
    summary.index.unindexedViews.clear();
    return summary;
}

ImportSummary importDxlFile(const std::string& xmlPath, const std::string& databasePath) {
    return importDxl({{xmlPath}, databasePath, false});
}

}  // namespace velloran::tools::dxl
