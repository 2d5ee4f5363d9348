#pragma once
// The details window: every item of one document, one row each, with the
// text of its first value (a name that repeats shows each item's own). The document is found afresh by its universal ID
// in the database the main window opened last.
#include "BrowseContext.h"
#include "ServerDialog.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

namespace velloran::browse {

class TfrmdocDetail : public QDialog {
    Q_OBJECT
public:
    explicit TfrmdocDetail(QWidget* parent = nullptr);

    QTableWidget* StringGrid1;
    QPushButton* BitBtn1;

    // Fills the grid with one row per item name and value under the header
    // "文档域名", "域值". The header stays in place while the rows scroll, and
    // the value column takes the width left beside the names, so the names
    // never scroll out of sight; every cell shows its full text as a tooltip.
    void fill(const QStringList& names, const QStringList& values);
    QString headerText(int column) const;
    QString cell(int row, int column) const;
    int rowCount() const;
};

class DocumentDetails {
public:
    DocumentDetails(BrowseContext context, DialogRunner runDialog);

    // Opens the database (on ServerName in server mode, locally otherwise),
    // reads the document's items and shows them. Errors reach the caller:
    // no window appears then.
    void ShowDocumentDetails(domino::TNotesSession& session, const QString& databasePath,
                             const QString& universalId);
    // The double click on the list and "文档详情": act only when the list
    // shows documents and exactly one row is selected.
    void ListView1DblClick();

private:
    BrowseContext c_;
    DialogRunner runDialog_;
};

}  // namespace velloran::browse
