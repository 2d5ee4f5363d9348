// An export writes one state of its view from the first document to the
// last while another program changes the view: no row repeated or missing.
#include "ExportFixture.h"
#include "OtherProgram.h"
#include "XlrdReader.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <ostream>
#include <set>

using namespace velloran::exporting;
using velloran::testing::ExportFixture;
using velloran::testing::OtherProgram;
using nlohmann::json;

namespace {

constexpr int kDocuments = 300;  // more than one stretch of the engine's reads

json manyDocuments() {
    json description{{"views", json::array({{{"name", "V"}}})}, {"documents", json::array()}};
    for (int i = 1; i <= kDocuments; ++i) {
        char unid[33];
        std::snprintf(unid, sizeof unid, "%032X", i);
        description["documents"].push_back({{"unid", unid}, {"items", json::array({{{"name", "Form"}, {"value", "M"}}})}});
    }
    return description;
}

// The universal IDs of the sheet's rows under its header.
std::vector<std::string> exportedIds(const json& sheet) {
    std::vector<std::string> ids;
    for (int row = 1; row < sheet["rows"].get<int>(); ++row) {
        const json* cell = velloran::testing::findCell(sheet, row, 0);
        ids.push_back(cell ? (*cell)[2].get<std::string>() : "<none>");
    }
    return ids;
}

struct Change {
    const char* journal;
    std::string sql;
    int writerResult;  // a rollback journal's writer waits for the export
    friend void PrintTo(const Change& change, std::ostream* out) { *out << change.journal << ": " << change.sql; }
};

}  // namespace

class SnapshotExportTest : public ExportFixture, public ::testing::WithParamInterface<Change> {
protected:
    void SetUp() override {
        registerSpreadsheet();
        openDatabase(manyDocuments(), QStringLiteral("V"));
    }
    std::string file() const { return dir.file("data.nsf"); }
};

TEST_P(SnapshotExportTest, AnotherProgramChangingTheViewDuringTheExportChangesNoRow) {
    OtherProgram writer(file());
    ASSERT_EQ(writer.run(std::string("PRAGMA journal_mode = ") + GetParam().journal), SQLITE_OK);
    int written = -1;
    wait.onProgress = [&](int position) {
        if (position == 2) written = writer.write(GetParam().sql);
    };
    ASSERT_TRUE(exportFrom(QStringLiteral("1")).completed());
    EXPECT_EQ(written, GetParam().writerResult);
    const std::vector<std::string> ids = exportedIds(sheet(workbook(QStringLiteral("1"))));
    EXPECT_EQ(ids.size(), std::size_t{kDocuments});
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), std::size_t{kDocuments}) << "rows repeated";
}

INSTANTIATE_TEST_SUITE_P(
    InsertedOrResorted, SnapshotExportTest,
    ::testing::Values(Change{"DELETE", velloran::testing::insertFirstEntry("V"), SQLITE_BUSY},
                      Change{"DELETE", velloran::testing::reverseEntries("V", kDocuments), SQLITE_BUSY},
                      Change{"WAL", velloran::testing::insertFirstEntry("V"), SQLITE_OK},
                      Change{"WAL", velloran::testing::reverseEntries("V", kDocuments), SQLITE_OK}));
