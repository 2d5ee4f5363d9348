#pragma once
// Decodes base64 text handed over in pieces of any size into a file, so
// that an attachment's bytes never have to be held in memory at once.
#include <cstdio>
#include <string>
#include <string_view>

namespace velloran::tools::dxl {

class Base64File {
public:
    // Creates (or empties) `path`; throws ToolError when it cannot.
    explicit Base64File(const std::string& path);
    ~Base64File();
    Base64File(const Base64File&) = delete;
    Base64File& operator=(const Base64File&) = delete;

    // Decodes the text; blanks and line breaks are ignored. Throws
    // ToolError when it is not base64.
    void feed(std::string_view text);
    // Decodes what is left and closes the file; throws when the text ended
    // in the middle of a group of four characters.
    void finish();

private:
    void decodePending(bool last);

    std::string path_;
    std::FILE* file_ = nullptr;
    std::string pending_;  // base64 characters not yet decoded
};

}  // namespace velloran::tools::dxl
