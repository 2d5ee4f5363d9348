#include "files/DataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace velloran::platform {

namespace {

bool isInside(const QString& canonical, const QString& root) {
    return canonical == root || canonical.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'));
}

class Scan {
public:
    explicit Scan(const QString& root) : root_(QFileInfo(root).canonicalFilePath()) {}

    std::vector<DataFolderEntry> entriesOf(const QString& folder) {
        std::vector<DataFolderEntry> found;
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        if (root_.isEmpty() || canonical.isEmpty() || visited_.contains(canonical)) return found;
        visited_.insert(canonical);
        const QFileInfoList entries =
            QDir(folder).entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
        for (const QFileInfo& entry : entries) {
            if (entry.fileName().startsWith(QLatin1Char('.')) || !reachable(entry)) continue;
            if (entry.isDir())
                found.push_back({entry.fileName(), true, entriesOf(entry.filePath())});
            else if (entry.isFile() && isDatabaseFileName(entry.fileName()))
                found.push_back({entry.fileName(), false, {}});
        }
        return found;
    }

private:
    // A link counts only when it leads to something inside the data folder.
    bool reachable(const QFileInfo& entry) const {
        if (!entry.isSymLink()) return true;
        const QString target = entry.canonicalFilePath();
        return !target.isEmpty() && isInside(target, root_);
    }

    QString root_;
    QSet<QString> visited_;
};

void collectPaths(const std::vector<DataFolderEntry>& entries, const QString& prefix, QStringList& paths) {
    for (const DataFolderEntry& entry : entries) {
        if (entry.folder)
            collectPaths(entry.entries, prefix + entry.name + QLatin1Char('\\'), paths);
        else
            paths << prefix + entry.name;
    }
}

}  // namespace

bool isDatabaseFileName(const QString& name) {
    static const QString kEnding = QStringLiteral(".nsf");
    return !name.startsWith(QLatin1Char('.')) && name.size() > kEnding.size() &&
           name.endsWith(kEnding, Qt::CaseInsensitive);
}

std::vector<DataFolderEntry> scanDataFolder(const QString& folder) { return Scan(folder).entriesOf(folder); }

QStringList databasePathsUnder(const QString& folder) {
    QStringList paths;
    collectPaths(scanDataFolder(folder), QString(), paths);
    return paths;
}

}  // namespace velloran::platform
