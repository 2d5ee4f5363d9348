#pragma once
// velloran-add-person's command line: adds a person with a password to a
// directory, or gives one already there a new password.
namespace velloran::tools {

// Runs the tool on its arguments and returns its exit status.
int runAddPerson(int argc, char** argv);

}  // namespace velloran::tools
