#include "component/ComponentRuntime.h"

#include "registry/HiveSearch.h"
#include "registry/RegistryHive.h"

#include <dlfcn.h>
#include <map>
#include <mutex>
#include <unistd.h>

namespace velloran::platform {

namespace {

// `original`: the same in English, which `saysMore` when it holds a reason
// the text leaves out (the class id is no news to the user).
Failure componentFailure(const std::string& text, const std::string& subject, const std::string& original,
                         bool saysMore = false) {
    return Failure(Failure::Kind::Component, text, {subject, original, 0, saysMore});
}

// The failure of `inner` told as `text`, keeping its reason: the user's
// text of a Failure, which says why, follows `text`.
Failure componentFailure(const std::string& text, const std::string& original, const std::exception& inner) {
    const auto* failure = dynamic_cast<const Failure*>(&inner);
    const std::string shown = failure ? text + "：" + failure->what() : text;
    return Failure(Failure::Kind::Component, shown,
                   {"", original + (failure ? failure->original() : inner.what()), failure ? failure->error() : 0,
                    failure ? failure->originalSaysMore() : true});
}

// Libraries stay loaded for the life of the process: objects they made may
// outlive any one runtime.
void* loadLibrary(const std::string& path) {
    static std::mutex guard;
    static std::map<std::string, void*> loaded;
    std::lock_guard lock(guard);
    if (auto it = loaded.find(path); it != loaded.end()) return it->second;
    if (::access(path.c_str(), F_OK) != 0)
        throw componentFailure("组件文件 " + path + " 不存在", path, "The component file " + path + " does not exist");
    // A name without a folder is taken from the current folder, where its
    // existence was just checked, never from the system's library path.
    std::string loadable = path.find('/') == std::string::npos ? "./" + path : path;
    ::dlerror();
    void* handle = ::dlopen(loadable.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = ::dlerror();
        throw componentFailure("无法加载组件文件 " + path, path,
                               "The component file " + path + " cannot be loaded: " + (why ? why : "unknown reason"),
                               true);
    }
    loaded.emplace(path, handle);
    return handle;
}

void* entryPoint(const std::string& path, const char* symbol) {
    void* handle = loadLibrary(path);
    void* address = ::dlsym(handle, symbol);
    if (!address)
        throw componentFailure("文件 " + path + " 不是本系统的组件", path,
                               "The component file " + path + " is not a component: it has no entry point " + symbol,
                               true);
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
    } catch (const Failure& e) {
        if (!e.is(Failure::Kind::Registry)) throw;
        throw e.retold(Failure::Kind::Component, e.what(), e.subject());
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
    } catch (const Failure& e) {
        if (!e.is(Failure::Kind::Registry)) throw;
        throw componentFailure("注册表文件 " + hivePath_ + " 中组件的注册已损坏",
                               "The registration of class " + classId + " is damaged: ", e);
    }
    if (!hive.hasKey(inprocServerKey(classId)) || module.empty())
        throw componentFailure(missingRegistration(hivePath_), hivePath_,
                               "Class " + classId + " is not registered " + hiveAdvice(hivePath_));
    auto create = reinterpret_cast<VelloranCreateObjectFn>(entryPoint(module, VELLORAN_CREATE_OBJECT_SYMBOL));
    component::Object* object = nullptr;
    try {
        object = create(classId.c_str());
    } catch (const std::exception& e) {
        throw componentFailure("组件 " + module + " 无法创建对象", "Cannot create an object of class " + classId + ": ", e);
    }
    if (!object)
        throw componentFailure("组件文件 " + module + " 不提供所需的对象", module,
                               "The component file " + module + " does not serve class " + classId);
    return component::ObjectPtr(object);
}

component::ObjectPtr ComponentRuntime::createObjectByProgId(const std::string& progId) const {
    RegistryHive hive = loadHive(hivePath_);
    std::string classId;
    try {
        classId = hive.readString("HKEY_CLASSES_ROOT\\" + progId + "\\CLSID", "");
    } catch (const Failure& e) {
        if (!e.is(Failure::Kind::Registry)) throw;
        throw componentFailure("注册表文件 " + hivePath_ + " 中 " + progId + " 的注册已损坏",
                               "The registration of " + progId + " is damaged: ", e);
    }
    if (classId.empty())
        throw componentFailure("没有注册名为 " + progId + " 的程序", progId, "No application is registered as " + progId);
    return createObject(classId);
}

void ComponentRuntime::registerServerInto(const std::string& modulePath, RegistryHive& hive) {
    auto registerServer =
        reinterpret_cast<VelloranRegisterServerFn>(entryPoint(modulePath, VELLORAN_REGISTER_SERVER_SYMBOL));
    HiveRegistrar registrar(hive);
    try {
        registerServer(registrar, modulePath.c_str());
    } catch (const std::exception& e) {
        throw componentFailure("无法注册组件 " + modulePath, "Registering " + modulePath + " failed: ", e);
    }
}

void ComponentRuntime::registerServer(const std::string& modulePath) const {
    // The library is loaded before the hive is locked: a file that is no
    // component leaves no hive behind.
    entryPoint(modulePath, VELLORAN_REGISTER_SERVER_SYMBOL);
    try {
        RegistryHive::update(hivePath_, [&](RegistryHive& hive) { registerServerInto(modulePath, hive); });
    } catch (const Failure& e) {
        if (!e.is(Failure::Kind::Registry)) throw;
        throw componentFailure("无法注册组件 " + modulePath, "Registering " + modulePath + " failed: ", e);
    }
}

}  // namespace velloran::platform
