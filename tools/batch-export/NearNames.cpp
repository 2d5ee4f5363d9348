#include "NearNames.h"

#include "log/LogLine.h"

#include <algorithm>
#include <vector>

namespace velloran::batch {

namespace {

// A name counts as near when the edits it needs are at most a third of the
// wanted name's length (at least one), or when one contains the other.
constexpr int kMostEditsShare = 3;

// How near `candidate` is: 0 for a containing or contained name, else its
// edit distance; -1 when it is not near at all.
int nearness(const QString& wanted, const QString& candidate) {
    if (wanted.isEmpty() || candidate.isEmpty()) return -1;
    if (candidate.contains(wanted) || wanted.contains(candidate)) return 0;
    const int edits = editDistance(wanted, candidate);
    const int allowed = std::max<int>(1, static_cast<int>(wanted.size()) / kMostEditsShare);
    return edits <= allowed ? edits : -1;
}

}  // namespace

int editDistance(const QString& a, const QString& b) {
    std::vector<int> previous(static_cast<std::size_t>(b.size()) + 1);
    std::vector<int> current(previous.size());
    for (std::size_t j = 0; j < previous.size(); ++j) previous[j] = static_cast<int>(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        current[0] = static_cast<int>(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const auto at = static_cast<std::size_t>(j);
            const int substitution = previous[at - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[at] = std::min({previous[at] + 1, current[at - 1] + 1, substitution});
        }
        std::swap(previous, current);
    }
    return previous.back();
}

QStringList nearNames(const QString& wanted, const QStringList& candidates, int most) {
    const QString folded = wanted.toCaseFolded();
    std::vector<std::pair<int, QString>> near;
    for (const QString& candidate : candidates) {
        const QString foldedCandidate = candidate.toCaseFolded();
        if (foldedCandidate == folded) continue;
        const int distance = nearness(folded, foldedCandidate);
        if (distance >= 0) near.emplace_back(distance, candidate);
    }
    std::stable_sort(near.begin(), near.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    QStringList names;
    for (const auto& [distance, name] : near) {
        if (names.size() >= most) break;
        if (!names.contains(name)) names << name;
    }
    return names;
}

QString suggestionOf(const QStringList& near) {
    if (near.isEmpty()) return {};
    QStringList shown;
    for (const QString& name : near) shown << exporting::writtenOut(name);
    return QStringLiteral("\n您是不是要找: ") + shown.join(QStringLiteral("、"));
}

QString suggestionFor(const QString& wanted, const QStringList& candidates) {
    return suggestionOf(nearNames(wanted, candidates));
}

}  // namespace velloran::batch
