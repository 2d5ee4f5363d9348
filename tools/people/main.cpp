// velloran-add-person: adds a person with a password to a directory.
#include "common/CommandLine.h"
#include "people/Person.h"

#include <iostream>

namespace {

const char* kUsage = R"(Usage: velloran-add-person --directory names.nsf --name NAME --password PASSWORD
                          [--short-name SHORT]

Adds a Person document to the directory database (created when missing),
with an Argon2id hash of the password. NAME is hierarchical, e.g.
"Zhang San/Velloran" or "CN=Zhang San/O=Velloran"; the user logs in with
NAME, its common name ("Zhang San") or SHORT.
)";

}  // namespace

int main(int argc, char** argv) {
    return velloran::tools::runTool("velloran-add-person", kUsage, argc, argv, [](int count, char** args) {
        velloran::tools::CommandLine options(count, args, {"directory", "name", "password", "short-name"});
        velloran::tools::addPerson(options.required("directory"),
                                   {options.required("name"), options.optional("short-name").value_or(""),
                                    options.required("password")});
        std::cout << "Added " << velloran::tools::canonicalName(options.required("name")) << "\n";
    });
}
