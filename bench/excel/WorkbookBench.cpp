// Sets and saves a grid of text cells and compares the time with writing
// the same number of bytes to a plain file.
//
//   excel_bench FOLDER [--direct | --libxlsxwriter] [--format xls|xlsx|csv] [--typed] [--rows N]
//               [--columns N] [--empty PERCENT] [--rounds N] [--csv FILE] [--sample FILE]
//
// By default the cells go through the export's own spreadsheet driver and
// so through the automation object, one late-bound call chain per cell;
// --direct fills the workbook model itself (on its own thread, as the
// automation object does); --libxlsxwriter writes the same texts into an
// .xlsx with libxlsxwriter alone (constant-memory mode), for comparison.
// --format chooses the file saved (by its name's extension; default xls);
// --typed (with --direct) gives every cell a number instead of a text. --empty writes that share of the cells, spread
// over the grid, as empty texts, as the export does for the items a
// document lacks. --csv writes the same cells as CSV (for other programs to
// convert), --sample writes a small workbook for looking at.
//
// Every round sets and saves a new workbook, then writes the plain file;
// the figures are medians over the rounds (9 unless --rounds says), as a
// machine shared with other work makes single rounds vary. With --rounds 0
// only the --csv and --sample files are written. The processor
// time of setting and saving is given too.
#include "QueuedWorkbook.h"
#include "SstPlacement.h"
#include "WorkbookFiles.h"

#include "component/ComponentRuntime.h"
#include "workbook/Spreadsheet.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>
#include <vector>
#include <xlsxwriter.h>

using Clock = std::chrono::steady_clock;

namespace {

enum class Path { Automation, Direct, Libxlsxwriter };

struct Options {
    std::string folder;
    Path path = Path::Automation;
    std::string format = "xls";
    bool typed = false;
    int rows = 50000;
    int columns = 20;
    int emptyPercent = 0;
    int rounds = 9;
    std::string csv;
    std::string sample;
};

Options parse(int argc, char** argv) {
    if (argc < 2)
        throw std::runtime_error("usage: excel_bench FOLDER [--direct | --libxlsxwriter] [--format xls|xlsx|csv] "
                                 "[--typed] [--rows N] [--columns N] [--empty PERCENT] [--rounds N] [--csv FILE] "
                                 "[--sample FILE]");
    Options options;
    options.folder = argv[1];
    for (int i = 2; i < argc; ++i) {
        std::string flag = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc) throw std::runtime_error(flag + " needs a value");
            return argv[++i];
        };
        if (flag == "--direct") options.path = Path::Direct;
        else if (flag == "--libxlsxwriter") options.path = Path::Libxlsxwriter, options.format = "xlsx";
        else if (flag == "--format") options.format = next();
        else if (flag == "--typed") options.typed = true;
        else if (flag == "--rows") options.rows = std::stoi(next());
        else if (flag == "--columns") options.columns = std::stoi(next());
        else if (flag == "--empty") options.emptyPercent = std::clamp(std::stoi(next()), 0, 100);
        else if (flag == "--rounds") options.rounds = std::max(0, std::stoi(next()));
        else if (flag == "--csv") options.csv = next();
        else if (flag == "--sample") options.sample = next();
        else throw std::runtime_error("unknown option " + flag);
    }
    return options;
}

// The texts of the cells: cell (row, column) holds "R000001 C01 9e3779b1",
// 20 characters, different in every cell of up to 999,999 rows and 99
// columns. One text is kept per column and only its row digits change from
// row to row, so that making the texts costs little next to storing them.
// `Text` is std::string for the workbook model and QString for the export's
// driver, which takes the text as the export holds it.
constexpr std::size_t kTextLength = 20;

// Whether cell (row, column) is one of the `emptyPercent` in a hundred that
// are written as empty text; every hundred neighbouring columns of a row
// hold that share.
bool isEmptyCell(const Options& options, int row, int column) {
    return options.emptyPercent > 0 && (row * 37 + column * 11) % 100 < options.emptyPercent;
}

