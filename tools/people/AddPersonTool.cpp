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

const char* kUsage = R"(Usage: velloran-add-person --directory names.nsf --name NAME --password-file FILE|-
                          [--short-name SHORT] [--change-password]

Adds a Person document to the directory database, the names.nsf that
logins read (created when missing; another database is refused), with an
Argon2id hash of the password. NAME is hierarchical, e.g.
"Zhang San/Velloran" or "CN=Zhang San/O=Velloran"; the user logs in with
NAME, its common name ("Zhang San") or SHORT. The password is the first
line of FILE, or of standard input for "-" (asked for twice without echo
on a terminal); it is never taken from the command line, where every user
of the machine could read it, and never empty.

With --change-password, the person already in the directory under NAME
(or any name they log in with) gets the new password instead.
)";

}  // namespace

namespace velloran::tools {

namespace {

void addOrChange(int count, char** args) {
    if (!keepOutOfCoreDumps())
        throw systemFailure("无法禁止进程的核心转储（密码可能被写入其中）", "cannot keep the password out of core dumps", errno);
    CommandLine options(count, args, {"directory", "name", "password-file", "short-name"}, {"change-password"});
    const std::string directory = options.required("directory");
    PersonEntry person{options.required("name"), options.optional("short-name").value_or(""), {}};
    const WipedOnExit wiped(person.password);
    readNewPassword(options.required("password-file"), person.password);
    if (options.has("change-password")) {
        std::cout << "Changed the password of " << changePassword(directory, person.name, person.password) << "\n";
        return;
    }
    if (addPerson(directory, person)) std::cout << "Created the directory " << directory << "\n";
    std::cout << "Added " << canonicalName(person.name) << "\n";
}

}  // namespace

int runAddPerson(int argc, char** argv) { return runTool("velloran-add-person", kUsage, argc, argv, addOrChange); }

}  // namespace velloran::tools
