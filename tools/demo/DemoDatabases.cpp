#include "demo/DemoDatabases.h"

#include "demo/DemoInstallation.h"
#include "demo/DemoItems.h"
#include "people/Person.h"
#include "write/DatabaseWriter.h"

#include <array>
#include <filesystem>
#include <fstream>

namespace velloran::tools {

namespace {

namespace fs = std::filesystem;
using namespace notes;
using namespace demo;
using write::NoteInput;
using write::ViewInput;

constexpr std::int64_t kBaseTime = 1'704'103'200'000;  // 2024-01-01 10:00 UTC
constexpr std::int64_t kHour = 3'600'000;
constexpr std::int64_t kDay = 24 * kHour;

NoteInput note(std::int64_t index, std::vector<ItemInput> items) {
    std::int64_t created = kBaseTime + index * 7 * kHour;
    return {{}, created, created + 2 * kHour, std::move(items), {}};
}

store::ViewColumn column(std::string title, std::string formula, store::SortOrder sort = store::SortOrder::None) {
    return {std::move(title), std::move(formula), sort};
}

const std::array<const char*, 8> kCustomers = {"Acme Trading", "Blue River Foods", "Crescent Tools", "Delta Freight",
                                               "Evergreen Books", "Fulton Bakery", "Granite Works", "Harbor Optics"};

std::vector<write::ObjectInput> invoiceObjects(std::int64_t order, int count) {
    std::vector<write::ObjectInput> objects;
    for (int i = 1; i <= count; ++i)
        objects.push_back(textFile("sketch" + std::to_string(i) + "-" + std::to_string(order) + ".txt",
                                   "Sketch " + std::to_string(i) + " for order " + std::to_string(order) + "\n"));
    return objects;
}

NoteInput orderNote(std::int64_t i) {
    std::int64_t number = 10001 + i;
    std::string customer = kCustomers[static_cast<std::size_t>(i) % kCustomers.size()];
    NoteInput order = note(i, {textItem("Form", "Order"), numberItem("OrderNo", static_cast<double>(number)),
                               textItem("Customer", customer), numberItem("Amount", 125.5 + static_cast<double>(i * 37 % 900)),
                               dateItem("OrderDate", kBaseTime + i * kDay),
                               dateItem("Due", kBaseTime + (i + 30) * kDay - 10 * kHour, false),
                               textsItem("Tags", {i % 2 ? "priority" : "standard", i % 3 ? "domestic" : "export"})});
    int objects = i % 25 == 0 ? 3 : i % 5 == 0 ? 1 : 0;
    order.items.push_back(richTextItem(
        "Body",
        {"Order " + std::to_string(number) + " for " + customer + ".",
         "Item\tQuantity\tPrice", "Bolts\t" + std::to_string(10 + i % 7) + "\t0.25",
         "Delivery is expected within thirty days of the order date; please call the sales office if the goods "
         "have not arrived by then."},
        invoiceObjects(number, objects)));
    if (i % 10 == 0)
        order.attachments = {textFile("invoice-" + std::to_string(number) + ".txt", "Invoice for order " + std::to_string(number) + "\n"),
                             textFile("terms.txt", "Payment within 30 days.\n")};
    return order;
}

void writeSales(const fs::path& file) {
    write::DatabaseWriter writer(file.string());
    writer.setTitle("Sales Orders");
    writer.setAcl({{"-Default-", store::AccessLevel::Reader}, {kDemoUserName, store::AccessLevel::Manager}});
    const std::string orders = "SELECT Form = \"Order\"";
    writer.addView({"Orders", {"OrdersByNumber"}, orders,
                    {column("Order", "OrderNo", store::SortOrder::Ascending), column("Customer", "Customer"),
                     column("Amount", "Amount"), column("Date", "OrderDate")}});
    writer.addView({"By Customer", {"Customers"}, orders,
                    {column("Customer", "Customer", store::SortOrder::Ascending),
                     column("Amount", "Amount", store::SortOrder::Descending), column("Order", "OrderNo")}});
    writer.addView({"With Attachments", {}, "SELECT @Attachments > 0",
                    {column("Order", "OrderNo"), column("Files", "@Implode(@AttachmentNames; \", \")")}});
    writer.addView({"($All)", {}, "SELECT @All", {column("Universal ID", "@DocumentUniqueID")}});
    writer.addView({"$Lookup", {"Lookup"}, orders, {column("Key", "@LowerCase(Customer)", store::SortOrder::Ascending)}});
    writer.addView({"Cancelled Orders", {}, "SELECT Form = \"Cancelled\"", {column("Order", "OrderNo")}});
    for (std::int64_t i = 0; i < 250; ++i) writer.addNote(orderNote(i));
    writer.commit();
}

const std::array<const char*, 6> kCities = {"北京", "上海", "广州", "深圳", "杭州", "成都"};
const std::array<const char*, 10> kSurnames = {"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴"};
const std::array<const char*, 5> kTrades = {"贸易", "科技", "食品", "物流", "建材"};

NoteInput customerNote(std::int64_t i) {
    std::string city = kCities[static_cast<std::size_t>(i) % kCities.size()];
    std::string surname = kSurnames[static_cast<std::size_t>(i / 3) % kSurnames.size()];
    std::string trade = kTrades[static_cast<std::size_t>(i / 7) % kTrades.size()];
    std::string name = city + surname + "氏" + trade + "有限公司" + std::to_string(i + 1) + "号";
    return note(i, {textItem("Form", "客户"), textItem("客户名称", name), textItem("城市", city),
                    textItem("电话", "010-" + std::to_string(60000000 + i * 7919 % 9999999)),
                    textsItem("联系人", {surname + "经理", surname + "助理"}),
                    numberItem("年营业额", static_cast<double>(100 + i * 13 % 5000)),
                    dateItem("建档日期", kBaseTime + (i % 365) * kDay, false),
                    richTextItem("备注", {"客户编号\t" + std::to_string(i + 1), "所在城市：" + city + "。主营" + trade + "业务。"})});
}

void writeCustomers(const fs::path& file) {
    write::DatabaseWriter writer(file.string());
    writer.setTitle("客户管理");
    const std::string customers = "SELECT Form = \"客户\"";
    writer.addView({"所有客户", {"AllCustomers"}, customers,
                    {column("客户名称", "客户名称"), column("城市", "城市"), column("电话", "电话"),
                     column("年营业额", "年营业额")}});
    writer.addView({"按城市", {"ByCity"}, customers,
                    {column("城市", "城市", store::SortOrder::Ascending), column("客户名称", "客户名称", store::SortOrder::Ascending)}});
    writer.addView({"(全部文档)", {}, "SELECT @All", {column("文档ID", "@DocumentUniqueID")}});
    writer.addView({"联系人$查找", {}, customers, {column("联系人", "联系人")}});
    for (std::int64_t i = 0; i < 2600; ++i) writer.addNote(customerNote(i));
    writer.commit();
}

void writeKnowledge(const fs::path& file) {
    write::DatabaseWriter writer(file.string());
    writer.setTitle("Knowledge Base 知识库");
    writer.addView({"Articles", {"文章"}, "SELECT Form = \"Article\"",
                    {column("Title", "Title", store::SortOrder::Ascending), column("Objects", "Objects")}});
    const std::string longText =
        "This paragraph is long on purpose: it runs well past eighty characters so that the formatted text of "
        "the item is wrapped into several lines, and it ends with averyveryverylongwordthatcannotbewrappedatall"
        "andmustbecutintopiecesbecauseitislongerthanalineofeightycharacters.";
    for (int objects : {0, 1, 3}) {
        std::vector<write::ObjectInput> files;
        for (int j = 1; j <= objects; ++j) files.push_back(textFile("figure" + std::to_string(j) + ".txt", "Figure " + std::to_string(j) + "\n"));
        writer.addNote(note(objects, {textItem("Form", "Article"),
                                      textItem("Title", "Article with " + std::to_string(objects) + " embedded object(s)"),
                                      numberItem("Objects", objects),
                                      richTextItem("Body", {"标题\t说明", "第一段：中文内容。", longText}, files)}));
    }
    writer.commit();
}

void writeArchive(const fs::path& file, const std::string& title, int count) {
    write::DatabaseWriter writer(file.string());
    writer.setTitle(title);
    writer.addView({"Documents", {}, "SELECT @All", {column("Subject", "Subject"), column("Created", "@Created")}});
    writer.addView({"Empty", {}, "SELECT @False", {column("Subject", "Subject")}});
    for (int i = 0; i < count; ++i)
        writer.addNote(note(i, {textItem("Subject", title + " note " + std::to_string(i + 1)), numberItem("Year", 2023)}));
    writer.commit();
}

void writeRestricted(const fs::path& file) {
    write::DatabaseWriter writer(file.string());
    writer.setTitle("Payroll (restricted)");
    writer.setAcl({{"-Default-", store::AccessLevel::NoAccess}, {"Finance Admin/Velloran", store::AccessLevel::Manager}});
    writer.addView({"Payroll", {}, "SELECT @All", {column("Name", "Name")}});
    writer.addNote(note(0, {textItem("Name", "Finance Admin")}));
    writer.commit();
}

// The directory: the engine reads it for logins. Other users have no access;
// the demo user may read it, and sees the people without their password
// hashes, which the engine never shows.
void writeDirectory(const fs::path& file) {
    addPerson(file.string(), {kDemoUserName, kDemoShortName, kDemoPassword});
    write::DatabaseWriter writer(file.string());
    writer.setAcl({{"-Default-", store::AccessLevel::NoAccess}, {kDemoUserName, store::AccessLevel::Reader}});
    writer.commit();
}

}  // namespace

void writeDemoDatabases(const std::string& dataFolder) {
    fs::path data = dataFolder;
    for (const char* folder : {"apps", "apps/docs", "archive/2023", "empty"}) fs::create_directories(data / folder);
    writeDirectory(data / "names.nsf");
    writeSales(data / "sales.nsf");
    writeRestricted(data / "payroll.nsf");
    writeCustomers(data / "apps" / "客户管理.nsf");
    writeKnowledge(data / "apps" / "docs" / "knowledge.nsf");
    writeArchive(data / "archive" / "2023" / "orders2023.nsf", "Orders 2023", 20);
    writeArchive(data / "archive" / "reportsnsf", "Reports", 5);
    std::ofstream(data / "readme.txt") << "Sample data of the Velloran demo installation.\n";
}

}  // namespace velloran::tools
