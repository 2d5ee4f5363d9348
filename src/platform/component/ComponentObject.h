#pragma once
// The contract between the component runtime and the component libraries it
// loads. A component library is an ordinary shared object that exports the
// two C entry points declared at the end of this file. Objects cross the
// library boundary as C++ objects: the libraries and the program are built
// by the same compiler against the same standard library, and a loaded
// library stays loaded for the life of the process.
#include <memory>
#include <string>

// Interface classes keep default visibility even inside libraries built with
// hidden symbols, so their type information is shared with the program and
// dynamic_cast works across the library boundary.
#define VELLORAN_INTERFACE __attribute__((visibility("default")))

namespace velloran::component {

// Base of every object that a component library hands out.
class VELLORAN_INTERFACE Object {
public:
    virtual ~Object() = default;
};

using ObjectPtr = std::shared_ptr<Object>;

// Lets a component write the registry entries that describe its classes
// while it is being registered. Key paths are given from the machine root
// (for example "SOFTWARE\\Classes\\CLSID\\{...}\\InprocServer32").
class VELLORAN_INTERFACE Registrar {
public:
    virtual ~Registrar() = default;
    // An empty name sets the key's default value.
    virtual void setValue(const std::string& keyPath, const std::string& name,
                          const std::string& value) = 0;
};

}  // namespace velloran::component

// Creates a new object of the class named by `classId` ("{XXXXXXXX-...}").
// Returns null for a class the library does not implement; throws a
// std::exception with a readable message when the object cannot be made.
using VelloranCreateObjectFn = velloran::component::Object* (*)(const char* classId);

// Writes the library's class registration through `registrar`; `modulePath`
// is the full path under which the library was loaded. Throws a
// std::exception with a readable message on failure.
using VelloranRegisterServerFn = void (*)(velloran::component::Registrar& registrar,
                                          const char* modulePath);

#define VELLORAN_CREATE_OBJECT_SYMBOL "VelloranCreateObject"
#define VELLORAN_REGISTER_SERVER_SYMBOL "VelloranRegisterServer"
