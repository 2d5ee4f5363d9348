#include "DominoWrappers.h"
#include "ValueText.h"

#include "ScopedTimeZone.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace velloran;
using platform::Failure;

namespace {

class FakeDatabase : public notes::Database {
public:
    std::string Title() const override { return "fake"; }
    std::string FilePath() const override { return "fake.nsf"; }
    notes::StringList Views() override { return {"全部文档", "($All)"}; }
    notes::ViewPtr GetView(const std::string& name) override {
        throw std::runtime_error("View '" + name + "' not found");
    }
    notes::DocumentPtr GetDocumentByUNID(const std::string&) override { throw std::logic_error("no documents"); }
};

class PlainItem : public notes::Item {
public:
    std::string Name() override { return "Subject"; }
    int Type() override { return notes::kText; }
    notes::ValueList Values() override { return {std::string("x")}; }
    notes::RichTextItemPtr AsRichText() override { return nullptr; }
};

// Answers every item name with that name, as the component received it.
class EchoDocument : public notes::Document {
public:
    std::string UniversalID() override { return "0"; }
    std::int32_t NoteID() override { return 1; }
    notes::DateTime Created() override { return {}; }
    notes::DateTime LastModified() override { return {}; }
    notes::ValueList ColumnValues() override { return {}; }
    notes::StringList Items() override { return {}; }
    notes::ValueList GetItemValue(const std::string& name) override { return {name}; }
    bool HasEmbedded() override { return false; }
    notes::EmbeddedObjectPtr GetAttachment(const std::string&) override { return nullptr; }
    notes::ItemPtr GetFirstItem(const std::string& name) override {
        asked.push_back(name);
        return nullptr;
    }
    notes::ItemPtr GetNthItem(const std::string& name, int) override { return GetFirstItem(name); }
    notes::StringList asked;
};

std::string messageOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Failure& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace

TEST(DominoWrappers, WrappersOfClassesThatCannotBeCreatedRefuseUntilConnected) {
    domino::TNotesDatabase database;
    domino::TNotesView view;
    domino::TNotesDocument document;
    domino::TNotesEmbeddedObject object;
    EXPECT_EQ(messageOf([&] { database.Views(); }), domino::kNotConnectedMessage);
    EXPECT_EQ(messageOf([&] { view.ColumnCount(); }), domino::kNotConnectedMessage);
    EXPECT_EQ(messageOf([&] { document.UniversalID(); }), domino::kNotConnectedMessage);
    EXPECT_EQ(messageOf([&] { object.ExtractFile("/tmp/x"); }), domino::kNotConnectedMessage);

    database.ConnectTo(std::make_shared<FakeDatabase>());
    EXPECT_EQ(database.Views(), (QStringList{QStringLiteral("全部文档"), QStringLiteral("($All)")}));
    database.Disconnect();
    EXPECT_FALSE(database.IsConnected());
    EXPECT_EQ(messageOf([&] { database.Views(); }), domino::kNotConnectedMessage);
}

TEST(DominoWrappers, ComponentFailuresCarryTheComponentsMessage) {
    domino::TNotesDatabase database;
    database.ConnectTo(std::make_shared<FakeDatabase>());
    EXPECT_EQ(messageOf([&] { database.GetView(QStringLiteral("销售")); }), "View '销售' not found");
    EXPECT_EQ(messageOf([&] { database.GetDocumentByUNID("0"); }), "no documents");
}

TEST(DominoWrappers, SessionConnectsThroughTheComponentRuntime) {
    velloran::testing::TempDir dir;
    domino::TNotesSession session(platform::ComponentRuntime(dir.file("empty.reg")));
    const std::string message = messageOf([&] { session.Initialize(); });
    EXPECT_EQ(message.find(notes::kSessionClassId), std::string::npos) << "no class id for the user: " << message;
    EXPECT_NE(message.find("没有找到注册表文件"), std::string::npos) << message;
    EXPECT_FALSE(session.IsConnected());
}

TEST(DominoWrappers, RichTextWrapperRefusesAnItemThatIsNotRichText) {
    domino::TNotesRichTextItem richText;
    EXPECT_EQ(messageOf([&] { richText.ConnectTo(notes::ItemPtr(std::make_shared<PlainItem>())); }),
              "域“Subject”不是多信息文本域");
    EXPECT_FALSE(richText.IsConnected());
}

TEST(DominoWrappers, EveryItemNameReachesTheComponentInUtf8AskedOnceOrSeveralTimesInARow) {
    const QStringList names{QStringLiteral("Größe"), QStringLiteral("Größe"), QStringLiteral("Subject"),
                            QStringLiteral("subject"), QStringLiteral("客户名称"), QString(), QStringLiteral("Subject"),
                            QStringLiteral("Subject2"), QStringLiteral("\U0001F600 x"), QStringLiteral("Subject")};
    auto echo = std::make_shared<EchoDocument>();
    domino::TNotesDocument document;
    document.ConnectTo(echo);
    notes::StringList answered;
    for (const QString& name : names) {
        document.GetFirstItem(name);
        answered.push_back(std::get<std::string>(document.GetItemValue(name).at(0)));
    }
    notes::StringList expected;
    for (const QString& name : names) expected.push_back(name.toStdString());
    EXPECT_EQ(echo->asked, expected);
    EXPECT_EQ(answered, expected);
}

// Counted as the component finds items: the case of ASCII letters only is
// ignored.
TEST(DominoWrappers, EachNameCountsAsTheOccurrenceOfItsNameItIs) {
    const QStringList names = {"$FILE", "Form", "$file", "Ä", "ä", "$FILE", "Form"};
    EXPECT_EQ(domino::occurrencesOf(names), QList<int>({1, 1, 2, 1, 1, 3, 2}));
    EXPECT_TRUE(domino::occurrencesOf({}).isEmpty());
}

TEST(ValueText, NumbersAreWrittenOutWithAtMostFifteenDigits) {
    EXPECT_EQ(domino::valueToText(12.0), "12");
    EXPECT_EQ(domino::valueToText(-0.1), "-0.1");
    EXPECT_EQ(domino::valueToText(100000.0), "100000");
    EXPECT_EQ(domino::valueToText(0.0001), "0.0001");
    EXPECT_EQ(domino::valueToText(0.1 + 0.2), "0.3");
    EXPECT_EQ(domino::valueToText(1e15), "1e+15");
    EXPECT_EQ(domino::valueToText(std::string("文本 a")), QStringLiteral("文本 a"));
}

TEST(ValueText, DateTimesAreShownInLocalTimeAndDatesAlone) {
    velloran::testing::ScopedTimeZone zone("Asia/Shanghai");
    // 2026-12-06 16:30:05 UTC is 2026-12-07 00:30:05 in Shanghai.
    const notes::DateTime moment{1796574605000, true};
    EXPECT_EQ(domino::valueToText(moment), "2026-12-07 00:30:05");
    const notes::DateTime dateOnly{1796515200000, false};  // 2026-12-06
    EXPECT_EQ(domino::valueToText(dateOnly), "2026-12-06");
}
