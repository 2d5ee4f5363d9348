#include "BatchOptions.h"

#include "BatchFailure.h"

#include "common/CommandLine.h"
#include "common/PasswordInput.h"
#include "run/IntegerText.h"

namespace velloran::batch {

const char* const kBatchUsage = R"(用法: velloran-export --database 路径 --view 视图 --out 文件.xls [--start N]
                      [--format xls|xlsx|csv] [--columns items|view] [--typed]
                      [--exact-name] [--overwrite] [--quiet] [--verbose]
                      [--server 服务器 --user 用户名 --password-file 文件|-]
                      [--log-folder 目录]
      velloran-export --list --database 路径 [--server ...]
      velloran-export --list --server 服务器 --user 用户名 --password-file 文件|-
      velloran-export --help | --version

把一个视图从第N个文档（默认第1个）起到视图末尾的文档导出到工作簿（默认Excel 97-2003），
与程序的"导出数据"命令完全相同：工作簿名为 文件 + "_开始为第" + N + "个文档.xls"
（文件名末尾的".xls"先去掉；格式为 xlsx 或 csv 时换成其扩展名），每行为一个文档，
第一列为文档ID，每个文档的附件和每个RichText域的第一个对象保存在
<文件所在目录>/<视图>附件/<文档ID>/ 下，每一步都追加到当天的日志文件 log<yyyyMMdd>.txt。

  --database 路径       本地数据库文件；与 --server 一起时为数据库在服务器数据
                        目录中的路径（"apps\sales.nsf"）
  --server 服务器       登录此服务器，而不是打开本地文件
  --user 用户名         --server 的用户名
  --password-file 文件  第一行为 --server 密码的文件；"-" 从标准输入读取。
                        密码从不取自命令行。
  --view 视图           要导出的视图（名称或别名）
  --out 文件            工作簿的文件名；所在目录必须存在，不能是目录
  --start N             开始导出的文档序号（默认1）
  --format xls|xlsx|csv 工作簿的格式，即工作簿名的扩展名（默认按 --out 的扩展名：
                        .xlsx 或 .csv 为该格式，其他为 xls）
  --columns items|view  items（默认）：列为开始文档的各个域，单元格为域值；
                        view：列为视图自己的列，单元格为列值，与程序文档列表
                        显示的完全相同
  --typed               数字写为可求和的数字，日期时间写为日期（工作簿中为日期格式，
                        CSV 中为 ISO 8601；只有日期的值为 yyyy-mm-dd，不带时间），
                        而不是文本；1900-03-01 之前的日期仍为文本
  --exact-name          工作簿就以 --out 的名字保存，不加"_开始为第N个文档.xls"；
                        与 --format 一起时 --out 的扩展名须与之相符
  --overwrite           导出完成时替换已有的同名工作簿（新文件写完之前旧文件保持
                        不变）；导出出错或中断时旧文件保留，工作簿另存在旁边
  --quiet               不显示进度
  --verbose             同时在标准错误上显示各组件的诊断信息（英文，供查找故障）
  --log-folder 目录     日志文件的目录（默认 ~/.local/share/velloran/）
  --list                不导出，列出视图（名称、别名、文档数，以制表符分隔）；
                        只有 --server 时列出服务器数据目录中的数据库（路径、标题）

选项也可以写成 --选项=值。注册表文件与程序相同：环境变量 VELLORAN_REGISTRY 指定
的文件，否则 ~/.config/velloran/registry.reg，否则 /etc/velloran/registry.reg
（velloran-setup --data 目录 可以写一个）。
进度和消息写到标准错误；结束时工作簿、附件目录、日志的位置和导出结果写到标准
输出。退出状态：0 全部导出；1 导出失败或有内容未导出（结果说明是什么）；
2 命令行有误；130 被 Ctrl+C 或 SIGTERM 中断（已导出的部分已保存）。
导出中按一次 Ctrl+C，当前文档导出后保存工作簿并退出；再按一次立即退出，
不改动任何已有文件。
)";

