#pragma once
// The patterns of @Matches and @Like, matched character by character
// (UTF-8) and letter case counting. Matching follows every way through the
// pattern at once, so it takes time proportional to the text's length
// times the pattern's (its pieces and the ranges of its sets), whatever the
// pattern, and pays for it in the evaluation's budget.
//
// @Matches:  ?  any one character       *  any run of characters
//            {abc}  one of a, b, c      {a-z}  one from a to z
//            {!abc} one not among them  +x  any number of x (x a character,
//            ?, or a {} set)            \x  the character x itself
// @Like:     _  any one character       %  any run of characters
//            the escape character makes the next one stand for itself
#include "formula/Limits.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace velloran::notes::formula {

class Pattern {
public:
    static Pattern matches(std::string_view source, std::size_t position);
    static Pattern like(std::string_view source, std::string_view escape, std::size_t position);

    // Whether the whole `text` fits the pattern.
    bool fits(std::string_view text, Budget& budget, std::size_t position) const;

private:
    struct Range {
        char32_t first, last;
    };
    struct Piece {
        enum class Kind { Characters, AnyOne, AnyRun };
        Kind kind = Kind::Characters;
        std::vector<Range> ranges;  // Characters: those it takes
        bool negated = false;       // Characters: it takes all but those
        bool repeated = false;      // taken any number of times, none included
        bool takes(char32_t c) const;
    };

    static Piece literal(char32_t c) { return {Piece::Kind::Characters, {{c, c}}, false, false}; }
    static Piece characterSet(const std::vector<char32_t>& source, std::size_t& at, std::size_t position);
    // The states reachable from `states` without reading a character.
    void skipOptional(std::vector<bool>& states) const;

    std::vector<Piece> pieces_;
    // What reading one character costs: a step per piece and per range.
    std::size_t stepCost_ = 1;
};

}  // namespace velloran::notes::formula
