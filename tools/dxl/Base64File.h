#pragma once
// Decodes base64 text handed over in pieces of any size into a file, so
// that an attachment's bytes never have to be held in memory at once. The
// text may come as bytes or straight from the XML reader's UTF-16 text.
// Decoding may pause between pieces with the file closed, and go on later.
#include <QStringView>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace velloran::tools::dxl {

class Base64File {
public:
    // Creates (or empties) `path`; throws a tool Failure when it cannot.
    explicit Base64File(const std::string& path);
    ~Base64File();
    Base64File(const Base64File&) = delete;
    Base64File& operator=(const Base64File&) = delete;

    // Decodes the text; blanks and line breaks are ignored. Throws
    // a tool Failure when it is not base64.
    void feed(std::string_view text) { decode<false>(text.data(), text.size()); }
    void feed(QStringView text) { decode<false>(text.utf16(), static_cast<std::size_t>(text.size())); }
    // Decodes the base64 characters, blanks and tabs at the start of `text`
    // and stops before a line end or any other character; returns how many
    // it took. Throws a tool Failure when '=' is misplaced.
    std::size_t feedWhileBase64(std::string_view text) { return decode<true>(text.data(), text.size()); }
    // Writes what is decoded so far and closes the file, letting go of the
    // write buffer; feeding more text opens it again and appends.
    void pause();
    // Writes what is left and closes the file; throws when the text ended
    // in the middle of a group of four characters.
    void finish();

private:
    template <bool kStopAtOther, typename Char>
    std::size_t decode(const Char* text, std::size_t size);
    void take(unsigned value);
    void put(std::uint32_t group, int size);
    void makeRoom();
    void flush();
    void close();

    std::string path_;
    std::FILE* file_ = nullptr;
    std::uint32_t group_ = 0;  // the bits of the group of four being read
    int count_ = 0;            // characters of that group read so far
    int padding_ = 0;          // '=' characters read: a padded group ends the data
    std::vector<unsigned char> bytes_;  // room for decoded bytes: the first filled_ are not yet written
    std::size_t filled_ = 0;
};

}  // namespace velloran::tools::dxl
