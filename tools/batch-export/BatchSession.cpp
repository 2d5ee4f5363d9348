#include "BatchSession.h"

#include "BatchFailure.h"
#include "NearNames.h"

#include "access/Installation.h"
#include "component/ComponentRuntime.h"
#include "files/DataFolder.h"
#include "store/EngineError.h"
#include "text/Trim.h"

#include <QDir>
#include <QFileInfo>

namespace velloran::batch {

namespace {

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

bool isDatabaseFile(const QFileInfo& entry) { return entry.isFile() && platform::isDatabaseFileName(entry.fileName()); }

// The view's names that --view takes: its name and its aliases.
QStringList namesOf(const std::vector<ViewEntry>& views) {
    QStringList names;
    for (const ViewEntry& view : views) names << view.name << view.aliases;
    return names;
}

}  // namespace

BatchSession::BatchSession(const BatchOptions& options, const std::string& hivePath)
    : hivePath_(hivePath), session_(platform::ComponentRuntime(hivePath)) {
    if (options.login) {
        session_.InitializeUsingNotesUserName(text(options.login->userName), text(options.login->password));
        server_ = text(options.login->server);
        requireThisServer();
    } else {
        session_.Initialize();
    }
}

notes::access::Installation BatchSession::installation() const {
    try {
        return notes::access::readInstallation(hivePath_);
    } catch (const std::exception& error) {
        throw platform::asFailure(error).retold(platform::kindOf(error),
                                                "找不到服务器的数据目录: " + std::string(error.what()));
    }
}

QString BatchSession::dataFolder() const { return text(installation().dataPath); }

void BatchSession::requireThisServer() const {
    const notes::access::Installation here = installation();
    if (notes::access::isThisServer(server_.toStdString(), here)) return;
    const platform::Failure unknown = notes::engineFailure(notes::msg::kUnknownServer, {server_.toStdString(), here.serverName});
    throw unknown.retold(unknown.kind(), unknown.what() + std::string("（velloran-setup 写注册表时打印了这个名字）"));
}

bool BatchSession::databaseExists(const QString& path) const {
    if (server_.isEmpty()) return QFileInfo::exists(path);
    QString inDataFolder = path;
    inDataFolder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QFileInfo::exists(dataFolder() + QLatin1Char('/') + inDataFolder);
}

QStringList BatchSession::databasesNear(const QString& path) const {
    if (!server_.isEmpty()) return nearNames(path, platform::databasePathsUnder(dataFolder()));
    // A local file: the database files beside the one asked for.
    const QFileInfo wanted(path);
    const QDir folder = wanted.dir();
    QStringList beside;
    for (const QFileInfo& entry : folder.entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase))
        if (isDatabaseFile(entry)) beside << entry.fileName();
    QStringList near;
    for (const QString& name : nearNames(wanted.fileName(), beside))
        near << (path.contains(QLatin1Char('/')) ? folder.filePath(name) : name);
    return near;
}

void BatchSession::openDatabase(const QString& path, domino::TNotesDatabase& database) {
    try {
        database.ConnectTo(session_.GetDatabase(server_, path));
    } catch (const platform::Failure& error) {
        // A database that is there but cannot be opened (damaged, not for
        // this user) was meant as named: no other name is suggested.
        const QString suggestion = databaseExists(path) ? QString() : suggestionOf(databasesNear(path));
        if (suggestion.isEmpty()) throw;
        throw error.retold(error.kind(), error.what() + suggestion.toStdString());
    }
}

void BatchSession::openView(domino::TNotesDatabase& database, const QString& name, domino::TNotesView& view) {
    try {
        view.ConnectTo(database.GetView(name));
    } catch (const platform::Failure& error) {
        const QString suggestion = suggestionFor(name, namesOf(views(database)));
        const QString hint = suggestion.isEmpty() ? QStringLiteral("\n用 --list 列出数据库中的视图") : suggestion;
        throw error.retold(error.kind(), error.what() + hint.toStdString());
    }
}

std::vector<ViewEntry> BatchSession::views(domino::TNotesDatabase& database) {
    std::vector<ViewEntry> entries;
    for (const QString& name : database.Views()) {
        if (platform::trimControl(name).isEmpty() || name.contains(QLatin1Char('$'))) continue;
        domino::TNotesView view;
        view.ConnectTo(database.GetView(name));
        entries.push_back({view.Name(), domino::fromUtf8(view.DefaultInterface()->Aliases()), view.AllEntriesCount()});
    }
    return entries;
}

}  // namespace velloran::batch
