// The INI reader and writer. The input is a profile's bytes, then a
// section, a key and a value, each after a NUL byte. A profile keeps its
// bytes exactly through reading and writing back; a value written reads back
// unchanged, or writing it is refused with Failure.
#include "ini/IniDocument.h"
#include "support/Check.h"
#include "support/FuzzInput.h"
#include "text/Gb18030.h"

#include <cstdint>

namespace {

using velloran::platform::IniDocument;
using velloran::platform::Failure;
using velloran::platform::fromGb18030;
namespace fuzz = velloran::fuzz;

QByteArray bytesOf(const std::string& text) { return QByteArray(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> parts = fuzz::fields(data, size, 4);
    const QByteArray profile = bytesOf(parts[0]);
    const QString section = fromGb18030(bytesOf(parts[1]));
    const QString key = fromGb18030(bytesOf(parts[2]));
    const QString value = fromGb18030(bytesOf(parts[3]));

    IniDocument document = IniDocument::parse(profile);
    fuzz::require(document.toBytes() == profile, "a profile read and written back keeps its bytes");
    try {
        document.setValue(section, key, value);
    } catch (const Failure&) {
        return 0;
    }
    fuzz::require(document.value(section, key) == value, "a value written reads back unchanged");
    const IniDocument reread = IniDocument::parse(document.toBytes());
    fuzz::require(reread.value(section, key) == value, "a value written reads back unchanged from the bytes");
    document.setValue(section, key, value);
    fuzz::require(document.toBytes() == reread.toBytes(), "writing the same value twice changes nothing");
    return 0;
}
