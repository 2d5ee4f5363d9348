#pragma once
#include <string>

namespace velloran::platform {

// The official (canonical) name of this machine as the resolver gives it,
// upper-cased; the plain host name upper-cased when it does not resolve;
// empty only when the machine has no name at all.
std::string localHostName();

// Upper-cases the letters a to z only; every other byte (digits, signs,
// the bytes of non-ASCII characters) stays as it is.
std::string upperCaseAsciiLetters(std::string text);

}  // namespace velloran::platform
