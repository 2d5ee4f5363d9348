#include "messages/Catalogue.h"

#include "errors/Failure.h"

namespace velloran::notes {

namespace {

// The text with each "{n}" replaced by the n-th argument as `pick` gives it;
// `used` gains the index of each argument filled in.
template <typename Pick>
std::string fill(const char* text, const std::vector<MessageArg>& args, Pick pick, std::vector<bool>& used) {
    std::string out;
    for (const char* c = text; *c; ++c) {
        bool placeholder = c[0] == '{' && c[1] >= '1' && c[1] <= '9' && c[2] == '}';
        std::size_t index = placeholder ? static_cast<std::size_t>(c[1] - '1') : 0;
        if (placeholder && index < args.size()) {
            out += pick(args[index]);
            used[index] = true;
            c += 2;
        } else {
            out += *c;
        }
    }
    return out;
}

}  // namespace

MessageArg::MessageArg(const std::exception& reason) : shown(reason.what()), original(platform::originalOf(reason)) {
    if (const auto* failure = dynamic_cast<const platform::Failure*>(&reason))
        originalSaysMore = failure->originalSaysMore();
}

RenderedMessage render(const Message& message, const std::vector<MessageArg>& args) {
    std::vector<bool> inShown(args.size()), inOriginal(args.size());
    RenderedMessage text{
        fill(message.shown, args, [](const MessageArg& arg) -> const std::string& { return arg.shown; }, inShown),
        fill(message.original, args, [](const MessageArg& arg) -> const std::string& { return arg.original; },
             inOriginal)};
    for (std::size_t i = 0; i < args.size(); ++i)
        if ((inOriginal[i] && !inShown[i] && !args[i].original.empty()) || (inShown[i] && args[i].originalSaysMore))
            text.originalSaysMore = true;
    return text;
}

}  // namespace velloran::notes
