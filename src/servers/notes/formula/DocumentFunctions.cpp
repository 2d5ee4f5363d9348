// What a document says about itself, its database and the user. The store
// keeps documents without folder membership or view positions; the
// functions that ask for those give the value a document without them has,
// so that formulas written for richer databases still evaluate.
#include "formula/Arguments.h"
#include "formula/FunctionFamilies.h"
#include "formula/Operators.h"

#include <array>

namespace velloran::notes::formula {

namespace {

ValueList empty(Evaluator&, const Node&) { return {std::string()}; }
ValueList no(Evaluator&, const Node&) { return boolean(false); }

// Server and file of the database: "" for both, as for a local database,
// since a formula runs on one document and not on its database.
ValueList databaseName(Evaluator&, const Node&) { return {std::string(), std::string()}; }

// A response names its parent in its link item.
ValueList isResponse(Evaluator& ev, const Node&) {
    return boolean(ev.context().item(store::kParentLinkItem).has_value());
}

// The parent's universal id; "" for a document that is not a response.
ValueList parentId(Evaluator& ev, const Node&) {
    std::optional<ValueList> link = ev.context().item(store::kParentLinkItem);
    auto* unid = link && !link->empty() ? std::get_if<std::string>(&link->front()) : nullptr;
    return {unid ? *unid : std::string()};
}

constexpr auto kDocumentFunctions = std::to_array<FunctionSignature>({
    {"@username", 0, 0, [](Evaluator& ev, const Node&) { return ValueList{ev.context().userName()}; }},
    {"@dbname", 0, 0, databaseName},
    {"@author", 0, 0, [](Evaluator& ev, const Node&) { return ev.context().authors(); }},
    {"@doclength", 0, 0, [](Evaluator& ev, const Node&) { return ValueList{ev.context().documentLength()}; }},
    {"@version", 0, 0, [](Evaluator&, const Node&) { return ValueList{std::string(VELLORAN_VERSION)}; }},
    // A document's number within its view: a formula is evaluated for the
    // document alone, before it has a place in any view.
    {"@docnumber", 0, 0, empty},
    {"@inheriteddocumentuniqueid", 0, 0, parentId},
    {"@isresponsedoc", 0, 0, isResponse},
    // False for every document: in a view's selection they add the
    // responses of the documents the rest of it selects, which the view
    // index does (see ViewIndexer), not the evaluation of one document.
    {"@allchildren", 0, 0, no},
    {"@alldescendants", 0, 0, no},
    // The store keeps no record of the folders that hold a document.
    {"@whichfolders", 0, 0, empty},
});

}  // namespace

std::span<const FunctionSignature> documentFunctions() { return kDocumentFunctions; }

}  // namespace velloran::notes::formula
