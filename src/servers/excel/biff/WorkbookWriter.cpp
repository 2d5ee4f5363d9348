#include "WorkbookWriter.h"

#include "AtomicFile.h"
#include "ByteRelay.h"
#include "CompoundFile.h"
#include "GlobalsRecords.h"
#include "SheetBlocks.h"
#include "SheetRecords.h"
#include "WorkbookError.h"

#include <limits>
#include <stdexcept>
#include <thread>

namespace velloran::workbook::biff {

namespace {

// Everything about the stream that has to be known before its first byte:
// where each sheet starts and what the DIMENSIONS records say.
struct StreamPlan {
    std::vector<SheetEntry> sheets;
    std::vector<SheetStats> stats;
    std::uint32_t stringReferences = 0;
};

StreamPlan planStream(const Workbook& workbook, const SstRecords& strings, const SheetContent& content,
                      const std::vector<SheetBlock>& blocks) {
    StreamPlan plan;
    std::vector<std::uint64_t> sizes;
    std::uint64_t references = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        SheetMeasure measured = measureSheet(content, blocks[i], i == 0);
        plan.stats.push_back(measured.stats);
        sizes.push_back(measured.bytes);
        references += measured.stats.textCells;
        plan.sheets.push_back({blocks[i].name, 0});
    }
    constexpr std::uint64_t kMaxStream = std::numeric_limits<std::uint32_t>::max();
    if (references > kMaxStream) throw workbookFailure("The workbook has more cells than one file can take");
    plan.stringReferences = static_cast<std::uint32_t>(references);

    RecordStream globalsCounter(nullptr);
    writeGlobals(globalsCounter, plan.sheets, strings, plan.stringReferences, workbook.usesDates());
    std::uint64_t offset = globalsCounter.position();
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (offset > kMaxStream) throw workbookFailure("The workbook is larger than one file can take (4 GB)");
        plan.sheets[i].offset = static_cast<std::uint32_t>(offset);
        offset += sizes[i];
    }
    return plan;
}

// Makes the sheets on a thread of its own and passes them through `relay`;
// checks on the way that each starts where the plan says.
void makeSheets(ByteRelay& relay, const SheetContent& content, const std::vector<SheetBlock>& blocks,
                const StreamPlan& plan) {
    try {
        RecordStream sheets(&relay);
        const std::uint64_t start = plan.sheets.front().offset;
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            if (start + sheets.position() != plan.sheets[i].offset)
                throw std::logic_error("sheet " + blocks[i].name + " does not start where it was planned");
            writeSheet(sheets, content, blocks[i], plan.stats[i].extent, i == 0);
        }
        sheets.flush();
        relay.finish();
    } catch (...) {
        relay.finish(std::current_exception());
    }
}

// The thread making the sheets; it is told to stop and joined however the
// save ends.
class SheetMaker {
public:
    SheetMaker(ByteRelay& relay, const SheetContent& content, const std::vector<SheetBlock>& blocks,
               const StreamPlan& plan)
        : relay_(relay), thread_([&] { makeSheets(relay, content, blocks, plan); }) {}
    ~SheetMaker() {
        relay_.cancel();
        thread_.join();
    }
    SheetMaker(const SheetMaker&) = delete;
    SheetMaker& operator=(const SheetMaker&) = delete;

private:
    ByteRelay& relay_;
    std::thread thread_;
};

// The globals, mostly the shared strings, are written while the sheets
// that follow them are made beside.
void writeStream(ByteSink& sink, const Workbook& workbook, const SstRecords& strings, const SheetContent& content,
                 const std::vector<SheetBlock>& blocks, const StreamPlan& plan) {
    ByteRelay relay;
    SheetMaker maker(relay, content, blocks, plan);
    RecordStream globals(&sink);
    writeGlobals(globals, plan.sheets, strings, plan.stringReferences, workbook.usesDates());
    globals.flush();
    relay.drainInto(sink);
}

// Passes the stream on to the container and has the file start going to
// disk every few megabytes, so that the disk works while the rest of the
// stream is still being made.
class WritingBehind : public ByteSink {
public:
    WritingBehind(ByteSink& next, AtomicFile& file) : next_(next), file_(file) {}

    void write(const char* data, std::size_t size) override {
        next_.write(data, size);
        unsynced_ += size;
        if (unsynced_ < kEvery) return;
        file_.startWriteback();
        unsynced_ = 0;
    }

private:
    static constexpr std::size_t kEvery = 2 * 1024 * 1024;
    ByteSink& next_;
    AtomicFile& file_;
    std::size_t unsynced_ = 0;
};

}  // namespace

std::string saveWorkbook(Workbook& workbook, const std::string& path, Existing existing) {
    SheetContent content{&workbook.settledCells(), &workbook.numbers(), &workbook.columnWidths()};
    std::vector<SheetBlock> blocks = planSheets(*content.cells, kSheetLimits);
    SstRecords strings(workbook.texts());
    StreamPlan plan = planStream(workbook, strings, content, blocks);

    AtomicFile file(path, existing);
    CompoundFile container(file.stream(), path);
    WritingBehind sink(container, file);
    writeStream(sink, workbook, strings, content, blocks, plan);
    container.finish();
    return file.commit();
}

}  // namespace velloran::workbook::biff
