#include "Terminal.h"

#include <QStringList>

#include <algorithm>
#include <cstdio>

namespace velloran::batch {

namespace {

// The rate and the time left are shown once the run has gone this long.
constexpr qint64 kRateAfterMs = 500;

int share(int maximum, int position, int scale) {
    if (maximum <= 0) return 0;
    return static_cast<int>(std::int64_t{std::clamp(position, 0, maximum)} * scale / maximum);
}

std::string clockText(qint64 seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

std::string rateAndTimeLeft(int maximum, int position, qint64 elapsedMs) {
    if (elapsedMs < kRateAfterMs || position <= 0) return {};
    const double perSecond = position * 1000.0 / static_cast<double>(elapsedMs);
    const auto left = static_cast<qint64>(std::max(0, maximum - position) / perSecond + 0.5);
    std::string text(" ");
    text.append(std::to_string(static_cast<long long>(perSecond + 0.5))).append("个/秒 剩余").append(clockText(left));
    return text;
}

}  // namespace

std::string prefixedLines(const QString& text) {
    std::string lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) lines.append(kToolPrefix).append(line.toStdString()) += '\n';
    return lines;
}

std::string progressLine(int maximum, int position, qint64 elapsedMs) {
    const int filled = share(maximum, position, Terminal::kBarWidth);
    return '[' + std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(Terminal::kBarWidth - filled), '.') + "] " +
           std::to_string(share(maximum, position, 100)) + "% " + std::to_string(position) + '/' +
           std::to_string(maximum) + "个文档" + rateAndTimeLeft(maximum, position, elapsedMs);
}

Terminal::Terminal(std::ostream& out, Progress progress) : out_(out), progress_(progress) {}

platform::MessageAnswer Terminal::message(const QString& text, const QString&, platform::MessageIcon,
                                          platform::MessageButtons) {
    endLine();
    out_ << prefixedLines(text) << std::flush;
    return platform::MessageAnswer::Ok;
}

void Terminal::SetWaitProgress(int maximum, int position) {
    if (!shown_ || progress_ == Progress::None) return;
    if (!sinceStart_.isValid()) sinceStart_.start();
    maximum_ = maximum;
    position_ = position;
    if (due()) draw();
}

bool Terminal::due() const {
    if (progress_ == Progress::Tenths) return tenths() != printedTenths_;
    return position_ >= maximum_ || !sinceDraw_.isValid() || sinceDraw_.elapsed() >= kRedrawMs;
}

void Terminal::CloseWait() {
    if (!shown_) return;
    endLine();
    shown_ = false;
}

int Terminal::tenths() const { return share(maximum_, position_, 10); }

void Terminal::draw() {
    const std::string line = kToolPrefix + progressLine(maximum_, position_, sinceStart_.elapsed());
    if (progress_ == Progress::Redrawn) {
        out_ << "\r\033[K" << line;
        lineOpen_ = true;
        sinceDraw_.restart();
    } else {
        out_ << line << '\n';
    }
    out_ << std::flush;
    printedTenths_ = tenths();
}

void Terminal::endLine() {
    if (!lineOpen_) return;
    out_ << '\n';
    lineOpen_ = false;
}

}  // namespace velloran::batch
