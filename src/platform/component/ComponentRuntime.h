#pragma once
// Creates component objects from their class ids through the registry hive,
// and registers component libraries into it.
//
// A class id is looked up under
//   HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{id}\InprocServer32
// whose default value is the full path of the library that serves it; a
// programmatic identifier ("Excel.Application") is first turned into a class
// id through HKEY_CLASSES_ROOT\<progid>\CLSID. Libraries are loaded once and
// stay loaded.
#include "component/ComponentObject.h"
#include "errors/Failure.h"

#include <string>

namespace velloran::platform {

class RegistryHive;

class ComponentRuntime {
public:
    // `hivePath`: the registry file to use.
    explicit ComponentRuntime(std::string hivePath);

    const std::string& hivePath() const { return hivePath_; }

    // Throws a Failure (Kind::Component) when the class is not registered, its library is
    // missing or cannot be loaded, or the library cannot make the object.
    component::ObjectPtr createObject(const std::string& classId) const;
    component::ObjectPtr createObjectByProgId(const std::string& progId) const;

    // Loads the library and lets it write its class registration into the
    // hive, which is then saved, all under the hive's lock (see
    // RegistryHive::update). Throws a Failure (Kind::Component) on any failure.
    void registerServer(const std::string& modulePath) const;
    // The same into `hive`, which the caller saves: for a caller that makes
    // several changes in one update.
    static void registerServerInto(const std::string& modulePath, RegistryHive& hive);

    static std::string inprocServerKey(const std::string& classId);

private:
    std::string hivePath_;
};

}  // namespace velloran::platform
