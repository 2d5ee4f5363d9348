#include "errors/ErrorReport.h"
#include "errors/GuardedApplication.h"

#include "CapturedDiagnostics.h"
#include "QStringPrinter.h"
#include "QtTestEnvironment.h"
#include "ScriptedPrompts.h"

#include <QEvent>
#include <QObject>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace velloran::platform;
using velloran::testing::CapturedDiagnostics;
using velloran::testing::PromptCall;
using velloran::testing::ScriptedPrompts;
using velloran::testing::testApplication;

TEST(ErrorReport, AFullStopIsAddedAfterLettersDigitsAndChinese) {
    EXPECT_EQ(withFullStop(""), "");
    EXPECT_EQ(withFullStop("Done."), "Done.");
    EXPECT_EQ(withFullStop("Failed!"), "Failed!");
    EXPECT_EQ(withFullStop("a-"), "a-");  // '-' (0x2D) is below the stop
    EXPECT_EQ(withFullStop("abc"), "abc.");
    EXPECT_EQ(withFullStop("12"), "12.");
    EXPECT_EQ(withFullStop("a/"), "a/.");  // '/' (0x2F) is just above it
    EXPECT_EQ(withFullStop(QString::fromUtf8("访问数据库出错")), QString::fromUtf8("访问数据库出错."));
    EXPECT_EQ(withFullStop(QString::fromUtf8("出错\xF0\xA0\x80\x80")), QString::fromUtf8("出错\xF0\xA0\x80\x80."));
}

namespace {

void expectOneErrorReport(const ScriptedPrompts& prompts, const QString& text) {
    ASSERT_EQ(prompts.calls().size(), 1u);
    const PromptCall& call = prompts.calls().front();
    EXPECT_EQ(call.kind, PromptCall::Kind::Message);
    EXPECT_EQ(call.text, text);
    EXPECT_EQ(call.caption, "VelloranV3.4");
    EXPECT_EQ(call.icon, MessageIcon::Error);
    EXPECT_EQ(call.buttons, MessageButtons::Ok);
}

// An object whose every event handler fails.
class FailingObject : public QObject {
public:
    explicit FailingObject(bool standardFailure) : standardFailure_(standardFailure) {}
    bool event(QEvent*) override {
        if (standardFailure_) throw std::runtime_error("Cannot open x.nsf");
        throw 42;
    }

private:
    bool standardFailure_;
};

}  // namespace

TEST(ErrorReport, RunGuardedReportsWhatEscapesAndSaysWhetherTheWorkFinished) {
    CapturedDiagnostics diagnostics;
    ScriptedPrompts prompts;
    EXPECT_TRUE(runGuarded(prompts, [] {}));
    EXPECT_TRUE(prompts.calls().empty());

    EXPECT_FALSE(runGuarded(prompts, [] { throw std::runtime_error("读取数据出错"); }));
    expectOneErrorReport(prompts, QString::fromUtf8("读取数据出错."));
    EXPECT_TRUE(diagnostics.joined().contains(QStringLiteral("velloran.diagnostics: a command failed: 读取数据出错")))
        << diagnostics.joined().toStdString();
}

TEST(ErrorReport, TheApplicationReportsFailuresOfEventHandlersAndGoesOn) {
    CapturedDiagnostics diagnostics;
    ScriptedPrompts prompts;
    testApplication().setPrompts(&prompts);
    FailingObject failing(true);
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&failing, &event));
    expectOneErrorReport(prompts, "Cannot open x.nsf.");
    EXPECT_TRUE(diagnostics.joined().contains("a command failed: Cannot open x.nsf")) << diagnostics.joined().toStdString();

    prompts.clear();
    FailingObject odd(false);
    QCoreApplication::sendEvent(&odd, &event);
    expectOneErrorReport(prompts, QString::fromUtf8("发生了意外错误."));
    EXPECT_TRUE(diagnostics.joined().contains("not a standard exception")) << diagnostics.joined().toStdString();

    QObject healthy;
    QCoreApplication::sendEvent(&healthy, &event);
    EXPECT_EQ(prompts.calls().size(), 1u) << "no report without a failure";
    testApplication().setPrompts(nullptr);
}
