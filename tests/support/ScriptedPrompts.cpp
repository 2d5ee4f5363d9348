#include "ScriptedPrompts.h"

namespace velloran::testing {

namespace {

template <typename T>
T takeOr(std::deque<T>& queue, T fallback) {
    if (queue.empty()) return fallback;
    T next = std::move(queue.front());
    queue.pop_front();
    return next;
}

}  // namespace

std::vector<PromptCall> ScriptedPrompts::messages() const {
    std::vector<PromptCall> found;
    for (const PromptCall& call : calls_)
        if (call.kind == PromptCall::Kind::Message) found.push_back(call);
    return found;
}

MessageAnswer ScriptedPrompts::message(const QString& text, const QString& caption, MessageIcon icon,
                                       MessageButtons buttons) {
    PromptCall call;
    call.text = text;
    call.caption = caption;
    call.icon = icon;
    call.buttons = buttons;
    calls_.push_back(call);
    MessageAnswer safe = buttons == MessageButtons::OkCancel ? MessageAnswer::Cancel : MessageAnswer::Ok;
    return takeOr(messageAnswers_, safe);
}

void ScriptedPrompts::recordFileDialog(PromptCall::Kind kind, const QString& filter, const QString& folder) {
    PromptCall call;
    call.kind = kind;
    call.filter = filter;
    call.folder = folder;
    calls_.push_back(call);
}

QString ScriptedPrompts::openFileName(const QString& filter, const QString& folder) {
    recordFileDialog(PromptCall::Kind::OpenFile, filter, folder);
    return takeOr(openFileNames_, QString());
}

SaveFileChoice ScriptedPrompts::saveFileName(const QString& filter, const QString& folder) {
    recordFileDialog(PromptCall::Kind::SaveFile, filter, folder);
    return takeOr(saveChoices_, SaveFileChoice{});
}

InputResult ScriptedPrompts::input(const QString& caption, const QString& prompt, const QString& initial) {
    PromptCall call;
    call.kind = PromptCall::Kind::Input;
    call.caption = caption;
    call.prompt = prompt;
    call.initial = initial;
    calls_.push_back(call);
    InputResult answer = takeOr(inputs_, InputResult{false, {}});
    if (!answer.accepted) answer.text = initial;
    return answer;
}

}  // namespace velloran::testing
