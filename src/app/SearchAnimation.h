#pragma once
// A small looping animation of a search: a magnifying glass sweeping over a
// page, eight frames. It advances on its own while the event loop runs, and
// by one frame at each forced repaint of the window it sits in, so it keeps
// moving while long work holds the event loop.
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

namespace velloran::app {

class SearchAnimation : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFrames = 8;

    explicit SearchAnimation(QWidget* parent = nullptr);

    void start();
    int frame() const { return frame_; }
    // Moves to the next frame unless one was shown very recently.
    void advanceIfDue();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void advance();

    QTimer timer_;
    QElapsedTimer sinceFrame_;
    int frame_ = 0;
};

}  // namespace velloran::app
