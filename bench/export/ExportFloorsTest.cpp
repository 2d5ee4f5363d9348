// The floors are a fair measure only while they repeat the export's own
// work: every item row it reads, the bytes of its workbook and its log, its
// attachment files. The CSV handed to other programs holds the export's
// cells.
#include "FileFloors.h"
#include "ItemScan.h"
#include "TestInstallation.h"
#include "ViewCsv.h"
#include "WindowExport.h"

#include "generate/Generator.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>

#include <filesystem>
#include <map>

namespace fs = std::filesystem;
namespace bench = velloran::bench;
using velloran::testing::TempDir;

namespace {

using Files = std::map<std::string, std::string>;

// Every file under `root`, by its path inside it, with its bytes.
Files filesUnder(const fs::path& root) {
    Files files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files[fs::relative(entry.path(), root).string()] = TempDir::read(entry.path().string());
    return files;
}

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

class ExportFloorsTest : public ::testing::Test {
protected:
    std::string generate(const std::string& name, int documents, int items) const {
        velloran::tools::GenerateOptions options;
        options.documents = documents;
        options.items = items;
        options.attachmentSize = 3000;
        options.attachmentEvery = 3;
        const std::string path = installation_.dataFolder() + "/" + name;
        velloran::tools::generateDatabase(path, options);
        return path;
    }

    std::string out(const std::string& relative) const { return installation_.file("out/" + relative); }

    velloran::testing::TestInstallation installation_;
};

TEST_F(ExportFloorsTest, TheFloorsRepeatTheWorkOfTheExport) {
    const std::string database = generate("floors.nsf", 7, 4);
    fs::create_directories(out("export"));
    fs::create_directories(out("floors"));
    const bench::WindowExportResult exported = bench::exportThroughWindow(
        {installation_.hivePath(), text(database), QStringLiteral("All"), text(out("export/w.xls")), text(out("exe/")),
         text(out("export/log"))});
    ASSERT_TRUE(exported.completed) << exported.messages.join(QStringLiteral(" | ")).toStdString();

    // 4 items a document, and the attachment item of documents 1, 4 and 7.
    const bench::ItemScan scan = bench::scanItems(database);
    EXPECT_EQ(scan.rows, 7 * 4 + 3);
    EXPECT_GT(scan.bytes, scan.rows * 6);

    const std::string workbook = bench::readFile(out("export/w_开始为第1个文档.xls"));
    bench::writeInOneGo(out("floors/w.xls"), workbook, bench::Sync::Yes);
    EXPECT_EQ(TempDir::read(out("floors/w.xls")), workbook);

    const Files logs = filesUnder(out("export/log"));
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(bench::logBytes(out("export/log")), logs.begin()->second);

    const bench::CopiedFiles copied = bench::copyFolder(out("export/All附件"), out("floors/attachments"));
    EXPECT_EQ(copied.files, 3);
    EXPECT_EQ(copied.bytes, 3 * 3000);
    EXPECT_EQ(filesUnder(out("floors/attachments")), filesUnder(out("export/All附件")));
}

TEST_F(ExportFloorsTest, TheCsvHoldsTheHeaderAndOneRowADocument) {
    const std::string database = generate("csv.nsf", 2, 4);
    fs::create_directories(out("csv"));
    EXPECT_EQ(bench::writeViewCsv(installation_.hivePath(), text(database), QStringLiteral("All"), text(out("csv/cells.csv"))), 2);

    const QStringList rows = text(TempDir::read(out("csv/cells.csv"))).split(QLatin1Char('\n'));
    ASSERT_EQ(rows.size(), 4) << rows.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(rows[0], QStringLiteral("文档ID,Field1,Field2,Field3,Field4,$FILE"));
    // The second document has no attachment: its last cell is empty.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{32},Document 1,0\\.5,[^,]+,value 4 of document 1,file1\\.bin$"))
                    .match(rows[1]).hasMatch()) << rows[1].toStdString();
    EXPECT_TRUE(rows[2].endsWith(QStringLiteral(",value 4 of document 2,"))) << rows[2].toStdString();
    EXPECT_EQ(rows[3], QString());
}

TEST(CsvFieldTest, OnlyAFieldWithACommaQuoteOrLineBreakIsQuoted) {
    EXPECT_EQ(bench::csvField(QStringLiteral("客户 a;b")), QStringLiteral("客户 a;b"));
    EXPECT_EQ(bench::csvField(QStringLiteral("a,b")), QStringLiteral("\"a,b\""));
    EXPECT_EQ(bench::csvField(QStringLiteral("say \"hi\"")), QStringLiteral("\"say \"\"hi\"\"\""));
    EXPECT_EQ(bench::csvField(QStringLiteral("one\r\ntwo")), QStringLiteral("\"one\r\ntwo\""));
}

TEST(FileFloorsTest, AWriteNeverReplacesAFile) {
    TempDir dir;
    const std::string existing = dir.write("taken.xls", "kept");
    EXPECT_THROW(bench::writeInOneGo(existing, "new bytes", bench::Sync::No), std::runtime_error);
    EXPECT_EQ(TempDir::read(existing), "kept");
}

TEST(FileFloorsTest, TheLogBytesAreTheDailyFilesOldestFirst) {
    TempDir dir;
    dir.write("log/log20270101.txt", "second\r\n");
    dir.write("log/log20261231.txt", "first\r\n");
    dir.write("log/notes.txt", "not a log\r\n");
    dir.write("log/log20270102.txt", "");
    EXPECT_EQ(bench::logBytes(dir.file("log")), "first\r\nsecond\r\n");
}

TEST(FileFloorsTest, AFolderWithoutALogFileIsAnError) {
    TempDir dir;
    dir.write("log/notes.txt", "not a log\r\n");
    EXPECT_THROW(bench::logBytes(dir.file("log")), std::runtime_error);
}

TEST(ItemScanTest, AFileThatIsNotADatabaseIsAnError) {
    TempDir dir;
    EXPECT_THROW(bench::scanItems(dir.write("plain.nsf", std::string(4096, 'x'))), std::runtime_error);
    EXPECT_THROW(bench::scanItems(dir.file("missing.nsf")), std::runtime_error);
}

}  // namespace
