#pragma once
// The texts of the cells an engine walk read, in the order the export
// writes them (row by row, universal ID first), kept in one buffer so that
// two million cells do not cost two million objects.
#include <QString>

#include <vector>

namespace velloran::bench {

class CellTexts {
public:
    void add(const QString& text) {
        offsets_.push_back(buffer_.size());
        buffer_ += text;
    }

    qsizetype size() const { return static_cast<qsizetype>(offsets_.size()); }

    // Cell `index` as a text that shares the buffer: valid while nothing
    // more is added.
    QString at(qsizetype index) const {
        const qsizetype begin = offsets_[static_cast<size_t>(index)];
        const qsizetype end = index + 1 < size() ? offsets_[static_cast<size_t>(index + 1)] : buffer_.size();
        return QString::fromRawData(buffer_.constData() + begin, end - begin);
    }

private:
    QString buffer_;
    std::vector<qsizetype> offsets_;
};

}  // namespace velloran::bench
