// Adding people, generating databases and the command-line wrapper.
#include "TempDir.h"
#include "access/Directory.h"
#include "common/CommandLine.h"
#include "common/PasswordInput.h"
#include "component/SessionObject.h"
#include "generate/Generator.h"
#include "people/Person.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <climits>

namespace velloran::tools {
namespace {

using testing::TempDir;

TEST(PersonTest, CanonicalNamesFromAbbreviatedOnes) {
    EXPECT_EQ(canonicalName("Zhang San/Velloran"), "CN=Zhang San/O=Velloran");
    EXPECT_EQ(canonicalName("Zhang San/Sales/Velloran"), "CN=Zhang San/OU=Sales/O=Velloran");
    EXPECT_EQ(canonicalName(" CN=A/O=B "), "CN=A/O=B");
    EXPECT_EQ(canonicalName("Solo"), "CN=Solo");
}

TEST(PersonTest, AddedPeopleCanBeFoundAreNotAddedTwiceAndCanChangeTheirPassword) {
    TempDir dir;
    std::string directory = dir.file("names.nsf");
    addPerson(directory, {"Zhang San/Velloran", "zs", "pw"}, true);
    addPerson(directory, {"Li Si/Velloran", "", "pw2"}, true);
    EXPECT_EQ(notes::access::authenticate(dir.path().string(), "zs", "pw"), "CN=Zhang San/O=Velloran");
    EXPECT_EQ(notes::access::authenticate(dir.path().string(), "Li Si", "pw2"), "CN=Li Si/O=Velloran");
    EXPECT_THROW(addPerson(directory, {"CN=Zhang San/O=Velloran", "", "x"}, true), std::exception);
    EXPECT_THROW(addPerson(directory, {"Other/Velloran", "zs", "x"}, true), std::exception);
    EXPECT_THROW(addPerson(directory, {" ", "", "x"}, true), std::exception);

    EXPECT_EQ(changePassword(directory, "zs", "new", true), "CN=Zhang San/O=Velloran");
    EXPECT_EQ(notes::access::authenticate(dir.path().string(), "Zhang San", "new"), "CN=Zhang San/O=Velloran");
    EXPECT_THROW(notes::access::authenticate(dir.path().string(), "zs", "pw"), std::exception) << "the old one is gone";
    EXPECT_EQ(notes::access::authenticate(dir.path().string(), "Li Si", "pw2"), "CN=Li Si/O=Velloran");
    EXPECT_THROW(changePassword(directory, "Nobody", "x", true), std::exception);
    EXPECT_THROW(changePassword(dir.file("missing.nsf"), "zs", "x", true), std::exception);
}

TEST(PersonTest, AnEmptyPasswordNeverLogsInEvenWhereItsHashWouldMatch) {
    TempDir dir;
    addPerson(dir.file("names.nsf"), {"Zhang San/Velloran", "zs", "pw"}, true);
    const auto anyPassword = [](const std::string&, const std::string&) { return true; };
    EXPECT_EQ(notes::access::authenticate(dir.path().string(), "zs", "x", anyPassword), "CN=Zhang San/O=Velloran");
    EXPECT_THROW(notes::access::authenticate(dir.path().string(), "zs", "", anyPassword), std::exception);
}

// A database generated into a temporary folder, opened through a session.
struct GeneratedView {
    explicit GeneratedView(const GenerateOptions& options) {
        generateDatabase(file, options);
        session.Initialize("");
        view = session.GetDatabase("", file, false)->GetView(options.viewName);
    }
    TempDir dir;
    std::string file = dir.file("generated.nsf");
    notes::component::SessionObject session{dir.file("none.reg")};
    notes::ViewPtr view;
};

TEST(GeneratorTest, WritesTheRequestedDocumentsItemsAndAttachments) {
    GeneratedView generated(GenerateOptions{120, 5, 2000, 50, "Everything"});
    notes::ViewPtr view = generated.view;
    ASSERT_EQ(view->AllEntriesCount(), 120);
    notes::DocumentPtr first = view->GetNthDocument(1);
    EXPECT_EQ(first->Items().size(), 6u) << "5 items and the attachment's entry";
    EXPECT_EQ(first->GetAttachment("file1.bin")->FileSize(), 2000);
    EXPECT_FALSE(view->GetNthDocument(2)->HasEmbedded());
    EXPECT_EQ(view->GetNthDocument(120)->ColumnValues().at(0), notes::Value(std::string("Document 120")));
    EXPECT_THROW(generateDatabase(generated.dir.file("few.nsf"), {1, 2, -1, 1, "All"}), std::exception);
}

// A walk reads its entries a stretch at a time: across the stretches every
// document comes once, in order, with its own header and attachments; a
// walk started anew sees what was written since.
TEST(GeneratorTest, AWalkAcrossStretchesGivesEachDocumentOnceAndANewWalkReadsAfresh) {
    GeneratedView generated(GenerateOptions{600, 3, 10, 7, "All"});
    notes::ViewPtr view = generated.view;
    int position = 0;
    for (notes::DocumentPtr document = view->GetNthDocument(1); document; document = view->GetNextDocument(document)) {
        ++position;
        ASSERT_EQ(document->ColumnValues().at(0), notes::Value("Document " + std::to_string(position)));
        EXPECT_EQ(document->GetItemValue("Field1").at(0), notes::Value("Document " + std::to_string(position)));
        EXPECT_EQ(document->HasEmbedded(), (position - 1) % 7 == 0) << position;
    }
    EXPECT_EQ(position, 600);

    ASSERT_TRUE(view->GetNthDocument(1)->HasEmbedded());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(generated.file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "DELETE FROM objects", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    EXPECT_FALSE(view->GetNthDocument(1)->HasEmbedded()) << "a new walk reads the file as it is now";
}

TEST(CommandLineTest, ReadsOptionsAndRefusesWhatItDoesNotKnow) {
    const char* arguments[] = {"tool", "--out", "x.nsf", "--documents", "12"};
    CommandLine options(5, const_cast<char**>(arguments), {"out", "documents", "items"});
    EXPECT_EQ(options.required("out"), "x.nsf");
    EXPECT_EQ(options.number("documents", 1), 12);
    EXPECT_EQ(options.number("items", 7), 7);
    EXPECT_THROW(options.required("items"), std::exception);
    const char* unknown[] = {"tool", "--bogus"};
    EXPECT_THROW(CommandLine(2, const_cast<char**>(unknown), {"out"}), std::exception);
    const char* missing[] = {"tool", "--out"};
    EXPECT_THROW(CommandLine(2, const_cast<char**>(missing), {"out"}), std::exception);
    const char* negative[] = {"tool", "--documents", "-3"};
    EXPECT_THROW(CommandLine(3, const_cast<char**>(negative), {"documents"}).number("documents", 0), std::exception);
    const char* huge[] = {"tool", "--items", "4294967299"};
    EXPECT_THROW(CommandLine(3, const_cast<char**>(huge), {"items"}).number("items", 0, INT_MAX), std::exception)
        << "not cut down to 3 to fit an int";
}

TEST(PasswordInputTest, TakesTheFirstLineOfAFileAndRefusesWhatItCannotTakeWhole) {
    TempDir dir;
    std::string password;
    readPassword(dir.write("pw", "s3cret\r\nsecond line\n"), password);
    EXPECT_EQ(password, "s3cret");

    std::string tooLong;
    EXPECT_THROW(readPassword(dir.write("long", std::string(1025, 'x')), tooLong), std::exception);
    std::string missing;
    try {
        readPassword(dir.file("none"), missing);
        FAIL() << "no error";
    } catch (const std::exception& error) {
        EXPECT_NE(std::string(error.what()).find(dir.file("none")), std::string::npos) << error.what();
    }
}

TEST(CommandLineTest, ToolFailuresBecomeExitCodeOne) {
    const char* arguments[] = {"tool"};
    EXPECT_EQ(runTool("tool", "usage", 1, const_cast<char**>(arguments), [](int, char**) { throw std::runtime_error("x"); }), 1);
    EXPECT_EQ(runTool("tool", "usage", 1, const_cast<char**>(arguments), [](int, char**) {}), 0);
}

}  // namespace
}  // namespace velloran::tools
