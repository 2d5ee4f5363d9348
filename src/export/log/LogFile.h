#pragma once
// The daily file of the export log held open while a run writes to it, so
// that appending costs one write and no open or close. It is opened again
// when the run moves to another day's file, and when the file on disk under
// its name is no longer the one held open (someone renamed or removed it):
// the lines then go to a file of that name, created anew, as they would
// if every line opened the file by its name.
#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace velloran::exporting {

class LogFile {
public:
    // `folder` ends in "/"; it is created when a file needs it.
    explicit LogFile(QString folder);
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // The file that append writes to: `name` in the folder. Opens it unless
    // it is the one open, creating it when missing. The first time a file
    // is opened, and the first time after a failed write, a line left torn
    // at its end (no CR LF) is ended first so that no new line joins it.
    // Throws a Failure of Kind::Log naming the file and the reason.
    void use(const QString& name);
    // The name given to use; empty when no file is open.
    const QString& name() const { return name_; }

    // Appends `bytes` to the file in use with one write (more only when
    // the system writes part of them), after opening the file again when
    // the one on disk under its name is not the one held open. Throws
    // a Failure of Kind::Log naming the file and the reason; the file is closed
    // then, and use opens it again.
    void append(const QByteArray& bytes);

private:
    void open(bool endTornLine);
    void close();
    bool stillOnDisk() const;
    [[noreturn]] void fail(int error);

    QString folder_;
    QString name_;
    QString path_;
    int fd_ = -1;
    // The file whose end was last seen whole; cleared by a failed write.
    QString wholeFile_;
};

}  // namespace velloran::exporting