double textCells(const Options& options) {
    double cells = 0;
    for (int row = 1; row <= options.rows; ++row)
        for (int column = 1; column <= options.columns; ++column) cells += isEmptyCell(options, row, column) ? 0 : 1;
    return cells;
}

template <typename Text>
class CellTexts {
public:
    explicit CellTexts(const Options& options) : options_(options) {}

    // The text of cell (row, column), valid until the row changes.
    const Text& at(int row, int column) {
        if (isEmptyCell(options_, row, column)) return empty_;
        if (row != row_) {
            row_ = row;
            decimal(rowDigits_.data(), static_cast<unsigned>(row), 6);
            for (Text& text : texts_) putRow(text);
        }
        auto index = static_cast<std::size_t>(column - 1);
        while (index >= texts_.size()) {
            texts_.push_back(columnText(static_cast<unsigned>(texts_.size() + 1)));
            putRow(texts_.back());
        }
        return texts_[index];
    }

private:
    static Text columnText(unsigned column) {
        Text text(kTextLength, '0');
        auto* characters = text.data();
        characters[0] = 'R', characters[7] = ' ', characters[8] = 'C', characters[11] = ' ';
        decimal(characters + 9, column, 2);
        unsigned mixed = column * 2654435761u;
        for (int i = 0; i < 8; ++i) characters[12 + i] = "0123456789abcdef"[(mixed >> (28 - 4 * i)) & 15];
        return text;
    }

    template <typename Character>
    static void decimal(Character* at, unsigned value, int width) {
        for (int i = width - 1; i >= 0; --i, value /= 10) at[i] = static_cast<char>('0' + value % 10);
    }

    void putRow(Text& text) const { std::copy(rowDigits_.begin(), rowDigits_.end(), text.data() + 1); }

    const Options& options_;
    const Text empty_;
    int row_ = -1;
    std::array<char, 6> rowDigits_{};
    std::vector<Text> texts_;
};

double processorSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

struct Seconds {
    double elapsed;
    double processor;
};

// Elapsed and processor time since it was made.
class Stopwatch {
public:
    Seconds read() const {
        return {std::chrono::duration<double>(Clock::now() - start_).count(), processorSeconds() - processorStart_};
    }

private:
    Clock::time_point start_ = Clock::now();
    double processorStart_ = processorSeconds();
};

// The hive of the bench's own, with the spreadsheet component registered.
std::string registerSpreadsheet(const std::string& folder) {
    std::string hive = (std::filesystem::path(folder) / "hive.reg").string();
    velloran::platform::ComponentRuntime(hive).registerServer(VELLORAN_EXCEL_MODULE);
    return hive;
}

// What one round measures, from the start of setting to the end of the
// save; closing the workbook afterwards is not part of it.
struct Timing {
    Seconds setAndSave, save;
};

// Fills and saves through the export's driver.
Timing throughAutomation(const Options& options, const std::string& hive, const std::string& file) {
    Stopwatch started;
    auto spreadsheet = velloran::exporting::Spreadsheet::start(hive);
    CellTexts<QString> texts(options);
    for (int row = 1; row <= options.rows; ++row)
        for (int column = 1; column <= options.columns; ++column)
            spreadsheet.setCellText(row, column, texts.at(row, column));
    Stopwatch save;
    spreadsheet.saveReplacing(QString::fromStdString(file));
    Timing timing{started.read(), save.read()};
    spreadsheet.quit();
    return timing;
}

// The number a typed cell gets: as many different values as texts.
double cellNumber(int row, int column) { return row * 100.0 + column + 0.25; }

