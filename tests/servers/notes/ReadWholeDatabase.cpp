#include "ReadWholeDatabase.h"

#include <exception>

namespace velloran::testing {

std::string errorOfReadingAll(notes::component::SessionObject& session, const std::string& path) {
    try {
        notes::DatabasePtr database = session.GetDatabase("", path, false);
        for (const std::string& name : database->Views()) {
            notes::ViewPtr view = database->GetView(name);
            for (int i = 1; i <= view->AllEntriesCount(); ++i) view->GetNthDocument(i)->Items();
        }
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace velloran::testing
