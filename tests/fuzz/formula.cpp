// The formula lexer, parser and evaluator. The input is a formula's source.
// A formula either parses or is refused with an error; one that parses is
// evaluated without a document and against a small document held in
// memory, where it gives a value or fails with an error, never a crash.
#include "formula/Evaluator.h"
#include "support/FuzzInput.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>

namespace {

using namespace velloran::notes;
using velloran::notes::formula::Context;
using velloran::notes::formula::Formula;
using velloran::notes::formula::NoDocument;
namespace fuzz = velloran::fuzz;

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// A document of a few items of every kind and two attachments.
class SmallDocument : public Context {
public:
    std::optional<ValueList> item(const std::string& name) override {
        auto found = items_.find(lowerCase(name));
        if (found == items_.end()) return std::nullopt;
        return found->second;
    }
    const store::NoteHeader* note() override { return &header_; }
    std::vector<store::StoredObject> attachments() override { return {{1, "报价单.pdf", 2048}, {2, "a.txt", 0}}; }

private:
    std::map<std::string, ValueList> items_{
        {"form", {std::string("Order")}},
        {"customer", {std::string("  客户 Acme ")}},
        {"tags", {std::string("a"), std::string("b"), std::string("c")}},
        {"amount", {99.5}},
        {"counts", {1.0, -2.0, 1e300}},
        {"due", {DateTime{1'704'067'200'000, false}}},
        {"seen", {DateTime{-62'135'596'800'000, true}, DateTime{253'402'300'799'000, true}}},
    };
    store::NoteHeader header_{8, "00112233445566778899AABBCCDDEEFF", 1'706'693'400'000, 1'706'779'800'000};
};

void evaluate(const Formula& formula, Context& context) {
    try {
        formula.evaluate(context);
        formula.selects(context);
    } catch (const Failure&) {
        // a formula that cannot be evaluated for this document says why
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::optional<Formula> formula;
    try {
        formula.emplace(fuzz::asText(data, size));
    } catch (const Failure&) {
        return 0;
    }
    NoDocument nothing;
    evaluate(*formula, nothing);
    SmallDocument document;
    evaluate(*formula, document);
    return 0;
}
