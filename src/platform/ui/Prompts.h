#pragma once
// Every message box, question and file or text prompt of the program goes
// through this one service, so that tests can answer them from a script.
#include <QString>

namespace velloran::platform {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel };
enum class MessageAnswer { Ok, Cancel };

struct InputResult {
    bool accepted = false;
    QString text;
};

// The answer of a "save file" dialog.
struct SaveFileChoice {
    // Empty when cancelled; otherwise as typed or picked.
    QString fileName;
    // The pair of the filter chosen when the dialog closed, from 0.
    qsizetype filterIndex = 0;
};

class Prompts {
public:
    virtual ~Prompts() = default;

    // A modal message box; returns the button chosen (closing the box by its
    // frame answers Cancel for OK/Cancel boxes and Ok otherwise).
    virtual MessageAnswer message(const QString& text, const QString& caption, MessageIcon icon,
                                  MessageButtons buttons) = 0;
    // A modal "open file" dialog opening in `folder` (wherever the dialog
    // likes when empty); an empty text when cancelled. `filter` is in the
    // "Description|*.ext" form.
    virtual QString openFileName(const QString& filter, const QString& folder) = 0;
    // A modal "save file" dialog without an overwrite question, opening in
    // `folder` (wherever the dialog likes when empty) with the filter's
    // first pair chosen. The name is returned as typed: adding the chosen
    // pair's extension is the caller's (withFilterExtension).
    virtual SaveFileChoice saveFileName(const QString& filter, const QString& folder) = 0;
    // A modal one-line input box pre-filled with `initial`.
    virtual InputResult input(const QString& caption, const QString& prompt, const QString& initial) = 0;
};

}  // namespace velloran::platform
