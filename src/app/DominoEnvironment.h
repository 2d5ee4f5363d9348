#pragma once
// Answers whether the document-database client or server is installed,
// where their program and data folders are, and makes sure the session
// class of the database component is registered to the installed product's
// component file. Everything is read from the registry hive.
#include "component/ComponentRuntime.h"
#include "ui/Prompts.h"

#include <QString>

#include <optional>
#include <string>

namespace velloran::app {

class DominoEnvironment {
public:
    static inline const QString kDominoKey = QStringLiteral("\\Software\\Lotus\\Domino");
    static inline const QString kNotesKey = QStringLiteral("\\Software\\Lotus\\Notes");
    static inline const QString kNotFoundMarker = QStringLiteral("(找不到该目录)");
    static inline const QString kNotInstalled = QStringLiteral("没有安装Domino");
    static inline const QString kComponentFileName = QStringLiteral("nlsxbe.dll");

    DominoEnvironment(platform::ComponentRuntime runtime, platform::Prompts& prompts);

    bool IsDominoInstalled() const;
    bool IsNotesInstalled() const;
    QString GetDominoPath() const;
    QString GetDominoDataPath() const;
    QString GetNotesPath() const;
    // Always true. May rewrite the registration, register the component
    // file, change the current folder and show a message.
    bool CheckDominoObjectsRegistration(const QString& folder) const;
    void RegisterDominoObjects(const QString& componentFile) const;

    // folder + "/" + the component file name; the separator is added even
    // when the folder already ends in one.
    static QString componentFile(const QString& folder);
    static QString classRegistrationKey();

private:
    bool keyOpens(const QString& key) const;
    QString folderValue(const QString& key, const QString& valueName, const QString& whenAbsent) const;

    platform::ComponentRuntime runtime_;
    platform::Prompts& prompts_;
};

}  // namespace velloran::app
