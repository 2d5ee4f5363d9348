// velloran-nsf-build: builds a database (or adds to one) from JSON.
#include "common/CommandLine.h"
#include "common/IndexReport.h"
#include "common/ToolError.h"
#include "nsfjson/JsonDatabase.h"

#include <iostream>

namespace {

const char* kUsage = R"(用法: velloran-nsf-build --json 文件 --out 数据库.nsf [--verbose]
      velloran-nsf-build --help

按 JSON 描述文件 文件 生成数据库 数据库.nsf，数据库已存在时向其中添加。所有内容
（包括视图索引）在一个事务中写入；任何错误都不写入任何内容，错误信息指出出错的
JSON 路径，例如 "documents[3].items[1].type: 未知的类型 'txt'"。新数据库先在
数据库.nsf 旁的隐藏文件中生成，完整后才改名，只有其所有者可以读取。视图公式无法
判定的文档（公式用完了其计算预算）会列出；这时数据库写入时不含这些文档，退出
状态为 1。

  --json 文件        JSON 描述文件
  --out 数据库.nsf   要生成或添加的数据库
  --verbose          出错时同时显示引擎的原始信息（英文，供查找故障）

JSON 格式（除标有 * 的以外，各键均可省略）：
{
  "title": "Sales",
  "acl": [ {"name": "-Default-", "level": "reader"},
           {"name": "CN=Demo User/O=Velloran", "level": "manager"} ],
      级别: noaccess depositor reader author editor designer manager
      （新数据库没有 "acl" 时，-Default- 为 reader）
  "views": [ { "name"*: "By Customer", "aliases": ["Customers"],
               "selection": "SELECT Form = \"Order\"",   （默认: 所有文档）
               "columns": [ {"title"*: "Customer", "formula"*: "Customer",
                             "sort": "ascending"} ] } ],   （none|ascending|descending）
  "documents": [ {
      "unid": "32 位十六进制数字",                        （默认: 自动生成）
      "created": "2024-01-31T09:30:00Z", "modified": "2024-02-01",
      "items"*: [
        {"name"*: "Subject", "type": "text", "value": "Hello"},
        {"name": "Tags", "values": ["a", "b"]},
        {"name": "Amount", "type": "number", "value": 12.5},
        {"name": "Due", "type": "datetime", "value": "2024-03-01"},
        {"name": "Body", "type": "richtext",
         "paragraphs": [ "text with\ttabs", ["text, then an object ", {"object": "a.png"}] ],
         "objects": [ {"name": "a.png", "file": "images/a.png"} ]} ],
      类型: text number datetime richtext names readers authors noterefs
      "attachments": [ {"name": "a.doc", "file": "files/a.doc"},     （相对于 文件 所在目录）
                       {"name": "b.txt", "base64": "SGVsbG8="},
                       {"name": "c.bin", "size": 1048576} ] } ]   （生成的字节，最多 1 TiB）
}
完整说明见 docs/json-format.md。
)";

}  // namespace

int main(int argc, char** argv) {
    return velloran::tools::runTool("velloran-nsf-build", kUsage, argc, argv, [](int count, char** args) {
        velloran::tools::CommandLine options(count, args, {"json", "out"}, {"verbose"});
        const auto report = velloran::tools::buildFromJsonFile(options.required("json"), options.required("out"));
        velloran::tools::printIndexReport(std::cerr, "velloran-nsf-build", report);
        if (!report.complete())
            throw velloran::tools::toolFailure("已写入 " + options.required("out") + "，但其视图缺少上面列出的文档");
        std::cout << "已写入 " << options.required("out") << "\n";
    });
}
