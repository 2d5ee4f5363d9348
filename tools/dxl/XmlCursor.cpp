#include "dxl/XmlCursor.h"

#include "common/ToolError.h"

namespace velloran::tools::dxl {

XmlCursor::Nesting::Nesting(XmlCursor& cursor) : cursor_(cursor) {
    if (cursor.nesting_ >= kMaxNesting)
        cursor.fail("元素嵌套超过 " + std::to_string(kMaxNesting) + " 层，超出导入能读取的深度");
    ++cursor.nesting_;
}

std::string XmlCursor::attribute(const char* name) const {
    return xml_.attributes().value(QLatin1StringView(name)).toString().toStdString();
}

bool XmlCursor::nextChild() {
    while (true) {
        QXmlStreamReader::TokenType token = xml_.readNext();
        checkWellFormed();
        if (token == QXmlStreamReader::StartElement) return true;
        if (token == QXmlStreamReader::EndElement || token == QXmlStreamReader::EndDocument) return false;
    }
}

void XmlCursor::toRoot() {
    while (!xml_.atEnd()) {
        if (xml_.readNext() == QXmlStreamReader::StartElement) return;
        checkWellFormed();
    }
    checkWellFormed();
    fail("文件中没有 XML 元素");
}

void XmlCursor::skip() {
    xml_.skipCurrentElement();
    checkWellFormed();
}

std::string XmlCursor::text() {
    std::string out;
    for (int depth = 1; depth > 0;) {
        QXmlStreamReader::TokenType token = xml_.readNext();
        checkWellFormed();
        if (token == QXmlStreamReader::Characters) out += xml_.text().toString().toStdString();
        else if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (is("break")) out += '\n';
        } else if (token == QXmlStreamReader::EndElement) --depth;
    }
    return out;
}

std::string XmlCursor::where() const {
    std::int64_t column = device_.fileColumn(xml_.lineNumber(), xml_.columnNumber());
    return "第 " + std::to_string(xml_.lineNumber()) + " 行第 " + std::to_string(column) + " 列";
}

void XmlCursor::fail(const std::string& message) const {
    throw toolFailure(where() + ": " + message);
}

void XmlCursor::noteUnreadEntities() {
    if (xml_.tokenType() == QXmlStreamReader::DTD) {
        for (const QXmlStreamEntityDeclaration& declared : xml_.entityDeclarations()) {
            if (declared.systemId().isEmpty()) continue;
            std::string systemId = declared.systemId().toString().toStdString();
            unread_[declared.name().toString().toStdString()] = {where(), systemId, 0};
        }
    } else if (xml_.tokenType() == QXmlStreamReader::EntityReference) {
        UnreadEntity& entity = unread_[xml_.name().toString().toStdString()];
        if (entity.references++ == 0 && entity.where.empty()) entity.where = where();
    }
}

void XmlCursor::checkWellFormed() {
    noteUnreadEntities();
    // The device ends the reader's text where the file's encoding fails, so
    // the reader stops there.
    if (xml_.atEnd() && !device_.inputError().empty()) fail(device_.inputError());
    if (!xml_.hasError()) return;
    if (xml_.error() == QXmlStreamReader::PrematureEndOfDocumentError) fail("XML 在最后一个元素结束之前就结束了");
    fail("XML 格式错误: " + xml_.errorString().toStdString());
}

}  // namespace velloran::tools::dxl
