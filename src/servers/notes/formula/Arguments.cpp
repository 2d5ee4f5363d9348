#include "formula/Arguments.h"

namespace velloran::notes::formula {

ValueList argument(Evaluator& ev, const Node& call, std::size_t index) { return ev.evaluate(call.children[index]); }

std::vector<std::string> texts(const ValueList& values, const Node& call) {
    std::vector<std::string> out;
    for (const Value& value : values) {
        auto* text = std::get_if<std::string>(&value);
        if (!text) fail(call.position, call.text + " needs text");
        out.push_back(*text);
    }
    return out;
}

std::vector<std::string> textArgument(Evaluator& ev, const Node& call, std::size_t index) {
    return texts(argument(ev, call, index), call);
}

double numberArgument(Evaluator& ev, const Node& call, std::size_t index) {
    ValueList values = argument(ev, call, index);
    auto* number = std::get_if<double>(&values.front());
    if (!number) fail(call.children[index].position, call.text + " needs a number here");
    return *number;
}

DateTime dateArgument(Evaluator& ev, const Node& call, std::size_t index) {
    ValueList values = argument(ev, call, index);
    auto* moment = std::get_if<DateTime>(&values.front());
    if (!moment) fail(call.children[index].position, call.text + " needs a date-time");
    return *moment;
}

ValueList fromTexts(const std::vector<std::string>& values) {
    ValueList out(values.begin(), values.end());
    if (out.empty()) out.emplace_back(std::string());
    return out;
}

const store::NoteHeader& requireNote(Evaluator& ev, const Node& call) {
    const store::NoteHeader* note = ev.context().note();
    if (!note) fail(call.position, call.text + " needs a document");
    return *note;
}

}  // namespace velloran::notes::formula
