// Parse and evaluation times of formulas of about 100 KB and 1 MB. Both
// grow linearly with the formula, so each line's ratio should stay near 10.
// Usage: velloran-formula-bench
#include "formula/Evaluator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

using namespace velloran::notes;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsOf(const std::function<void()>& work) {
    auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// head, then part repeated to about `bytes`, then tail.
std::string repeated(const char* head, const std::string& part, std::size_t bytes, const char* tail = "") {
    std::string out = head;
    while (out.size() < bytes) out += part;
    return out.append(tail);
}

struct Shape {
    const char* name;
    std::function<std::string(std::size_t bytes)> formula;
};

// A text of n "a" and a text of n/2 "a" then "b": a naive search compares
// about n*n/4 characters.
std::string containsFormula(std::size_t bytes) {
    std::string a(bytes / 2, 'a'), b(bytes / 4, 'a');
    return "@Contains(\"" + a + "\"; \"" + b + "b\")";
}

std::string uniqueFormula(std::size_t bytes) {
    std::string source = "@Elements(@Unique(0";
    for (std::size_t i = 1; source.size() < bytes; ++i) source.append(1, ':').append(std::to_string(i));
    return source + "))";
}

// A formula refused with an error counts with the time it took to refuse it.
double timed(const std::string& source, bool evaluate) {
    return millisecondsOf([&] {
        try {
            formula::Formula formula(source);
            formula::NoDocument none;
            if (evaluate) formula.evaluate(none);
        } catch (const std::exception&) {
        }
    });
}

}  // namespace

int main() {
    const Shape shapes[] = {
        {"sum 1+1+...", [](std::size_t n) { return repeated("1", "+1", n); }},
        {"list 1:1:...", [](std::size_t n) { return repeated("@Elements(1", ":1", n, ")"); }},
        {"text \"世界\"+...", [](std::size_t n) { return repeated("\"\"", "+\"世界\"", n); }},
        {"statements", [](std::size_t n) { return repeated("x := 0;", "x := x + 1;", n, "x"); }},
        {"nesting error", [](std::size_t n) { return repeated("", "(", n); }},
        {"@Contains", containsFormula},
        {"@Unique", uniqueFormula},
    };
    std::printf("%-18s %12s %12s %12s %12s %7s\n", "formula", "parse 100K", "parse 1M", "run 100K", "run 1M", "ratio");
    for (const Shape& shape : shapes) {
        std::string small = shape.formula(100'000), large = shape.formula(1'000'000);
        double parseSmall = timed(small, false), parseLarge = timed(large, false);
        double runSmall = timed(small, true), runLarge = timed(large, true);
        double ratio = runLarge / std::max(runSmall, 1e-3);
        std::printf("%-18s %10.1fms %10.1fms %10.1fms %10.1fms %7.1f\n", shape.name, parseSmall, parseLarge, runSmall,
                    runLarge, ratio);
    }
}
