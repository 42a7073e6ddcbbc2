#include "host/U_UnicodeUtils.h"

namespace orvalis {

std::wstring ExtendedLengthPath(const std::wstring& path) {
    if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') {
        return L"\\\\?\\UNC\\" + path.substr(2);
    }
    return L"\\\\?\\" + path;
}

bool IsDriveDesignation(const std::wstring& path) {
    return (path.size() == 2 && path[1] == L':') ||
           (path.size() == 3 && path[1] == L':' && path[2] == L'\\');
}

}  // namespace orvalis
