#pragma once
// Every message the engine gives, in one place: the Chinese text the user
// sees and the English original kept for diagnostics. "{1}", "{2}", ... stand
// for the arguments; a text may leave out an argument the other one uses
// (technical detail goes to the English only).
#include <exception>
#include <string>
#include <vector>

namespace velloran::notes {

struct Message {
    const char* shown;
    const char* original;
};

// One argument: the same text in both languages, or a reason that carries
// its own two texts (a caught Failure).
struct MessageArg {
    MessageArg(std::string text) : shown(text), original(std::move(text)) {}
    MessageArg(const char* text) : MessageArg(std::string(text)) {}
    MessageArg(const std::exception& reason);

    std::string shown;
    std::string original;
    bool originalSaysMore = false;  // the original holds detail the shown text leaves out
};

struct RenderedMessage {
    std::string shown;
    std::string original;
    // Whether the original tells what the shown text leaves out: an argument
    // only it uses, or the detail of a reason the shown text names.
    bool originalSaysMore = false;
};

RenderedMessage render(const Message& message, const std::vector<MessageArg>& args);

namespace msg {

// Database files.
inline constexpr Message kUnusableDatabase{"数据库文件已损坏或不是本系统的数据库: {1}",
                                           "The file {1} is damaged or is not a database of this system"};
inline constexpr Message kCannotOpen{"无法打开数据库文件: {1}", "Cannot open the database file {1}: {2}"};
inline constexpr Message kDamagedFile{"数据库文件已损坏或不是数据库: {1}",
                                      "The database file {1} is damaged or is not a database ({2})"};
inline constexpr Message kLocked{"数据库文件 {1} 正被其它程序锁定，请稍后再试",
                                 "The database file {1} is locked by another program; try again later"};
inline constexpr Message kChangedWhileReading{
    "数据库文件 {1} 在读取期间被其它程序修改，已读出的内容可能前后不一致，读取已停止；请在修改结束后重新读取",
    "The database file {1} was changed by another program while it was being read; reading stopped, as what was "
    "read could mix two states"};
inline constexpr Message kCannotWrite{"无法写入数据库文件: {1}", "The database file {1} cannot be written: {2}"};
inline constexpr Message kDiskFull{"存放 {1} 的磁盘已满", "The disk holding {1} is full"};
inline constexpr Message kNoMemory{"内存不足，无法处理数据库文件: {1}",
                                   "Not enough memory to work on the database file {1}"};
inline constexpr Message kSqlFailed{"访问数据库文件 {2} 时出错", "Error while {1}, database file {2}: {3}"};
inline constexpr Message kCannotRead{"无法读取数据库文件（没有权限？）: {1}",
                                     "The database file {1} cannot be read (permission denied?)"};
inline constexpr Message kFileMissing{"数据库文件不存在: {1}", "The database file {1} does not exist"};
inline constexpr Message kIsFolder{"{1} 是文件夹，不是数据库文件", "{1} is a folder, not a database file"};
inline constexpr Message kEmptyFile{"文件 {1} 是空的，不含数据库", "The file {1} is empty: it holds no database"};
inline constexpr Message kForeignFile{"文件 {1} 不是本系统的文档数据库",
                                      "The file {1} is not a Velloran document database"};
inline constexpr Message kNewerLayout{
    "数据库 {1} 由更新版本的本系统创建（格式 {2}，本版本最多读取格式 {3}）",
    "The database {1} was made by a newer version of Velloran (layout {2}; this version reads up to {3})"};
inline constexpr Message kNoLayoutVersion{"数据库 {1} 已损坏：缺少格式版本",
                                          "The database {1} is damaged: its layout version is missing"};

// Damaged content.
inline constexpr Message kDamagedValue{"存储的值已损坏", "A stored value is damaged ({1})"};
inline constexpr Message kDamagedItem{"数据库 {3} 中文档 {2} 的域 {1} 的值已损坏",
                                      "The stored value of the item {1} of note {2} in {3} is damaged ({4})"};
inline constexpr Message kDamagedAliases{"数据库 {2} 中视图 {1} 的别名已损坏",
                                         "The stored value of the aliases of view {1} in {2} is damaged ({3})"};
inline constexpr Message kDamagedEntry{"数据库 {2} 中视图索引的第 {1} 项已损坏",
                                       "The stored value of entry {1} of a view index in {2} is damaged ({3})"};
inline constexpr Message kDamagedRichText{"数据库 {1} 中一个文档的多信息文本已损坏",
                                          "The rich text of a document in {1} is damaged"};
inline constexpr Message kDamagedAcl{"数据库 {1} 的访问控制列表已损坏",
                                     "The access control list of {1} is damaged"};
inline constexpr Message kDamagedAttachment{"数据库 {2} 中的附件 {1} 已损坏：其大小与内容不符",
                                            "The attachment {1} in {2} is damaged: its stored size does not match its bytes"};
inline constexpr Message kDamagedViewIndex{"数据库 {2} 中视图 {1} 的索引已损坏",
                                           "The index of view {1} in {2} is damaged"};
inline constexpr Message kViewGone{"数据库 {2} 中的视图 {1} 已被其它程序删除",
                                   "The view {1} in {2} was removed by another program"};
inline constexpr Message kMissingViewDocument{"数据库 {2} 中视图 {1} 列出的文档已不存在",
                                              "The view {1} lists a document that no longer exists in {2}"};

// The installation, the registry and the login.
inline constexpr Message kRegistryUnreadable{"无法读取注册表: {1}", "Cannot read the registry {1}: {2}"};
inline constexpr Message kNoServerInstalled{
    "本机没有安装服务器（注册表 {1}）；请运行 velloran-setup --data 数据目录 建立",
    "No server is installed on this machine (registry {1}); run velloran-setup --data DATA_FOLDER to set one up"};
inline constexpr Message kNoDataPath{"注册表 {1} 中的服务器安装没有数据目录（DataPath）",
                                     "The server installation has no data folder (DataPath) in the registry {1}"};
inline constexpr Message kDataFolderMissing{"数据目录不存在: {1}", "The data folder {1} does not exist"};
inline constexpr Message kDirectoryMissing{"用户目录 {1} 不存在，任何用户都无法登录",
                                           "The user directory {1} does not exist, so no user can log in"};
inline constexpr Message kNoUserName{"没有填写用户名", "No user name was given"};
// One text for an unknown user and a wrong password, so that nobody can
// find out through the login which user names exist.
inline constexpr Message kWrongCredentials{"用户名或密码不正确", "The user name or the password is wrong"};
inline constexpr Message kPasswordLibrary{"密码库无法启动", "The password library cannot start"};
inline constexpr Message kHashNoMemory{"内存不足，无法计算密码的散列值", "Not enough memory to hash the password"};
inline constexpr Message kUnknownServer{"服务器“{1}”未知，本机的服务器是“{2}”",
                                        "The server '{1}' is not known; this machine serves '{2}'"};
inline constexpr Message kNotAuthorised{"用户“{1}”无权打开服务器“{3}”上的数据库“{2}”",
                                        "The user '{1}' is not authorised to open the database '{2}' on server '{3}'"};
inline constexpr Message kNotOnServer{"服务器“{2}”上没有数据库“{1}”",
                                      "The database '{1}' does not exist on server '{2}'"};
inline constexpr Message kPathNotValid{
    "数据库路径“{1}”无效：它必须是数据目录中的文件，各部分以“\\”分隔",
    "The database path '{1}' is not valid: it must name a file inside the data folder, parts joined by \"\\\""};
inline constexpr Message kPathNotRelative{"数据库路径“{1}”必须相对于数据目录",
                                          "The database path '{1}' must be relative to the data folder"};
inline constexpr Message kPathOutside{"数据库路径“{1}”指向数据目录 {2} 之外",
                                      "The database path '{1}' leads outside the data folder {2}"};

// Sessions, databases, views and documents.
inline constexpr Message kCannotCreateDatabase{"会话不能创建数据库，请使用数据工具",
                                               "Databases cannot be created from a session; use the data tools"};
inline constexpr Message kNotInitialised{"会话尚未初始化：请先登录或初始化",
                                         "The session is not initialised: log in or initialise it first"};
inline constexpr Message kNoDatabaseFile{"没有指定数据库文件", "No database file was given"};
inline constexpr Message kForeignDocument{"Evaluate 收到的文档不是本组件创建的",
                                          "Evaluate was given a document that this component did not make"};
inline constexpr Message kNoSuchView{"数据库 {1} 中没有名为“{2}”的视图", "The database {1} has no view named '{2}'"};
inline constexpr Message kNotUniversalId{"“{1}”不是文档的唯一标识（32 位十六进制数字）",
                                         "'{1}' is not a universal ID (32 hexadecimal digits)"};
inline constexpr Message kNoSuchDocument{"数据库 {1} 中没有唯一标识为 {2} 的文档",
                                         "The database {1} has no document with universal ID {2}"};
inline constexpr Message kNoteIdTooLarge{"文档编号 {1} 太大", "The note id {1} is too large"};
inline constexpr Message kViewTooLarge{"视图 {1} 中的文档太多，无法计数",
                                       "The view {1} holds more documents than can be counted here"};
inline constexpr Message kOtherDatabaseDocument{
    "GetNextDocument 收到的文档不属于视图 {1} 所在的数据库",
    "The document given to GetNextDocument does not belong to the database of view {1}"};
inline constexpr Message kNotInView{"文档 {1} 不在视图 {2} 中", "The document {1} is not in view {2}"};
inline constexpr Message kNoDocumentGiven{"GetNextDocument 需要一个文档", "GetNextDocument needs a document"};
inline constexpr Message kNoExtractTarget{"没有指定保存 {1} 的文件名", "No file name was given to extract {1} to"};
// The system's reason stays in the text the user and the export log see:
// it is what tells a full disk from a missing permission.
inline constexpr Message kCannotSave{"无法保存文件: {1}", "{2}"};

// Formulas.
inline constexpr Message kFormula{"公式第 {1} 个字符处有错误", "Formula error at position {1}: {2}"};

// Writing databases (the data tools).
inline constexpr Message kMissingObject{"多信息文本域 {1} 引用的嵌入对象“{2}”没有给出",
                                        "The rich-text item {1} refers to the embedded object '{2}', which is not given"};
inline constexpr Message kSelectionFormula{"视图“{1}”的选择公式: {2}", "View '{1}', selection formula: {2}"};
inline constexpr Message kColumnFormula{"视图“{1}”的列“{2}”: {3}", "View '{1}', column '{2}': {3}"};
inline constexpr Message kCannotCreateFile{"无法创建数据库: {1}", "Cannot create the database {1}: {2}"};
inline constexpr Message kAlreadyWritten{"数据库 {1} 已经写完，请用新的写入器继续添加",
                                         "The database {1} is already written; start a new writer to add to it"};
inline constexpr Message kNoSuchNote{"数据库中没有编号为 {1} 的文档", "The database has no document with note id {1}"};
inline constexpr Message kItemWithoutName{"有一个域没有名字", "An item has no name"};
inline constexpr Message kViewWithoutName{"有一个视图没有名字", "A view has no name"};
inline constexpr Message kCannotRename{"无法把新数据库命名为 {1}", "Cannot give the new database its name {1}: {2}"};
inline constexpr Message kViewPart{"视图“{1}”，{2}: {3}", "View '{1}', {2}: {3}"};
inline constexpr Message kCannotReadSource{"无法读取附件 {2} 的文件 {1}", "Cannot read the file {1} for attachment {2}"};
inline constexpr Message kNegativeSize{"生成的附件 {1} 的大小不能为负数",
                                       "The generated attachment {1} cannot have a negative size"};
inline constexpr Message kSourceReadFailed{"无法读取文件 {1}", "Cannot read the file {1}"};

}  // namespace msg

}  // namespace velloran::notes
