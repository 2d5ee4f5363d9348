#include "dxl/DxlFiles.h"

#include "dxl/Base64File.h"

#include "common/ToolError.h"

#include <filesystem>
#include <system_error>

namespace velloran::tools::dxl {

namespace {

// Throws the decoder's error as one naming the file and the position.
template <typename Work>
void decoding(XmlCursor& cursor, const std::string& name, Work work) {
    try {
        work();
    } catch (const Failure& e) {
        if (!e.is(Failure::Kind::Input)) throw;
        cursor.fail("文件 " + name + ": " + e.what());
    }
}

SpooledData newData(const std::string& path) { return {std::make_unique<Base64File>(path), path, {}}; }

// The data that the first text of a <filedata> stands in for, taken over
// from the device, or else new data to decode the text into.
SpooledData startData(XmlCursor& cursor, const std::string& name, QStringView& text, const std::string& path) {
    std::optional<SpooledData> spooled = cursor.takeSpooled(text);
    if (!spooled) return newData(path);
    if (!spooled->error.empty()) cursor.fail("文件 " + name + ": " + spooled->error);
    return std::move(*spooled);
}

// Reads the <filedata> element at the cursor: the data the device decoded
// around the reader, and any text the reader hands over after it (after a
// character reference or a comment, say), decoded piece by piece; `path`
// is the file for data that the reader hands over whole.
SpooledData readFileData(XmlCursor& cursor, const std::string& name, const std::string& path) {
    SpooledData data;
    for (QXmlStreamReader::TokenType token; (token = cursor.xml().readNext()) != QXmlStreamReader::EndElement;) {
        cursor.checkWellFormed();
        if (token == QXmlStreamReader::StartElement) cursor.fail("文件数据中不能有元素");
        // The line ends of diverted text come before its stand-in.
        if (token != QXmlStreamReader::Characters || (!data.bytes && cursor.xml().isWhitespace())) continue;
        QStringView text = cursor.xml().text();
        if (!data.bytes) data = startData(cursor, name, text, path);
        decoding(cursor, name, [&] { data.bytes->feed(text); });
    }
    return data;
}

void moveFile(const std::string& from, const std::string& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    if (error) throw toolFailure("无法把临时文件 " + from + " 移到 " + to + ": " + error.message());
}

}  // namespace

FileRead readFile(XmlCursor& cursor, const ItemContext& context) {
    FileRead read;
    read.object.name = cursor.attribute("name");
    if (read.object.name.empty()) cursor.fail("附件必须有名字");
    read.object.source = {notes::write::ObjectSource::Kind::File, context.spoolFile(), {}, 0};
    const std::string& path = read.object.source.file;
    SpooledData data;
    while (cursor.nextChild()) {
        if (!cursor.is("filedata")) {
            cursor.skip();
            continue;
        }
        if (read.hasData) cursor.fail("文件 " + read.object.name + " 有不止一个 <filedata>");
        read.hasData = true;
        data = readFileData(cursor, read.object.name, path);
    }
    if (!data.bytes) data = newData(path);
    decoding(cursor, read.object.name, [&] { data.bytes->finish(); });
    if (data.path != path) moveFile(data.path, path);
    return read;
}

}  // namespace velloran::tools::dxl
