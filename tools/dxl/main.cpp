// velloran-dxl-import: builds a database from XML exports of a database or
// of single notes.
#include "common/CommandLine.h"
#include "common/FailurePrint.h"
#include "dxl/ImportCommand.h"
#include "files/LiveTemporaries.h"

#include <iostream>

namespace {

const char* kUsage = R"(用法: velloran-dxl-import --xml 文件|文件夹 [--xml ...] --out 数据库.nsf [--overwrite]
                          [--verbose]
      velloran-dxl-import --help

用 XML 导出文件生成数据库 数据库.nsf。每个 --xml 为一个 XML 文件，或一个文件夹
（按文件名顺序读取其中的 *.xml 文件，不读子文件夹）；--xml 可以给出多次，所有
文件都导入同一个数据库。

文件的根元素可以是
  <database>   整个数据库
  <document>   一个文档（文档格式）
  <note>       一个笔记格式的笔记；class='document' 的按文档读取，其表单和
               答复链接即为其域
  <view>、<folder>
               一个视图或文件夹
  <acl>        数据库的访问控制列表
  <form>、<subform>、<page>、<agent>、<scriptlibrary>、<sharedfield>、
  <helpaboutdocument> 等设计笔记，这些都跳过
数据库的标题取 <database> 元素给出的标题，否则取第一个文件或文件夹的名字。

导入的内容：文档及其域（文档的表单和答复文档的父文档成为其 Form 和 $REF 域），
RichText 展平为文本及其嵌入对象，附件；视图和文件夹及其选择公式和列；访问控制
列表。本程序无法计算其公式的视图保留公式，但不列出任何文档；文件夹导入为空，
因为导出文件没有说明其中有哪些文档；这两种都会列出。其他设计笔记（表单、代理
……）和非文档的笔记格式笔记跳过，按类别计数。没有名字的视图，或与之前的视图
同名的视图，以另取的名字导入并列出。收到的邮件的信头域（RFC 822 文本）成为其
文本，MIME 各部分成为正文的文本和附件。每个文件按其声明或标记的编码读取
（UTF-8、UTF-16、GB18030、Big5 ……）。从不读取外部实体，只报告对它们的引用。
文件以流方式读取，大小不限。

  --overwrite  替换已有的 数据库.nsf：新数据库在其旁边生成，完整后才取代它。
               不加此选项时，已有的 数据库.nsf 在读取任何内容之前即被拒绝。
  --verbose    出错时同时显示引擎的原始信息（英文，供查找故障）

结束时列出已导入、已跳过和无法读取的内容，然后是数据库的位置。退出状态：
0 全部导入；1 有部分丢失或无法读取（数据库中为其余内容，摘要列出缺少的部分），
或出错（错误信息指出 XML 的文件、行和列，不留下数据库，也不改动已有的数据库）；
2 命令行有误。
)";

}  // namespace

int main(int argc, char** argv) {
    if (velloran::tools::printedHelpOrVersion("velloran-dxl-import", kUsage, argc, argv, std::cout)) return 0;
    try {
        // A signal that ends the import first removes the database it was building.
        velloran::platform::removeTemporariesOnTermination();
    } catch (const std::exception& e) {
        velloran::tools::printFailure(std::cerr, "velloran-dxl-import", e, velloran::tools::asksForVerbose(argc, argv));
        return velloran::tools::kFailedStatus;
    }
    return velloran::tools::dxl::runImport(argc, argv, std::cout, std::cerr);
}
