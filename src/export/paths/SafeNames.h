#pragma once
// Names taken from a database (attachment and object names, universal IDs,
// view names) become file and folder names that stay inside the folder
// they are meant for, whatever they hold.
#include <QString>
#include <QStringList>

namespace velloran::exporting {

// Longest file name the local file system takes, in UTF-8 bytes.
inline constexpr qsizetype kMaxNameBytes = 255;

// One path component: "/", "\", ":" and control characters become "_"
// (so no separator, absolute path or drive prefix survives), and so do
// leading dots (no hidden files); a name that is empty or only dots and
// blanks ("", ".", "..") becomes "_" per character, at least one; a name too
// long for the file system is shortened, keeping a short extension.
QString safeFileName(const QString& name);

// A safe name with `suffix` put before its extension ("a.txt", " (2)" gives
// "a (2).txt"), its stem shortened so that the whole still fits.
QString withSuffix(const QString& safeName, const QString& suffix);

// The folders that `path` names with "\" between its parts, each made safe;
// empty parts (a leading, trailing or doubled "\") are skipped.
QStringList safeFolderParts(const QString& path);

}  // namespace velloran::exporting
