// velloran-setup: writes the registry hive the program and the tools read.
#include "common/CommandLine.h"
#include "setup/Setup.h"

#include <iostream>

namespace {

const char* kUsage = R"(用法: velloran-setup --data 数据目录 [--server 服务器] [--components 目录] [--user]
                     [--verbose]
      velloran-setup --help

写入 velloran 和各工具读取的注册表文件：服务器安装及其数据目录（存放 .nsf 数据库
的目录）和服务器名（默认为本机的主机名），以及各组件的注册信息。要更改数据目录或
服务器名，再运行一次即可。

以 root 运行时写入 /etc/velloran/registry.reg，否则（以及 root 加 --user 时）写入
~/.config/velloran/registry.reg；设置了环境变量 VELLORAN_REGISTRY 时写入它指定
的文件。程序依次查找 VELLORAN_REGISTRY、~/.config/velloran/registry.reg、
/etc/velloran/registry.reg。root 加 --user 时只写入 root 自己拥有的 HOME；要写
某个用户的注册表文件，请以该用户身份运行。HOME 下的目录是符号链接时不跟随。
同时运行的几个 velloran-setup 通过注册表文件旁的锁文件（registry.reg.lock）
依次进行。

  --data 数据目录     数据库所在的目录
  --server 服务器     服务器名（velloran-export --server 用的名字）
  --components 目录   nlsxbe.dll 和 velloran-excel.so 所在的目录
                      （默认为安装位置 PREFIX/lib/velloran）
  --user              写入 ~/.config/velloran/registry.reg（以 root 运行时也如此）
  --verbose           出错时同时显示原始信息（英文，供查找故障）
)";

}  // namespace

int main(int argc, char** argv) {
    return velloran::tools::runTool("velloran-setup", kUsage, argc, argv, [](int count, char** args) {
        using namespace velloran::tools;
        CommandLine options(count, args, {"data", "server", "components"}, {"user", "verbose"});
        const SetupOptions setup{options.required("data"), options.optional("server").value_or(""),
                                 options.optional("components").value_or(""), setupHive(options.has("user"))};
        const SetupResult written = writeSetup(setup, [&] {
            std::cerr << "正在等待另一个程序用完注册表文件 " << setup.hive.path << "\n";
        });
        std::cout << "已写入注册表文件: " << setup.hive.path << "\n";
        std::cout << "服务器名: " << written.serverName << "（velloran-export 的 --server 用这个名字）\n";
        for (const std::string& component : written.registered) std::cout << "已注册组件: " << component << "\n";
        if (written.registered.size() < 2)
            std::cout << "组件目录中没有 " << kExcelComponentName << "：放入该文件并再次运行 velloran-setup "
                      << "之前，无法导出到工作簿\n";
    });
}
