#pragma once
// The splitter bar between the tree and the list. A move with the left
// button down widens the tree panel by how far the pointer went since the
// last move; every move records the pointer's position.
#include <QFrame>

namespace velloran::app {

struct SplitterStep {
    int panelWidth;
    int splitterX;
};

// `x`: the pointer's position in the bar's own coordinates. The new width is
// clamped to [minWidth, maxWidth] so the tree panel never vanishes nor pushes
// the list out of the window.
SplitterStep splitterMove(int panelWidth, int splitterX, int x, bool leftButtonDown, int minWidth,
                          int maxWidth);

class SplitterBar : public QFrame {
    Q_OBJECT
public:
    explicit SplitterBar(QWidget* parent = nullptr);

signals:
    void pointerMoved(int x, bool leftButtonDown);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

}  // namespace velloran::app
