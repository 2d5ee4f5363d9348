#include "Settings.h"

#include "ini/IniFile.h"

namespace velloran::app {

namespace {

const QString kSection = QStringLiteral("domino");
const QString kServerKey = QStringLiteral("server");
const QString kUserKey = QStringLiteral("username");
const QString kPasswordKey = QStringLiteral("pwd");

// The file holds a password: only its owner may read it.
constexpr mode_t kOwnerOnly = 0600;

}  // namespace

QString settingsFilePath(const QString& exeFolder) { return exeFolder + kSettingsFileName; }

LoginValues loadLoginValues(const QString& exeFolder, const std::function<QString()>& localHostName) {
    const platform::IniFile file(settingsFilePath(exeFolder));
    LoginValues values{file.readString(kSection, kServerKey, QString()),
                       file.readString(kSection, kUserKey, QString()),
                       file.readString(kSection, kPasswordKey, QString())};
    if (values.server.isEmpty()) values.server = localHostName();
    return values;
}

void saveLoginValues(const QString& exeFolder, const LoginValues& values) {
    const platform::IniFile file(settingsFilePath(exeFolder), kOwnerOnly);
    file.writeString(kSection, kServerKey, values.server);
    file.writeString(kSection, kUserKey, values.user);
    file.writeString(kSection, kPasswordKey, values.password);
}

}  // namespace velloran::app
