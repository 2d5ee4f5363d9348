#pragma once
// The document list: a list control with two styles, like the classic
// list view. In report style it shows rows under column headers (a row's
// caption first, then its sub-items); in icon style it shows captions with
// large icons and no columns.
#include <QIcon>
#include <QStackedWidget>
#include <QStringList>
#include <QVector>

class QListWidget;
class QTreeWidget;

namespace velloran::browse {

class ListView : public QStackedWidget {
    Q_OBJECT
public:
    enum class Style { Icon, Report };

    explicit ListView(QWidget* parent = nullptr);

    // The four item icons (server, folder, database, view).
    void setImages(const QVector<QIcon>& images);
    QIcon image(int index) const { return images_.value(index); }

    Style style() const { return style_; }
    void setStyle(Style style);

    // Holds back repainting until the matching endUpdate; updates nest.
    void beginUpdate();
    void endUpdate();

    void clearColumns();
    void addColumn(const QString& caption, int width);
    int columnCount() const;
    QString columnCaption(int column) const;
    int columnWidth(int column) const;
    // The width the report's columns can share without a horizontal scroll
    // bar once a full page brings up the vertical one.
    int rowRoomWidth() const;

    // Removes every row (report style) and every icon (icon style).
    void clearItems();
    void addItem(const QString& caption, const QStringList& subItems = {}, int imageIndex = -1);
    int itemCount() const;
    QString itemCaption(int index) const;
    QStringList itemSubItems(int index) const;

    void setFullRowSelect(bool on);
    void selectItem(int index);
    int selectedCount() const;
    // The caption of the one selected item; empty unless exactly one is.
    QString selectedCaption() const;

    QTreeWidget* reportWidget() const { return report_; }
    QListWidget* iconWidget() const { return icons_; }

signals:
    void itemDoubleClicked();

private:
    QTreeWidget* report_;
    QListWidget* icons_;
    QVector<QIcon> images_;
    Style style_ = Style::Icon;
    int updateDepth_ = 0;
};

}  // namespace velloran::browse
