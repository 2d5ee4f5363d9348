#include "Terminal.h"

#include <algorithm>

namespace velloran::batch {

Terminal::Terminal(std::ostream& out, bool interactive) : out_(out), interactive_(interactive) {}

platform::MessageAnswer Terminal::message(const QString& text, const QString&, platform::MessageIcon,
                                          platform::MessageButtons) {
    endLine();
    out_ << text.toStdString() << '\n' << std::flush;
    return platform::MessageAnswer::Ok;
}

void Terminal::ShowWaitMsg(const QString& text) {
    shown_ = true;
    text_ = text;
    draw();
}

void Terminal::SetWaitMsg(const QString& text) {
    if (shown_) text_ = text;
}

void Terminal::SetWaitProgress(int maximum, int position) {
    if (!shown_) return;
    maximum_ = maximum;
    position_ = position;
    const bool done = position >= maximum;
    if (interactive_ && (done || !sinceDraw_.isValid() || sinceDraw_.elapsed() >= kRedrawMs)) draw();
    if (!interactive_ && share(10) != printedTenths_) draw();
}

void Terminal::CloseWait() {
    if (!shown_) return;
    endLine();
    shown_ = false;
}

int Terminal::share(int scale) const {
    if (maximum_ <= 0) return 0;
    return static_cast<int>(std::int64_t{std::clamp(position_, 0, maximum_)} * scale / maximum_);
}

void Terminal::draw() {
    const int filled = share(kBarWidth);
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(kBarWidth - filled), '.');
    out_ << (interactive_ ? "\r\033[K" : "") << '[' << bar << "] " << share(100) << "% " << text_.toStdString();
    if (interactive_) {
        lineOpen_ = true;
        sinceDraw_.restart();
    } else {
        out_ << '\n';
    }
    out_ << std::flush;
    printedTenths_ = share(10);
}

void Terminal::endLine() {
    if (!lineOpen_) return;
    out_ << '\n';
    lineOpen_ = false;
}

}  // namespace velloran::batch
