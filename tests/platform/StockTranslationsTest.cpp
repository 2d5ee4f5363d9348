#include "ui/StockTranslations.h"

#include "QStringPrinter.h"
#include "QtTestEnvironment.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

using namespace velloran::platform;
using velloran::testing::testApplication;

namespace {

// Installs Qt's texts as the program does for a system set to `system`, and
// takes them out again afterwards so that other tests see Qt's defaults.
class StockTranslationsTest : public ::testing::Test {
protected:
    void install(const QLocale& system) { translator_ = installStockTranslations(testApplication(), system); }
    void TearDown() override {
        if (!translator_) return;
        QCoreApplication::removeTranslator(translator_);
        delete translator_;
    }

    QTranslator* translator_ = nullptr;
};

QString buttonText(QDialogButtonBox::StandardButton which) {
    QDialogButtonBox buttons(which);
    return buttons.button(which)->text();
}

}  // namespace

TEST(StockDialogLocale, ChineseSystemsKeepTheirLanguageEveryOtherGetsSimplifiedChinese) {
    EXPECT_EQ(stockDialogLocale(QLocale::c()).name(), "zh_CN");
    EXPECT_EQ(stockDialogLocale(QLocale(QLocale::English, QLocale::UnitedStates)).name(), "zh_CN");
    EXPECT_EQ(stockDialogLocale(QLocale(QLocale::German, QLocale::Germany)).name(), "zh_CN");
    EXPECT_EQ(stockDialogLocale(QLocale(QLocale::Chinese, QLocale::Taiwan)).name(), "zh_TW");
}

TEST_F(StockTranslationsTest, ButtonsAndFileDialogsSpeakChineseOnAnEnglishSystem) {
    install(QLocale(QLocale::English, QLocale::UnitedStates));
    ASSERT_NE(translator_, nullptr) << "no qtbase translation installed";
    EXPECT_EQ(translator_->language(), "zh_CN");
    EXPECT_FALSE(buttonText(QDialogButtonBox::Ok).contains("OK"));
    EXPECT_TRUE(buttonText(QDialogButtonBox::Cancel).startsWith(QStringLiteral("取消")))
        << buttonText(QDialogButtonBox::Cancel).toStdString();

    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setAcceptMode(QFileDialog::AcceptSave);
    EXPECT_NE(files.labelText(QFileDialog::LookIn), "Look in:");
    EXPECT_NE(files.labelText(QFileDialog::FileName), "File &name:");
    EXPECT_NE(files.windowTitle(), "Save As");
}

TEST_F(StockTranslationsTest, AChineseSystemOutsideMainlandChinaKeepsItsOwnScript) {
    install(QLocale(QLocale::Chinese, QLocale::Taiwan));
    ASSERT_NE(translator_, nullptr);
    EXPECT_EQ(translator_->language(), "zh_TW");
}
