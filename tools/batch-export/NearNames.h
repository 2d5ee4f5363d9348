#pragma once
// Names near one that was not found, for "您是不是要找: …": those that
// contain it or are contained in it, or lie within a few edits of it,
// letter case ignored; the nearest first.
#include <QString>
#include <QStringList>

namespace velloran::batch {

// Edits (insertions, deletions, substitutions) from `a` to `b`.
int editDistance(const QString& a, const QString& b);

// At most `most` of `candidates`, nearest first; never `wanted` itself.
QStringList nearNames(const QString& wanted, const QStringList& candidates, int most = 5);

// "\n您是不是要找: a、b" for the names `near`, their control characters written
// out as the export log writes them; empty when there are none.
QString suggestionOf(const QStringList& near);

// The suggestion of the names of `candidates` near `wanted`.
QString suggestionFor(const QString& wanted, const QStringList& candidates);

}  // namespace velloran::batch
