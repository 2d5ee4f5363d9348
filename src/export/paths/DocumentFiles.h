#pragma once
// The files of one document's folder: every attachment and rich-text object
// gets a name of its own there. A name is made safe first; when that gives a
// name already handed out (names that differ only in characters made safe,
// the same name twice, an object named like an attachment), it is numbered:
// "a_b.txt", "a_b (2).txt", "a_b (3).txt", …
#include <QHash>
#include <QSet>
#include <QString>

#include <cstdint>

namespace velloran::exporting {

class DocumentFiles {
public:
    // `folder` ends in "/".
    explicit DocumentFiles(QString folder) : folder_(std::move(folder)) {}

    const QString& folder() const { return folder_; }

    // The path that the file named `name` is saved as; never one handed
    // out before by this folder.
    QString claim(const QString& name);

    // How many names the claims so far have tried: about one per claim
    // however many names collide, so that a document with thousands of
    // them costs no more than thousands of distinct ones.
    std::int64_t namesTried() const { return namesTried_; }

private:
    QString candidate(const QString& safe, int number) const;
    bool isTaken(const QString& name);

    QString folder_;
    QSet<QString> taken_;
    // For each safe name, the number its next claim starts from: every
    // name below it is taken, and names are never given back.
    QHash<QString, int> nextNumber_;
    std::int64_t namesTried_ = 0;
};

}  // namespace velloran::exporting
