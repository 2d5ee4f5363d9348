#pragma once
// The spreadsheet application as the export drives it: created by its
// programmatic identifier through the registry hive and called late-bound,
// one call chain per operation, each starting from the application object.
// The argument lists of the per-cell calls are kept from call to call, so
// writing a cell allocates nothing once the lists have grown.
#include "component/Dispatch.h"

#include <QByteArray>
#include <QString>
#include <QStringEncoder>

#include <string>
#include <vector>

namespace velloran::exporting {

class Spreadsheet {
public:
    // Creates "Excel.Application" and adds a workbook. Throws when the hive
    // has no spreadsheet application or it cannot add a workbook.
    static Spreadsheet start(const std::string& hivePath);

    // Rows and columns count from 1, on the active sheet.
    void setColumnWidth(int column, int width);
    void setTextFormat(int row, int column);
    void setCellText(int row, int column, const QString& text);
    // A number the spreadsheet can sum.
    void setCellNumber(int row, int column, double number);
    // A moment as a date number (days since 1899-12-30), shown in the
    // spreadsheet's date format.
    void setCellDateTime(int row, int column, double serialDays);
    // Saves over a file of that name: DisplayAlerts off, then SaveAs.
    void saveReplacing(const QString& fileName);
    // Saves without ever replacing a file: SaveAs with DisplayAlerts on
    // refuses a name that is taken by the end of the save, and the workbook
    // then goes beside it as "name (2).xls", "name (3).xls", ... Returns the
    // name saved; throws the last refusal when all of them are taken, or
    // the failure of a save that was not refused for a taken name.
    QString saveKeeping(const QString& fileName);
    // Closes the application and drops the reference; nothing afterwards.
    void quit();
    // The same, for a run that is already failing: a failure to quit is
    // dropped.
    void quitQuietly();

private:
    explicit Spreadsheet(component::DispatchPtr application) : application_(std::move(application)) {}

    // Puts `text`, as UTF-8, into the argument list of the value call.
    void encodeText(const QString& text);
    void setDisplayAlerts(bool on);
    void saveAs(const QString& fileName);
    component::DispatchPtr cell(int row, int column);
    const component::DispatchPtr& application();

    component::DispatchPtr application_;
    std::vector<component::Variant> position_{0, 0};
    std::vector<component::Variant> text_{std::string()};
    std::vector<component::Variant> number_{0.0};
    QStringEncoder utf8_{QStringEncoder::Utf8, QStringConverter::Flag::Stateless};
    QByteArray encoded_;
};

}  // namespace velloran::exporting
