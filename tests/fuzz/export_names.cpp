// Names made safe for the file system and the lines of the export log. The
// first two bytes are a document and an attachment number, the rest raw
// UTF-16 units (lone surrogates included): half a name, half a reason. A
// safe name is one file name the file system takes, inside its folder; a
// log line never holds a control character that would split or forge a
// line, and a value's line breaks are all CR LF.
#include "log/LogLines.h"
#include "paths/SafeNames.h"
#include "support/Check.h"
#include "support/Utf16Input.h"

#include <cstdint>

namespace {

using namespace velloran::exporting;
namespace fuzz = velloran::fuzz;

bool isControl(QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; }

bool isSafe(const QString& name) {
    if (name.isEmpty() || name.startsWith(u'.') || name.toUtf8().size() > kMaxNameBytes) return false;
    for (QChar c : name)
        if (isControl(c) || c == u'/' || c == u'\\' || c == u':') return false;
    return true;
}

void checkNames(const QString& name) {
    const QString safe = safeFileName(name);
    fuzz::require(isSafe(safe), "a safe name is one file name inside its folder");
    fuzz::require(safeFileName(safe) == safe, "a safe name stays as it is");
    fuzz::require(isSafe(withSuffix(safe, QStringLiteral(" (65535)"))), "a numbered safe name is safe");
    for (const QString& part : safeFolderParts(name)) fuzz::require(isSafe(part), "every folder part is safe");
}

bool staysOnOneLine(const QString& line) {
    for (QChar c : line)
        if (isControl(c)) return false;
    return true;
}

bool breaksAreCrLf(const QString& line) {
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'\r' && (i + 1 == line.size() || line[i + 1] != u'\n')) return false;
        if (line[i] == u'\n' && (i == 0 || line[i - 1] != u'\r')) return false;
    }
    return true;
}

void checkLines(int n, int j, const QString& name, const QString& reason) {
    for (const LogLine& line : {lines::exportStarted(name, reason), lines::attachmentFound(n, j, name),
                                lines::attachmentSaved(n, j, name), lines::pictureStarted(name),
                                lines::pictureFinished(name), lines::richTextObjectSaved(n, name),
                                lines::documentStepFailed(n, name, reason)})
        fuzz::require(staysOnOneLine(line.toString()), "a log line holds no control character");
    fuzz::require(breaksAreCrLf(lines::itemValue(name).toString()), "a value's line breaks are CR LF");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const QString text = fuzz::fromUtf16Units(data + 2, size - 2);
    const QString name = text.left(text.size() / 2);
    const QString reason = text.mid(text.size() / 2);
    checkNames(name);
    checkNames(text);
    checkLines(data[0], data[1], name, reason);
    return 0;
}
