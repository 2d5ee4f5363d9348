#include "AboutBox.h"

#include "Vendor.h"
#include "ui/FixedSizeDialog.h"

#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace velloran::app {

namespace {

class LinkLabel : public QLabel {
public:
    LinkLabel(const QString& text, QWidget* parent, TfrmAbout& box) : QLabel(text, parent), box_(box) {}

protected:
    void enterEvent(QEnterEvent*) override { box_.Label5MouseEnter(); }
    void leaveEvent(QEvent*) override { box_.Label5MouseLeave(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) box_.Label5Click();
    }

private:
    TfrmAbout& box_;
};

QFont aboutFont(int pixelSize) {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(pixelSize);
    return font;
}

QLabel* textLabel(QWidget* parent, const char* name, const QString& text, QRect geometry, int pixelSize) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setFont(aboutFont(pixelSize));
    return label;
}

void setTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

}  // namespace

QPixmap velloranLogo() {
    QPixmap logo(141, 34);
    logo.fill(Qt::white);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient blue(0, 0, 0, 34);
    blue.setColorAt(0, QColor(60, 120, 210));
    blue.setColorAt(1, QColor(20, 60, 140));
    p.setBrush(blue);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(1, 1, 32, 32), 6, 6);
    p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(8, 9), QPointF(17, 26), QPointF(26, 9)}));
    QFont name = aboutFont(20);
    name.setBold(true);
    p.setFont(name);
    p.setPen(QColor(20, 60, 140));
    p.drawText(QRectF(38, 0, 103, 34), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Velloran"));
    return logo;
}

TfrmAbout::TfrmAbout(UrlOpener openUrl, QWidget* parent)
    : QDialog(parent, platform::kFixedSizeDialogFlags), openUrl_(std::move(openUrl)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("关于"));
    setFixedSize(380, 301);
    setAttribute(Qt::WA_DeleteOnClose, false);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(8, 8, 289, 41);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(velloranLogo());

    Label1 = textLabel(this, "Label1", QStringLiteral("VelloranV3.2"), {16, 64, 361, 41}, 19);
    setTextColour(Label1, Qt::black);
    Label2 = textLabel(this, "Label2", QStringLiteral("开发：") + vendor::kDeveloper, {64, 112, 257, 17}, 13);
    Label4 = textLabel(this, "Label4", QStringLiteral("电话：") + vendor::kTelephone, {64, 144, 265, 17}, 13);
    Label6 = textLabel(this, "Label6",
                       QStringLiteral("客服") + vendor::kMessenger + QStringLiteral("：") + vendor::kMessengerAccount,
                       {64, 167, 265, 17}, 13);
    Label3 = textLabel(this, "Label3", QStringLiteral("手机：") + vendor::kMobile, {64, 192, 265, 17}, 13);

    Label5 = new LinkLabel(QStringLiteral("网址:") + vendor::kWebAddress, this, *this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setGeometry(64, 216, 185, 17);
    Label5->setFont(aboutFont(13));
    Label5->setCursor(Qt::PointingHandCursor);

    Button1 = new QPushButton(QStringLiteral("确       定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(112, 256, 137, 33);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmAbout::Label5MouseEnter() { setTextColour(Label5, Qt::red); }

void TfrmAbout::Label5MouseLeave() { setTextColour(Label5, Qt::black); }

void TfrmAbout::Label5Click() { openUrl_(QUrl(vendor::kWebAddress)); }

}  // namespace velloran::app
