// The order in which the program looks for its hive, and the advice given
// when there is none or a class is missing from it.
#include "component/ComponentRuntime.h"
#include "registry/HiveSearch.h"

#include "TempDir.h"

#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

using namespace velloran::platform;
using velloran::testing::TempDir;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        set(value);
    }
    ~ScopedVariable() { set(old_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void set(const std::optional<std::string>& value) {
        if (value) ::setenv(name_, value->c_str(), 1);
        else ::unsetenv(name_);
    }
    const char* name_;
    std::optional<std::string> old_;
};

class HiveSearchTest : public ::testing::Test {
protected:
    std::string userHive() const { return dir.file("home/.config/velloran/registry.reg"); }
    void writeUserHive() const {
        std::filesystem::create_directories(dir.file("home/.config/velloran"));
        dir.write("home/.config/velloran/registry.reg", "REGEDIT4\n");
    }

    TempDir dir;
    ScopedVariable home{"HOME", dir.file("home")};
    ScopedVariable chosen{kHivePathVariable, std::nullopt};
};

}  // namespace

TEST_F(HiveSearchTest, TheUsersHiveComesBeforeTheMachinesAndTheVariableOverridesBoth) {
    EXPECT_THAT(hiveSearchPaths(), ElementsAre(userHive(), "/etc/velloran/registry.reg"));
    EXPECT_EQ(findHive(), kMachineHivePath) << "with no user hive the machine's is used, existing or not";

    writeUserHive();
    EXPECT_EQ(findHive(), userHive());

    // A chosen file is used alone, even when it does not exist yet.
    ScopedVariable other{kHivePathVariable, dir.file("other.reg")};
    EXPECT_THAT(hiveSearchPaths(), ElementsAre(dir.file("other.reg")));
    EXPECT_EQ(findHive(), dir.file("other.reg"));
}

TEST_F(HiveSearchTest, WithoutHomeOnlyTheMachinesHiveIsLookedFor) {
    ScopedVariable noHome{"HOME", std::nullopt};
    EXPECT_EQ(userHivePath(), "");
    EXPECT_THAT(hiveSearchPaths(), ElementsAre(kMachineHivePath));
}

TEST_F(HiveSearchTest, AdviceNamesTheFilesLookedForAndTheSetupCommand) {
    // No hive anywhere of the search order: every file looked for is named.
    const std::string missing = hiveAdvice(userHive());
    EXPECT_THAT(missing, HasSubstr("looked for " + userHive() + ", /etc/velloran/registry.reg"));
    EXPECT_THAT(missing, HasSubstr("velloran-setup --data DATA_FOLDER"));

    // A hive outside the search order that does not exist: that file alone.
    EXPECT_THAT(hiveAdvice(dir.file("elsewhere.reg")), HasSubstr("(looked for " + dir.file("elsewhere.reg") + ")"));

    // An existing hive without the class: that file, and how to register.
    writeUserHive();
    ComponentRuntime runtime(userHive());
    try {
        runtime.createObject("{00000000-0000-0000-0000-000000000002}");
        ADD_FAILURE() << "an unregistered class was created";
    } catch (const Failure& e) {
        EXPECT_EQ(std::string(e.original()), "Class {00000000-0000-0000-0000-000000000002} is not registered in the "
                                             "registry file " + userHive() +
                                                 "; run velloran-setup --data DATA_FOLDER to register the components");
    }
}

// The user never sees a class id: what is missing, where it was looked for,
// and the command that mends it.
TEST_F(HiveSearchTest, AMissingRegistrationTellsTheUserWhatToRunWithoutTheClassId) {
    const std::string classId = "{00000000-0000-0000-0000-000000000002}";
    const auto shown = [&](const std::string& hive) {
        try {
            ComponentRuntime(hive).createObject(classId);
        } catch (const Failure& e) {
            EXPECT_EQ(std::string(e.what()).find(classId), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.original()).find(classId), std::string::npos) << e.original();
            return std::string(e.what());
        }
        ADD_FAILURE() << "an unregistered class was created";
        return std::string();
    };
    EXPECT_EQ(shown(userHive()), "没有找到注册表文件（找过：" + userHive() +
                                     "、/etc/velloran/registry.reg），请先运行 velloran-setup --data 数据目录");
    EXPECT_EQ(shown(dir.file("elsewhere.reg")),
              "没有找到注册表文件（找过：" + dir.file("elsewhere.reg") + "），请先运行 velloran-setup --data 数据目录");
    writeUserHive();
    EXPECT_EQ(shown(userHive()), "注册表文件 " + userHive() +
                                     " 中没有注册所需的组件，请运行 velloran-setup --data 数据目录 注册组件");
}

TEST(UserHiveOwner, RootWritesAUserHiveOnlyIntoAHomeRootOwns) {
    struct Case {
        uid_t process;
        uid_t homeOwner;
        bool allowed;
    };
    const Case cases[] = {
        {0, 0, true},         // root in its own HOME
        {0, 1000, false},     // sudo keeping another user's HOME, or --user there
        {1000, 1000, true},   // a user in their own HOME
        {1000, 1001, true},   // left to the file permissions, which refuse what the user may not do
        {1000, 0, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mayWriteUserHive(c.process, c.homeOwner), c.allowed) << c.process << " in a HOME of " << c.homeOwner;
}
