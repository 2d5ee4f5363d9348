// velloran-setup: writes the registry hive the program and the tools read.
#include "common/CommandLine.h"
#include "setup/Setup.h"

#include <iostream>

namespace {

const char* kUsage = R"(Usage: velloran-setup --data DIR [--server NAME] [--components DIR] [--user]

Writes the registry hive that velloran and the tools read: the server
installation with its data folder DIR (the folder of your .nsf databases)
and its name (default: this host's name), and the registrations of the
components. Run it again to change the data folder or the name.

The hive written is /etc/velloran/registry.reg when run as root, otherwise
~/.config/velloran/registry.reg (also with --user as root); the file named
by the environment variable VELLORAN_REGISTRY when that is set. The program
looks for VELLORAN_REGISTRY, then ~/.config/velloran/registry.reg, then
/etc/velloran/registry.reg. As root, --user writes only into a HOME that
root owns; run it as the user to write that user's hive. No folder below
HOME is followed when it is a symbolic link. Runs at the same time take
turns through the lock file beside the hive (registry.reg.lock).

  --components DIR   the folder of nlsxbe.dll and velloran-excel.so
                     (default: the installed PREFIX/lib/velloran)
)";

}  // namespace

int main(int argc, char** argv) {
    return velloran::tools::runTool("velloran-setup", kUsage, argc, argv, [](int count, char** args) {
        using namespace velloran::tools;
        CommandLine options(count, args, {"data", "server", "components"}, {"user"});
        const SetupOptions setup{options.required("data"), options.optional("server").value_or(""),
                                 options.optional("components").value_or(""), setupHive(options.has("user"))};
        const SetupResult written = writeSetup(setup, [&] {
            std::cerr << "Waiting for another program to finish with the registry file " << setup.hive.path << "\n";
        });
        std::cout << "Registry written: " << setup.hive.path << "\n";
        std::cout << "服务器名: " << written.serverName << "（velloran-export 的 --server 用这个名字）\n";
        for (const std::string& component : written.registered) std::cout << "Registered: " << component << "\n";
        if (written.registered.size() < 2)
            std::cout << "No " << kExcelComponentName << " in the component folder: exporting to workbooks will "
                      << "not work until it is there and velloran-setup runs again\n";
    });
}
