// velloran-nsf-generate: generated databases for benchmarks and tests.
#include "common/CommandLine.h"
#include "generate/Generator.h"

#include <climits>
#include <iostream>

namespace {

const char* kUsage = R"(用法: velloran-nsf-generate --out 数据库.nsf [--documents N] [--items M]
                            [--attachment-size 字节数] [--attachment-every K] [--view 视图]
                            [--verbose]
      velloran-nsf-generate --help

在一个事务中写入 N 个文档（默认 1000），每个文档 M 个域（默认 10，至少 3），以及
包含所有文档的视图 视图（默认 "All"）。Field1 为文本，Field2 为数字，Field3 为
日期时间，其余为文本；视图的列为 Subject、Amount 和 Date。给出 --attachment-size
时，每第 K 个文档（默认每个文档）带一个该大小的生成附件。

  --out 数据库.nsf          要写入的数据库
  --documents N             文档数（默认 1000）
  --items M                 每个文档的域数（默认 10，至少 3）
  --attachment-size 字节数  生成附件的大小
  --attachment-every K      每第 K 个文档带附件（默认 1）
  --view 视图               视图名（默认 "All"）
  --verbose                 出错时同时显示引擎的原始信息（英文，供查找故障）
)";

}  // namespace

int main(int argc, char** argv) {
    return velloran::tools::runTool("velloran-nsf-generate", kUsage, argc, argv, [](int count, char** args) {
        velloran::tools::CommandLine options(count, args,
                                             {"out", "documents", "items", "attachment-size", "attachment-every", "view"},
                                             {"verbose"});
        velloran::tools::GenerateOptions generate;
        generate.documents = options.number("documents", generate.documents);
        generate.items = static_cast<int>(options.number("items", generate.items, INT_MAX));
        generate.attachmentSize = options.has("attachment-size") ? options.number("attachment-size", 0) : -1;
        generate.attachmentEvery = options.number("attachment-every", 1);
        generate.viewName = options.optional("view").value_or(generate.viewName);
        velloran::tools::generateDatabase(options.required("out"), generate);
        std::cout << "已写入 " << generate.documents << " 个文档到 " << options.required("out") << "\n";
    });
}
