#include "dxl/FileDataSpool.h"

#include "common/ToolError.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace velloran::tools::dxl {

namespace {

// Data kept for the reader at most. The device reads only a block ahead of
// the reader, and every element takes at least "<filedata>" of it, so the
// reader takes its data long before this many follow.
constexpr std::size_t kMostWaiting = 16384;

bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

}  // namespace

FileDataSpool::FileDataSpool() : mark_(QStringLiteral("#%1:").arg(QRandomGenerator::global()->generate64()).toStdString()) {}

FileDataSpool::~FileDataSpool() = default;

std::string FileDataSpool::newPath() {
    if (!dir_) {
        dir_ = std::make_unique<QTemporaryDir>();
        if (!dir_->isValid()) {
            dir_.reset();
            return {};
        }
    }
    return dir_->filePath("data" + QString::number(next_)).toStdString();
}

bool FileDataSpool::start() {
    std::string path = newPath();
    if (path.empty()) return false;
    try {
        waiting_.push_back({next_, {std::make_unique<Base64File>(path), path, {}}});
    } catch (const Failure& e) {
        if (!e.is(Failure::Kind::Input)) throw;
        return false;
    }
    ++next_;
    decoding_ = true;
    if (waiting_.size() > kMostWaiting) dropFirst();
    return true;
}

std::size_t FileDataSpool::feed(const char* bytes, std::size_t size) {
    SpooledData& data = waiting_.back().data;
    try {
        return data.bytes->feedWhileBase64({bytes, size});
    } catch (const Failure& e) {
        if (!e.is(Failure::Kind::Input)) throw;
        data.error = e.what();
        return 0;
    }
}

std::string FileDataSpool::end() {
    decoding_ = false;
    Waiting& last = waiting_.back();
    try {
        last.data.bytes->pause();
    } catch (const Failure& e) {
        if (!e.is(Failure::Kind::Input)) throw;
        if (last.data.error.empty()) last.data.error = e.what();
    }
    return mark_ + std::to_string(last.id) + "#";
}

std::optional<SpooledData> FileDataSpool::take(QStringView& text) {
    qsizetype start = 0;
    while (start < text.size() && isBlank(text[start])) ++start;
    QStringView rest = text.sliced(start);
    QString mark = QString::fromStdString(mark_);
    if (!rest.startsWith(mark)) return std::nullopt;
    qsizetype close = rest.indexOf(u'#', mark.size());
    if (close < 0) return std::nullopt;
    bool isNumber = false;
    std::uint64_t id = rest.sliced(mark.size(), close - mark.size()).toULongLong(&isNumber);
    std::uint64_t ended = decoding_ ? next_ - 1 : next_;  // data still being decoded has no stand-in out yet
    if (!isNumber || id >= ended) return std::nullopt;
    while (!waiting_.empty() && waiting_.front().id < id) dropFirst();
    if (waiting_.empty() || waiting_.front().id != id) return std::nullopt;
    std::optional<SpooledData> data = std::move(waiting_.front().data);
    waiting_.pop_front();
    text = rest.sliced(close + 1);
    return data;
}

void FileDataSpool::dropFirst() {
    std::string path = waiting_.front().data.path;
    waiting_.pop_front();
    std::remove(path.c_str());  // one left goes with the folder at the end
}

}  // namespace velloran::tools::dxl
