#include "ui/FileFilter.h"
#include "ui/QtPrompts.h"

#include "QStringPrinter.h"
#include "QtTestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
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
    EXPECT_EQ(qtFilterEntries("A|*.a||| B|*.b"), QStringList({"A (*.a)", " B (*.b)"})) << "an empty pair is left out";
}

TEST(FileFilter, ANameWithoutOneOfTheFiltersExtensionsGetsTheChosenOnes) {
    const QString filter = "Old|*.xls|New|*.xlsx|Text|*.csv|All|*.*";
    EXPECT_EQ(withFilterExtension("/o/c", filter, 0), "/o/c.xls");
    EXPECT_EQ(withFilterExtension("/o/c", filter, 1), "/o/c.xlsx");
    EXPECT_EQ(withFilterExtension("/o/c", filter, 2), "/o/c.csv");
    EXPECT_EQ(withFilterExtension("/o/v1.2", filter, 1), "/o/v1.2.xlsx") << "an extension the filter does not name";
    EXPECT_EQ(withFilterExtension("/o/c.XLS", filter, 1), "/o/c.XLS") << "a name typed with an offered extension";
    EXPECT_EQ(withFilterExtension("/o/c.Csv", filter, 0), "/o/c.Csv");
    EXPECT_EQ(withFilterExtension("/o/c", filter, 3), "/o/c") << "no one extension to add";
    EXPECT_EQ(withFilterExtension("/o/c", filter, 4), "/o/c") << "out of range";
    EXPECT_EQ(withFilterExtension("/o/c", "Docs|*.doc;*.txt", 0), "/o/c.doc") << "the pair's first pattern";
}

namespace {

// Runs `answer` on the modal dialog of type Dialog as soon as it is up, so
// the test never waits for a person; a dialog still open afterwards (or of
// another type) is closed, so a failing check cannot leave the test hanging.
template <typename Dialog>
void whenModalShows(std::function<void(Dialog*)> answer) {
    auto* timer = new QTimer(&testApplication());
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        timer->stop();
        timer->deleteLater();
        if (auto* dialog = qobject_cast<Dialog*>(modal))
            answer(dialog);
        else
            ADD_FAILURE() << "unexpected dialog " << modal->metaObject()->className();
        if (modal->isVisible()) modal->close();
    });
    timer->start(10);
}

void click(QMessageBox* box, QMessageBox::StandardButton which) { box->button(which)->click(); }

}  // namespace

TEST(QtPrompts, AMessageBoxShowsCaptionIconAndButtonsAsPlainText) {
    QtPrompts prompts;
    whenModalShows<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), "Caption");
        EXPECT_EQ(box->text(), "<b>x.nsf</b>");
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        EXPECT_FALSE(box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        box->close();  // closing a box with OK alone answers OK
    });
    EXPECT_EQ(prompts.message("<b>x.nsf</b>", "Caption", MessageIcon::Error, MessageButtons::Ok), MessageAnswer::Ok);
}

TEST(QtPrompts, AnOkCancelQuestionAnswersTheButtonChosen) {
    QtPrompts prompts;
    for (auto [button, expected] : {std::pair{QMessageBox::Ok, MessageAnswer::Ok},
                                    std::pair{QMessageBox::Cancel, MessageAnswer::Cancel}}) {
        whenModalShows<QMessageBox>([button = button](QMessageBox* box) {
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            click(box, button);
        });
        EXPECT_EQ(prompts.message("Quit?", "Confirm", MessageIcon::Question, MessageButtons::OkCancel), expected);
    }
}

TEST(QtPrompts, TheSaveDialogFiltersAndDoesNotAskBeforeOverwriting) {
    QtPrompts prompts;
    whenModalShows<QFileDialog>([](QFileDialog* files) {
        EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_TRUE(files->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(files->nameFilters(), QStringList{"Excel (*.xls)"});
        files->reject();
    });
    EXPECT_EQ(prompts.saveFileName("Excel|*.xls", {}).fileName, QString());
}

TEST(QtPrompts, TheOpenDialogOpensInTheFolderWithEveryFilter) {
    QtPrompts prompts;
    const QString folder = QDir::tempPath();
    whenModalShows<QFileDialog>([folder](QFileDialog* files) {
        EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(files->directory().absolutePath(), QDir(folder).absolutePath());
        EXPECT_EQ(files->nameFilters(), (QStringList{"NSF (*.nsf)", "All (*)"}));
        files->reject();
    });
    EXPECT_EQ(prompts.openFileName("NSF|*.nsf|All|*", folder), QString());
}

TEST(QtPrompts, TheSaveDialogOpensInTheFolderAndTellsWhichFilterWasChosen) {
    QtPrompts prompts;
    const QString folder = QDir::tempPath();
    whenModalShows<QFileDialog>([folder](QFileDialog* files) {
        EXPECT_EQ(files->directory().absolutePath(), QDir(folder).absolutePath());
        EXPECT_EQ(files->selectedNameFilter(), "Old (*.xls)") << "the first filter is chosen at first";
        files->selectNameFilter("New (*.xlsx)");
        files->selectFile("book");
        static_cast<QDialog*>(files)->accept();  // QFileDialog hides it
    });
    const SaveFileChoice choice = prompts.saveFileName("Old|*.xls|New|*.xlsx|Text|*.csv", folder);
    EXPECT_EQ(choice.fileName, QDir(folder).absoluteFilePath("book")) << "the name as typed";
    EXPECT_EQ(choice.filterIndex, 1);
}
