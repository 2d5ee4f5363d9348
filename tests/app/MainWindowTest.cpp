#include "MainWindow.h"

#include "ScriptedPrompts.h"
#include "Splitter.h"
#include "TempDir.h"
#include "ListView.h"
#include "AboutBox.h"
#include "WaitMsg.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>
#include <sys/inotify.h>
#include <unistd.h>

using namespace velloran;
using app::TfrmMain;
using velloran::testing::PromptCall;
using velloran::testing::ScriptedPrompts;
using velloran::testing::TempDir;

namespace {

// The files opened in the folders watched since the watch began ("" for a
// folder itself); read at once, nothing waited for.
class OpenedFiles {
public:
    explicit OpenedFiles(const std::vector<std::string>& folders) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        for (const std::string& folder : folders)
            EXPECT_GE(::inotify_add_watch(fd_, folder.c_str(), IN_OPEN), 0) << folder;
    }
    ~OpenedFiles() { ::close(fd_); }
    OpenedFiles(const OpenedFiles&) = delete;
    OpenedFiles& operator=(const OpenedFiles&) = delete;

    std::vector<std::string> names() const {
        std::vector<std::string> names;
        alignas(inotify_event) char buffer[4096];
        ssize_t size = 0;
        while ((size = ::read(fd_, buffer, sizeof buffer)) > 0) {
            for (const char* at = buffer; at < buffer + size;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                names.emplace_back(event->len > 0 ? event->name : "");
                at += sizeof(inotify_event) + event->len;
            }
        }
        return names;
    }

private:
    int fd_;
};

class MainWindowTest : public ::testing::Test {
protected:
    // The user's configuration folder is one of the test's own.
    void SetUp() override {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) savedConfig_ = old;
        ::setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    }
    void TearDown() override {
        QDir::setCurrent(startFolder_);
        if (savedConfig_) ::setenv("XDG_CONFIG_HOME", savedConfig_->c_str(), 1);
        else ::unsetenv("XDG_CONFIG_HOME");
    }

    // Program folders for the products named; the hive records them.
    void install(bool notes, bool domino, const std::string& extra = {}) {
        std::string hive = "REGEDIT4\n\n";
        for (const auto& [wanted, name] : {std::pair{notes, "Notes"}, std::pair{domino, "Domino"}}) {
            if (!wanted) continue;
            std::filesystem::create_directories(dir_.path() / name);
            hive += "[HKEY_LOCAL_MACHINE\\Software\\Lotus\\" + std::string(name) + "]\n\"Path\"=\"" +
                    dir_.file(name) + "\"\n";
        }
        dir_.write("hive.reg", hive + extra);
    }

    std::unique_ptr<TfrmMain> startWindow() {
        std::filesystem::create_directories(dir_.path() / "exe");
        app::AppContext context;
        context.exeFolder = QString::fromStdString(dir_.file("exe")) + "/";
        context.hivePath = dir_.file("hive.reg");
        context.prompts = &prompts_;
        context.localHostName = [] { return QStringLiteral("PC-07"); };
        context.quit = [this] { ++quits_; };
        auto window = std::make_unique<TfrmMain>(context);
        window->FormShow();
        return window;
    }

    TempDir dir_;
    ScriptedPrompts prompts_;
    int quits_ = 0;
    QString startFolder_ = QDir::currentPath();
    std::optional<std::string> savedConfig_;
};

}  // namespace

