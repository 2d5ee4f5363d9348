// velloran-add-person: adds a person with a password to a directory.
#include "people/AddPersonTool.h"

int main(int argc, char** argv) { return velloran::tools::runAddPerson(argc, argv); }
