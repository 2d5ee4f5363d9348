#include "CompoundFile.h"

#include "WorkbookError.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>
#include <mutex>

namespace velloran::workbook::biff {

namespace {

void initialiseLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { gsf_init(); });
}

void release(GsfOutput* output) {
    if (!output) return;
    if (!gsf_output_is_closed(output)) gsf_output_close(output);
    g_object_unref(output);
}

}  // namespace

CompoundFile::CompoundFile(FILE* file, std::string name) : name_(std::move(name)) {
    initialiseLibrary();
    sink_ = gsf_output_stdio_new_FILE(name_.c_str(), file, TRUE);
    if (!sink_) throw workbookFailure("Cannot write " + name_);
    container_ = gsf_outfile_msole_new(sink_);
    stream_ = container_ ? gsf_outfile_new_child(container_, "Workbook", FALSE) : nullptr;
    if (!stream_) {
        release(GSF_OUTPUT(container_));
        release(sink_);
        throw workbookFailure("Cannot start the workbook container in " + name_);
    }
}

CompoundFile::~CompoundFile() {
    release(stream_);
    release(GSF_OUTPUT(container_));
    release(sink_);
}

void CompoundFile::write(const char* data, std::size_t size) {
    if (!gsf_output_write(stream_, size, reinterpret_cast<const guint8*>(data))) fail(stream_);
}

void CompoundFile::finish() {
    if (!gsf_output_close(stream_)) fail(stream_);
    if (!gsf_output_close(GSF_OUTPUT(container_))) fail(GSF_OUTPUT(container_));
    // Closing the container closes the sink too.
    if (!gsf_output_is_closed(sink_) && !gsf_output_close(sink_)) fail(sink_);
}

void CompoundFile::fail(GsfOutput* failed) const {
    const GError* error = gsf_output_error(failed);
    throw platform::Failure(platform::Failure::Kind::Workbook, "无法写入工作簿 " + name_,
                            {name_, "Cannot write " + name_ + ": " +
                                        (error ? error->message : "the data could not be written")});
}

}  // namespace velloran::workbook::biff
