// The component library's two entry points: creating the application
// object and registering it in the hive.
#include "ApplicationObjects.h"
#include "Call.h"

#include "api/ExcelServer.h"
#include "component/ComponentObject.h"

#include <string>

#define VELLORAN_EXPORT extern "C" __attribute__((visibility("default")))

VELLORAN_EXPORT velloran::component::Object* VelloranCreateObject(const char* classId) {
    if (!classId || !velloran::excel::sameName(classId, velloran::excel::kApplicationClassId)) return nullptr;
    return new velloran::excel::ApplicationObject();
}

VELLORAN_EXPORT void VelloranRegisterServer(velloran::component::Registrar& registrar, const char* modulePath) {
    using namespace velloran::excel;
    registrar.setValue(std::string("HKEY_CLASSES_ROOT\\").append(kApplicationProgId).append("\\CLSID"), "",
                       kApplicationClassId);
    registrar.setValue(
        std::string("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\").append(kApplicationClassId).append("\\InprocServer32"),
        "", modulePath);
}
