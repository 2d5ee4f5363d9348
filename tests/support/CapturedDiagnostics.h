#pragma once
// Records what the program writes to its Qt logging categories while it
// lives, instead of letting it reach standard error.
#include <QLoggingCategory>
#include <QStringList>

namespace velloran::testing {

class CapturedDiagnostics {
public:
    CapturedDiagnostics() : previous_(qInstallMessageHandler(&record)) { lines().clear(); }
    ~CapturedDiagnostics() { qInstallMessageHandler(previous_); }
    CapturedDiagnostics(const CapturedDiagnostics&) = delete;
    CapturedDiagnostics& operator=(const CapturedDiagnostics&) = delete;

    // "<category>: <message>" for each message, in order.
    QStringList texts() const { return lines(); }
    QString joined() const { return lines().join(QLatin1Char('\n')); }

private:
    static QStringList& lines() {
        static QStringList recorded;
        return recorded;
    }
    static void record(QtMsgType, const QMessageLogContext& context, const QString& message) {
        lines() << QString::fromUtf8(context.category ? context.category : "default") + QStringLiteral(": ") + message;
    }

    QtMessageHandler previous_;
};

}  // namespace velloran::testing
