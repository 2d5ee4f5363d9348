#include "component/DatabaseObject.h"

#include "component/DocumentObject.h"
#include "component/ViewObject.h"
#include "text/Utf8.h"

#include <algorithm>
#include <cctype>

namespace velloran::notes::component {

namespace {

bool namesView(const store::ViewDesign& view, std::string_view wanted) {
    auto matches = [&](const std::string& name) { return text::equalsIgnoringCase(text::trimmed(name), wanted); };
    return matches(view.name) || std::any_of(view.aliases.begin(), view.aliases.end(), matches);
}

bool isUniversalId(const std::string& text) {
    return text.size() == 32 && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c); });
}

}  // namespace

DatabaseObject::DatabaseObject(OpenDatabasePtr database)
    : database_(std::move(database)), title_(database_->notes.title()), views_(database_->views.views()) {}

StringList DatabaseObject::Views() {
    StringList names;
    for (const store::ViewDesign& view : views_) names.push_back(view.name);
    return names;
}

ViewPtr DatabaseObject::GetView(const std::string& name) {
    std::string_view wanted = text::trimmed(name);
    for (const store::ViewDesign& view : views_)
        if (namesView(view, wanted)) return std::make_shared<ViewObject>(database_, view);
    throw engineFailure(msg::kNoSuchView, {FilePath(), name});
}

DocumentPtr DatabaseObject::GetDocumentByUNID(const std::string& universalId) {
    if (!isUniversalId(universalId))
        throw engineFailure(msg::kNotUniversalId, {universalId});
    std::optional<store::NoteHeader> header = database_->notes.headerByUnid(universalId);
    if (!header) throw engineFailure(msg::kNoSuchDocument, {FilePath(), universalId});
    return std::make_shared<DocumentObject>(database_, std::move(*header));
}

}  // namespace velloran::notes::component
