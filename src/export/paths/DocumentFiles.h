#pragma once
// The files of one document's folder: every attachment and rich-text object
// gets a name of its own there. A name is made safe first; when that gives a
// name already handed out (names that differ only in characters made safe,
// the same name twice, an object named like an attachment), it is numbered:
// "a_b.txt", "a_b (2).txt", "a_b (3).txt", …
#include <QSet>
#include <QString>

namespace velloran::exporting {

class DocumentFiles {
public:
    // `folder` ends in "/".
    explicit DocumentFiles(QString folder) : folder_(std::move(folder)) {}

    const QString& folder() const { return folder_; }

    // The path that the file named `name` is saved as; never one handed
    // out before by this folder.
    QString claim(const QString& name);

private:
    QString folder_;
    QSet<QString> taken_;
};

}  // namespace velloran::exporting
