#include "component/ComponentRuntime.h"
#include "component/Dispatch.h"
#include "registry/RegistryHive.h"

#include "TempDir.h"
#include "TestComponent.h"

#include <gmock/gmock.h>

#include <fstream>

#include <unistd.h>

using velloran::component::CallKind;
using velloran::component::Dispatch;
using velloran::platform::Failure;
using velloran::platform::ComponentRuntime;
using velloran::platform::RegistryHive;
using velloran::testing::TempDir;
using ::testing::AllOf;
using ::testing::HasSubstr;

namespace {

class ComponentRuntimeTest : public ::testing::Test {
protected:
    // A hive whose test class is served by `modulePath`.
    std::string hiveServedBy(const std::string& modulePath) {
        RegistryHive hive;
        hive.setString(ComponentRuntime::inprocServerKey(TEST_COMPONENT_CLASS_ID), "", modulePath);
        hive.saveAs(dir.file("hive.reg"));
        return hive.path();
    }

    // The message of the Failure that `action` throws, and its original.
    template <typename Action>
    static std::string failureOf(Action action, bool original = false) {
        try {
            action();
        } catch (const Failure& e) {
            EXPECT_TRUE(e.is(Failure::Kind::Component)) << e.what();
            return original ? e.original() : e.what();
        }
        ADD_FAILURE() << "expected a Failure";
        return {};
    }

    static std::string nameOf(const velloran::component::ObjectPtr& object) {
        auto dispatch = std::dynamic_pointer_cast<Dispatch>(object);
        if (!dispatch) return "(not a dispatch object)";
        return std::get<std::string>(dispatch->invoke("name", CallKind::PropertyGet, {}));
    }

    TempDir dir;
};

}  // namespace

TEST_F(ComponentRuntimeTest, RegistrationWritesTheClassKeysAndObjectsCanThenBeCreated) {
    ComponentRuntime runtime(dir.file("hive.reg"));
    runtime.registerServer(TEST_COMPONENT_PATH);

    RegistryHive hive = RegistryHive::load(dir.file("hive.reg"));
    EXPECT_EQ(hive.readString(ComponentRuntime::inprocServerKey(TEST_COMPONENT_CLASS_ID), ""), TEST_COMPONENT_PATH);
    EXPECT_EQ(nameOf(runtime.createObject(TEST_COMPONENT_CLASS_ID)), "test object");
    EXPECT_EQ(nameOf(runtime.createObjectByProgId(TEST_COMPONENT_PROG_ID)), "test object");
}

TEST_F(ComponentRuntimeTest, CreationFailuresNameTheirCause) {
    ComponentRuntime runtime(hiveServedBy(TEST_COMPONENT_PATH));
    const auto unregistered = [&] { runtime.createObject("{00000000-0000-0000-0000-000000000001}"); };
    EXPECT_EQ(failureOf(unregistered), "注册表文件 " + dir.file("hive.reg") +
                                           " 中没有注册所需的组件，请运行 velloran-setup --data 数据目录 注册组件");
    EXPECT_EQ(failureOf(unregistered, true),
              "Class {00000000-0000-0000-0000-000000000001} is not registered in the registry file " +
                  dir.file("hive.reg") + "; run velloran-setup --data DATA_FOLDER to register the components");
    EXPECT_EQ(failureOf([&] { runtime.createObjectByProgId("Nothing.Here"); }), "没有注册名为 Nothing.Here 的程序");

    const struct {
        std::string module;
        const char* shown;
        const char* original;
    } modules[] = {
        {dir.file("missing.so"), "不存在", "does not exist"},
        {dir.write("text.so", "just some text\n"), "无法加载组件文件", "cannot be loaded"},
        {NOT_A_COMPONENT_PATH, "不是本系统的组件", "has no entry point VelloranCreateObject"},
    };
    for (const auto& c : modules) {
        ComponentRuntime served(hiveServedBy(c.module));
        const auto create = [&] { served.createObject(TEST_COMPONENT_CLASS_ID); };
        EXPECT_THAT(failureOf(create), AllOf(HasSubstr(c.module), HasSubstr(c.shown)));
        EXPECT_THAT(failureOf(create, true), AllOf(HasSubstr(c.module), HasSubstr(c.original)));
    }
}

TEST_F(ComponentRuntimeTest, ALibraryAskedForAClassItDoesNotServeSaysSo) {
    RegistryHive hive;
    hive.setString(ComponentRuntime::inprocServerKey("{OTHER}"), "", TEST_COMPONENT_PATH);
    hive.saveAs(dir.file("hive.reg"));
    EXPECT_EQ(failureOf([&] { ComponentRuntime(hive.path()).createObject("{OTHER}"); }),
              std::string("组件文件 ") + TEST_COMPONENT_PATH + " 不提供所需的对象");
}

TEST_F(ComponentRuntimeTest, RegisteringSomethingThatIsNotAComponentFails) {
    ComponentRuntime runtime(dir.file("hive.reg"));
    std::string message = failureOf([&] { runtime.registerServer(NOT_A_COMPONENT_PATH); }, true);
    EXPECT_NE(message.find("has no entry point VelloranRegisterServer"), std::string::npos) << message;
    EXPECT_FALSE(std::filesystem::exists(dir.file("hive.reg"))) << "nothing registered";
}

TEST_F(ComponentRuntimeTest, ADamagedHiveServesTheKeysThatCanBeReadButIsNotRewritten) {
    const std::string path = hiveServedBy(TEST_COMPONENT_PATH);
    {
        std::ofstream damage(path, std::ios::app);
        damage << "[HKLM\\A\n";
    }
    ComponentRuntime runtime(path);
    EXPECT_TRUE(runtime.createObject(TEST_COMPONENT_CLASS_ID));
    std::string message = failureOf([&] { runtime.registerServer(TEST_COMPONENT_PATH); }, true);
    EXPECT_NE(message.find("is damaged"), std::string::npos) << message;
}

TEST_F(ComponentRuntimeTest, AFileNameWithoutFolderIsLoadedFromTheCurrentFolder) {
    // A text file in the current folder carries the name of a system library:
    // the runtime must load the file it found, not the system's library.
    dir.write("libm.so.6", "not a library\n");
    ComponentRuntime runtime(hiveServedBy("libm.so.6"));
    std::string previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    std::string message = failureOf([&] { runtime.createObject(TEST_COMPONENT_CLASS_ID); }, true);
    std::filesystem::current_path(previous);
    EXPECT_NE(message.find("cannot be loaded"), std::string::npos) << message;
}
