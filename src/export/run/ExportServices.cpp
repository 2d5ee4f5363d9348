#include "run/ExportServices.h"

#include "errors/ErrorReport.h"

namespace velloran::exporting {

void ExportServices::message(const QString& text) const {
    prompts.message(text, platform::kApplicationTitle, platform::MessageIcon::None, platform::MessageButtons::Ok);
}

}  // namespace velloran::exporting
