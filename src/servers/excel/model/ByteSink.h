#pragma once
#include <cstddef>

namespace velloran::workbook {

// Where a writer's bytes go: a file, a container stream, another thread.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(const char* data, std::size_t size) = 0;
};

}  // namespace velloran::workbook
