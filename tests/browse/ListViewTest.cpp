#include "BrowseFixture.h"

#include "ListView.h"

#include <QApplication>
#include <QHeaderView>
#include <QTreeWidget>

#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

using namespace velloran;
using velloran::testing::BrowseFixture;

namespace {

// The colour drawn near the right end of an item's row, where no text is.
QColor rowBackground(QTreeWidget& view, QTreeWidgetItem* item, int x) {
    const QRect row = view.visualItemRect(item);
    return view.viewport()->grab().toImage().pixelColor(x, row.center().y());
}

// Colours alike but for the shading a style gives a selection's edges.
::testing::AssertionResult alike(const QColor& a, const QColor& b) {
    const int difference = std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                                     std::abs(a.blue() - b.blue())});
    if (difference <= 8) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a.name().toStdString() << " against " << b.name().toStdString();
}

class ListSelectionTest : public BrowseFixture {
protected:
    // Lists a one-document view, then selects its row and the view's node.
    void selectBoth() {
        const nlohmann::json database = {
            {"views", {{{"name", "One"}, {"columns", {{{"title", "S"}, {"formula", "Subject"}}}}}}},
            {"documents", {{{"items", {{{"name", "Subject"}, {"value", "x"}}}}}}}};
        prompts_.answerOpenFile(QString::fromStdString(installation_.buildDatabase("one.nsf", database)));
        window().openfile->trigger();
        click({"One"});
        window().ListView1->selectItem(0);
        window().TreeView1->setCurrentItem(node({"One"}));
        window().show();
        QApplication::processEvents();
    }
    QColor listSelection() {
        QTreeWidget& list = *window().ListView1->reportWidget();
        // The columns end before the room kept for a vertical scroll bar.
        return rowBackground(list, list.topLevelItem(0), list.header()->length() - 4);
    }
    QColor treeSelection() {
        QTreeWidget& tree = *window().TreeView1;
        return rowBackground(tree, node({"One"}), tree.viewport()->width() - 4);
    }
};

}  // namespace

TEST_F(ListSelectionTest, TheSelectedRowIsDrawnAsTheTreeDrawsItsSelection) {
    selectBoth();
    const QPalette& palette = window().ListView1->reportWidget()->palette();
    EXPECT_FALSE(alike(listSelection(), palette.color(QPalette::Base))) << "the selection shows against the list";
    EXPECT_TRUE(alike(listSelection(), treeSelection())) << "without focus";

    window().ListView1->reportWidget()->setFocus();
    window().TreeView1->setFocus();
    QApplication::setActiveWindow(&window());
    QApplication::processEvents();
    window().ListView1->reportWidget()->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(alike(listSelection(), treeSelection())) << "with the focus in the list";
}
