// velloran-make-demo: makes the demo installation.
#include "common/CommandLine.h"
#include "demo/DemoInstallation.h"

#include <iostream>

namespace {

const char* kUsage = R"(用法: velloran-make-demo --out 目录 --notes-component 文件 [--excel-component 文件]
                         [--verbose]
      velloran-make-demo --help

在 目录 中生成演示安装（替换其中已有的演示安装；其他非空目录一律拒绝）：
  目录/registry.reg        注册表文件（用 VELLORAN_REGISTRY=目录/registry.reg
                           启动程序）
  目录/Notes/              Notes 程序目录
  目录/Domino/nlsxbe.dll   文档数据库组件
  目录/Excel/文件          电子表格组件（给出时）
  目录/Domino/Data/        嵌套目录中的示例数据库
服务器名: VelloranDemo/Velloran。演示用户: "Demo User/Velloran"（或 "demo"），
密码 Velloran2024。

  --out 目录                 演示安装的目录
  --notes-component 文件     文档数据库组件（nlsxbe.dll）
  --excel-component 文件     电子表格组件
  --verbose                  出错时同时显示引擎的原始信息（英文，供查找故障）
)";

}  // namespace

int main(int argc, char** argv) {
    return velloran::tools::runTool("velloran-make-demo", kUsage, argc, argv, [](int count, char** args) {
        velloran::tools::CommandLine options(count, args, {"out", "notes-component", "excel-component"}, {"verbose"});
        velloran::tools::makeDemo({options.required("out"), options.required("notes-component"),
                                   options.optional("excel-component")});
        std::cout << "演示安装已生成: " << options.required("out") << "\n";
    });
}