namespace {

const std::vector<std::string> kValued = {"database", "server",     "user",   "password-file", "view",
                                          "out",      "start",      "format", "columns",       "log-folder"};
const std::vector<std::string> kFlags = {"list", "exact-name", "overwrite", "quiet", "verbose", "version", "typed"};

QString optionName(const std::string& name) { return QStringLiteral("--") + QString::fromStdString(name); }

// The command line's complaint in the tool's language.
platform::Failure usageFailureOf(const tools::UsageError& error) {
    using Kind = tools::UsageError::Kind;
    const QString option = optionName(error.option());
    const QString value = QString::fromStdString(error.value());
    switch (error.kind()) {
        case Kind::UnexpectedArgument: return usageFailure(QStringLiteral("多余的参数 '%1'").arg(value));
        case Kind::UnknownOption: return usageFailure(QStringLiteral("未知的选项 %1").arg(option));
        case Kind::MissingValue: return usageFailure(QStringLiteral("选项 %1 需要一个值").arg(option));
        case Kind::UnwantedValue: return usageFailure(QStringLiteral("选项 %1 不带值").arg(option));
        case Kind::MissingOption: return usageFailure(QStringLiteral("缺少选项 %1").arg(option));
        case Kind::NotANumber: return usageFailure(QStringLiteral("选项 %1 需要一个整数，而不是 '%2'").arg(option, value));
    }
    return usageFailure(QString::fromUtf8(error.what()));
}

void requireStartNumber(const std::string& start) {
    const std::optional<std::int32_t> number = exporting::parseInteger(QString::fromStdString(start));
    if (!number || *number < 1)
        throw usageFailure(QStringLiteral("--start 需要一个不小于1的整数，而不是 '%1'").arg(QString::fromStdString(start)));
}

exporting::ColumnRule columnRuleNamed(const std::string& name) {
    if (name == "items") return exporting::ColumnRule::Items;
    if (name == "view") return exporting::ColumnRule::View;
    throw usageFailure(QStringLiteral("--columns 只能是 items 或 view，而不是 '%1'").arg(QString::fromStdString(name)));
}

exporting::WorkbookFormat formatNamed(const std::string& name) {
    using exporting::WorkbookFormat;
    for (const WorkbookFormat format : {WorkbookFormat::Xls, WorkbookFormat::Xlsx, WorkbookFormat::Csv})
        if (exporting::extensionOf(format).mid(1) == QString::fromStdString(name)) return format;
    throw usageFailure(QStringLiteral("--format 只能是 xls、xlsx 或 csv，而不是 '%1'").arg(QString::fromStdString(name)));
}

// With --exact-name the workbook keeps the --out name, whose ending is what
// the spreadsheet application saves by: it must be the --format one.
void requireNameOfFormat(const BatchOptions& batch) {
    if (!batch.exactName || !batch.format) return;
    const QString out = QString::fromStdString(batch.workbook);
    if (exporting::formatOfName(out) == *batch.format) return;
    const QString extension = exporting::extensionOf(*batch.format);
    throw usageFailure(QStringLiteral("--exact-name 时工作簿就以 --out 的名字保存，格式由扩展名决定：'%1' 的扩展名与 "
                                      "--format %2 不符（应以 %3 结尾）")
                           .arg(out, extension.mid(1), extension));
}

void refuseWithList(const tools::CommandLine& line) {
    for (const char* name : {"view", "out", "start", "format", "columns", "typed", "log-folder", "exact-name", "overwrite"})
        if (line.has(name)) throw usageFailure(QStringLiteral("选项 %1 不能与 --list 一起使用").arg(optionName(name)));
    if (!line.has("database") && !line.has("server"))
        throw usageFailure(QStringLiteral("--list 需要 --database 或 --server"));
}

void readExport(const tools::CommandLine& line, BatchOptions& batch) {
    batch.database = line.required("database");
    batch.view = line.required("view");
    batch.workbook = line.required("out");
    batch.start = line.optional("start").value_or(batch.start);
    requireStartNumber(batch.start);
    batch.logFolder = line.optional("log-folder");
    batch.exactName = line.has("exact-name");
    batch.overwrite = line.has("overwrite");
    batch.typed = line.has("typed");
    if (const std::optional<std::string> columns = line.optional("columns")) batch.columns = columnRuleNamed(*columns);
    if (const std::optional<std::string> format = line.optional("format")) batch.format = formatNamed(*format);
    requireNameOfFormat(batch);
}

void readLogin(const tools::CommandLine& line, BatchOptions& batch) {
    if (line.has("server")) {
        batch.login.emplace(ServerLogin{line.required("server"), line.required("user"), {}});
        tools::readPassword(line.required("password-file"), batch.login->password);
    } else if (line.has("user") || line.has("password-file")) {
        throw usageFailure(QStringLiteral("--user 和 --password-file 只能与 --server 一起使用"));
    }
}

}  // namespace

BatchOptions parseBatchOptions(int argc, char** argv) {
    BatchOptions batch;
    try {
        const tools::CommandLine line(argc, argv, kValued, kFlags);
        batch.list = line.has("list");
        batch.quiet = line.has("quiet");
        batch.verbose = line.has("verbose");
        if (batch.list) {
            refuseWithList(line);
            batch.database = line.optional("database").value_or(std::string());
        } else {
            readExport(line, batch);
        }
        // Last: the password is asked for only once the rest is known good.
        readLogin(line, batch);
    } catch (const tools::UsageError& error) {
        throw usageFailureOf(error);
    }
    return batch;
}

}  // namespace velloran::batch
