#include "generate/Generator.h"

#include "common/ToolError.h"
#include "write/DatabaseWriter.h"

namespace velloran::tools {

namespace {

using namespace notes;

constexpr std::int64_t kBaseTime = 1'704'067'200'000;  // 2024-01-01 00:00 UTC
constexpr std::int64_t kMinute = 60'000;

write::NoteInput generatedNote(std::int64_t index, const GenerateOptions& options) {
    std::int64_t time = kBaseTime + index * kMinute;
    write::NoteInput note{{}, time, time, {}, {}};
    note.items.push_back({"Field1", kText, 0, {"Document " + std::to_string(index + 1)}, {}});
    note.items.push_back({"Field2", kNumber, 0, {static_cast<double>(index % 1000) + 0.5}, {}});
    note.items.push_back({"Field3", kDateTime, 0, {DateTime{time, true}}, {}});
    for (int i = 4; i <= options.items; ++i)
        note.items.push_back({"Field" + std::to_string(i), kText, 0,
                              {"value " + std::to_string(i) + " of document " + std::to_string(index + 1)}, {}});
    if (options.attachmentSize >= 0 && index % std::max<std::int64_t>(options.attachmentEvery, 1) == 0)
        note.attachments.push_back({"file" + std::to_string(index + 1) + ".bin",
                                    {write::ObjectSource::Kind::Generated, {}, {}, options.attachmentSize}});
    return note;
}

}  // namespace

void generateDatabase(const std::string& path, const GenerateOptions& options) {
    if (options.items < 3) throw toolFailure("生成的文档至少要有 3 个域");
    write::DatabaseWriter writer(path);
    writer.setTitle("Generated: " + std::to_string(options.documents) + " documents");
    writer.addView({options.viewName, {}, "SELECT @All",
                    {{"Subject", "Field1", store::SortOrder::None},
                     {"Amount", "Field2", store::SortOrder::None},
                     {"Date", "Field3", store::SortOrder::None}}});
    for (std::int64_t i = 0; i < options.documents; ++i) writer.addNote(generatedNote(i, options));
    writer.commit();
}

}  // namespace velloran::tools