Timing direct(const Options& options, const std::string& file) {
    Stopwatch started;
    velloran::workbook::QueuedWorkbook workbook(std::make_unique<velloran::workbook::biff::SstPlacement>());
    CellTexts<std::string> texts(options);
    for (int row = 0; row < options.rows; ++row)
        for (int column = 0; column < options.columns; ++column) {
            auto r = static_cast<std::uint32_t>(row), c = static_cast<std::uint32_t>(column);
            if (options.typed)
                workbook.setNumber(r, c, cellNumber(row, column));
            else
                workbook.setText(r, c, texts.at(row + 1, column + 1));
        }
    Stopwatch save;
    velloran::workbook::saveWorkbook(workbook.applied(), file, velloran::workbook::formatOfName(file));
    return {started.read(), save.read()};
}

// The same texts written by libxlsxwriter alone, row by row.
Timing throughLibxlsxwriter(const Options& options, const std::string& file) {
    Stopwatch started;
    lxw_workbook_options lxwOptions{};
    lxwOptions.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(file.c_str(), &lxwOptions);
    if (!book) throw std::runtime_error("libxlsxwriter cannot start " + file);
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    CellTexts<std::string> texts(options);
    for (int row = 0; row < options.rows; ++row)
        for (int column = 0; column < options.columns; ++column) {
            const std::string& text = texts.at(row + 1, column + 1);
            if (!text.empty())
                worksheet_write_string(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                                       text.c_str(), nullptr);
        }
    Stopwatch save;
    if (workbook_close(book) != LXW_NO_ERROR) throw std::runtime_error("libxlsxwriter cannot write " + file);
    return {started.read(), save.read()};
}

// Writes `bytes` bytes in 256 KB pieces, syncs and closes, as a save does.
void writePlainFile(const std::string& file, std::uintmax_t bytes) {
    std::vector<char> piece(256 * 1024, 'x');
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw std::runtime_error("cannot create " + file);
    for (std::uintmax_t left = bytes; left > 0;) {
        std::size_t size = static_cast<std::size_t>(std::min<std::uintmax_t>(left, piece.size()));
        if (::write(fd, piece.data(), size) != static_cast<ssize_t>(size)) throw std::runtime_error("write failed");
        left -= size;
    }
    ::fsync(fd);
    ::close(fd);
}

void writeCsv(const Options& options, const std::string& file) {
    std::ofstream out(file, std::ios::binary);
    CellTexts<std::string> texts(options);
    for (int row = 1; row <= options.rows; ++row)
        for (int column = 1; column <= options.columns; ++column)
            out << texts.at(row, column) << (column == options.columns ? '\n' : ',');
    if (!out) throw std::runtime_error("cannot write " + file);
}

// A small workbook with what the export writes: a header with the text
// format on an integer name, widths, Chinese and other scripts.
void writeSample(const std::string& hive, const std::string& file) {
    auto spreadsheet = velloran::exporting::Spreadsheet::start(hive);
    const std::vector<QString> header = {"文档ID", "Form", "标题", "2019", "Remarks"};
    const std::vector<std::vector<QString>> rows = {
        {"4A2B9C1D0E3F", "Memo", "季度报告", "00042", "leading zeros kept as text"},
        {"5B3C0D2E1F40", "Reply", "会议纪要：第二次", "1.5E+3", "Grüße, ¿qué tal? 😀 𝄞"},
        {"6C4D1E3F2051", "Memo", "长文本", "-7", QString(60, '=')}};
    for (std::size_t c = 0; c < header.size(); ++c) {
        int column = static_cast<int>(c + 1);
        spreadsheet.setColumnWidth(column, c == 4 ? 50 : 18);
        if (header[c] == "2019") spreadsheet.setTextFormat(1, column);
        spreadsheet.setCellText(1, column, header[c]);
        for (std::size_t r = 0; r < rows.size(); ++r) spreadsheet.setCellText(static_cast<int>(r + 2), column, rows[r][c]);
    }
    spreadsheet.saveReplacing(QString::fromStdString(file));
    spreadsheet.quit();
}

long peakMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// One round's figures.
struct Round {
    Seconds ours, save, plain;
    std::uintmax_t fileBytes;
};

