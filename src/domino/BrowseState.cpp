#include "BrowseState.h"

namespace velloran::domino {

std::string notPreparedMessage() {
    return QStringLiteral("Domino组件在启动时没有准备好，无法执行该操作，"
                          "请确认Domino或Notes安装正常后重新启动本系统")
        .toStdString();
}

TNotesSession& BrowseState::requireSession() {
    if (!Session || !CurrentDatabase) throw databaseFailure(notPreparedMessage());
    return *Session;
}

TNotesDatabase& BrowseState::requireCurrentDatabase() {
    requireSession();
    return *CurrentDatabase;
}

}  // namespace velloran::domino
