#include "dxl/DxlFiles.h"

#include "dxl/Base64File.h"

#include "common/ToolError.h"

namespace velloran::tools::dxl {

namespace {

// Throws the decoder's error as one naming the file and the position.
template <typename Work>
void decoding(XmlCursor& cursor, const std::string& name, Work work) {
    try {
        work();
    } catch (const ToolError& e) {
        cursor.fail("the file " + name + ": " + e.what());
    }
}

// Feeds the text of the <filedata> element at the cursor to `bytes`, piece
// by piece as the reader hands it over.
void decodeFileData(XmlCursor& cursor, const std::string& name, Base64File& bytes) {
    for (QXmlStreamReader::TokenType token; (token = cursor.xml().readNext()) != QXmlStreamReader::EndElement;) {
        cursor.checkWellFormed();
        if (token == QXmlStreamReader::Characters) decoding(cursor, name, [&] { bytes.feed(cursor.xml().text()); });
        else if (token == QXmlStreamReader::StartElement) cursor.fail("file data holds no elements");
    }
}

}  // namespace

FileRead readFile(XmlCursor& cursor, const ItemContext& context) {
    FileRead read;
    read.object.name = cursor.attribute("name");
    if (read.object.name.empty()) cursor.fail("an attached file needs a name");
    read.object.source = {notes::write::ObjectSource::Kind::File, context.spoolFile(), {}, 0};
    Base64File bytes(read.object.source.file);
    while (cursor.nextChild()) {
        if (!cursor.is("filedata")) {
            cursor.skip();
            continue;
        }
        read.hasData = true;
        decodeFileData(cursor, read.object.name, bytes);
    }
    decoding(cursor, read.object.name, [&] { bytes.finish(); });
    return read;
}

}  // namespace velloran::tools::dxl