Round runRound(const Options& options, const std::string& hive) {
    std::string file = (std::filesystem::path(options.folder) / ("bench." + options.format)).string();
    std::filesystem::remove(file);  // replacing an older file would add its removal to the save
    Round round{};
    Timing timing = options.path == Path::Direct          ? direct(options, file)
                    : options.path == Path::Libxlsxwriter ? throughLibxlsxwriter(options, file)
                                                          : throughAutomation(options, hive, file);
    round.ours = timing.setAndSave;
    round.save = timing.save;
    round.fileBytes = std::filesystem::file_size(file);

    std::string plain = (std::filesystem::path(options.folder) / "plain.bin").string();
    Stopwatch plainWrite;
    writePlainFile(plain, round.fileBytes);
    round.plain = plainWrite.read();
    std::filesystem::remove(plain);
    return round;
}

// The median of what `measure` gives for each round.
template <typename Measure>
double median(const std::vector<Round>& rounds, Measure measure) {
    std::vector<double> values;
    for (const Round& round : rounds) values.push_back(measure(round));
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const Options& options, const std::vector<Round>& rounds) {
    double cells = double(options.rows) * options.columns;
    double textBytes = textCells(options) * kTextLength;
    double ours = median(rounds, [](const Round& r) { return r.ours.elapsed; });
    double limit = 3.0 * textBytes / 1e6 + 30;
    static constexpr const char* kPaths[] = {"the export's driver, through the automation object", "workbook model",
                                             "libxlsxwriter alone"};
    std::printf("path            %s, into .%s%s\n", kPaths[static_cast<int>(options.path)], options.format.c_str(),
                options.typed ? ", number cells" : "");
    std::printf("cells           %.0f (%d rows x %d columns, %d%% empty texts), text %.1f MB, file %.1f MB\n", cells,
                options.rows, options.columns, options.emptyPercent, textBytes / 1e6, rounds.front().fileBytes / 1e6);
    std::printf("rounds          %zu (medians below)\n", rounds.size());
    std::printf("set and save    %.3f s (save %.3f s), %.0f cells/s\n", ours,
                median(rounds, [](const Round& r) { return r.save.elapsed; }), cells / ours);
    std::printf("plain write     %.3f s for the same bytes (synced)\n",
                median(rounds, [](const Round& r) { return r.plain.elapsed; }));
    auto ratio = [](const Round& r) { return r.ours.elapsed / r.plain.elapsed; };
    auto byRatio = [&](const Round& a, const Round& b) { return ratio(a) < ratio(b); };
    // The target is the writer's: the late-bound calls on top of it are the
    // caller's cost, shown by the default path.
    const char* target = options.path == Path::Direct ? "target: within 3x" : "the writer's target is --direct's";
    std::printf("ratio           %.2f x the plain write in the same round (%s); best round %.2f x\n",
                median(rounds, ratio), target, ratio(*std::min_element(rounds.begin(), rounds.end(), byRatio)));
    std::printf("processor time  set and save %.3f s (save %.3f s), plain write %.3f s\n",
                median(rounds, [](const Round& r) { return r.ours.processor; }),
                median(rounds, [](const Round& r) { return r.save.processor; }),
                median(rounds, [](const Round& r) { return r.plain.processor; }));
    std::printf("peak memory     %ld MB (target: under 3 x text + 30 MB = %.0f MB)\n", peakMegabytes(), limit);
    std::printf("seconds         %.6f\n", ours);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        Options options = parse(argc, argv);
        std::filesystem::create_directories(options.folder);
        const std::string hive = registerSpreadsheet(options.folder);
        if (!options.sample.empty()) writeSample(hive, options.sample);
        if (!options.csv.empty()) writeCsv(options, options.csv);
        std::vector<Round> rounds;
        for (int i = 0; i < options.rounds; ++i) rounds.push_back(runRound(options, hive));
        if (!rounds.empty()) report(options, rounds);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "excel_bench: %s\n", e.what());
        return 1;
    }
}
