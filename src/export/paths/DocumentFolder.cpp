#include "paths/DocumentFolder.h"

#include "errors/Failure.h"

#include <stdexcept>

namespace velloran::exporting {

namespace {

// `text` with every `from` replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

}  // namespace

void DocumentFolder::open() {
    if (!open_) open_ = folders_.openDocumentFolder(universalId_);
}

QString DocumentFolder::save(const QString& name, const std::function<void(const QString& target)>& write) {
    open();
    const QString real = files_.claim(name);
    const std::string inFolder = open_->throughDescriptor(std::string());
    try {
        write(QString::fromStdString(inFolder) + real.mid(path().size()));
    } catch (const std::exception& error) {
        const std::string shown = path().toStdString();
        throw platform::Failure(platform::kindOf(error), replaced(error.what(), inFolder, shown),
                                {"", replaced(platform::originalOf(error), inFolder, shown), platform::errorOf(error),
                                 platform::originalSaysMore(error)});
    }
    folders_.fileSaved();
    return real;
}

}  // namespace velloran::exporting
