#include "CommandIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace velloran::app {

namespace {

using Drawing = std::function<void(QPainter&)>;

// Draws in a 16 x 16 frame, at twice the resolution for sharp scaling.
QIcon paintIcon(const Drawing& draw) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(2, 2);
    painter.setPen(QPen(QColor(40, 40, 40), 0.8));
    draw(painter);
    painter.end();
    pixmap.setDevicePixelRatio(2);
    return QIcon(pixmap);
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& color, qreal width) {
    p.save();
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    QLineF line(to, from);
    QLineF wingA = line;
    wingA.setLength(3.5);
    wingA.setAngle(line.angle() + 40);
    QLineF wingB = line;
    wingB.setLength(3.5);
    wingB.setAngle(line.angle() - 40);
    p.drawLine(wingA);
    p.drawLine(wingB);
    p.restore();
}

void page(QPainter& p, const QColor& fill) {
    QPainterPath sheet;
    sheet.moveTo(3, 1.5);
    sheet.lineTo(10, 1.5);
    sheet.lineTo(13, 4.5);
    sheet.lineTo(13, 14.5);
    sheet.lineTo(3, 14.5);
    sheet.closeSubpath();
    p.setBrush(fill);
    p.drawPath(sheet);
    p.drawLine(QPointF(10, 1.5), QPointF(10, 4.5));
    p.drawLine(QPointF(10, 4.5), QPointF(13, 4.5));
}

void textLines(QPainter& p, const QColor& color) {
    p.save();
    p.setPen(QPen(color, 0.9));
    for (qreal y = 6.5; y < 13; y += 2) p.drawLine(QPointF(5, y), QPointF(11, y));
    p.restore();
}

void tray(QPainter& p) {
    p.setBrush(QColor(200, 200, 205));
    p.drawRect(QRectF(1.5, 10, 13, 4.5));
    arrow(p, QPointF(8, 1), QPointF(8, 9.5), QColor(20, 110, 30), 1.6);
}

void door(QPainter& p) {
    p.setBrush(QColor(160, 100, 50));
    p.drawRect(QRectF(2, 1.5, 7, 13));
    p.setBrush(QColor(240, 200, 60));
    p.drawEllipse(QPointF(7.5, 8), 0.7, 0.7);
    arrow(p, QPointF(9, 8), QPointF(15, 8), QColor(190, 30, 30), 1.5);
}

void blueDocument(QPainter& p) {
    page(p, QColor(70, 130, 220));
    textLines(p, Qt::white);
}

void openFolder(QPainter& p) {
    p.setBrush(QColor(220, 170, 60));
    p.drawRect(QRectF(1.5, 3.5, 11, 10));
    QPolygonF flap({QPointF(3.5, 6.5), QPointF(15, 6.5), QPointF(12.5, 13.5), QPointF(1.5, 13.5)});
    p.setBrush(QColor(250, 210, 100));
    p.drawPolygon(flap);
}

void computer(QPainter& p) {
    p.setBrush(QColor(210, 210, 215));
    p.drawRect(QRectF(1.5, 1.5, 13, 9));
    p.setBrush(QColor(60, 120, 200));
    p.drawRect(QRectF(3, 3, 10, 6));
    p.setBrush(QColor(180, 180, 185));
    p.drawRect(QRectF(6, 10.5, 4, 2));
    p.drawRect(QRectF(3, 12.5, 10, 2));
}

void helpBook(QPainter& p) {
    p.setBrush(QColor(40, 90, 170));
    p.drawRect(QRectF(2.5, 1.5, 11, 13));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 12.5, 11, 2));
    p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap));
    QPainterPath mark;
    mark.moveTo(6, 5);
    mark.cubicTo(6, 2.5, 10.5, 2.5, 10.5, 5);
    mark.cubicTo(10.5, 6.5, 8.2, 6.8, 8.2, 8.5);
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
    p.drawPoint(QPointF(8.2, 10.5));
}

void greyButton(QPainter& p, bool pointsRight) {
    p.setBrush(QColor(190, 190, 190));
    p.drawRoundedRect(QRectF(1.5, 2.5, 13, 11), 2, 2);
    p.setBrush(QColor(50, 50, 50));
    p.setPen(Qt::NoPen);
    QPolygonF triangle = pointsRight
        ? QPolygonF({QPointF(6, 5), QPointF(11, 8), QPointF(6, 11)})
        : QPolygonF({QPointF(10, 5), QPointF(5, 8), QPointF(10, 11)});
    p.drawPolygon(triangle);
}

void blackArrow(QPainter& p, bool pointsRight) {
    if (pointsRight)
        arrow(p, QPointF(2, 8), QPointF(14, 8), Qt::black, 2);
    else
        arrow(p, QPointF(14, 8), QPointF(2, 8), Qt::black, 2);
}

void textPage(QPainter& p) {
    page(p, Qt::white);
    textLines(p, QColor(90, 90, 90));
}

void server(QPainter& p) {
    p.setBrush(QColor(120, 120, 130));
    p.drawRect(QRectF(4, 1.5, 8, 13));
    p.setPen(QPen(QColor(120, 220, 120), 1.2));
    p.drawLine(QPointF(6, 4), QPointF(10, 4));
    p.drawLine(QPointF(6, 7), QPointF(10, 7));
}

void closedFolder(QPainter& p) {
    p.setBrush(QColor(235, 190, 80));
    p.drawRect(QRectF(1.5, 4.5, 13, 9));
    p.drawRect(QRectF(1.5, 2.5, 5, 2));
}

void database(QPainter& p) {
    p.setBrush(QColor(230, 200, 60));
    p.drawRect(QRectF(3, 3, 10, 10));
    p.drawEllipse(QRectF(3, 11, 10, 3.5));
    p.drawEllipse(QRectF(3, 1.5, 10, 3.5));
}

void viewGrid(QPainter& p) {
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setBrush(QColor(70, 130, 220));
    p.drawRect(QRectF(1.5, 2.5, 13, 3));
    for (qreal y = 8; y < 13; y += 2.5) p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
    p.drawLine(QPointF(6, 5.5), QPointF(6, 13.5));
}

}  // namespace

QVector<QIcon> commandIcons() {
    return {
        paintIcon(tray),
        paintIcon(door),
        paintIcon(blueDocument),
        paintIcon(openFolder),
        paintIcon(computer),
        paintIcon(helpBook),
        paintIcon([](QPainter& p) { greyButton(p, false); }),
        paintIcon([](QPainter& p) { greyButton(p, true); }),
        paintIcon([](QPainter& p) { blackArrow(p, false); }),
        paintIcon([](QPainter& p) { blackArrow(p, true); }),
        paintIcon(textPage),
    };
}

QVector<QIcon> listIcons() {
    return {paintIcon(server), paintIcon(closedFolder), paintIcon(database), paintIcon(viewGrid)};
}

QIcon programIcon() { return QIcon::fromTheme(kDesktopFileName, paintIcon(database)); }

}  // namespace velloran::app
