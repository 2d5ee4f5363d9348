#pragma once
// The login values kept in "system.ini", section "domino", keys "server",
// "username" and "pwd" (the password in clear, as files already in use hold
// it). The file beside the executable is used while that folder can be
// written; for a copy installed where it cannot (/usr/bin), the values are
// kept in the user's configuration folder instead
// (~/.config/velloran/system.ini, in the same form), which is read first
// once it exists.
#include "ui/Prompts.h"

#include <QString>

#include <functional>

namespace velloran::app {

struct LoginValues {
    QString server;
    QString user;
    QString password;
};

inline const QString kSettingsFileName = QStringLiteral("system.ini");

// The file beside the executable when its folder can be written, else the
// user's file.
QString settingsFileForWriting(const QString& exeFolder);
// The file the login values are read from.
QString settingsFileForReading(const QString& exeFolder);

// Missing file, section or keys read as empty; an empty or blank server
// name becomes `localHostName()`. Nothing is written.
LoginValues loadLoginValues(const QString& exeFolder, const std::function<QString()>& localHostName);

// Writes server, username and pwd in one rewrite of the file, so that a
// user name is never kept with another user's password: all three or none.
// The file is its owner's alone (created so, narrowed so when it exists),
// since it holds a password. Throws a Failure of Kind::Settings with a
// Chinese message;
// the reason goes to the diagnostics channel "velloran.settings".
void saveLoginValues(const QString& exeFolder, const LoginValues& values);

// The folder of the last export, kept in a file of its own in the user's
// configuration folder (~/.config/velloran/export-folder, the path's UTF-8
// bytes), so that "system.ini" holds the login values alone; empty when
// none was kept or the file is no plain file, unreadable or longer than
// any path.
QString loadExportFolder();

// Keeps `folder` for loadExportFolder, the file written whole or not at all.
// A failure to write is told on the diagnostics channel "velloran.settings"
// only: the export it follows goes on.
void rememberExportFolder(const QString& folder);

// saveLoginValues for a login that has already succeeded: a failure is
// shown to the user and the session goes on. Returns whether they were saved.
bool rememberLoginValues(const QString& exeFolder, const LoginValues& values, platform::Prompts& prompts);

}  // namespace velloran::app
