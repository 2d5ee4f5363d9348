#pragma once
// The About box: the program's name and version, who makes it and how to
// reach them. A fresh box for every showing.
#include <QDialog>
#include <QUrl>

#include <functional>

class QLabel;
class QPushButton;

namespace velloran::app {

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    using UrlOpener = std::function<void(const QUrl&)>;

    explicit TfrmAbout(UrlOpener openUrl, QWidget* parent = nullptr);

    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label4;
    QLabel* Label6;
    QLabel* Label3;
    QLabel* Label5;  // the web line: reacts to the pointer and to clicks
    QPushButton* Button1;

    void Label5MouseEnter();
    void Label5MouseLeave();
    void Label5Click();

private:
    UrlOpener openUrl_;
};

// The program's logo, drawn in code.
QPixmap velloranLogo();

}  // namespace velloran::app
