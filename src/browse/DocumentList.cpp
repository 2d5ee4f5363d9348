#include "DocumentList.h"

#include "ListView.h"
#include "ValueText.h"
#include "ui/PlainMessage.h"

#include "errors/Failure.h"

#include <QLoggingCategory>

namespace velloran::browse {

namespace {

Q_LOGGING_CATEGORY(browseDiagnostics, "velloran.browse")

const QString kReadingMessage = QStringLiteral("正在读入前100条文档数据...");

// Runs one read of the engine; a failure becomes a Failure saying `what`
// and the engine's reason, which goes to the diagnostics channel too.
template <typename Read>
auto reading(const QString& what, Read read) -> decltype(read()) {
    try {
        return read();
    } catch (const std::exception& reason) {
        qCWarning(browseDiagnostics).noquote() << what << "-" << reason.what();
        throw platform::asFailure(reason).retold(platform::kindOf(reason),
                                                 (what + QStringLiteral("：")).toStdString() + reason.what());
    }
}

QString viewFailure(const QString& viewName) { return QStringLiteral("无法打开视图“%1”").arg(viewName); }

QString documentFailure(const QString& viewName, int number) {
    return QStringLiteral("视图“%1”的第%2条文档无法读取").arg(viewName).arg(number);
}

// The row's column texts; a document whose values cannot be read still
// shows its universal ID, and the reason goes to the diagnostics channel.
QStringList columnTexts(domino::TNotesDocument& document, const QString& unid, int columns) {
    try {
        return domino::valuesToTexts(document.ColumnValues()).mid(0, columns);
    } catch (const std::exception& reason) {
        qCWarning(browseDiagnostics).noquote()
            << "the column values of document" << unid << "cannot be read -" << reason.what();
        return {};
    }
}

}  // namespace

QString DocumentList::summaryText(const ShownPage& page) {
    QString text = QStringLiteral("视图：") + page.viewName + "(" + page.viewName + ") ";
    text += QStringLiteral("共有文档:") + QString::number(page.documentCount.value_or(0));
    if (page.last >= page.first)
        text += QStringLiteral("  显示:%1-%2").arg(page.first).arg(page.last);
    return text;
}

void DocumentList::LoadViewPage(domino::TNotesDatabase& database, const QString& viewName) {
    c_.state.PageStart = c_.state.ReadPosition;
    c_.state.ViewDocumentCount = 0;
    resetToReport();
    ShownPage shown;
    shown.viewName = viewName;
    QString failure;
    try {
        listPage(database, shown);
    } catch (const platform::Failure& error) {
        failure = QString::fromStdString(platform::describeFailure(error, false));
    }
    c_.list.endUpdate();
    c_.wait.CloseWait();
    shown.first = c_.state.PageStart + 1;
    shown.last = c_.state.ReadPosition;
    // A view that could not be opened leaves nothing on screen to page
    // through, export or show details of.
    if (shown.documentCount)
        c_.setSummary(summaryText(shown));
    else
        clearShownView();
    if (!failure.isEmpty()) platform::showPlainMessage(c_.prompts, QStringLiteral("读取数据出错:") + failure);
}

void DocumentList::forgetView() {
    c_.state.CurrentViewName.clear();
    c_.state.ViewDocumentCount = 0;
    c_.state.ReadPosition = 0;
    c_.state.PageStart = 0;
}

void DocumentList::clearShownView() {
    forgetView();
    c_.list.clearColumns();
    c_.list.clearItems();
    c_.setSummary(QString());
}

void DocumentList::resetToReport() {
    c_.list.beginUpdate();
    c_.list.clearColumns();
    c_.list.clearItems();
    c_.list.setFullRowSelect(true);
    c_.list.setStyle(ListView::Style::Report);
}

void DocumentList::listPage(domino::TNotesDatabase& database, ShownPage& shown) {
    const QString failure = viewFailure(shown.viewName);
    domino::TNotesView view;
    view.ConnectTo(reading(failure, [&] { return database.GetView(shown.viewName); }));
    const int columns = reading(failure, [&] { return view.ColumnCount(); });
    const QStringList names = reading(failure, [&] { return view.ColumnNames(); });
    shown.viewName = reading(failure, [&] { return view.Name(); });
    const int count = reading(failure, [&] { return view.AllEntriesCount(); });
    shown.documentCount = count;
    c_.state.ViewDocumentCount = count;

    const int columnWidth = c_.list.rowRoomWidth() / (columns + 1);
    c_.list.addColumn(QStringLiteral("文档ID"), columnWidth);
    for (int column = 0; column < columns; ++column) c_.list.addColumn(names.value(column), columnWidth);
    c_.wait.ShowWait();
    c_.wait.SetWaitProgress(100, 1);
    c_.wait.SetWaitMsg(kReadingMessage);
    readPage(view, shown.viewName, columns, count);
}

void DocumentList::readPage(domino::TNotesView& view, const QString& viewName, int columns, int count) {
    int& position = c_.state.ReadPosition;
    if (count <= position) return;  // an empty view, or a position past its end
    domino::TNotesDocument document;
    document.ConnectTo(reading(documentFailure(viewName, position + 1),
                               [&] { return view.GetNthDocument(position + 1); }));
    for (int listed = 1; listed <= kPageSize && count > position; ++listed) {
        const QString failure = documentFailure(viewName, position + 1);
        if (listed > 1) document.ConnectTo(reading(failure, [&] { return view.GetNextDocument(document); }));
        const QString unid = reading(failure, [&] { return document.UniversalID(); });
        c_.list.addItem(unid, columnTexts(document, unid, columns));
        ++position;
        c_.wait.SetWaitMsg(kReadingMessage + QString::number(listed + 1) + "/" + QString::number(count));
        c_.wait.SetWaitProgress(count, listed);
    }
}

std::optional<int> DocumentList::positionFor(PageButton button) const {
    return readPositionFor(button, c_.state.PageStart, c_.state.ViewDocumentCount,
                           c_.list.style() == ListView::Style::Icon);
}

bool DocumentList::canPage(PageButton button) const {
    const std::optional<int> position = positionFor(button);
    return position && *position != c_.state.PageStart;
}

void DocumentList::pageButtonClick(PageButton button) {
    const std::optional<int> position = positionFor(button);
    if (!position) return;
    c_.state.ReadPosition = *position;
    LoadViewPage(c_.state.requireCurrentDatabase(), c_.state.CurrentViewName);
}

}  // namespace velloran::browse
