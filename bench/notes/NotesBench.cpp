// Speed and memory figures of the document-database engine on a generated
// database (see run.sh):
//   page    a page of 100 documents with column values, from position 1 and
//           from the last full page
//   walk    GetNextDocument over the whole view reading every item, against
//           a plain SQLite scan of the same rows in the same run
//   extract ExtractFile of the first attachment, with the peak memory
#include "component/SessionObject.h"
#include "store/Sqlite.h"

#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace velloran::notes;
using Clock = std::chrono::steady_clock;

double secondsOf(const std::function<void()>& work) {
    auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

long peakRssKb() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long currentRssKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

ViewPtr openView(component::SessionObject& session, const std::string& file, const std::string& view) {
    session.Initialize("");
    return session.GetDatabase("", file, false)->GetView(view);
}

std::size_t readPage(View& view, int first) {
    std::size_t values = 0;
    DocumentPtr doc = view.GetNthDocument(first);
    for (int i = 0; i < 100 && doc; ++i, doc = view.GetNextDocument(doc)) {
        values += doc->UniversalID().size() > 0;
        values += doc->ColumnValues().size();
    }
    return values;
}

double medianMicros(const std::function<void()>& work, int rounds) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) times.push_back(secondsOf(work) * 1e6);
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void page(const std::string& file, const std::string& viewName) {
    component::SessionObject session("/nonexistent");
    ViewPtr view = openView(session, file, viewName);
    int count = view->AllEntriesCount();
    int last = std::max(1, count - 99);
    std::size_t sink = readPage(*view, 1) + readPage(*view, last);  // both pages warm, so neither pays for the disk
    double fromFirst = medianMicros([&] { sink += readPage(*view, 1); }, 25);
    double fromLast = medianMicros([&] { sink += readPage(*view, last); }, 25);
    std::printf("page: %d documents; 100 from position 1: %.0f us; 100 from position %d: %.0f us; ratio %.2f (%zu)\n",
                count, fromFirst, last, fromLast, fromLast / fromFirst, sink);
}

std::size_t walkEngine(View& view, std::vector<long>& rssSamples) {
    std::size_t values = 0;
    int count = view.AllEntriesCount(), position = 0;
    for (DocumentPtr doc = view.GetNthDocument(1); doc; doc = view.GetNextDocument(doc)) {
        for (const std::string& name : doc->Items()) values += doc->GetItemValue(name).size();
        if (++position % std::max(1, count / 10) == 0) rssSamples.push_back(currentRssKb());
    }
    return values;
}

// Keeps the values the plain scan reads from being optimised away.
volatile std::size_t bytesRead = 0;

std::size_t scanSqlite(const std::string& file) {
    store::Connection connection(file, store::Connection::Mode::ReadOnly);
    store::Statement scan(connection,
                          "SELECT n.unid, i.name, i.type, i.vals FROM view_entries e JOIN notes n ON n.note_id = e.note_id "
                          "JOIN items i ON i.note_id = e.note_id WHERE e.view_id = 1 ORDER BY e.position, i.seq");
    std::size_t rows = 0, bytes = 0;
    for (; scan.step(); ++rows) bytes += scan.text(0).size() + scan.text(1).size() + scan.blob(3).size() + (scan.integer(2) > 0);
    bytesRead = bytes;
    return rows;
}

void walk(const std::string& file, const std::string& viewName) {
    component::SessionObject session("/nonexistent");
    ViewPtr view = openView(session, file, viewName);
    std::vector<long> rss;
    std::size_t values = 0, rows = 0;
    double engine = secondsOf([&] { values = walkEngine(*view, rss); });
    double plain = secondsOf([&] { rows = scanSqlite(file); });
    std::printf("walk: %d documents, %zu values: engine %.2f s; plain SQLite scan of the same %zu item rows %.2f s; ratio %.2f\n",
                view->AllEntriesCount(), values, engine, rows, plain, engine / plain);
    std::printf("walk: resident memory at each tenth of the walk (MB):");
    for (long kb : rss) std::printf(" %.1f", kb / 1024.0);
    std::printf("\n");
}

void extract(const std::string& file, const std::string& viewName, const std::string& target) {
    component::SessionObject session("/nonexistent");
    ViewPtr view = openView(session, file, viewName);
    DocumentPtr doc = view->GetNthDocument(1);
    std::string name = std::get<std::string>(session.Evaluate("@AttachmentNames", doc).at(0));
    EmbeddedObjectPtr attachment = doc->GetAttachment(name);
    double seconds = secondsOf([&] { attachment->ExtractFile(target); });
    std::printf("extract: %s, %.1f MB in %.2f s; peak resident memory %.1f MB\n", name.c_str(),
                attachment->FileSize() / 1048576.0, seconds, peakRssKb() / 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: velloran-notes-bench page|walk DB VIEW | extract DB VIEW TARGET\n");
        return 2;
    }
    try {
        std::string mode = argv[1];
        if (mode == "page") page(argv[2], argv[3]);
        else if (mode == "walk") walk(argv[2], argv[3]);
        else if (mode == "extract" && argc >= 5) extract(argv[2], argv[3], argv[4]);
        else throw std::runtime_error("unknown mode " + mode);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velloran-notes-bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
