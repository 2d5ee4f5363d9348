#pragma once
// The login values kept in "system.ini" beside the executable, section
// "domino", keys "server", "username" and "pwd" (the password in clear, as
// files already in use hold it).
#include <QString>

#include <functional>

namespace velloran::app {

struct LoginValues {
    QString server;
    QString user;
    QString password;
};

inline const QString kSettingsFileName = QStringLiteral("system.ini");

QString settingsFilePath(const QString& exeFolder);

// Missing file, section or keys read as empty; an empty or blank server
// name becomes `localHostName()`. Nothing is written.
LoginValues loadLoginValues(const QString& exeFolder, const std::function<QString()>& localHostName);

// Writes server, username and pwd in that order, creating the file (for its
// owner only, since it holds a password) and the section when missing.
// Throws "Unable to write to <path>" at the first key that cannot be written.
void saveLoginValues(const QString& exeFolder, const LoginValues& values);

}  // namespace velloran::app
