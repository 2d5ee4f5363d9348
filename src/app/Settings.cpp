#include "Settings.h"

#include "files/AtomicFile.h"
#include "files/Replaceable.h"
#include "ini/IniFile.h"
#include "ui/PlainMessage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace velloran::app {

namespace {

// Why the login values could not be saved; the user sees a fixed text.
Q_LOGGING_CATEGORY(settingsDiagnostics, "velloran.settings")

const QString kSection = QStringLiteral("domino");
const QString kServerKey = QStringLiteral("server");
const QString kUserKey = QStringLiteral("username");
const QString kPasswordKey = QStringLiteral("pwd");
const QString kExportFolderFileName = QStringLiteral("export-folder");
// Longer than any path the system takes: a longer file is not one we wrote.
constexpr qint64 kMaxExportFolderBytes = 64 * 1024;

// The file and its folder hold a password: only their owner may read them.
constexpr mode_t kOwnerOnly = 0600;
constexpr mode_t kOwnerOnlyFolder = 0700;

QString besideProgram(const QString& exeFolder) { return exeFolder + kSettingsFileName; }

QString userFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/velloran");
}

QString usersFile() { return userFolder() + QLatin1Char('/') + kSettingsFileName; }

QString exportFolderFile() { return userFolder() + QLatin1Char('/') + kExportFolderFileName; }

bool canWriteBesideProgram(const QString& exeFolder) {
    return platform::canReplaceFile(platform::linkTarget(QFile::encodeName(besideProgram(exeFolder)).toStdString()));
}

// Creates the user's folder for its owner alone; the configuration folder
// above it gets the usual permissions.
void makeUserFolder() {
    const QString folder = userFolder();
    if (QFileInfo(folder).isDir()) return;
    const QString parent = QFileInfo(folder).path();
    const std::string name = QFile::encodeName(folder).toStdString();
    if (!QDir().mkpath(parent)) throw std::runtime_error("Cannot create the folder " + parent.toStdString());
    if (::mkdir(name.c_str(), kOwnerOnlyFolder) != 0 && errno != EEXIST)
        throw std::runtime_error("Cannot create the folder " + name + ": " + std::strerror(errno));
}

// Writes the login values into the file that takes them, kept for its owner
// alone (it holds the password).
void writeSettings(const QString& path, const std::vector<std::pair<QString, QString>>& values) {
    if (path == usersFile()) makeUserFolder();
    platform::IniFile(path, kOwnerOnly).writeStrings(kSection, values);
}

[[noreturn]] void failToSave(const QString& message, const std::exception& reason) {
    qCWarning(settingsDiagnostics) << platform::originalOf(reason).c_str();
    throw platform::Failure(platform::Failure::Kind::Settings, message.toStdString(),
                            {"", platform::originalOf(reason), platform::errorOf(reason),
                             platform::originalSaysMore(reason) || !platform::isFailure(reason, platform::Failure::Kind::Settings)});
}

}  // namespace

QString settingsFileForWriting(const QString& exeFolder) {
    return canWriteBesideProgram(exeFolder) ? besideProgram(exeFolder) : usersFile();
}

QString settingsFileForReading(const QString& exeFolder) {
    // The values shipped beside an installed copy count until the user saves his own.
    if (!canWriteBesideProgram(exeFolder) && QFileInfo::exists(usersFile())) return usersFile();
    return besideProgram(exeFolder);
}

LoginValues loadLoginValues(const QString& exeFolder, const std::function<QString()>& localHostName) {
    const platform::IniFile file(settingsFileForReading(exeFolder));
    LoginValues values{file.readString(kSection, kServerKey, QString()),
                       file.readString(kSection, kUserKey, QString()),
                       file.readString(kSection, kPasswordKey, QString())};
    if (values.server.isEmpty()) values.server = localHostName();
    return values;
}

void saveLoginValues(const QString& exeFolder, const LoginValues& values) {
    const QString path = settingsFileForWriting(exeFolder);
    try {
        writeSettings(path, {{kServerKey, values.server}, {kUserKey, values.user}, {kPasswordKey, values.password}});
    } catch (const std::exception& e) {
        if (platform::isFailure(e, platform::Failure::Kind::Settings))
            failToSave(QStringLiteral("登录设置未保存: 服务器名、用户名或密码中含有换行符，无法写入设置文件 %1。").arg(path), e);
        failToSave(QStringLiteral("登录设置未保存: 无法写入设置文件 %1。").arg(path), e);
    }
}

QString loadExportFolder() {
    QFile file(exportFolderFile());
    // Anything but a plain file (a pipe would block the start) is not ours.
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.read(kMaxExportFolderBytes + 1);
    if (bytes.size() > kMaxExportFolderBytes) return {};
    return QString::fromUtf8(bytes);
}

void rememberExportFolder(const QString& folder) {
    const QString path = exportFolderFile();
    try {
        makeUserFolder();
        platform::writeFileAtomically(QFile::encodeName(path).toStdString(), folder.toUtf8().toStdString(),
                                      kOwnerOnly);
    } catch (const std::exception& e) {
        qCWarning(settingsDiagnostics).noquote()
            << "the export folder" << folder << "was not kept in" << path << "-" << e.what();
    }
}

bool rememberLoginValues(const QString& exeFolder, const LoginValues& values, platform::Prompts& prompts) {
    try {
        saveLoginValues(exeFolder, values);
        return true;
    } catch (const platform::Failure& e) {
        if (!e.is(platform::Failure::Kind::Settings)) throw;
        platform::showPlainMessage(prompts, platform::failureText(e));
        return false;
    }
}

}  // namespace velloran::app
