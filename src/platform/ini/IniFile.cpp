#include "ini/IniFile.h"

#include "files/AtomicFile.h"
#include "text/Gb18030.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

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

// Takes from an existing file the permissions it may not have; the file is
// narrowed before the new contents reach it, and the old contents with it.
void narrowPermissions(const std::string& path, mode_t mostPermissions) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return;  // no file yet: it is created with them
    const mode_t own = info.st_mode & 07777;
    if ((own & ~mostPermissions) == 0) return;
    if (::chmod(path.c_str(), own & mostPermissions) != 0)
        throw std::runtime_error(std::string("cannot narrow its permissions: ") + std::strerror(errno));
}

}  // namespace

IniFile::IniFile(const QString& path, std::optional<mode_t> mostPermissions)
    : path_(QFileInfo(path).absoluteFilePath()), mostPermissions_(mostPermissions) {}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    std::optional<QByteArray> bytes = readBytes(path_);
    std::optional<QString> value = bytes ? IniDocument::parse(*bytes).value(section, key) : std::nullopt;
    return value ? cutToGb18030Bytes(*value, kMaxValueBytes) : defaultValue;
}

void IniFile::writeStrings(const QString& section, const std::vector<std::pair<QString, QString>>& values) const {
    // A file that exists but cannot be read is never replaced: rewriting it
    // from nothing would lose what it holds.
    std::optional<QByteArray> bytes = readBytes(path_);
    if (!bytes && QFileInfo::exists(path_)) failToWrite("it cannot be read");
    IniDocument document = IniDocument::parse(bytes.value_or(QByteArray()));
    for (const auto& [key, value] : values) document.setValue(section, key, value);
    const QByteArray contents = document.toBytes();
    try {
        const std::string target = linkTarget(QFile::encodeName(path_).toStdString());
        if (mostPermissions_) narrowPermissions(target, *mostPermissions_);
        writeFileAtomically(target, std::string_view(contents.constData(), static_cast<std::size_t>(contents.size())),
                            mostPermissions_);
    } catch (const std::exception& e) {
        failToWrite(originalOf(e), errorOf(e));
    }
}

void IniFile::failToWrite(const std::string& reason, int error) const {
    const std::string path = path_.toStdString();
    throw Failure(Failure::Kind::File, "无法写入设置文件 " + path,
                  {path, "Unable to write to " + path + ": " + reason, error});
}

}  // namespace velloran::platform
