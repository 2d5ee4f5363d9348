#pragma once
// Prompts for tests: every call is recorded in order and answered from
// queues that the test fills beforehand. A call with nothing queued for it
// gets the answer that does the least: OK for a plain message, Cancel for
// an OK/Cancel question, no file name, and an input that was not accepted.
// Nothing ever waits for a person.
#include "ui/Prompts.h"

#include <deque>
#include <vector>

namespace velloran::testing {

using platform::InputResult;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using platform::SaveFileChoice;

struct PromptCall {
    enum class Kind { Message, OpenFile, SaveFile, Input };
    Kind kind = Kind::Message;
    QString text;     // message text
    QString caption;  // message or input caption
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    QString filter;   // file dialogs
    QString folder;   // file dialogs: the folder they open in
    QString prompt;   // input
    QString initial;  // input
};

class ScriptedPrompts : public platform::Prompts {
public:
    // Answers for the next calls of each kind, used in the order queued.
    void answerMessage(MessageAnswer answer) { messageAnswers_.push_back(answer); }
    void answerOpenFile(const QString& fileName) { openFileNames_.push_back(fileName); }
    // The name as typed, and the filter pair chosen (from 0).
    void answerSaveFile(const QString& fileName, qsizetype filterIndex = 0) {
        saveChoices_.push_back({fileName, filterIndex});
    }
    void answerInput(const QString& text) { inputs_.push_back({true, text}); }
    void cancelInput() { inputs_.push_back({false, {}}); }

    const std::vector<PromptCall>& calls() const { return calls_; }
    // The message calls only, in order.
    std::vector<PromptCall> messages() const;
    void clear() { calls_.clear(); }

    MessageAnswer message(const QString& text, const QString& caption, MessageIcon icon,
                          MessageButtons buttons) override;
    QString openFileName(const QString& filter, const QString& folder) override;
    SaveFileChoice saveFileName(const QString& filter, const QString& folder) override;
    InputResult input(const QString& caption, const QString& prompt, const QString& initial) override;

private:
    void recordFileDialog(PromptCall::Kind kind, const QString& filter, const QString& folder = {});

    std::vector<PromptCall> calls_;
    std::deque<MessageAnswer> messageAnswers_;
    std::deque<QString> openFileNames_;
    std::deque<SaveFileChoice> saveChoices_;
    std::deque<InputResult> inputs_;
};

}  // namespace velloran::testing
