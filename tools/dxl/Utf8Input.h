#pragma once
// The XML file as UTF-8, whatever encoding it is in, for the splitting
// device: it puts its markers between UTF-8 characters, and in any other
// encoding they would land inside a character.
// The encoding is found as an XML reader finds it: a byte order mark or the
// first "<" in UTF-16 or UTF-32; otherwise the encoding the XML declaration
// names; otherwise UTF-8. UTF-8 goes through as it is; any other encoding
// is decoded and written again as UTF-8 as the file streams by. The
// declaration's encoding is blanked out, so that the reader takes the text
// for UTF-8 with every line and column where it was: columns count UTF-16
// units, which the same characters take in any encoding.
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringDecoder>

#include <optional>
#include <string>

namespace velloran::tools::dxl {

class Utf8Input {
public:
    // `source` must be open for reading and outlive this.
    explicit Utf8Input(QIODevice& source) : source_(source) {}

    // The next text of the file as UTF-8, from up to `size` bytes of it.
    // Empty when the source has nothing yet, at the end of the file, and
    // once the text has stopped early (see error()).
    QByteArray read(qint64 size);
    bool atEnd() const;
    // Why the text stopped before the end of the file: an encoding that is
    // unknown, or bytes that its encoding cannot read. The text then ends
    // where the trouble begins. Empty otherwise.
    const std::string& error() const { return error_; }

private:
    enum class State { Start, Passing, Transcoding, Stopped };

    // Reads the start of the file, finds its encoding and blanks out the
    // declaration's; returns the first text.
    QByteArray begin();
    // The encoding of a file with no byte order mark: the declaration's.
    void useDeclaredEncoding();
    QByteArray nextTranscoded(qint64 size);
    QByteArray transcode(QByteArrayView bytes);
    void stopAtInvalidText();
    void stop(std::string error);

    QIODevice& source_;
    State state_ = State::Start;
    QByteArray head_;  // the start of the file, until its encoding is known
    std::optional<QStringDecoder> decoder_;
    QString carried_;  // the first half of a surrogate pair whose second half is still to come
    std::string error_;
};

}  // namespace velloran::tools::dxl
