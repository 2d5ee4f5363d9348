#include "access/AccessControl.h"

#include "access/UserNames.h"
#include "text/Utf8.h"

namespace velloran::notes::access {

store::AccessLevel accessLevel(const std::vector<store::AclEntry>& acl, const std::string& userName) {
    const store::AclEntry* fallback = nullptr;
    for (const store::AclEntry& entry : acl) {
        if (sameName(entry.name, userName)) return entry.level;
        if (text::equalsIgnoringCase(entry.name, "-Default-")) fallback = &entry;
    }
    return fallback ? fallback->level : store::AccessLevel::NoAccess;
}

}  // namespace velloran::notes::access
