// velloran-dxl-bench-input: writes the same generated database twice, as an
// XML export (for velloran-dxl-import) and as JSON (for velloran-nsf-build),
// so that the two builders can be timed on equal content.
#include "common/CommandLine.h"
#include "common/ToolError.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sodium.h>
#include <string>

namespace {

using velloran::tools::toolFailure;

const char* kUsage = R"(Usage: velloran-dxl-bench-input --out DIR [--documents N] [--items M]
                                 [--attachment-every K] [--attachment-size BYTES]

Writes DIR/bench.xml, DIR/bench.json and DIR/attachment.bin: N documents
(default 100000) of M items (default 20; a text, a number and a date-time,
then texts), every K-th document (default 10) with the BYTES-byte file
attachment.bin (default 102400), and the view "All" over every document.
)";

struct Shape {
    long long documents, items, attachmentEvery, attachmentSize;
};

constexpr int kBase64Line = 76;

std::string unid(long long index) {
    char text[33];
    std::snprintf(text, sizeof text, "%016llX%016llX", 0x5EEDull, static_cast<unsigned long long>(index + 1));
    return text;
}

// The document's moment: one minute after the previous document's.
struct Moment {
    int year;
    unsigned month, day;
    long long hour, minute;
};

Moment momentOf(long long index) {
    using namespace std::chrono;
    sys_days day = sys_days{year{2024} / January / 1} + days{index / 1440};
    year_month_day date{day};
    return {static_cast<int>(date.year()), static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
            index % 1440 / 60, index % 60};
}

std::string xmlMoment(const Moment& m) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02u%02uT%02lld%02lld00,00Z", m.year, m.month, m.day, m.hour, m.minute);
    return text;
}

std::string jsonMoment(const Moment& m) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02lld:%02lld:00Z", m.year, m.month, m.day, m.hour, m.minute);
    return text;
}

std::string attachmentBytes(long long size) {
    std::string bytes(static_cast<std::size_t>(size), '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 131 + i / 251) % 256);
    return bytes;
}

// Base64 in lines of 76 characters, as the exports write it.
std::string base64Lines(const std::string& bytes) {
    std::string encoded(sodium_base64_ENCODED_LEN(bytes.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(encoded.data(), encoded.size(), reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                      sodium_base64_VARIANT_ORIGINAL);
    encoded.pop_back();
    std::string lines;
    for (std::size_t at = 0; at < encoded.size(); at += kBase64Line) lines += encoded.substr(at, kBase64Line) + "\n";
    return lines;
}

bool hasAttachment(const Shape& shape, long long index) {
    return index % shape.attachmentEvery == 0;
}

std::string textValue(long long item, long long index) {
    if (item == 1) return "Document " + std::to_string(index + 1);
    return "value " + std::to_string(item) + " of document " + std::to_string(index + 1);
}

std::string numberValue(long long index) {
    return std::to_string(index % 1000) + ".5";
}

void writeXmlDocument(std::ofstream& out, const Shape& shape, long long index, const std::string& base64) {
    std::string moment = xmlMoment(momentOf(index));
    out << "<document form='Bench'>\n<noteinfo unid='" << unid(index) << "'><created><datetime>" << moment
        << "</datetime></created><modified><datetime>" << moment << "</datetime></modified></noteinfo>\n";
    for (long long item = 1; item <= shape.items; ++item) {
        out << "<item name='Field" << item << "'>";
        if (item == 2) out << "<number>" << numberValue(index) << "</number>";
        else if (item == 3) out << "<datetime>" << moment << "</datetime>";
        else out << "<text>" << textValue(item, index) << "</text>";
        out << "</item>\n";
    }
    if (hasAttachment(shape, index))
        out << "<item name='$FILE'><object><file name='file" << index + 1 << ".bin'><filedata>\n"
            << base64 << "</filedata></file></object></item>\n";
    out << "</document>\n";
}

void writeJsonDocument(std::ofstream& out, const Shape& shape, long long index) {
    std::string moment = jsonMoment(momentOf(index));
    out << (index ? ",\n" : "") << "{\"unid\": \"" << unid(index) << "\", \"created\": \"" << moment
        << "\", \"modified\": \"" << moment << "\", \"items\": [";
    for (long long item = 1; item <= shape.items; ++item) {
        out << (item > 1 ? ", " : "") << "{\"name\": \"Field" << item << "\", ";
        if (item == 2) out << "\"type\": \"number\", \"value\": " << numberValue(index) << "}";
        else if (item == 3) out << "\"type\": \"datetime\", \"value\": \"" << moment << "\"}";
        else out << "\"value\": \"" << textValue(item, index) << "\"}";
    }
    out << "]";
    if (hasAttachment(shape, index))
        out << ", \"attachments\": [{\"name\": \"file" << index + 1 << ".bin\", \"file\": \"attachment.bin\"}]";
    out << "}";
}

std::ofstream create(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    if (!out) throw toolFailure("Cannot write " + path);
    return out;
}

void finish(std::ofstream& out, const std::string& path) {
    out.close();
    if (!out) throw toolFailure("Cannot write " + path);
}

void writeBenchInput(const std::string& folder, const Shape& shape) {
    std::string bytes = attachmentBytes(shape.attachmentSize);
    std::ofstream file = create(folder + "/attachment.bin");
    file << bytes;
    finish(file, folder + "/attachment.bin");

    std::string base64 = base64Lines(bytes);
    std::ofstream xml = create(folder + "/bench.xml");
    std::ofstream json = create(folder + "/bench.json");
    xml << "<?xml version='1.0' encoding='utf-8'?>\n<database xmlns='http://www.lotus.com/dxl' title='Bench'>\n"
           "<view name='All'><code event='selection'><formula>SELECT @All</formula></code>\n"
           "<column itemname='Field1'><columnheader title='Subject'/></column>\n"
           "<column itemname='Field2'><columnheader title='Amount'/></column>\n"
           "<column itemname='Field3'><columnheader title='Date'/></column></view>\n";
    json << "{\"title\": \"Bench\", \"views\": [{\"name\": \"All\", \"selection\": \"SELECT @All\", \"columns\": ["
            "{\"title\": \"Subject\", \"formula\": \"Field1\"}, {\"title\": \"Amount\", \"formula\": \"Field2\"}, "
            "{\"title\": \"Date\", \"formula\": \"Field3\"}]}],\n\"documents\": [\n";
    for (long long index = 0; index < shape.documents; ++index) {
        writeXmlDocument(xml, shape, index, base64);
        writeJsonDocument(json, shape, index);
    }
    xml << "</database>\n";
    json << "]}\n";
    finish(xml, folder + "/bench.xml");
    finish(json, folder + "/bench.json");
}

}  // namespace

int main(int argc, char** argv) {
    return velloran::tools::runTool("velloran-dxl-bench-input", kUsage, argc, argv, [](int count, char** args) {
        velloran::tools::CommandLine options(count, args, {"out", "documents", "items", "attachment-every", "attachment-size"});
        Shape shape{options.number("documents", 100000), options.number("items", 20),
                    options.number("attachment-every", 10), options.number("attachment-size", 102400)};
        if (shape.items < 3) throw toolFailure("--items must be at least 3");
        if (shape.attachmentEvery < 1) throw toolFailure("--attachment-every must be at least 1");
        writeBenchInput(options.required("out"), shape);
    });
}
