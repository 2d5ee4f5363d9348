#pragma once
// The access control list of a database, applied to a logged-in user.
#include "store/Records.h"

#include <string>
#include <vector>

namespace velloran::notes::access {

// The user's level: the entry naming the user (in any name form), else the
// "-Default-" entry, else no access.
store::AccessLevel accessLevel(const std::vector<store::AclEntry>& acl, const std::string& userName);

}  // namespace velloran::notes::access
