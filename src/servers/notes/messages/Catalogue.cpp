#include "messages/Catalogue.h"

#include "errors/Failure.h"

namespace velloran::notes {

namespace {

// The text with each "{n}" replaced by the n-th argument as `pick` gives it.
template <typename Pick>
std::string fill(const char* text, const std::vector<MessageArg>& args, Pick pick) {
    std::string out;
    for (const char* c = text; *c; ++c) {
        bool placeholder = c[0] == '{' && c[1] >= '1' && c[1] <= '9' && c[2] == '}';
        std::size_t index = placeholder ? static_cast<std::size_t>(c[1] - '1') : 0;
        if (placeholder && index < args.size()) {
            out += pick(args[index]);
            c += 2;
        } else {
            out += *c;
        }
    }
    return out;
}

}  // namespace

MessageArg::MessageArg(const std::exception& reason) : shown(reason.what()), original(platform::originalOf(reason)) {}

RenderedMessage render(const Message& message, const std::vector<MessageArg>& args) {
    return {fill(message.shown, args, [](const MessageArg& arg) -> const std::string& { return arg.shown; }),
            fill(message.original, args, [](const MessageArg& arg) -> const std::string& { return arg.original; })};
}

}  // namespace velloran::notes
