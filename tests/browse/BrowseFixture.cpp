#include "BrowseFixture.h"

#include "DatabaseTree.h"
#include "ListView.h"

#include <QTreeWidget>

namespace velloran::testing {

BrowseFixture::BrowseFixture() {
    app::AppContext context;
    std::filesystem::create_directories(installation_.file("exe"));
    context.exeFolder = QString::fromStdString(installation_.file("exe")) + "/";
    context.hivePath = installation_.hivePath();
    context.prompts = &prompts_;
    context.localHostName = [] { return QStringLiteral("PC-07"); };
    context.quit = [] {};
    context.logFolder = QString::fromStdString(installation_.file("logs"));
    context.runDialog = [this](QDialog& dialog) {
        ASSERT_FALSE(dialogAnswers_.empty()) << "a dialog nobody answers";
        auto answer = std::move(dialogAnswers_.front());
        dialogAnswers_.erase(dialogAnswers_.begin());
        answer(dialog);
    };
    window_ = std::make_unique<app::TfrmMain>(context);
    window_->FormShow();
    window_->ListView1->setFixedWidth(600);
}

BrowseFixture::~BrowseFixture() = default;

QTreeWidgetItem* BrowseFixture::node(const QStringList& path) const {
    QTreeWidgetItem* current = window_->TreeView1->topLevelItem(0);
    for (const QString& text : path) {
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; current && i < current->childCount(); ++i)
            if (current->child(i)->text(0) == text) next = current->child(i);
        current = next;
    }
    return current;
}

QStringList BrowseFixture::children(const QStringList& path) const {
    QStringList texts;
    const QTreeWidgetItem* parent = node(path);
    for (int i = 0; parent && i < parent->childCount(); ++i) texts << parent->child(i)->text(0);
    return texts;
}

void BrowseFixture::clickNode(QTreeWidgetItem* target) {
    window_->TreeView1->setCurrentItem(target);
    window_->runCommand([this] { window_->databaseTree().TreeView1Click(); });
}

void BrowseFixture::click(const QStringList& path) {
    QTreeWidgetItem* target = node(path);
    ASSERT_NE(target, nullptr) << path.join("/").toStdString();
    clickNode(target);
}

QStringList BrowseFixture::rowCaptions() const {
    QStringList captions;
    for (int i = 0; i < window_->ListView1->itemCount(); ++i) captions << window_->ListView1->itemCaption(i);
    return captions;
}

QStringList BrowseFixture::unids(const std::string& database, const QString& view, int first, int last) {
    domino::TNotesSession session{platform::ComponentRuntime(installation_.hivePath())};
    session.Initialize();
    domino::TNotesDatabase db;
    db.ConnectTo(session.GetDatabase(QString(), QString::fromStdString(database)));
    domino::TNotesView v;
    v.ConnectTo(db.GetView(view));
    QStringList ids;
    domino::TNotesDocument document;
    document.ConnectTo(v.GetNthDocument(first));
    for (int position = first; position <= last; ++position) {
        if (position > first) document.ConnectTo(v.GetNextDocument(document));
        ids << document.UniversalID();
    }
    return ids;
}

}  // namespace velloran::testing
