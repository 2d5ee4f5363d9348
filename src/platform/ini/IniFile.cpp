#include "ini/IniFile.h"

#include "files/AtomicFile.h"
#include "text/Gb18030.h"

#include <QFile>
#include <QFileInfo>

namespace velloran::platform {

namespace {

// The file's bytes; nothing when the file does not exist or cannot be read.
std::optional<QByteArray> readBytes(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

}  // namespace

IniFile::IniFile(const QString& path, std::optional<mode_t> newFileMode)
    : path_(QFileInfo(path).absoluteFilePath()), newFileMode_(newFileMode) {}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    std::optional<QByteArray> bytes = readBytes(path_);
    std::optional<QString> value = bytes ? IniDocument::parse(*bytes).value(section, key) : std::nullopt;
    return value ? cutToGb18030Bytes(*value, kMaxValueBytes) : defaultValue;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) const {
    // A file that exists but cannot be read is never replaced: rewriting it
    // from nothing would lose what it holds.
    std::optional<QByteArray> bytes = readBytes(path_);
    if (!bytes && QFileInfo::exists(path_)) failToWrite();
    IniDocument document = IniDocument::parse(bytes.value_or(QByteArray()));
    document.setValue(section, key, value);
    const QByteArray contents = document.toBytes();
    try {
        writeFileAtomically(QFile::encodeName(path_).toStdString(),
                            std::string_view(contents.constData(), static_cast<std::size_t>(contents.size())),
                            newFileMode_);
    } catch (const std::exception&) {
        failToWrite();
    }
}

void IniFile::failToWrite() const { throw IniWriteError("Unable to write to " + path_.toStdString()); }

}  // namespace velloran::platform
