#include "Splitter.h"

#include <QMouseEvent>

#include <algorithm>

namespace velloran::app {

SplitterStep splitterMove(int panelWidth, int splitterX, int x, bool leftButtonDown, int minWidth,
                          int maxWidth) {
    if (!leftButtonDown) return {panelWidth, x};
    const int wanted = panelWidth + x - splitterX;
    return {std::clamp(wanted, minWidth, std::max(minWidth, maxWidth)), x};
}

SplitterBar::SplitterBar(QWidget* parent) : QFrame(parent) {
    setMouseTracking(true);
    setCursor(Qt::SizeHorCursor);
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event) {
    emit pointerMoved(qRound(event->position().x()), event->buttons().testFlag(Qt::LeftButton));
}

}  // namespace velloran::app
