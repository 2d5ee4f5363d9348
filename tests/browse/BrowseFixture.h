#pragma once
// The main window over a test installation with real databases, with the
// prompts and the modal dialogs answered by the test.
#include "MainWindow.h"
#include "ScriptedPrompts.h"
#include "TestInstallation.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class QTreeWidgetItem;

namespace velloran::testing {

class BrowseFixture : public ::testing::Test {
protected:
    BrowseFixture();
    ~BrowseFixture() override;

    // Answers the next modal dialog.
    void answerDialog(std::function<void(QDialog&)> answer) { dialogAnswers_.push_back(std::move(answer)); }

    app::TfrmMain& window() { return *window_; }
    // Selects the node reached by the texts below the root and clicks it.
    void click(const QStringList& path);
    void clickNode(QTreeWidgetItem* node);
    QTreeWidgetItem* node(const QStringList& path) const;
    QStringList children(const QStringList& path) const;
    QStringList rowCaptions() const;
    // The universal IDs of the view's documents from `first` to `last` (1-based).
    QStringList unids(const std::string& database, const QString& view, int first, int last);

    TestInstallation installation_;
    ScriptedPrompts prompts_;
    std::vector<std::function<void(QDialog&)>> dialogAnswers_;
    std::unique_ptr<app::TfrmMain> window_;
};

}  // namespace velloran::testing
