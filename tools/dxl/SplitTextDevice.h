#pragma once
// Qt's XML reader hands over the text between two tags as one piece, so a
// long text (an attachment's base64 data) would be held whole in memory.
// This device reads the XML through and puts an empty comment into every
// long run of text, so that the reader hands it over in pieces of at most
// about kRunLength characters.
// The base64 text of a <filedata> element does not reach the reader at all:
// the device decodes it into a spool file and hands the reader a stand-in
// text instead (see FileDataSpool), keeping only its line ends. The lines
// stay as they are; columns after an inserted comment or stand-in are given
// back as they are in the file.
// The device reads the file as UTF-8 (see Utf8Input), whatever encoding it
// is written in.
#include "dxl/FileDataSpool.h"
#include "dxl/Utf8Input.h"

#include <QIODevice>

#include <cstdint>
#include <deque>
#include <string>

namespace velloran::tools::dxl {

class SplitTextDevice : public QIODevice {
public:
    static constexpr int kRunLength = 64 * 1024;

    // `source` must be open for reading and outlive this device.
    explicit SplitTextDevice(QIODevice& source);

    bool isSequential() const override { return true; }
    // The file's column of `column` on `line`, as the reader counts them.
    std::int64_t fileColumn(std::int64_t line, std::int64_t column) const;
    // The data of the <filedata> whose text begins with `text`, when the
    // device decoded it; `text` then goes on after the stand-in.
    std::optional<SpooledData> takeSpooled(QStringView& text) { return spool_.take(text); }
    // Why the text ended before the file did (an encoding that is unknown,
    // or bytes it cannot read), once the reader has all there is; empty
    // otherwise.
    const std::string& inputError() const { return input_.error(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    enum class State { Content, Open, Bang, Tag, Comment, CData, Instruction, Declaration, FileData };

    // Copies `byte` to `pending_`, first putting a comment before it when
    // the run of text it ends is long enough.
    void pass(char byte);
    qsizetype plainText(const char* bytes, qsizetype size);
    void follow(char byte);
    void followTag(char byte);
    void count(char byte);
    void newLine();
    bool canSplitBefore(unsigned char byte) const;
    void split();
    void insert(const char* text, std::int64_t size);
    // Decodes <filedata> text at the start of `bytes`; returns how many
    // bytes it took. Ends the diversion at anything but base64 and blanks.
    qsizetype divert(const char* bytes, qsizetype size);
    // Hands the reader each line end of the diverted text, as "\n", so
    // that it counts the lines of the file.
    void divertLineEnd(char byte);
    void endDiversion();

    // From `column` on `line` on, the reader's columns are `shift` more
    // than the file's.
    struct Shift {
        std::int64_t line;
        std::int64_t column;
        std::int64_t shift;
    };

    Utf8Input input_;
    FileDataSpool spool_;
    QByteArray pending_;  // filtered bytes not yet handed to the reader
    State state_ = State::Content;
    char quote_ = 0;      // the quote a tag's attribute value is in
    int tail_ = 0;        // the closing characters of a comment, section or instruction seen so far
    int depth_ = 0;       // brackets open in a declaration
    bool inEntity_ = false;
    std::string tag_;     // the name of the tag being read, as far as it goes
    bool inTagName_ = false;
    char previous_ = 0;
    std::int64_t run_ = 0;       // characters of text since the last markup or comment
    std::int64_t line_ = 1;
    std::int64_t column_ = 0;    // the reader's column: UTF-16 units since the line began
    std::int64_t shift_ = 0;     // the reader's column less the file's, on this line
    std::deque<Shift> shifts_;
};

}  // namespace velloran::tools::dxl
