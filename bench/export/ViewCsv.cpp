#include "ViewCsv.h"

#include "DominoWrappers.h"
#include "ValueText.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <stdexcept>

namespace velloran::bench {

namespace {

const QString kUniversalIdTitle = QStringLiteral("文档ID");

class CsvFile {
public:
    explicit CsvFile(const QString& path) : file_(path) {
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) fail();
    }

    void writeRow(const QStringList& fields) {
        QStringList row;
        for (const QString& field : fields) row << csvField(field);
        if (file_.write((row.join(QLatin1Char(',')) + QLatin1Char('\n')).toUtf8()) < 0) fail();
    }

    void close() {
        if (!file_.flush()) fail();
        file_.close();
    }

private:
    [[noreturn]] void fail() const {
        throw std::runtime_error("cannot write " + file_.fileName().toStdString() + ": " + file_.errorString().toStdString());
    }

    QFile file_;
};

// The document's universal ID and the first value of each named item, as
// text; an item the document lacks gives an empty cell.
QStringList documentRow(domino::TNotesDocument& document, const QStringList& itemNames) {
    QStringList row{document.UniversalID()};
    for (const QString& name : itemNames) {
        const notes::ValueList values = document.GetItemValue(name);
        row << (values.empty() ? QString() : domino::valueToText(values.front()));
    }
    return row;
}

}  // namespace

QString csvField(const QString& text) {
    static const QString kSpecial = QStringLiteral(",\"\r\n");
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return kSpecial.contains(c); })) return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

qint64 writeViewCsv(const std::string& hivePath, const QString& databasePath, const QString& viewName,
                    const QString& csvPath) {
    domino::TNotesSession session{platform::ComponentRuntime(hivePath)};
    session.Initialize();
    domino::TNotesDatabase database;
    database.ConnectTo(session.GetDatabase(QString(), databasePath));
    domino::TNotesView view;
    view.ConnectTo(database.GetView(viewName));
    const int count = view.AllEntriesCount();
    CsvFile csv(csvPath);
    domino::TNotesDocument document;
    if (count > 0) document.ConnectTo(view.GetNthDocument(1));
    const QStringList itemNames = count > 0 ? document.Items() : QStringList();
    csv.writeRow(QStringList{kUniversalIdTitle} + itemNames);
    for (int n = 1; n <= count; ++n) {
        csv.writeRow(documentRow(document, itemNames));
        if (n < count) document.ConnectTo(view.GetNextDocument(document));
    }
    csv.close();
    return count;
}

}  // namespace velloran::bench
