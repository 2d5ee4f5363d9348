#include "formula/Patterns.h"

#include "formula/Syntax.h"
#include "text/Utf8.h"

#include <algorithm>

namespace velloran::notes::formula {

namespace {

// The code point of one UTF-8 sequence; damaged bytes read as themselves.
char32_t codeOf(std::string_view character) {
    auto lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1) return lead;
    char32_t code = lead & (0x7F >> character.size());
    for (std::size_t i = 1; i < character.size(); ++i) code = (code << 6) | (static_cast<unsigned char>(character[i]) & 0x3F);
    return code;
}

std::vector<char32_t> codesOf(std::string_view text) {
    std::vector<char32_t> codes;
    for (std::string_view character : text::characters(text)) codes.push_back(codeOf(character));
    return codes;
}

}  // namespace

bool Pattern::Piece::takes(char32_t c) const {
    if (kind != Kind::Characters) return true;
    bool inside = std::any_of(ranges.begin(), ranges.end(), [c](const Range& r) { return c >= r.first && c <= r.last; });
    return inside != negated;
}

Pattern::Piece Pattern::characterSet(const std::vector<char32_t>& source, std::size_t& at, std::size_t position) {
    Piece piece;
    ++at;  // "{"
    if (at < source.size() && source[at] == '!') {
        piece.negated = true;
        ++at;
    }
    for (; at < source.size() && source[at] != '}'; ++at) {
        if (source[at] == '\\' && at + 1 < source.size()) ++at;
        char32_t first = source[at], last = first;
        if (at + 2 < source.size() && source[at + 1] == '-' && source[at + 2] != '}') {
            last = source[at + 2];
            at += 2;
        }
        piece.ranges.push_back({first, last});
    }
    if (at == source.size()) fail(position, "@Matches: a '{' in the pattern is not closed with '}'");
    ++at;  // "}"
    return piece;
}

Pattern Pattern::matches(std::string_view source, std::size_t position) {
    std::vector<char32_t> codes = codesOf(source);
    Pattern pattern;
    for (std::size_t at = 0; at < codes.size();) {
        bool repeated = codes[at] == '+' && at + 1 < codes.size();
        if (repeated) ++at;
        Piece piece;
        if (codes[at] == '{') piece = characterSet(codes, at, position);
        else if (codes[at] == '?') piece.kind = Piece::Kind::AnyOne, ++at;
        else if (codes[at] == '*') piece.kind = Piece::Kind::AnyRun, ++at;
        else {
            if (codes[at] == '\\' && at + 1 < codes.size()) ++at;
            piece = literal(codes[at++]);
        }
        piece.repeated = repeated || piece.kind == Piece::Kind::AnyRun;
        pattern.stepCost_ += 1 + piece.ranges.size();
        pattern.pieces_.push_back(std::move(piece));
    }
    return pattern;
}

Pattern Pattern::like(std::string_view source, std::string_view escape, std::size_t position) {
    std::vector<char32_t> codes = codesOf(source), escapes = codesOf(escape);
    if (escapes.size() > 1) fail(position, "@Like: the escape must be one character");
    Pattern pattern;
    for (std::size_t at = 0; at < codes.size(); ++at) {
        if (!escapes.empty() && codes[at] == escapes[0] && at + 1 < codes.size()) pattern.pieces_.push_back(literal(codes[++at]));
        else if (codes[at] == '_') pattern.pieces_.push_back({Piece::Kind::AnyOne, {}, false, false});
        else if (codes[at] == '%') pattern.pieces_.push_back({Piece::Kind::AnyRun, {}, false, true});
        else pattern.pieces_.push_back(literal(codes[at]));
    }
    pattern.stepCost_ += 2 * pattern.pieces_.size();
    return pattern;
}

void Pattern::skipOptional(std::vector<bool>& states) const {
    for (std::size_t i = 0; i < pieces_.size(); ++i)
        if (states[i] && pieces_[i].repeated) states[i + 1] = true;
}

bool Pattern::fits(std::string_view text, Budget& budget, std::size_t position) const {
    std::vector<char32_t> codes = codesOf(text);
    budget.spend(codes.size(), stepCost_, position);
    // states[i]: the text read so far fits the first i pieces.
    std::vector<bool> states(pieces_.size() + 1, false), next(states.size());
    states[0] = true;
    skipOptional(states);
    for (char32_t c : codes) {
        std::fill(next.begin(), next.end(), false);
        for (std::size_t i = 0; i < pieces_.size(); ++i)
            if (states[i] && pieces_[i].takes(c)) next[pieces_[i].repeated ? i : i + 1] = true;
        skipOptional(next);
        states.swap(next);
    }
    return states.back();
}

}  // namespace velloran::notes::formula
