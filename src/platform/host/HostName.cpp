#include "host/HostName.h"

#include <climits>
#include <memory>
#include <netdb.h>
#include <unistd.h>

namespace velloran::platform {

namespace {

std::string plainHostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

std::string canonicalName(const std::string& hostName) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_flags = AI_CANONNAME;
    addrinfo* found = nullptr;
    if (::getaddrinfo(hostName.c_str(), nullptr, &hints, &found) != 0 || !found) return {};
    std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owner(found, &::freeaddrinfo);
    return found->ai_canonname ? found->ai_canonname : "";
}

}  // namespace

std::string upperCaseAsciiLetters(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string localHostName() {
    std::string hostName = plainHostName();
    if (hostName.empty()) return {};
    std::string official = canonicalName(hostName);
    return upperCaseAsciiLetters(official.empty() ? hostName : official);
}

}  // namespace velloran::platform
