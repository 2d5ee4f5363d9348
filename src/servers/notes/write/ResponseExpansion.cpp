#include "write/ResponseExpansion.h"

#include "formula/Syntax.h"
#include "text/Utf8.h"

#include <algorithm>
#include <unordered_set>

namespace velloran::notes::write {

namespace {

bool calls(const std::vector<formula::Token>& tokens, const char* function) {
    return std::any_of(tokens.begin(), tokens.end(), [&](const formula::Token& token) {
        return token.kind == formula::Token::Kind::Function && token.text == function;
    });
}

}  // namespace

ResponseReach responseReach(const std::string& selection) {
    std::vector<formula::Token> tokens = formula::tokenize(selection);
    if (calls(tokens, "@alldescendants")) return ResponseReach::Descendants;
    return calls(tokens, "@allchildren") ? ResponseReach::Children : ResponseReach::None;
}

std::optional<std::string> parentOf(formula::NoteContext& note) {
    const store::StoredItem* link = note.findItem(store::kParentLinkItem);
    if (!link) return std::nullopt;
    try {
        const ValueList& values = link->values.list();
        auto* unid = values.empty() ? nullptr : std::get_if<std::string>(&values.front());
        return unid ? text::upper(*unid) : std::string();
    } catch (const Failure& e) {
        if (!e.fromEngine()) throw;
        return std::string();
    }
}

void ResponseExpansion::selected(const std::string& unid) { selected_.push_back(text::upper(unid)); }

void ResponseExpansion::candidate(std::size_t index, const std::string& unid, const std::string& parent) {
    if (!parent.empty()) byParent_.emplace(parent, Candidate{index, text::upper(unid)});
}

std::vector<std::size_t> ResponseExpansion::reached() const {
    std::vector<std::size_t> reached;
    if (reach_ == ResponseReach::None) return reached;
    std::unordered_set<std::size_t> taken;
    std::vector<std::string> parents = selected_;
    while (!parents.empty()) {
        std::string parent = std::move(parents.back());
        parents.pop_back();
        auto [first, last] = byParent_.equal_range(parent);
        for (auto it = first; it != last; ++it) {
            if (!taken.insert(it->second.index).second) continue;
            reached.push_back(it->second.index);
            if (reach_ == ResponseReach::Descendants) parents.push_back(it->second.unid);
        }
    }
    return reached;
}

}  // namespace velloran::notes::write
