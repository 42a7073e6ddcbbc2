// Host facts off Windows: there is no Windows to describe; root counts as administrator.
#include <unistd.h>

#include "host/Various_utils.h"

namespace orvalis {

std::string GetWindowsVersionText() {
    return "Unknown";
}

bool IsWow64() {
    return false;
}

bool IsAdminUser() {
    return geteuid() == 0;
}

}  // namespace orvalis
