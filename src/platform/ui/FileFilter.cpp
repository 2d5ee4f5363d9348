#include "ui/FileFilter.h"

#include <vector>

namespace velloran::platform {

namespace {

struct FilterPair {
    QString description;
    QStringList patterns;
};

std::vector<FilterPair> filterPairs(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    std::vector<FilterPair> pairs;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        FilterPair pair{parts[i], i + 1 < parts.size() ? parts[i + 1].split(u';', Qt::SkipEmptyParts) : QStringList()};
        if (!pair.description.isEmpty() || !pair.patterns.isEmpty()) pairs.push_back(std::move(pair));
    }
    return pairs;
}

// ".xlsx" for "*.xlsx"; empty for a pattern that names no one extension.
QString extensionOf(const QString& pattern) {
    if (!pattern.startsWith(QStringLiteral("*."))) return {};
    const QString extension = pattern.mid(1);
    return extension.size() > 1 && !extension.contains(u'*') && !extension.contains(u'?') ? extension : QString();
}

bool endsWithAnyExtension(const QString& fileName, const std::vector<FilterPair>& pairs) {
    for (const FilterPair& pair : pairs)
        for (const QString& pattern : pair.patterns) {
            const QString extension = extensionOf(pattern);
            if (!extension.isEmpty() && fileName.endsWith(extension, Qt::CaseInsensitive)) return true;
        }
    return false;
}

}  // namespace

QStringList qtFilterEntries(const QString& filter) {
    QStringList entries;
    for (const FilterPair& pair : filterPairs(filter))
        entries << (pair.patterns.isEmpty() ? pair.description
                                            : pair.description + QStringLiteral(" (") + pair.patterns.join(u' ') + u')');
    return entries;
}

QString toQtFileFilter(const QString& filter) { return qtFilterEntries(filter).join(QStringLiteral(";;")); }

QString withFilterExtension(const QString& fileName, const QString& filter, qsizetype index) {
    const std::vector<FilterPair> pairs = filterPairs(filter);
    if (index < 0 || index >= static_cast<qsizetype>(pairs.size()) || endsWithAnyExtension(fileName, pairs))
        return fileName;
    const QStringList& patterns = pairs[static_cast<std::size_t>(index)].patterns;
    return patterns.isEmpty() ? fileName : fileName + extensionOf(patterns.first());
}

}  // namespace velloran::platform
