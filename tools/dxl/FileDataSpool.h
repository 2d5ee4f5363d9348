#pragma once
// The attachment data that the splitting device decodes itself, around the
// XML reader: the base64 text of a <filedata> element goes into a spool file
// as it is read, and the reader gets a short stand-in text in its place. The
// code reading the <file> finds the stand-in and takes the data over.
#include "dxl/Base64File.h"

#include <QStringView>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

class QTemporaryDir;

namespace velloran::tools::dxl {

// Data decoded into a spool file, paused: feeding more text goes on with it.
struct SpooledData {
    std::unique_ptr<Base64File> bytes;
    std::string path;
    std::string error;  // why decoding stopped early, when it did: the data is refused
};

class FileDataSpool {
public:
    FileDataSpool();
    ~FileDataSpool();
    FileDataSpool(const FileDataSpool&) = delete;
    FileDataSpool& operator=(const FileDataSpool&) = delete;

    // Starts the data of a new element; false when no spool file can be
    // made, and the text is then left to the reader.
    bool start();
    // Decodes the base64 text at the start of `bytes`, up to a line end or
    // any other character; returns how many bytes it took. 0 at a character
    // that is not base64 or when the data cannot be decoded or written:
    // the rest of the text is then for the reader.
    std::size_t feed(const char* bytes, std::size_t size);
    // Ends the element's data; returns the stand-in text for the reader.
    std::string end();

    // When `text`, after blanks, begins with the stand-in of data not yet
    // taken, moves `text` past it and hands the data over. Data before it
    // that was never taken (its element was skipped) is dropped.
    std::optional<SpooledData> take(QStringView& text);

private:
    struct Waiting {
        std::uint64_t id;
        SpooledData data;
    };

    std::string newPath();
    void dropFirst();

    std::unique_ptr<QTemporaryDir> dir_;  // goes after the files in it are closed, with them
    std::string mark_;  // "#<random>:" begins every stand-in, so that no text of the file passes for one
    std::uint64_t next_ = 0;
    bool decoding_ = false;  // between start() and end()
    std::deque<Waiting> waiting_;  // the last is the data being decoded
};

}  // namespace velloran::tools::dxl
