#include "workbook/Spreadsheet.h"

#include "component/ComponentRuntime.h"
#include "errors/Failure.h"
#include "run/Diagnostics.h"
#include "run/WorkbookFile.h"

#include <QFileInfo>

#include <stdexcept>

namespace velloran::exporting {

using component::CallKind;
using component::DispatchPtr;
using component::Variant;

namespace {

constexpr const char* kProgId = "Excel.Application";

DispatchPtr asObject(Variant result, const std::string& member) {
    auto* object = std::get_if<DispatchPtr>(&result);
    if (!object || !*object) throw std::runtime_error("The spreadsheet member " + member + " returned no object");
    return std::move(*object);
}

DispatchPtr callMethod(const DispatchPtr& on, const std::string& member, const std::vector<Variant>& args = {}) {
    return asObject(on->invoke(member, CallKind::Method, args), member);
}

DispatchPtr readProperty(const DispatchPtr& on, const std::string& member, const std::vector<Variant>& args) {
    return asObject(on->invoke(member, CallKind::PropertyGet, args), member);
}

void writeProperty(const DispatchPtr& on, const std::string& member, Variant value) {
    on->invoke(member, CallKind::PropertyPut, {std::move(value)});
}

// Narrows `text` into `out` a character each, in one pass that also tells
// whether they were all ASCII, which makes the narrowed text its UTF-8.
bool narrowedAscii(const QString& text, std::string& out) {
    const QChar* characters = text.constData();
    const auto size = static_cast<std::size_t>(text.size());
    out.resize(size);
    char16_t seen = 0;
    for (std::size_t i = 0; i < size; ++i) {
        seen |= characters[i].unicode();
        out[i] = static_cast<char>(characters[i].unicode());
    }
    return seen < 0x80;
}

// A file, or a link even when broken, has the name.
bool isTaken(const QString& name) {
    const QFileInfo file(name);
    return file.exists() || file.isSymLink();
}

}  // namespace

Spreadsheet Spreadsheet::start(const std::string& hivePath) {
    auto application = std::dynamic_pointer_cast<component::Dispatch>(
        platform::ComponentRuntime(hivePath).createObjectByProgId(kProgId));
    if (!application) throw std::runtime_error(std::string("The object made for ") + kProgId + " cannot be automated");
    Spreadsheet spreadsheet(application);
    try {
        callMethod(callMethod(application, "WorkBooks"), "Add");
    } catch (const std::exception&) {
        spreadsheet.quitQuietly();
        throw;
    }
    return spreadsheet;
}

void Spreadsheet::setColumnWidth(int column, int width) {
    writeProperty(readProperty(callMethod(application(), "activesheet"), "columns", {column}), "columnwidth", width);
}

void Spreadsheet::setTextFormat(int row, int column) {
    writeProperty(cell(row, column), "NumberFormatLocal", std::string("@"));
}

// Most cell texts are ASCII: they are narrowed in place. Others are encoded
// into a buffer that grows without being cleared, then copied.
void Spreadsheet::encodeText(const QString& text) {
    auto& utf8 = std::get<std::string>(text_[0]);
    if (narrowedAscii(text, utf8)) return;
    encoded_.resize(utf8_.requiredSpace(text.size()));
    const char* end = utf8_.appendToBuffer(encoded_.data(), text);
    utf8.assign(encoded_.constData(), end);
}

void Spreadsheet::setCellText(int row, int column, const QString& text) {
    encodeText(text);
    static const std::string kValue = "value";
    cell(row, column)->invoke(kValue, CallKind::PropertyPut, text_);
}

void Spreadsheet::setCellNumber(int row, int column, double number) {
    number_[0] = number;
    static const std::string kValue = "value";
    cell(row, column)->invoke(kValue, CallKind::PropertyPut, number_);
}

void Spreadsheet::setCellDateTime(int row, int column, double serialDays) {
    static const Variant kDateTimeFormat = std::string("yyyy-mm-dd hh:mm:ss");
    writeProperty(cell(row, column), "NumberFormat", kDateTimeFormat);
    setCellNumber(row, column, serialDays);
}

void Spreadsheet::setCellDate(int row, int column, double serialDays) {
    static const Variant kDateFormat = std::string("yyyy-mm-dd");
    writeProperty(cell(row, column), "NumberFormat", kDateFormat);
    setCellNumber(row, column, serialDays);
}

void Spreadsheet::setDisplayAlerts(bool on) { writeProperty(application(), "DisplayAlerts", on); }

void Spreadsheet::saveAs(const QString& fileName) {
    callMethod(application(), "activeworkbook")->invoke("SaveAs", CallKind::Method, {fileName.toStdString()});
}

void Spreadsheet::saveReplacing(const QString& fileName) {
    setDisplayAlerts(false);
    saveAs(fileName);
}

// The application tells a refused replace from any other failure by no
// more than its message, so a failed save counts as refused when the name
// is taken afterwards. Names taken already are passed over without writing
// the workbook for them.
QString Spreadsheet::saveKeeping(const QString& fileName) {
    setDisplayAlerts(true);
    for (int number = 1;; ++number) {
        const QString name = numberedFileName(fileName, number);
        if (number < kMaxFileNumber && isTaken(name)) continue;
        try {
            saveAs(name);
            return name;
        } catch (const std::exception&) {
            if (number == kMaxFileNumber || !isTaken(name)) throw;
        }
    }
}

void Spreadsheet::quit() {
    DispatchPtr application = std::move(application_);
    if (application) application->invoke("quit", CallKind::Method, {});
}

void Spreadsheet::quitQuietly() {
    try {
        quit();
    } catch (const std::exception& error) {
        // The run is ending anyway; the reason is kept for diagnosis.
        qCWarning(exportDiagnostics) << "the spreadsheet application did not quit:" << platform::originalOf(error).c_str();
    }
}

DispatchPtr Spreadsheet::cell(int row, int column) {
    position_[0] = row;
    position_[1] = column;
    static const std::string kCells = "cells";
    return readProperty(application(), kCells, position_);
}

const DispatchPtr& Spreadsheet::application() {
    if (!application_) throw std::runtime_error("The spreadsheet application has already quit");
    return application_;
}

}  // namespace velloran::exporting
