// A component library serving one automation class whose "Name" property
// answers "test object", for the component runtime tests.
#include "TestComponent.h"

#include "component/Dispatch.h"

#include <stdexcept>
#include <strings.h>

namespace {

using velloran::component::CallKind;
using velloran::component::Variant;

class TestObject : public velloran::component::Dispatch {
public:
    Variant invoke(const std::string& member, CallKind kind, const std::vector<Variant>& args) override {
        if (::strcasecmp(member.c_str(), "Name") != 0 || kind != CallKind::PropertyGet || !args.empty())
            throw std::runtime_error("Unknown member " + member);
        return std::string("test object");
    }
};

}  // namespace

extern "C" velloran::component::Object* VelloranCreateObject(const char* classId) {
    if (std::string(classId) != TEST_COMPONENT_CLASS_ID) return nullptr;
    return new TestObject;
}

extern "C" void VelloranRegisterServer(velloran::component::Registrar& registrar, const char* modulePath) {
    const std::string classKey = std::string("SOFTWARE\\Classes\\CLSID\\") + TEST_COMPONENT_CLASS_ID;
    registrar.setValue(classKey + "\\InprocServer32", "", modulePath);
    registrar.setValue(classKey + "\\ProgID", "", TEST_COMPONENT_PROG_ID);
    registrar.setValue(std::string("SOFTWARE\\Classes\\") + TEST_COMPONENT_PROG_ID + "\\CLSID", "",
                       TEST_COMPONENT_CLASS_ID);
}
