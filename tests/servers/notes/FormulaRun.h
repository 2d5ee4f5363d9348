#pragma once
// Evaluating a formula's text against a fresh test document, and the error
// it ends with, for the formula tests.
#include "ReadWholeDatabase.h"
#include "formula/Evaluator.h"

#include <string>

namespace velloran::notes::formula::testing {

template <class Document>
ValueList run(const std::string& source) {
    Document document;
    return Formula(source).evaluate(document);
}

// The error's English original, which gives the detail, or "no error".
template <class Document>
std::string errorOf(const std::string& source) {
    try {
        run<Document>(source);
    } catch (const std::exception& e) {
        return velloran::testing::originalText(e);
    }
    return "no error";
}

}  // namespace velloran::notes::formula::testing
