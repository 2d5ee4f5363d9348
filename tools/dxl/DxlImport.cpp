#include "dxl/DxlImport.h"

#include "dxl/DxlInputs.h"
#include "dxl/DxlReader.h"

#include "common/ToolError.h"
#include "files/AtomicFile.h"
#include "write/DatabaseWriter.h"

#include <QFile>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <set>

namespace velloran::tools::dxl {

namespace {

using namespace notes;

// The summary's word for a kind of part; a design note the import skips is
// named by its element, a note in note format by its class.
std::string kindLabel(const std::string& kind) {
    static const std::map<std::string, std::string> kLabels = {
        {"documents", "文档"}, {"views", "视图"}, {"folders", "文件夹"}, {"acl entries", "访问控制列表条目"},
        {"view", "视图"},      {"folder", "文件夹"}, {"acl entry", "访问控制列表条目"}, {"file", "文件"},
        {"item", "域"},        {"response link", "答复链接"}, {"external entity", "外部实体"}};
    if (const auto label = kLabels.find(kind); label != kLabels.end()) return label->second;
    if (kind.starts_with(kNoteOfClass)) return "class='" + kind.substr(std::strlen(kNoteOfClass)) + "' 的笔记";
    return "<" + kind + ">";
}

// Writes what the reader finds and counts it.
class WritingHandler : public DxlHandler {
public:
    WritingHandler(write::DatabaseWriter& writer, ImportSummary& summary) : writer_(writer), summary_(summary) {}

    // The lines of the summary name the file they are about when there are
    // several: `source` is "FILE，" then, or empty.
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
            throw toolFailure(where + ": 无法写入文档", e);
        }
        ++summary_.imported["documents"];
    }

    // A view whose formulas the engine cannot evaluate is kept unindexed and
    // reported with its formula; only a view that cannot be stored at all
    // is lost.
    void view(const ViewRead& read) override {
        const char* kind = read.folder ? "folder" : "view";
        const std::string shownKind = kindLabel(kind);
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
            summary_.renamedViews.push_back(source_ + read.where + ": " + shownKind + "以“" + design.name + "”导入" +
                                            (read.unnamed ? "" : "（之前已有名为“" + read.design.name + "”的视图或文件夹）"));
        if (notIndexed)
            summary_.unindexed.push_back(source_ + read.where + ": " + *notIndexed + "（选择公式: " + design.selection + "）");
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
    for (const auto& [kind, count] : counts) out += "  " + kindLabel(kind) + ": " + std::to_string(count) + "\n";
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
    if (request.database.empty()) throw toolFailure("要写入的数据库需要一个名字");
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(request.database, error);
    if (!std::filesystem::exists(status)) return;
    if (!request.overwrite)
        throw toolFailure("数据库 " + request.database + " 已存在；导入会生成新数据库（加 --overwrite 替换它）");
    if (!std::filesystem::is_regular_file(status))
        throw toolFailure("无法替换 " + request.database + ": 它不是数据库文件");
}

void readFile(const std::string& path, DxlHandler& handler) {
    QFile input(QString::fromStdString(path));
    if (!input.open(QIODevice::ReadOnly))
        throw toolFailure("无法读取 XML 文件 " + path + ": " + input.errorString().toStdString());
    try {
        DxlReader(input, handler).read();
    } catch (const Failure& e) {
        if (!e.is(Failure::Kind::Input)) throw;
        throw e.retold(Failure::Kind::Input, path + "，" + e.what());
    }
}

}  // namespace

std::string ImportSummary::report() const {
    std::string out;
    appendCounts(out, "已导入:", imported);
    if (imported.empty()) out += "已导入: 无\n";
    appendLines(out, "保留但没有索引、不列出任何文档（引擎无法计算其公式）:", unindexed);
    appendLines(out, "导入为空的文件夹（导出文件没有说明文件夹中有哪些文档）:", emptyFolders);
    appendLines(out, "没有名字或与之前的视图同名、以这里给出的名字导入的视图:", renamedViews);
    appendCounts(out, "已跳过:", skipped);
    appendCounts(out, "无法读取:", unreadable);
    for (const std::string& problem : problems) out += "  " + problem + "\n";
    if (lost > 0) out += "丢失的文档和视图: " + std::to_string(lost) + "\n";
    return out;
}

ImportSummary importDxl(const ImportRequest& request) {
    checkTarget(request);
    if (request.xml.empty()) throw toolFailure("没有要导入的 XML 文件");
    XmlInputs inputs = listXmlInputs(request.xml);
    ImportSummary summary;
    // A link named as the database to replace stays a link: its target is replaced.
    using Existing = write::DatabaseWriter::Existing;
    write::DatabaseWriter writer(request.overwrite ? platform::linkTarget(request.database) : request.database, std::nullopt,
                                 request.overwrite ? Existing::Replace : Existing::Add);
    WritingHandler handler(writer, summary);
    for (const std::string& problem : inputs.notRead) handler.unreadable("file", problem);
    for (const std::string& file : inputs.files) {
        handler.startFile(inputs.files.size() > 1 ? file + "，" : std::string());
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
