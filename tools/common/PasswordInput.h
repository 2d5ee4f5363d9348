#pragma once
// Passwords for the tools come from a file or standard input, never from
// the command line, where every user of the machine could read them.
#include <string>

namespace velloran::tools {

// Reads the first line of the file `source` ("-": standard input) into
// `password`, without a CR at its end. When standard input is a terminal,
// it prompts on standard error and does not show what is typed. The text is
// read a byte at a time into room reserved up front, so no other buffer
// keeps a copy. Throws a tool Failure naming the source.
void readPassword(const std::string& source, std::string& password);

// Reads a password to be set, as readPassword does, but refuses an empty
// one; on a terminal it asks twice and refuses when the two differ.
void readNewPassword(const std::string& source, std::string& password);

}  // namespace velloran::tools
