#include "component/ComponentRuntime.h"

#include "registry/HiveSearch.h"
#include "registry/RegistryHive.h"

#include <dlfcn.h>
#include <map>
#include <mutex>
#include <unistd.h>

namespace velloran::platform {

namespace {

// Libraries stay loaded for the life of the process: objects they made may
// outlive any one runtime.
void* loadLibrary(const std::string& path) {
    static std::mutex guard;
    static std::map<std::string, void*> loaded;
    std::lock_guard lock(guard);
    if (auto it = loaded.find(path); it != loaded.end()) return it->second;
    if (::access(path.c_str(), F_OK) != 0)
        throw ComponentError("The component file " + path + " does not exist");
    // A name without a folder is taken from the current folder, where its
    // existence was just checked, never from the system's library path.
    std::string loadable = path.find('/') == std::string::npos ? "./" + path : path;
    ::dlerror();
    void* handle = ::dlopen(loadable.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = ::dlerror();
        throw ComponentError("The component file " + path + " cannot be loaded: " +
                             (why ? why : "unknown reason"));
    }
    loaded.emplace(path, handle);
    return handle;
}

void* entryPoint(const std::string& path, const char* symbol) {
    void* handle = loadLibrary(path);
    void* address = ::dlsym(handle, symbol);
    if (!address)
        throw ComponentError("The component file " + path + " is not a component: it has no entry point " +
                             symbol);
    return address;
}

class HiveRegistrar : public component::Registrar {
public:
    explicit HiveRegistrar(RegistryHive& hive) : hive_(hive) {}
    void setValue(const std::string& keyPath, const std::string& name, const std::string& value) override {
        hive_.setString(keyPath, name, value);
    }

private:
    RegistryHive& hive_;
};

// Look-ups read the keys around damaged lines, which start-up reports to
// the user; a rewrite (RegistryHive::update) needs the whole file readable.
RegistryHive loadHive(const std::string& path) {
    try {
        return RegistryHive::loadReadable(path);
    } catch (const HiveError& e) {
        throw ComponentError(e.what());
    }
}

}  // namespace

ComponentRuntime::ComponentRuntime(std::string hivePath) : hivePath_(std::move(hivePath)) {}

std::string ComponentRuntime::inprocServerKey(const std::string& classId) {
    return "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\" + classId + "\\InprocServer32";
}

component::ObjectPtr ComponentRuntime::createObject(const std::string& classId) const {
    RegistryHive hive = loadHive(hivePath_);
    std::string module;
    try {
        module = hive.readString(inprocServerKey(classId), "");
    } catch (const HiveError& e) {
        throw ComponentError("The registration of class " + classId + " is damaged: " + e.what());
    }
    if (!hive.hasKey(inprocServerKey(classId)) || module.empty())
        throw ComponentError("Class " + classId + " is not registered " + hiveAdvice(hivePath_));
    auto create = reinterpret_cast<VelloranCreateObjectFn>(entryPoint(module, VELLORAN_CREATE_OBJECT_SYMBOL));
    component::Object* object = nullptr;
    try {
        object = create(classId.c_str());
    } catch (const std::exception& e) {
        throw ComponentError("Cannot create an object of class " + classId + ": " + e.what());
    }
    if (!object) throw ComponentError("The component file " + module + " does not serve class " + classId);
    return component::ObjectPtr(object);
}

component::ObjectPtr ComponentRuntime::createObjectByProgId(const std::string& progId) const {
    RegistryHive hive = loadHive(hivePath_);
    std::string classId;
    try {
        classId = hive.readString("HKEY_CLASSES_ROOT\\" + progId + "\\CLSID", "");
    } catch (const HiveError& e) {
        throw ComponentError("The registration of " + progId + " is damaged: " + e.what());
    }
    if (classId.empty()) throw ComponentError("No application is registered as " + progId);
    return createObject(classId);
}

void ComponentRuntime::registerServerInto(const std::string& modulePath, RegistryHive& hive) {
    auto registerServer =
        reinterpret_cast<VelloranRegisterServerFn>(entryPoint(modulePath, VELLORAN_REGISTER_SERVER_SYMBOL));
    HiveRegistrar registrar(hive);
    try {
        registerServer(registrar, modulePath.c_str());
    } catch (const std::exception& e) {
        throw ComponentError("Registering " + modulePath + " failed: " + e.what());
    }
}

void ComponentRuntime::registerServer(const std::string& modulePath) const {
    // The library is loaded before the hive is locked: a file that is no
    // component leaves no hive behind.
    entryPoint(modulePath, VELLORAN_REGISTER_SERVER_SYMBOL);
    try {
        RegistryHive::update(hivePath_, [&](RegistryHive& hive) { registerServerInto(modulePath, hive); });
    } catch (const HiveError& e) {
        throw ComponentError("Registering " + modulePath + " failed: " + e.what());
    }
}

}  // namespace velloran::platform
