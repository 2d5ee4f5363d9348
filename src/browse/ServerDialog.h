#pragma once
// The connection dialog: server name, user name and password. It edits the
// main window's login values only when the user confirms valid input.
#include "BrowseState.h"
#include "ui/Prompts.h"

#include <QDialog>

#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velloran::browse {

class Tfrmselserver : public QDialog {
    Q_OBJECT
public:
    Tfrmselserver(domino::BrowseState& state, platform::Prompts& prompts, QWidget* parent = nullptr);

    // True unless the user confirmed valid input.
    bool Cancelled = true;

    QGroupBox* gr1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QPushButton* Button1;
    QPushButton* Button2;

    void FormShow();
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    domino::BrowseState& state_;
    platform::Prompts& prompts_;
};

// Shows a modal dialog and returns when it closes; tests answer instead.
using DialogRunner = std::function<void(QDialog&)>;
void runModal(QDialog& dialog);

}  // namespace velloran::browse
