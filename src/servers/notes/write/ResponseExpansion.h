#pragma once
// The responses a view's selection adds with @AllChildren or
// @AllDescendants: the responses (or all descendants) of the documents the
// rest of the selection picks. The view index meets every document once, in
// note order, so a response can come before its parent: the ones left out
// are kept as candidates and the links followed once the pass is over.
#include "formula/NoteContext.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace velloran::notes::write {

enum class ResponseReach { None, Children, Descendants };

// What the selection formula asks for; None when it names neither function.
ResponseReach responseReach(const std::string& selection);

// The universal id a response names as its parent, upper case; an empty
// text when its link cannot be read, nothing for a document that is not a
// response.
std::optional<std::string> parentOf(formula::NoteContext& note);

class ResponseExpansion {
public:
    explicit ResponseExpansion(ResponseReach reach) : reach_(reach) {}

    void selected(const std::string& unid);
    // A response the selection left out, known to the caller by `index`.
    void candidate(std::size_t index, const std::string& unid, const std::string& parent);
    // The candidates the view adds, each once, in no particular order;
    // links that loop end where they come back.
    std::vector<std::size_t> reached() const;

private:
    struct Candidate {
        std::size_t index;
        std::string unid;
    };
    ResponseReach reach_;
    std::vector<std::string> selected_;
    std::unordered_multimap<std::string, Candidate> byParent_;
};

}  // namespace velloran::notes::write