TEST_F(MainWindowTest, WithoutNotesOrDominoTheProgramEndsWithoutReadingSettings) {
    install(false, false);
    dir_.write("exe/system.ini", "[domino]\r\nserver=FROMFILE\r\n");
    dir_.write("config/velloran/export-folder", "/srv/out");
    const std::string hive = TempDir::read(dir_.file("hive.reg"));
    const OpenedFiles opened({dir_.file("exe"), dir_.file("config/velloran")});
    auto window = startWindow();
    EXPECT_EQ(opened.names(), std::vector<std::string>()) << "nothing is read before the installation is checked";
    ASSERT_EQ(prompts_.messages().size(), 1u);
    const QStringList lines = prompts_.messages()[0].text.split(u'\n');
    EXPECT_EQ(lines[0], QStringLiteral("对不起，Velloran要求运行的电脑上已经安装过Domino客户端或服务器端软件!"
                                       "请安装Domino环境后再运行本系统!"));
    EXPECT_EQ(lines.value(1), QStringLiteral("已查找的注册表文件: ") + QString::fromStdString(dir_.file("hive.reg")));
    EXPECT_EQ(prompts_.messages()[0].caption, QStringLiteral("VelloranV3.4"));
    EXPECT_EQ(prompts_.messages()[0].buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(quits_, 1);
    EXPECT_TRUE(window->refusedToStart()) << "the program ends with a failure status";
    EXPECT_TRUE(window->ServerName.isEmpty());
    EXPECT_EQ(window->Session, nullptr);
    EXPECT_EQ(window->CurrentDatabase, nullptr);
    EXPECT_EQ(TempDir::read(dir_.file("hive.reg")), hive);
    EXPECT_EQ(QDir::currentPath(), startFolder_);
}

TEST_F(MainWindowTest, TheComponentFolderIsDominosWhenBothAreInstalled) {
    const std::pair<bool, bool> installs[] = {{true, true}, {true, false}, {false, true}};
    for (const auto& [notes, domino] : installs) {
        QDir::setCurrent(startFolder_);
        prompts_.clear();
        install(notes, domino);
        auto window = startWindow();
        // The class is not registered and no component file is there: the
        // user is told, and the chosen folder has become the current one.
        ASSERT_EQ(prompts_.messages().size(), 1u);
        const std::string expected = dir_.file(domino ? "Domino" : "Notes");
        EXPECT_EQ(QDir::currentPath().toStdString(), std::filesystem::canonical(expected).string());
        EXPECT_EQ(quits_, 0);
        EXPECT_NE(window->Session, nullptr);
        EXPECT_NE(window->CurrentDatabase, nullptr);
        EXPECT_FALSE(window->Session->IsConnected());
        EXPECT_EQ(window->ExeFolder.toStdString(), dir_.file("exe") + "/");
    }
}

TEST_F(MainWindowTest, LoginValuesAreLoadedAtStartUp) {
    install(true, false);
    dir_.write("exe/system.ini", "[domino]\r\nserver=\r\nusername=\xCD\xF5\xCE\xE5\r\npwd=x y\r\n");
    auto window = startWindow();
    EXPECT_EQ(window->ServerName, "PC-07");
    EXPECT_EQ(window->UserName, QStringLiteral("王五"));
    EXPECT_EQ(window->Password, "x y");

    // The queued start-up of the first showing finds it done and keeps the
    // wrappers that commands already hold.
    const domino::TNotesSession* session = window->Session.get();
    window->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->Session.get(), session);
}

