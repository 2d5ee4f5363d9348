#include "DocumentList.h"

#include "ListView.h"
#include "ValueText.h"
#include "ui/PlainMessage.h"

namespace velloran::browse {

namespace {

const QString kReadingMessage = QStringLiteral("正在读入前100条文档数据...");

// The row's column texts; a document whose values cannot be read shows none.
QStringList columnTexts(domino::TNotesDocument& document, int columns) {
    try {
        return domino::valuesToTexts(document.ColumnValues()).mid(0, columns);
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

QString DocumentList::summaryText(const QString& viewName, int count) {
    return QStringLiteral("视图：") + viewName + "(" + viewName + QStringLiteral(") 共有文档:") +
           QString::number(count);
}

void DocumentList::LoadViewPage(domino::TNotesDatabase& database, const QString& viewName) {
    const int width = c_.list.width();
    c_.list.beginUpdate();
    c_.state.ViewDocumentCount = 0;
    c_.list.clearColumns();
    c_.list.clearItems();
    c_.list.setFullRowSelect(true);
    c_.list.setStyle(ListView::Style::Report);
    domino::TNotesView view;
    try {
        view.ConnectTo(database.GetView(viewName));
        const int columns = view.ColumnCount();
        const QStringList names = view.ColumnNames();
        const int columnWidth = width / (columns + 1);
        c_.list.addColumn(QStringLiteral("文档ID"), columnWidth);
        for (int column = 0; column < columns; ++column) c_.list.addColumn(names.value(column), columnWidth);
        c_.wait.ShowWait();
        c_.wait.SetWaitProgress(100, 1);
        c_.wait.SetWaitMsg(kReadingMessage);

        domino::TNotesDocument document;
        try {
            document.ConnectTo(view.GetNthDocument(c_.state.ReadPosition + 1));
            document.DefaultInterface();
        } catch (const std::exception&) {
            // No first document (an empty view, a position past the end):
            // the list keeps its fresh headers and no rows, without a word.
            c_.list.endUpdate();
            c_.wait.CloseWait();
            return;
        }
        readPage(view, document, columns);
    } catch (const std::exception& e) {
        platform::showPlainMessage(c_.prompts, QStringLiteral("读取数据出错:") + QString::fromUtf8(e.what()));
    }
    c_.list.endUpdate();
    c_.wait.CloseWait();
}

void DocumentList::readPage(domino::TNotesView& view, domino::TNotesDocument& document, int columns) {
    const int count = view.AllEntriesCount();
    c_.state.ViewDocumentCount = count;
    const QString name = view.Name();
    c_.setSummary(summaryText(name, count));
    int counter = 1;
    if (count < 1) return;
    while (counter <= kPageSize && view.AllEntriesCount() > c_.state.ReadPosition) {
        ++counter;
        ++c_.state.ReadPosition;
        c_.list.addItem(document.UniversalID(), columnTexts(document, columns));
        document.ConnectTo(view.GetNextDocument(document));
        const int total = view.AllEntriesCount();
        c_.wait.SetWaitMsg(kReadingMessage + QString::number(counter) + "/" + QString::number(total));
        c_.wait.SetWaitProgress(total, counter);
    }
}

void DocumentList::pageButtonClick(PageButton button) {
    const std::optional<int> position = readPositionFor(button, c_.state.ReadPosition, c_.state.ViewDocumentCount,
                                                        c_.list.style() == ListView::Style::Icon);
    if (!position) return;
    c_.state.ReadPosition = *position;
    LoadViewPage(c_.state.requireCurrentDatabase(), c_.state.CurrentViewName);
}

}  // namespace velloran::browse
