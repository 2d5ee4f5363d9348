#include "SearchAnimation.h"

#include <QPainter>
#include <QtMath>

namespace velloran::app {

namespace {

constexpr int kFrameMilliseconds = 110;

}  // namespace

SearchAnimation::SearchAnimation(QWidget* parent) : QWidget(parent) {
    timer_.setInterval(kFrameMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] { advance(); });
}

void SearchAnimation::start() {
    sinceFrame_.start();
    timer_.start();
}

void SearchAnimation::advance() {
    frame_ = (frame_ + 1) % kFrames;
    sinceFrame_.restart();
    update();
}

void SearchAnimation::advanceIfDue() {
    if (!sinceFrame_.isValid() || sinceFrame_.elapsed() >= kFrameMilliseconds) advance();
}

void SearchAnimation::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // A page of text.
    const QRectF page(8, 6, 24, 30);
    p.setPen(QPen(QColor(110, 110, 110), 1));
    p.setBrush(Qt::white);
    p.drawRect(page);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    for (int line = 0; line < 5; ++line)
        p.drawLine(QPointF(12, 12 + line * 5), QPointF(28, 12 + line * 5));
    // The glass circles over the page, one eighth of a turn a frame.
    const qreal angle = frame_ * 2 * M_PI / kFrames;
    const QPointF centre(20 + 7 * qCos(angle), 20 + 6 * qSin(angle));
    p.setPen(QPen(QColor(90, 60, 30), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(5, 5), centre + QPointF(11, 11));
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(QColor(170, 210, 255, 160));
    p.drawEllipse(centre, 7, 7);
}

}  // namespace velloran::app
