#include "component/SessionObject.h"

#include "access/AccessControl.h"
#include "access/Directory.h"
#include "access/UserNames.h"
#include "component/DatabaseObject.h"
#include "component/DocumentObject.h"
#include "formula/Evaluator.h"
#include "text/Utf8.h"

#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace velloran::notes::component {

namespace {

// The local user is the operating-system account running the program.
std::string localUserName() {
    if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_name && *account->pw_name)
        return account->pw_name;
    return "Local User";
}

OpenDatabasePtr openFile(const std::string& file, bool isDirectory) {
    return std::make_shared<OpenDatabase>(store::openForReading(file), isDirectory);
}

}  // namespace

void SessionObject::Initialize(const std::string&) { userName_ = localUserName(); }

void SessionObject::InitializeUsingNotesUserName(const std::string& userName, const std::string& password) {
    userName_.reset();
    if (text::trimmed(userName).empty()) throw engineFailure(msg::kNoUserName);
    access::Installation installation = access::readInstallation(hivePath_);
    userName_ = access::authenticate(installation.dataPath, userName, password);
}

DatabasePtr SessionObject::GetDatabase(const std::string& server, const std::string& path, bool createOnFail) {
    if (createOnFail) throw engineFailure(msg::kCannotCreateDatabase);
    if (!userName_) throw engineFailure(msg::kNotInitialised);
    if (text::trimmed(server).empty()) {
        if (path.empty()) throw engineFailure(msg::kNoDatabaseFile);
        return std::make_shared<DatabaseObject>(openFile(path, false));
    }
    return openOnServer(server, path);
}

DatabasePtr SessionObject::openOnServer(const std::string& server, const std::string& path) {
    access::Installation installation = access::readInstallation(hivePath_);
    if (!access::isThisServer(server, installation))
        throw engineFailure(msg::kUnknownServer, {server, installation.serverName});
    std::string file = access::serverDatabaseFile(installation, path);
    if (!std::filesystem::exists(file))
        throw engineFailure(msg::kNotOnServer, {path, server});
    OpenDatabasePtr database = openFile(file, access::isDirectoryFile(installation, file));
    if (access::accessLevel(database->views.acl(), *userName_) < store::AccessLevel::Reader)
        throw engineFailure(msg::kNotAuthorised, {access::abbreviatedName(*userName_), path, server});
    return std::make_shared<DatabaseObject>(std::move(database));
}

ValueList SessionObject::Evaluate(const std::string& formula, const DocumentPtr& document) {
    formula::Formula parsed(formula);
    if (!document) {
        formula::NoDocument none;
        return parsed.evaluate(none);
    }
    auto* ours = dynamic_cast<DocumentObject*>(document.get());
    if (!ours) throw engineFailure(msg::kForeignDocument);
    return parsed.evaluate(ours->context());
}

}  // namespace velloran::notes::component
