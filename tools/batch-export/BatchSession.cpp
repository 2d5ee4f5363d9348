#include "BatchSession.h"

#include "BatchFailure.h"
#include "NearNames.h"

#include "access/Installation.h"
#include "component/ComponentRuntime.h"
#include "text/Trim.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace velloran::batch {

namespace {

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

bool isDatabaseFile(const QFileInfo& entry) {
    return entry.isFile() && entry.suffix().compare(QLatin1String("nsf"), Qt::CaseInsensitive) == 0;
}

void collectDatabases(const QString& folder, const QString& prefix, QSet<QString>& visited, QStringList& found) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || visited.contains(canonical)) return;
    visited.insert(canonical);
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        if (entry.fileName().startsWith(QLatin1Char('.'))) continue;
        if (entry.isDir())
            collectDatabases(entry.filePath(), prefix + entry.fileName() + QLatin1Char('\\'), visited, found);
        else if (isDatabaseFile(entry))
            found << prefix + entry.fileName();
    }
}

// The view's names that --view takes: its name and its aliases.
QStringList namesOf(const std::vector<ViewEntry>& views) {
    QStringList names;
    for (const ViewEntry& view : views) names << view.name << view.aliases;
    return names;
}

}  // namespace

QStringList databasesUnder(const QString& folder) {
    QSet<QString> visited;
    QStringList found;
    collectDatabases(folder, QString(), visited, found);
    return found;
}

BatchSession::BatchSession(const BatchOptions& options, const std::string& hivePath)
    : hivePath_(hivePath), session_(platform::ComponentRuntime(hivePath)) {
    if (options.login) {
        session_.InitializeUsingNotesUserName(text(options.login->userName), text(options.login->password));
        server_ = text(options.login->server);
    } else {
        session_.Initialize();
    }
}

QString BatchSession::dataFolder() const {
    try {
        return text(notes::access::readInstallation(hivePath_).dataPath);
    } catch (const std::exception& error) {
        throw platform::asFailure(error).retold(platform::kindOf(error),
                                                "找不到服务器的数据目录: " + std::string(error.what()));
    }
}

QStringList BatchSession::databasesNear(const QString& path) const {
    if (!server_.isEmpty()) return nearNames(path, databasesUnder(dataFolder()));
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
        const QString suggestion = suggestionOf(databasesNear(path));
        if (suggestion.isEmpty()) throw;
        throw error.retold(error.kind(), error.what() + suggestion.toStdString());
    }
}

void BatchSession::openView(domino::TNotesDatabase& database, const QString& name, domino::TNotesView& view) {
    try {
        view.ConnectTo(database.GetView(name));
    } catch (const platform::Failure& error) {
        const QString suggestion = suggestionFor(name, namesOf(views(database)));
        if (suggestion.isEmpty()) throw;
        throw error.retold(error.kind(), error.what() + suggestion.toStdString());
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
