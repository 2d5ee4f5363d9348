#pragma once
// Qt's XML reader hands over the text between two tags as one piece, so a
// long text (an attachment's base64 data) would be held whole in memory.
// This device reads the XML through and puts an empty comment into every
// long run of text, so that the reader hands it over in pieces of at most
// about kRunLength characters. The lines stay as they are; columns after
// an inserted comment are given back as they are in the file.
#include <QIODevice>

#include <cstdint>
#include <deque>

namespace velloran::tools::dxl {

class SplitTextDevice : public QIODevice {
public:
    static constexpr int kRunLength = 64 * 1024;

    // `source` must be open for reading and outlive this device.
    explicit SplitTextDevice(QIODevice& source);

    bool isSequential() const override { return true; }
    // The file's column of `column` on `line`, as the reader counts them.
    std::int64_t fileColumn(std::int64_t line, std::int64_t column) const;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    enum class State { Content, Open, Bang, Tag, Comment, CData, Instruction, Declaration };

    // Copies `byte` to `out`, first putting a comment before it when the
    // run of text it ends is long enough.
    void pass(char byte, QByteArray& out);
    qsizetype plainText(const char* bytes, qsizetype size);
    void follow(char byte);
    void count(char byte);
    bool canSplitBefore(unsigned char byte) const;

    // Comments put into one line: the line, how many, and the reader's
    // column of the last one.
    struct LineInserts {
        std::int64_t line;
        std::int64_t count;
        std::int64_t lastColumn;
    };

    QIODevice& source_;
    QByteArray pending_;  // filtered bytes not yet handed to the reader
    State state_ = State::Content;
    char quote_ = 0;      // the quote a tag's attribute value is in
    int tail_ = 0;        // the closing characters of a comment, section or instruction seen so far
    int depth_ = 0;       // brackets open in a declaration
    bool inEntity_ = false;
    char previous_ = 0;
    std::int64_t run_ = 0;       // characters of text since the last markup or comment
    std::int64_t line_ = 1;
    std::int64_t column_ = 0;    // the reader's column: UTF-16 units since the line began
    std::deque<LineInserts> inserts_;
};

}  // namespace velloran::tools::dxl
