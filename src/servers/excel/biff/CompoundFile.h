#pragma once
// The compound-file container around the workbook: one stream named
// "Workbook" written straight through to an open file. The container
// library takes care of the allocation tables, including the extra
// allocation sectors of large files, and of keeping a stream under 4,096
// bytes in the small-block area.
#include "RecordStream.h"

#include <cstdio>
#include <string>

struct _GsfOutput;
struct _GsfOutfile;

namespace velloran::workbook::biff {

class CompoundFile : public ByteSink {
public:
    // `file` stays open and owned by the caller; `name` is used in messages.
    CompoundFile(FILE* file, std::string name);
    ~CompoundFile() override;
    CompoundFile(const CompoundFile&) = delete;
    CompoundFile& operator=(const CompoundFile&) = delete;

    void write(const char* data, std::size_t size) override;
    // Closes the stream and writes the container's tables. Throws
    // a workbook Failure when the file cannot be written.
    void finish();

private:
    [[noreturn]] void fail(_GsfOutput* failed) const;

    std::string name_;
    _GsfOutput* sink_ = nullptr;
    _GsfOutfile* container_ = nullptr;
    _GsfOutput* stream_ = nullptr;
};

}  // namespace velloran::workbook::biff
