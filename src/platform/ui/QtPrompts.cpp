#include "ui/QtPrompts.h"

#include "ui/FileFilter.h"
#include "ui/FixedSizeDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include <algorithm>

namespace velloran::platform {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// Dialogs belong to the window the user works in. A tool window (the wait
// window shown during long work) owns none: it may close while the dialog is
// up, and the dialog is to open above it; its own owner takes its place.
QWidget* dialogParent() {
    QWidget* owner = QApplication::activeWindow();
    while (owner && owner->windowType() == Qt::Tool && owner->parentWidget()) owner = owner->parentWidget()->window();
    return owner;
}

}  // namespace

MessageAnswer QtPrompts::message(const QString& text, const QString& caption, MessageIcon icon,
                                 MessageButtons buttons) {
    const bool withCancel = buttons == MessageButtons::OkCancel;
    QMessageBox box(qtIcon(icon), caption, text, withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok,
                    dialogParent());
    // Messages carry file names and server texts: never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.setWindowFlags(kFixedSizeDialogFlags);
    box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::Ok);
    int chosen = box.exec();
    return withCancel && chosen != QMessageBox::Ok ? MessageAnswer::Cancel : MessageAnswer::Ok;
}

QString QtPrompts::openFileName(const QString& filter, const QString& folder) {
    return QFileDialog::getOpenFileName(dialogParent(), {}, folder, toQtFileFilter(filter));
}

SaveFileChoice QtPrompts::saveFileName(const QString& filter, const QString& folder) {
    const QStringList entries = qtFilterEntries(filter);
    QString chosen = entries.value(0);
    const QString fileName = QFileDialog::getSaveFileName(dialogParent(), {}, folder, entries.join(QStringLiteral(";;")),
                                                          &chosen, QFileDialog::DontConfirmOverwrite);
    return {fileName, std::max<qsizetype>(entries.indexOf(chosen), 0)};
}

InputResult QtPrompts::input(const QString& caption, const QString& prompt, const QString& initial) {
    bool accepted = false;
    QString text = QInputDialog::getText(dialogParent(), caption, prompt, QLineEdit::Normal, initial, &accepted);
    return {accepted, accepted ? text : initial};
}

}  // namespace velloran::platform
