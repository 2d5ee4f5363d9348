#include "ReadWholeDatabase.h"

#include <functional>

namespace velloran::testing {

namespace {

std::string errorOf(notes::component::SessionObject& session, const std::string& path,
                    const std::function<std::string(const std::exception&)>& text) {
    try {
        notes::DatabasePtr database = session.GetDatabase("", path, false);
        for (const std::string& name : database->Views()) {
            notes::ViewPtr view = database->GetView(name);
            for (int i = 1; i <= view->AllEntriesCount(); ++i) view->GetNthDocument(i)->Items();
        }
    } catch (const std::exception& e) {
        return text(e);
    }
    return "no error";
}

}  // namespace

std::string errorOfReadingAll(notes::component::SessionObject& session, const std::string& path) {
    return errorOf(session, path, [](const std::exception& e) { return std::string(e.what()); });
}

std::string originalErrorOfReadingAll(notes::component::SessionObject& session, const std::string& path) {
    return errorOf(session, path, originalText);
}

std::string originalText(const std::exception& error) {
    const auto* failure = dynamic_cast<const platform::Failure*>(&error);
    return failure ? failure->original() : error.what();
}

}  // namespace velloran::testing
