#include "AboutBox.h"
#include "MainWindow.h"

#include "ScriptedPrompts.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

using namespace velloran;

namespace {

QColor textColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

}  // namespace

TEST(AboutBox, LayoutAndTheWebLineColours) {
    QList<QUrl> opened;
    app::TfrmAbout box([&](const QUrl& url) { opened << url; });
    EXPECT_EQ(box.windowTitle(), QStringLiteral("关于"));
    EXPECT_EQ(box.size(), QSize(380, 301));
    EXPECT_FALSE(box.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(box.windowFlags() & Qt::CustomizeWindowHint) << "the frame shows only the buttons asked for";
    EXPECT_EQ(box.Label1->text(), "VelloranV3.2");
    EXPECT_EQ(box.Button1->text(), QStringLiteral("确       定"));
    EXPECT_EQ(box.Image1->pixmap().size(), QSize(141, 34));
    EXPECT_TRUE(box.Label2->text().startsWith(QStringLiteral("开发：")));

    QPalette windowText = box.Label5->palette();
    windowText.setColor(QPalette::WindowText, box.palette().color(QPalette::WindowText));
    box.Label5->setPalette(windowText);
    box.Label5MouseEnter();
    EXPECT_EQ(textColour(box.Label5), QColor(Qt::red));
    box.Label5MouseLeave();
    EXPECT_EQ(textColour(box.Label5), QColor(Qt::black));
    box.Label5Click();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(box.Label5->text().endsWith(opened[0].toString(QUrl::StripTrailingSlash)));
}

TEST(AboutBox, EachShowingIsAFreshBoxAndImportOnlyApologises) {
    velloran::testing::TempDir dir;
    dir.write("hive.reg", "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Lotus\\Notes]\n");
    velloran::testing::ScriptedPrompts prompts;
    QList<QDialog*> boxes;
    app::AppContext context;
    context.exeFolder = QString::fromStdString(dir.file("")) + "/";
    context.hivePath = dir.file("hive.reg");
    context.prompts = &prompts;
    context.localHostName = [] { return QStringLiteral("PC"); };
    context.quit = [] {};
    context.runDialog = [&](QDialog& dialog) {
        boxes << &dialog;
        EXPECT_EQ(dialog.objectName(), "frmAbout");
        static_cast<app::TfrmAbout&>(dialog).Button1->click();
    };
    app::TfrmMain window(context);
    window.about->trigger();
    window.about->trigger();
    ASSERT_EQ(boxes.size(), 2);
    window.inportdata->trigger();
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0].text, QStringLiteral("对不起，该功能暂时尚未提供!"));
    EXPECT_EQ(prompts.messages()[0].caption, "VelloranV3.4");
}
