#include "ServerDialog.h"

#include "text/Trim.h"
#include "ui/PlainMessage.h"

#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velloran::browse {

namespace {

QLabel* label(QWidget* parent, const QString& text, QRect geometry) {
    auto* widget = new QLabel(text, parent);
    widget->setGeometry(geometry);
    return widget;
}

QLineEdit* edit(QWidget* parent, QRect geometry) {
    auto* widget = new QLineEdit(parent);
    widget->setGeometry(geometry);
    return widget;
}

QPushButton* button(QWidget* parent, const QString& caption, QRect geometry) {
    auto* widget = new QPushButton(caption, parent);
    widget->setGeometry(geometry);
    // Neither button answers Enter or Escape.
    widget->setAutoDefault(false);
    widget->setDefault(false);
    return widget;
}

}  // namespace

void runModal(QDialog& dialog) { dialog.exec(); }

Tfrmselserver::Tfrmselserver(domino::BrowseState& state, platform::Prompts& prompts, QWidget* parent)
    : QDialog(parent), state_(state), prompts_(prompts) {
    setObjectName(QStringLiteral("frmselserver"));
    setWindowTitle(QStringLiteral("连接服务器"));
    setFixedSize(252, 191);
    QFont dialogFont;
    dialogFont.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("WenQuanYi Micro Hei")});
    dialogFont.setPointSize(8);
    setFont(dialogFont);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(0, 0, 252, 191);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    gr1 = new QGroupBox(QStringLiteral("选项"), panel);
    gr1->setObjectName(QStringLiteral("gr1"));
    gr1->setGeometry(16, 16, 217, 121);
    Label1 = label(gr1, QStringLiteral("服务器名："), {16, 32, 65, 17});
    Edit1 = edit(gr1, {80, 24, 113, 21});
    Label2 = label(gr1, QStringLiteral("登录名："), {16, 64, 57, 17});
    Edit2 = edit(gr1, {80, 56, 113, 21});
    Label3 = label(gr1, QStringLiteral("用户密码："), {16, 88, 65, 17});
    Edit3 = edit(gr1, {80, 88, 113, 21});
    // The password is masked as it is typed and cannot be copied out.
    Edit3->setEchoMode(QLineEdit::Password);
    Button1 = button(panel, QStringLiteral("确  定"), {32, 152, 81, 28});
    Button2 = button(panel, QStringLiteral("取  消"), {120, 152, 81, 27});
    const QList<QPair<QWidget*, const char*>> names = {
        {Label1, "Label1"}, {Edit1, "Edit1"}, {Label2, "Label2"}, {Edit2, "Edit2"},
        {Label3, "Label3"}, {Edit3, "Edit3"}, {Button1, "Button1"}, {Button2, "Button2"}};
    for (const auto& [widget, name] : names) widget->setObjectName(QString::fromLatin1(name));
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    FormShow();
}

void Tfrmselserver::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Edit1->setFocus();
}

void Tfrmselserver::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Tfrmselserver::FormShow() {
    Edit1->setText(state_.ServerName);
    Edit2->setText(state_.UserName);
    Edit3->setText(state_.Password);
    Cancelled = true;
}

void Tfrmselserver::Button1Click() {
    const QString server = platform::trimControl(Edit1->text());
    const QString user = platform::trimControl(Edit2->text());
    if (server.isEmpty()) {
        platform::showPlainMessage(prompts_, QStringLiteral("服务器名不能为空"));
        return;
    }
    if (user.isEmpty()) {
        platform::showPlainMessage(prompts_, QStringLiteral("登录用名不能为空"));
        return;
    }
    state_.ServerName = server;
    state_.UserName = user;
    state_.Password = platform::trimControl(Edit3->text());
    // The login values keep the password; the field does not hold another copy.
    Edit3->clear();
    Cancelled = false;
    accept();
}

void Tfrmselserver::Button2Click() {
    Cancelled = true;
    reject();
}

}  // namespace velloran::browse
