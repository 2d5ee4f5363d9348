// The two entry points of the component library; everything else in the
// library stays hidden.
#include "component/ComponentObject.h"
#include "component/SessionObject.h"
#include "registry/RegistryHive.h"
#include "text/Utf8.h"

#define VELLORAN_EXPORT extern "C" __attribute__((visibility("default")))

VELLORAN_EXPORT velloran::component::Object* VelloranCreateObject(const char* classId) {
    using namespace velloran;
    if (!classId || !notes::text::equalsIgnoringCase(classId, notes::kSessionClassId)) return nullptr;
    return new notes::component::SessionObject(platform::RegistryHive::defaultPath());
}

VELLORAN_EXPORT void VelloranRegisterServer(velloran::component::Registrar& registrar, const char* modulePath) {
    std::string classKey = std::string("SOFTWARE\\Classes\\CLSID\\") + velloran::notes::kSessionClassId;
    registrar.setValue(classKey, "", "Velloran document database session");
    registrar.setValue(classKey + "\\InprocServer32", "", modulePath);
}
