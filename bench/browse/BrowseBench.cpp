// Figures for browsing: the start-up sequence to a shown main window, the
// folder scan of a large data folder, and a page of a large view read from
// its start and from its end.
//
//   velloran-browse-bench startup <hive>
//   velloran-browse-bench scan <folders> <files per folder>
//   velloran-browse-bench page <database.nsf> <view>
#include "DatabaseTree.h"
#include "DocumentList.h"
#include "ListView.h"
#include "MainWindow.h"
#include "ScriptedPrompts.h"
#include "WaitMsg.h"
#include "errors/GuardedApplication.h"

#include "registry/RegistryHive.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

using namespace velloran;

namespace {

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

template <class Work>
double milliseconds(Work&& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// The exit status of a part: 1 when it showed any message, each one named
// on standard error, for a figure taken on a refusal is no figure.
int statusAfter(const testing::ScriptedPrompts& prompts) {
    for (const testing::PromptCall& message : prompts.messages())
        std::fprintf(stderr, "message shown: %s\n", qUtf8Printable(message.text));
    return prompts.messages().empty() ? 0 : 1;
}

app::AppContext contextFor(const std::string& hive, platform::Prompts& prompts) {
    app::AppContext context;
    context.exeFolder = QDir::tempPath() + "/";
    context.hivePath = hive;
    context.prompts = &prompts;
    context.localHostName = [] { return QStringLiteral("BENCH"); };
    context.quit = [] {};
    return context;
}

int startup(const std::string& hive) {
    testing::ScriptedPrompts prompts;
    std::vector<double> samples;
    for (int run = 0; run < 21; ++run) {
        samples.push_back(milliseconds([&] {
            app::TfrmMain window(contextFor(hive, prompts));
            window.show();
            window.FormShow();
            QApplication::processEvents();
        }));
    }
    std::printf("start-up to a shown main window (in process, median of 21): %.1f ms\n", median(samples));
    return statusAfter(prompts);
}

int scan(int folders, int filesPerFolder) {
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "velloran-scan-bench";
    std::filesystem::remove_all(root);
    for (int folder = 0; folder < folders; ++folder) {
        const auto dir = root / ("group" + std::to_string(folder / 50)) / ("folder" + std::to_string(folder));
        std::filesystem::create_directories(dir);
        for (int file = 0; file < filesPerFolder; ++file)
            std::ofstream(dir / ("db" + std::to_string(file) + (file % 2 ? ".nsf" : ".NSF")));
    }
    domino::BrowseState state;
    QTreeWidget tree;
    browse::ListView list;
    testing::ScriptedPrompts prompts;
    app::WaitMsgIndicator wait;
    browse::BrowseContext context{state, tree, list, prompts, wait, [](const QString&) {}};
    browse::DocumentList documents(context);
    browse::DatabaseTree databaseTree(context, documents);
    tree.show();
    QTreeWidgetItem* top = databaseTree.addNode(nullptr, QStringLiteral("BENCH(data)"), browse::kServerIcon);
    const double elapsed = milliseconds([&] { databaseTree.ScanFolder(QString::fromStdString(root.string()), top); });
    int nodes = 0;
    for (QTreeWidgetItemIterator it(&tree); *it; ++it) ++nodes;
    std::printf("scan of %d files in %d folders: %.1f ms, %d nodes, %d repaint(s)\n", folders * filesPerFolder,
                folders, elapsed, nodes, databaseTree.scanRepaints());
    std::filesystem::remove_all(root);
    return statusAfter(prompts);
}

int page(const std::string& database, const QString& viewName) {
    domino::BrowseState state;
    state.Session = std::make_unique<domino::TNotesSession>(platform::ComponentRuntime(platform::RegistryHive::defaultPath()));
    state.CurrentDatabase = std::make_unique<domino::TNotesDatabase>();
    QTreeWidget tree;
    browse::ListView list;
    list.resize(800, 600);
    testing::ScriptedPrompts prompts;
    app::WaitMsgIndicator wait;
    browse::BrowseContext context{state, tree, list, prompts, wait, [](const QString&) {}};
    browse::DocumentList documents(context);
    state.Session->Initialize();
    domino::TNotesDatabase db;
    db.ConnectTo(state.Session->GetDatabase(QString(), QString::fromStdString(database)));
    const auto load = [&](int position) {
        std::vector<double> samples;
        for (int run = 0; run < 7; ++run) {
            state.ReadPosition = position;
            samples.push_back(milliseconds([&] { documents.LoadViewPage(db, viewName); }));
        }
        return median(samples);
    };
    const double first = load(0);
    const int count = state.ViewDocumentCount;
    const double last = load(std::max(count - 100, 0));
    std::printf("LoadViewPage on %d documents: first page %.2f ms, last page %.2f ms (ratio %.2f), rows %d\n", count,
                first, last, last / first, list.itemCount());
    return statusAfter(prompts);
}

}  // namespace

int main(int argc, char** argv) {
    platform::GuardedApplication application(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "startup" && argc == 3) return startup(argv[2]);
    if (mode == "scan" && argc == 4) return scan(std::atoi(argv[2]), std::atoi(argv[3]));
    if (mode == "page" && argc == 4) return page(argv[2], QString::fromLocal8Bit(argv[3]));
    std::fprintf(stderr, "usage: %s startup <hive> | scan <folders> <files> | page <database.nsf> <view>\n", argv[0]);
    return 2;
}
