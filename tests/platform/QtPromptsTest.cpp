#include "ui/FileFilter.h"
#include "ui/QtPrompts.h"

#include "QStringPrinter.h"
#include "QtTestEnvironment.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace velloran::platform;
using velloran::testing::testApplication;

TEST(FileFilter, PairsBecomeQtFilters) {
    EXPECT_EQ(toQtFileFilter(""), "");
    EXPECT_EQ(toQtFileFilter("Excel|*.xls"), "Excel (*.xls)");
    EXPECT_EQ(toQtFileFilter(QString::fromUtf8("数据库|*.nsf|All|*.*")), QString::fromUtf8("数据库 (*.nsf);;All (*.*)"));
    EXPECT_EQ(toQtFileFilter("Docs|*.doc;*.txt"), "Docs (*.doc *.txt)");
    EXPECT_EQ(toQtFileFilter("Anything"), "Anything");
}

namespace {

// Runs `answer` on the modal dialog as soon as it is up, so the test never
// waits for a person. The dialog is looked for again until it shows.
void whenModalShows(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer(&testApplication());
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            timer->deleteLater();
            timer->stop();
            answer(dialog);
        }
    });
    timer->start(10);
}

void click(QMessageBox* box, QMessageBox::StandardButton which) { box->button(which)->click(); }

}  // namespace

TEST(QtPrompts, AMessageBoxShowsCaptionIconAndButtonsAsPlainText) {
    QtPrompts prompts;
    whenModalShows([](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "Caption");
        EXPECT_EQ(box->text(), "<b>x.nsf</b>");
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        box->close();  // closing a box with OK alone answers OK
    });
    EXPECT_EQ(prompts.message("<b>x.nsf</b>", "Caption", MessageIcon::Error, MessageButtons::Ok), MessageAnswer::Ok);
}

TEST(QtPrompts, AnOkCancelQuestionAnswersTheButtonChosen) {
    QtPrompts prompts;
    for (auto [button, expected] : {std::pair{QMessageBox::Ok, MessageAnswer::Ok},
                                    std::pair{QMessageBox::Cancel, MessageAnswer::Cancel}}) {
        whenModalShows([button = button](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            click(box, button);
        });
        EXPECT_EQ(prompts.message("Quit?", "Confirm", MessageIcon::Question, MessageButtons::OkCancel), expected);
    }
}

TEST(QtPrompts, TheSaveDialogFiltersAndDoesNotAskBeforeOverwriting) {
    QtPrompts prompts;
    whenModalShows([](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_TRUE(files->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(files->nameFilters(), QStringList{"Excel (*.xls)"});
        files->reject();
    });
    EXPECT_EQ(prompts.saveFileName("Excel|*.xls"), QString());
}

TEST(QtPrompts, TheInputBoxGivesTheTextOnlyWhenAccepted) {
    QtPrompts prompts;
    whenModalShows([](QWidget* dialog) {
        auto* input = qobject_cast<QInputDialog*>(dialog);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->windowTitle(), "Export");
        EXPECT_EQ(input->labelText(), "Start at");
        EXPECT_EQ(input->textValue(), "1");
        input->setTextValue("25");
        input->accept();
    });
    InputResult accepted = prompts.input("Export", "Start at", "1");
    EXPECT_TRUE(accepted.accepted);
    EXPECT_EQ(accepted.text, "25");

    whenModalShows([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
    InputResult cancelled = prompts.input("Export", "Start at", "1");
    EXPECT_FALSE(cancelled.accepted);
}
