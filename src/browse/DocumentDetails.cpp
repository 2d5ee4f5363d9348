#include "DocumentDetails.h"

#include "ListView.h"
#include "ValueText.h"
#include "ui/FixedSizeDialog.h"

#include <QFrame>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>

namespace velloran::browse {

namespace {

const QString kRawDataText = QStringLiteral("(二进制数据)");

// The text of the first value of the `occurrence`-th item of this name.
QString firstValueText(domino::TNotesDocument& document, const QString& name, int occurrence) {
    domino::TNotesItem item;
    item.ConnectTo(document.GetNthItem(name, occurrence));
    if (item.IsConnected() && item.Type() == notes::kRawData) return kRawDataText;
    const notes::ValueList values = document.GetNthItemValue(name, occurrence);
    if (values.empty())
        throw domino::databaseFailure(QStringLiteral("域 %1 没有值").arg(name).toStdString());
    return domino::valueToText(values.front());
}

// A cell whose text, cut short by a narrow column, can be read in full as
// its tooltip.
QTableWidgetItem* textCell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(text);
    return item;
}

QTableWidgetItem* nameCell(const QString& text, const QPalette& palette) {
    QTableWidgetItem* item = textCell(text);
    item->setBackground(palette.color(QPalette::Button));
    return item;
}

}  // namespace

TfrmdocDetail::TfrmdocDetail(QWidget* parent)
    : QDialog(parent, platform::kFixedSizeDialogFlags) {
    setObjectName(QStringLiteral("frmdocDetail"));
    setWindowTitle(QStringLiteral("文档详细资料"));
    setFixedSize(568, 493);
    auto* panel = new QFrame(this);
    panel->setGeometry(0, 0, 568, 493);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);

    StringGrid1 = new QTableWidget(panel);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setGeometry(56, 16, 465, 409);
    StringGrid1->setColumnCount(2);
    StringGrid1->setHorizontalHeaderLabels({QStringLiteral("文档域名"), QStringLiteral("域值")});
    // Names 64 and values 248 wide, neither to be dragged wider, so the rows
    // are never wider than the grid and the names cannot scroll away; the
    // tooltips give the texts cut short.
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->setColumnWidth(0, 64);
    StringGrid1->setColumnWidth(1, 248);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setWordWrap(false);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setDefaultSectionSize(24);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);

    BitBtn1 = new QPushButton(QStringLiteral("确   定"), panel);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(208, 440, 121, 33);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmdocDetail::fill(const QStringList& names, const QStringList& values) {
    const QPalette fixed = palette();
    StringGrid1->setRowCount(static_cast<int>(names.size()));
    for (int row = 0; row < names.size(); ++row) {
        StringGrid1->setItem(row, 0, nameCell(names[row], fixed));
        StringGrid1->setItem(row, 1, textCell(values[row]));
    }
}

QString TfrmdocDetail::headerText(int column) const {
    const QTableWidgetItem* item = StringGrid1->horizontalHeaderItem(column);
    return item ? item->text() : QString();
}

QString TfrmdocDetail::cell(int row, int column) const {
    const QTableWidgetItem* item = StringGrid1->item(row, column);
    return item ? item->text() : QString();
}

int TfrmdocDetail::rowCount() const { return StringGrid1->rowCount(); }

DocumentDetails::DocumentDetails(BrowseContext context, DialogRunner runDialog)
    : c_(std::move(context)), runDialog_(std::move(runDialog)) {}

void DocumentDetails::ShowDocumentDetails(domino::TNotesSession& session, const QString& databasePath,
                                          const QString& universalId) {
    const bool onServer = c_.state.TreeMode == domino::BrowseState::kTreeServer;
    QStringList names;
    QStringList values;
    {
        domino::TNotesDatabase database;
        database.ConnectTo(session.GetDatabase(onServer ? c_.state.ServerName : QString(), databasePath));
        domino::TNotesDocument document;
        document.ConnectTo(database.GetDocumentByUNID(universalId));
        names = document.Items();
        const QList<int> occurrences = domino::occurrencesOf(names);
        for (qsizetype i = 0; i < names.size(); ++i) values << firstValueText(document, names[i], occurrences[i]);
    }
    TfrmdocDetail window(c_.tree.window());
    window.fill(names, values);
    runDialog_(window);
}

void DocumentDetails::ListView1DblClick() {
    if (c_.list.style() != ListView::Style::Report || c_.list.selectedCount() != 1) return;
    ShowDocumentDetails(c_.state.requireSession(), c_.state.DatabasePath, c_.list.selectedCaption());
}

}  // namespace velloran::browse
