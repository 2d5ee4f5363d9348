#include "ListView.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QListWidget>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <algorithm>

namespace velloran::browse {

namespace {

// Draws each cell as the style draws it, selection included, and then the
// grid line on its right and bottom edge. (An item style sheet would draw
// the lines too, but it takes the selection's drawing away from the style.)
class GridLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        const QRect cell = option.rect;
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->drawLine(cell.topRight(), cell.bottomRight());
        painter->drawLine(cell.bottomLeft(), cell.bottomRight());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(1, 1);
    }
};

}  // namespace

ListView::ListView(QWidget* parent)
    : QStackedWidget(parent), report_(new QTreeWidget(this)), icons_(new QListWidget(this)) {
    report_->setRootIsDecorated(false);
    report_->setColumnCount(0);
    report_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    report_->setSelectionBehavior(QAbstractItemView::SelectItems);
    report_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    report_->setUniformRowHeights(true);
    report_->setFrameShape(QFrame::NoFrame);
    report_->header()->setStretchLastSection(false);
    report_->setItemDelegate(new GridLineDelegate(report_));
    icons_->setViewMode(QListView::IconMode);
    icons_->setIconSize(QSize(32, 32));
    icons_->setGridSize(QSize(96, 64));
    icons_->setResizeMode(QListView::Adjust);
    icons_->setMovement(QListView::Static);
    icons_->setWordWrap(true);
    icons_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    icons_->setFrameShape(QFrame::NoFrame);
    addWidget(icons_);
    addWidget(report_);
    connect(report_, &QTreeWidget::itemDoubleClicked, this, [this] { emit itemDoubleClicked(); });
    connect(icons_, &QListWidget::itemDoubleClicked, this, [this] { emit itemDoubleClicked(); });
}

void ListView::setImages(const QVector<QIcon>& images) { images_ = images; }

void ListView::setStyle(Style style) {
    style_ = style;
    setCurrentWidget(style == Style::Icon ? static_cast<QWidget*>(icons_) : report_);
}

void ListView::beginUpdate() {
    if (updateDepth_++ == 0) setUpdatesEnabled(false);
}

void ListView::endUpdate() {
    if (updateDepth_ == 0 || --updateDepth_ > 0) return;
    setUpdatesEnabled(true);
    // The report missed the scroll bar changes its new rows asked for while
    // updates were off: lay its rows out and let it show the bars they need.
    report_->doItemsLayout();
    QEvent layout(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(report_, &layout);
}

void ListView::clearColumns() {
    report_->clear();
    report_->setColumnCount(0);
    report_->setHeaderLabels({});
}

void ListView::addColumn(const QString& caption, int width) {
    const int column = report_->columnCount();
    report_->setColumnCount(column + 1);
    report_->headerItem()->setText(column, caption);
    report_->setColumnWidth(column, width);
}

int ListView::columnCount() const { return report_->columnCount(); }

QString ListView::columnCaption(int column) const { return report_->headerItem()->text(column); }

int ListView::columnWidth(int column) const { return report_->columnWidth(column); }

int ListView::rowRoomWidth() const {
    const int scrollBar = report_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, report_);
    return std::max(width() - 2 * report_->frameWidth() - scrollBar, 0);
}

void ListView::clearItems() {
    report_->clear();
    icons_->clear();
}

void ListView::addItem(const QString& caption, const QStringList& subItems, int imageIndex) {
    const QIcon icon = imageIndex >= 0 && imageIndex < images_.size() ? images_[imageIndex] : QIcon();
    if (style_ == Style::Icon) {
        new QListWidgetItem(icon, caption, icons_);
        return;
    }
    auto* row = new QTreeWidgetItem(report_, QStringList{caption} + subItems);
    if (!icon.isNull()) row->setIcon(0, icon);
}

int ListView::itemCount() const { return style_ == Style::Icon ? icons_->count() : report_->topLevelItemCount(); }

QString ListView::itemCaption(int index) const {
    if (style_ == Style::Icon) return icons_->item(index)->text();
    return report_->topLevelItem(index)->text(0);
}

QStringList ListView::itemSubItems(int index) const {
    if (style_ == Style::Icon) return {};
    QStringList texts;
    const QTreeWidgetItem* row = report_->topLevelItem(index);
    for (int column = 1; column < report_->columnCount(); ++column) texts << row->text(column);
    return texts;
}

void ListView::setFullRowSelect(bool on) {
    report_->setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void ListView::selectItem(int index) {
    if (style_ == Style::Icon) {
        icons_->setCurrentRow(index);
        return;
    }
    report_->clearSelection();
    report_->topLevelItem(index)->setSelected(true);
    report_->setCurrentItem(report_->topLevelItem(index));
}

int ListView::selectedCount() const {
    if (style_ == Style::Icon) return static_cast<int>(icons_->selectedItems().size());
    int rows = 0;
    for (int i = 0; i < report_->topLevelItemCount(); ++i) rows += report_->topLevelItem(i)->isSelected();
    return rows;
}

QString ListView::selectedCaption() const {
    if (selectedCount() != 1) return {};
    if (style_ == Style::Icon) return icons_->selectedItems().first()->text();
    for (int i = 0; i < report_->topLevelItemCount(); ++i)
        if (report_->topLevelItem(i)->isSelected()) return report_->topLevelItem(i)->text(0);
    return {};
}

}  // namespace velloran::browse
