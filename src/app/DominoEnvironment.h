#pragma once
// Answers whether the document-database client or server is installed,
// where their program and data folders are, and makes sure the session
// class of the database component is registered to the installed product's
// component file. Everything is read from the registry hive.
#include "component/ComponentRuntime.h"
#include "registry/RegistryHive.h"
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
    static inline const QString kRefusal = QStringLiteral(
        "对不起，Velloran要求运行的电脑上已经安装过Domino客户端或服务器端软件!请安装Domino环境后再运行本系统!");
    // Follows the refusal: the hive files looked for and the command that makes one.
    static inline const QString kSetupAdvice = QStringLiteral("已查找的注册表文件: %1\n请运行 %2 建立注册表");
    // How many damaged lines of the hive the message names one by one.
    static constexpr int kDamageLinesShown = 5;

    DominoEnvironment(platform::ComponentRuntime runtime, platform::Prompts& prompts);

    // Whether the client or the server is installed, for the program to
    // start. Tells the user first of the lines of the hive that cannot be
    // read (or that it cannot be read at all), then, only when neither
    // product's key is there, that the program needs one of them, which
    // hive files it looked for and how to make one.
    bool RequireInstallation() const;

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
    void reportDamage(const platform::RegistryHive& hive) const;
    bool keyOpens(const QString& key) const;
    QString folderValue(const QString& key, const QString& valueName, const QString& whenAbsent) const;

    platform::ComponentRuntime runtime_;
    platform::Prompts& prompts_;
};

}  // namespace velloran::app
