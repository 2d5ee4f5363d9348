#include "people/AddPersonTool.h"

#include "common/CommandLine.h"
#include "common/PasswordInput.h"
#include "common/Secrets.h"
#include "common/ToolError.h"
#include "people/Person.h"

#include <cerrno>
#include <cstring>
#include <iostream>

namespace {

const char* kUsage = R"(用法: velloran-add-person --directory names.nsf --name 姓名 --password-file 文件|-
                          [--short-name 简称] [--change-password] [--verbose]
      velloran-add-person --help

在目录数据库（登录时读取的 names.nsf；没有时创建，其他数据库一律拒绝）中添加
一个人员文档，带有密码的 Argon2id 散列值。姓名为层次名，例如 "Zhang San/Velloran"
或 "CN=Zhang San/O=Velloran"；用户可以用姓名、其通用名（"Zhang San"）或简称登录。
密码为 文件 的第一行，"-" 时为标准输入的第一行（在终端上不回显地输入两次）；密码
从不取自命令行（本机的每个用户都能看到命令行），也不能为空。

  --directory names.nsf  目录数据库
  --name 姓名            人员的层次名
  --password-file 文件   第一行为密码的文件；"-" 从标准输入读取
  --short-name 简称      也可用于登录的简称
  --change-password      不添加人员，而是为目录中已有的该人员（用其任何一个登录名
                         均可）设置新密码
  --verbose              出错时同时显示引擎的原始信息（英文，供查找故障）
)";

}  // namespace

namespace velloran::tools {

namespace {

void addOrChange(int count, char** args) {
    if (!keepOutOfCoreDumps())
        throw systemFailure("无法禁止进程的核心转储，密码可能落入其中", "cannot keep the password out of core dumps", errno);
    CommandLine options(count, args, {"directory", "name", "password-file", "short-name"}, {"change-password", "verbose"});
    const std::string directory = options.required("directory");
    PersonEntry person{options.required("name"), options.optional("short-name").value_or(""), {}};
    const WipedOnExit wiped(person.password);
    readNewPassword(options.required("password-file"), person.password);
    if (options.has("change-password")) {
        std::cout << "已更改密码: " << changePassword(directory, person.name, person.password) << "\n";
        return;
    }
    if (addPerson(directory, person)) std::cout << "已创建目录数据库 " << directory << "\n";
    std::cout << "已添加 " << canonicalName(person.name) << "\n";
}

}  // namespace

int runAddPerson(int argc, char** argv) { return runTool("velloran-add-person", kUsage, argc, argv, addOrChange); }

}  // namespace velloran::tools
