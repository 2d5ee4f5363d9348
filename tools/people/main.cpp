// velloran-add-person: adds a person with a password to a directory.
#include "common/CommandLine.h"
#include "common/PasswordInput.h"
#include "common/Secrets.h"
#include "people/Person.h"

#include <iostream>

namespace {

const char* kUsage = R"(Usage: velloran-add-person --directory names.nsf --name NAME --password-file FILE|-
                          [--short-name SHORT] [--change-password]

Adds a Person document to the directory database (created when missing),
with an Argon2id hash of the password. NAME is hierarchical, e.g.
"Zhang San/Velloran" or "CN=Zhang San/O=Velloran"; the user logs in with
NAME, its common name ("Zhang San") or SHORT. The password is the first
line of FILE, or of standard input for "-" (asked for without echo on a
terminal); it is never taken from the command line, where every user of
the machine could read it.

With --change-password, the person already in the directory under NAME
(or any name they log in with) gets the new password instead.
)";

}  // namespace

int main(int argc, char** argv) {
    return velloran::tools::runTool("velloran-add-person", kUsage, argc, argv, [](int count, char** args) {
        velloran::tools::CommandLine options(count, args,
                                             {"directory", "name", "password-file", "short-name"}, {"change-password"});
        velloran::tools::PersonEntry person{options.required("name"), options.optional("short-name").value_or(""), {}};
        const velloran::tools::WipedOnExit wiped(person.password);
        velloran::tools::readPassword(options.required("password-file"), person.password);
        if (options.has("change-password")) {
            const std::string name =
                velloran::tools::changePassword(options.required("directory"), person.name, person.password);
            std::cout << "Changed the password of " << name << "\n";
            return;
        }
        velloran::tools::addPerson(options.required("directory"), person);
        std::cout << "Added " << velloran::tools::canonicalName(options.required("name")) << "\n";
    });
}