TEST_F(MainWindowTest, AStartUpFailureIsReportedAndCommandsThenRefuse) {
    install(true, false,
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{29131539-2EED-1069-BF5D-00DD011186B7}\\"
            "InprocServer32]\n@=dword:00000001\n");
    auto window = startWindow();
    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_EQ(prompts_.messages()[0].text.toStdString(), "注册表值“”的类型不对：" + dir_.file("hive.reg") + ".");
    EXPECT_EQ(prompts_.messages()[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(window->Session, nullptr);
    EXPECT_EQ(quits_, 0);
    EXPECT_THROW(window->requireSession(), platform::Failure);
    EXPECT_THROW(window->requireCurrentDatabase(), platform::Failure);
}

TEST_F(MainWindowTest, ExitAsksAndEndsOnlyOnOk) {
    install(true, false);
    auto window = startWindow();
    prompts_.clear();
    prompts_.answerMessage(platform::MessageAnswer::Cancel);
    window->exitsystem->trigger();
    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_EQ(prompts_.messages()[0].text, QStringLiteral("您要退出Velloran么?"));
    EXPECT_EQ(prompts_.messages()[0].caption, QStringLiteral("确认"));
    EXPECT_EQ(prompts_.messages()[0].buttons, platform::MessageButtons::OkCancel);
    EXPECT_EQ(quits_, 0);
    prompts_.answerMessage(platform::MessageAnswer::Ok);
    window->exitsystem->trigger();
    EXPECT_EQ(quits_, 1);
    EXPECT_FALSE(window->refusedToStart()) << "a chosen exit is a success";
}

TEST_F(MainWindowTest, DestroyingTheWindowFreesTheSessionBeforeTheDatabase) {
    struct Recorder : notes::Database {
        Recorder(std::vector<std::string>& log, std::string name) : log_(log), name_(std::move(name)) {}
        ~Recorder() override { log_.push_back(name_); }
        std::string Title() const override { return {}; }
        std::string FilePath() const override { return {}; }
        notes::StringList Views() override { return {}; }
        notes::ViewPtr GetView(const std::string&) override { return {}; }
        notes::DocumentPtr GetDocumentByUNID(const std::string&) override { return {}; }
        std::vector<std::string>& log_;
        std::string name_;
    };
    struct SessionRecorder : notes::Session {
        explicit SessionRecorder(std::vector<std::string>& log) : log_(log) {}
        ~SessionRecorder() override { log_.push_back("session"); }
        void Initialize(const std::string&) override {}
        void InitializeUsingNotesUserName(const std::string&, const std::string&) override {}
        std::string UserName() const override { return {}; }
        notes::DatabasePtr GetDatabase(const std::string&, const std::string&, bool) override { return {}; }
        notes::ValueList Evaluate(const std::string&, const notes::DocumentPtr&) override { return {}; }
        std::vector<std::string>& log_;
    };
    std::vector<std::string> log;
    install(true, false);
    auto window = startWindow();
    window->Session->ConnectTo(std::make_shared<SessionRecorder>(log));
    window->CurrentDatabase->ConnectTo(std::make_shared<Recorder>(log, "database"));
    window.reset();
    EXPECT_EQ(log, (std::vector<std::string>{"session", "database"}));
}

TEST(Splitter, MovesWidenOnlyWithTheLeftButtonDownAndStayInBounds) {
    EXPECT_EQ(app::splitterMove(225, 1, 3, true, 8, 500).panelWidth, 227);
    const app::SplitterStep up = app::splitterMove(225, 1, 40, false, 8, 500);
    EXPECT_EQ(up.panelWidth, 225);
    EXPECT_EQ(up.splitterX, 40);
    EXPECT_EQ(app::splitterMove(225, 100, -400, true, 8, 500).panelWidth, 8);
    EXPECT_EQ(app::splitterMove(225, 0, 900, true, 8, 500).panelWidth, 500);
    EXPECT_EQ(app::splitterMove(225, 0, 900, true, 8, 2).panelWidth, 8) << "a tiny window keeps the minimum";
}

TEST_F(MainWindowTest, PointerMovesOverTheSplitterDragTheTreePanel) {
    install(true, false);
    auto window = startWindow();
    window->resize(825, 606);
    window->show();
    const int start = window->Panel2->width();
    window->Panel4MouseMove(1, false);
    EXPECT_EQ(window->Panel2->width(), start);
    EXPECT_EQ(window->SplitterX, 1);
    window->Panel4MouseMove(3, true);
    EXPECT_EQ(window->Panel2->width(), start + 2);
    EXPECT_EQ(window->SplitterX, 3);
}

TEST_F(MainWindowTest, TheWindowHasEveryCommandAndControl) {
    install(true, false);
    auto window = startWindow();
    EXPECT_EQ(window->windowTitle(), "VelloranV3.4");
    EXPECT_EQ(window->Panel1->height(), 49);
    EXPECT_EQ(window->Panel2->width(), 225);
    EXPECT_EQ(window->Panel4->width(), 3);
    EXPECT_EQ(window->TreeView1->indentation(), 19);
    EXPECT_EQ(window->ListView1->style(), browse::ListView::Style::Icon);
    EXPECT_EQ(window->ListView1->columnCount(), 0);
    EXPECT_EQ(window->TreeMode, 0);
    EXPECT_FALSE(window->statusPanelText(0).isEmpty());
    EXPECT_TRUE(window->statusPanelText(1).isEmpty());

    QStringList buttons;
    for (QAction* action : window->ToolBar1->actions()) {
        auto* button = qobject_cast<QToolButton*>(window->ToolBar1->widgetForAction(action));
        buttons << button->objectName() + ":" + button->text() + ":" + button->toolTip();
        EXPECT_EQ(button->size(), QSize(67, 36));
        const bool paging = QStringList{"ToolButton7", "ToolButton8", "ToolButton9", "ToolButton10"}.contains(
            button->objectName());
        EXPECT_EQ(action->isEnabled(), !paging) << "no view, no page to go to";
    }
    EXPECT_EQ(buttons, (QStringList{
                           QStringLiteral("ToolButton1:连接服务器:连接到Domino服务器"),
                           QStringLiteral("ToolButton2:打开文件:打开独立的NSF库文件"),
                           QStringLiteral("ToolButton4:导出数据:"
                                          "导出所选视图的文档数据到EXCEL文件中，并与附件RTF域图片等一并导出"),
                           QStringLiteral("ToolButton11:文档详情:查看所选中文档的所有域和值"),
                           QStringLiteral("ToolButton7:首页:"),
                           QStringLiteral("ToolButton8:上一页:"),
                           QStringLiteral("ToolButton9:下一页:"),
                           QStringLiteral("ToolButton10:尾页:"),
                           QStringLiteral("ToolButton5:关于:"),
                           QStringLiteral("ToolButton6:退出系统:"),
                       }));

    QStringList menus;
    for (QAction* entry : window->menuBar()->actions()) {
        QStringList items;
        for (QAction* item : entry->menu()->actions()) items << item->objectName();
        menus << entry->text() + "=" + items.join(",");
    }
    EXPECT_EQ(menus, (QStringList{QStringLiteral("文   件(&F)=openfile,openserver,exitsystem"),
                                  QStringLiteral("工   具(&T)=export,inportdata"), QStringLiteral("关  于(&H)=about")}));
}

TEST_F(MainWindowTest, MenusAndCommandsHaveTheirKeys) {
    install(true, false);
    auto window = startWindow();
    const struct {
        QAction* action;
        QKeySequence key;
    } keys[] = {
        {window->menuBar()->actions().value(0), QKeySequence(Qt::ALT | Qt::Key_F)},
        {window->menuBar()->actions().value(1), QKeySequence(Qt::ALT | Qt::Key_T)},
        {window->menuBar()->actions().value(2), QKeySequence(Qt::ALT | Qt::Key_H)},
        {window->openfile, QKeySequence(Qt::ALT | Qt::Key_O)},
        {window->openserver, QKeySequence(Qt::ALT | Qt::Key_S)},
        {window->exitsystem, QKeySequence(Qt::ALT | Qt::Key_X)},
        {window->exportAction, QKeySequence(Qt::ALT | Qt::Key_E)},
    };
    for (const auto& [action, key] : keys) EXPECT_EQ(QKeySequence::mnemonic(action->text()), key) << action->text().toStdString();
    EXPECT_EQ(window->openfile->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
}

TEST_F(MainWindowTest, TheWindowCarriesTheProgramIcon) {
    install(true, false);
    auto window = startWindow();
    EXPECT_FALSE(window->windowIcon().isNull());
    app::TfrmAbout box({}, window.get());
    EXPECT_EQ(box.windowIcon().cacheKey(), window->windowIcon().cacheKey()) << "a dialog shows its window's icon";
}

TEST_F(MainWindowTest, ClosingDuringAnExportAsksWhetherToStopItAndKeepsTheWindow) {
    install(true, false);
    auto window = startWindow();
    for (const auto answer : {platform::MessageAnswer::Cancel, platform::MessageAnswer::Ok}) {
        prompts_.clear();
        prompts_.answerMessage(answer);
        std::atomic<bool> stop{false};
        const app::CancellableWait cancellable(stop);
        app::ShowWait();
        EXPECT_FALSE(window->close());
        ASSERT_EQ(prompts_.messages().size(), 1u);
        EXPECT_EQ(prompts_.messages()[0].text, QStringLiteral("正在导出数据，是否停止导出？"));
        EXPECT_EQ(prompts_.messages()[0].buttons, platform::MessageButtons::OkCancel);
        EXPECT_EQ(stop, answer == platform::MessageAnswer::Ok);
        // Once the export is stopping, a second close neither asks again
        // nor closes the window under it.
        EXPECT_FALSE(window->close());
        EXPECT_EQ(prompts_.messages().size(), answer == platform::MessageAnswer::Ok ? 1u : 2u);
        EXPECT_EQ(quits_, 0);
        app::CloseWait();
    }
}
