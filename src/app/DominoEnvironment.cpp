#include "DominoEnvironment.h"

#include "NotesApi.h"
#include "Vendor.h"
#include "errors/Diagnostics.h"
#include "ui/PlainMessage.h"
#include "registry/HiveSearch.h"
#include "registry/RegistryHive.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStringList>

namespace velloran::app {

using platform::RegistryHive;

namespace {

// Why the hive or a line of it could not be read; the user sees a fixed
// Chinese text naming the file and the line.
Q_LOGGING_CATEGORY(registryDiagnostics, "velloran.registry")

// The hive as far as it can be read; its damaged lines are skipped. A hive
// that cannot be read at all counts as one without any key: the questions
// asked here then answer "not installed", as for a missing key.
RegistryHive readHive(const std::string& path) {
    try {
        return RegistryHive::loadReadable(path);
    } catch (const platform::Failure& e) {
        if (!e.is(platform::Failure::Kind::Registry)) throw;
        qCWarning(registryDiagnostics) << e.original();
        return RegistryHive();
    }
}

QString damageLine(const QString& path, const platform::HiveDamage& damage) {
    return QStringLiteral("注册表文件 %1 第%2行无法识别: %3")
        .arg(path)
        .arg(damage.line)
        .arg(QString::fromStdString(damage.text));
}

QString refusalWithAdvice(const std::string& hivePath) {
    QStringList lookedFor;
    for (const std::string& file : platform::hiveFilesLookedFor(hivePath)) lookedFor << QString::fromStdString(file);
    return DominoEnvironment::kRefusal + QLatin1Char('\n') +
           DominoEnvironment::kSetupAdvice.arg(lookedFor.join(QStringLiteral("、")),
                                               QString::fromLatin1(platform::kSetupCommand));
}

}  // namespace

DominoEnvironment::DominoEnvironment(platform::ComponentRuntime runtime, platform::Prompts& prompts)
    : runtime_(std::move(runtime)), prompts_(prompts) {}

QString DominoEnvironment::componentFile(const QString& folder) {
    return folder + QLatin1Char('/') + kComponentFileName;
}

QString DominoEnvironment::classRegistrationKey() {
    return QString::fromStdString(platform::ComponentRuntime::inprocServerKey(notes::kSessionClassId));
}

bool DominoEnvironment::keyOpens(const QString& key) const {
    return readHive(runtime_.hivePath()).hasKey(key.toStdString());
}

bool DominoEnvironment::RequireInstallation() const {
    const std::string path = runtime_.hivePath();
    RegistryHive hive;
    try {
        hive = RegistryHive::loadReadable(path);
        reportDamage(hive);
    } catch (const platform::Failure& e) {
        if (!e.is(platform::Failure::Kind::Registry)) throw;
        qCWarning(registryDiagnostics) << e.original();
        platform::showPlainMessage(prompts_, QStringLiteral("无法读取注册表文件 %1").arg(QString::fromStdString(path)));
    }
    if (hive.hasKey(kNotesKey.toStdString()) || hive.hasKey(kDominoKey.toStdString())) return true;
    platform::showPlainMessage(prompts_, refusalWithAdvice(path));
    return false;
}

void DominoEnvironment::reportDamage(const RegistryHive& hive) const {
    const auto& damage = hive.damage();
    if (damage.empty()) return;
    const QString path = QString::fromStdString(hive.path());
    QStringList lines;
    for (const platform::HiveDamage& each : damage) {
        qCWarning(registryDiagnostics).noquote() << damageLine(path, each) << "-" << each.reason.c_str();
        if (lines.size() < kDamageLinesShown) lines << damageLine(path, each);
    }
    const auto more = static_cast<qsizetype>(damage.size()) - lines.size();
    if (more > 0) lines << QStringLiteral("另有%1行无法识别").arg(more);
    platform::showPlainMessage(prompts_, lines.join(QLatin1Char('\n')));
}

bool DominoEnvironment::IsDominoInstalled() const { return keyOpens(kDominoKey); }

bool DominoEnvironment::IsNotesInstalled() const { return keyOpens(kNotesKey); }

QString DominoEnvironment::folderValue(const QString& key, const QString& valueName,
                                       const QString& whenAbsent) const {
    RegistryHive hive = readHive(runtime_.hivePath());
    if (!hive.hasKey(key.toStdString())) return whenAbsent;
    QString folder = QString::fromStdString(hive.readString(key.toStdString(), valueName.toStdString()));
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    return folder + kNotFoundMarker;
}

QString DominoEnvironment::GetDominoPath() const {
    return folderValue(kDominoKey, QStringLiteral("Path"), kNotInstalled);
}

QString DominoEnvironment::GetDominoDataPath() const {
    return folderValue(kDominoKey, QStringLiteral("DataPath"), kNotInstalled);
}

QString DominoEnvironment::GetNotesPath() const { return folderValue(kNotesKey, QStringLiteral("Path"), QString()); }

bool DominoEnvironment::CheckDominoObjectsRegistration(const QString& folder) const {
    RegistryHive hive = readHive(runtime_.hivePath());
    const std::string key = classRegistrationKey().toStdString();
    const QString expected = componentFile(folder);
    if (hive.hasKey(key)) {
        const QString registered = QString::fromStdString(hive.readString(key, ""));
        // Only a path to a component file that is really there is worth
        // registering, and only a hive this user may write is rewritten.
        if (registered != expected && QFileInfo(expected).isFile() && hive.writable()) {
            // Loaded again under the hive's lock: a setup run meanwhile keeps its changes.
            RegistryHive::update(runtime_.hivePath(),
                                 [&](RegistryHive& locked) { locked.setString(key, "", expected.toStdString()); });
        }
        return true;
    }
    if (!QDir::setCurrent(folder)) return true;
    RegisterDominoObjects(expected);
    return true;
}

void DominoEnvironment::RegisterDominoObjects(const QString& file) const {
    if (!QFileInfo(file).isFile()) {
        platform::showPlainMessage(prompts_, QStringLiteral("找不到您系统上Domino的一个关键组件，请确认您的Domino或NOtes安装正常!") +
                                vendor::kSupportSentence);
        return;
    }
    try {
        runtime_.registerServer(file.toStdString());
    } catch (const std::exception& e) {
        platform::logCaughtReason("the component cannot be registered", e);
        platform::showPlainMessage(prompts_, QStringLiteral("您好，系统在注册domino组件时失败，或许是您的系统对权限的限制") +
                                vendor::kSupportSentence);
    }
}

}  // namespace velloran::app
