#include <windows.h>

#include "host/U_UnicodeUtils.h"
#include "host/ansi_text.h"
#include "host/win_handles_win.h"

namespace orvalis {
namespace {

bool wideApisAvailable = false;

// The first entry a search on path finds, on the chosen route; false when none starts.
bool FindFirstAttributes(const std::wstring& path, DWORD* attributes) {
    if (wideApisAvailable) {
        WIN32_FIND_DATAW found{};
        UniqueFindHandle search(FindFirstFileW(path.c_str(), &found));
        if (!search.Valid()) return false;
        *attributes = found.dwFileAttributes;
        return true;
    }
    WIN32_FIND_DATAA found{};
    UniqueFindHandle search(FindFirstFileA(WideToAnsi(path).c_str(), &found));
    if (!search.Valid()) return false;
    *attributes = found.dwFileAttributes;
    return true;
}

}  // namespace

bool ProbeWideApis() {
    char buffer[1024];
    const UINT length = GetWindowsDirectoryA(buffer, sizeof(buffer));
    std::string pattern(buffer, length < sizeof(buffer) ? length : 0);
    if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
    pattern += "*.*";
    WIN32_FIND_DATAW found{};
    UniqueFindHandle search(FindFirstFileW(AnsiToWide(pattern).c_str(), &found));
    wideApisAvailable = search.Valid();
    return wideApisAvailable;
}

bool WideApisAvailable() {
    return wideApisAvailable;
}

void SetWideApisAvailable(bool available) {
    wideApisAvailable = available;
}

bool WideFileExists(const std::wstring& path) {
    DWORD attributes = 0;
    return FindFirstAttributes(path, &attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool WideDirectoryExists(const std::wstring& path) {
    if (IsDriveDesignation(path)) {
        // The drive letter taken as one byte, as the ANSI call wants it.
        const char root[] = {static_cast<char>(path[0]), ':', '\\', '\0'};
        return GetDriveTypeA(root) != DRIVE_UNKNOWN;
    }
    DWORD attributes = 0;
    return FindFirstAttributes(path, &attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WideCreateDirectory(const std::wstring& path, _SECURITY_ATTRIBUTES* security) {
    if (wideApisAvailable) {
        return CreateDirectoryW(ExtendedLengthPath(path).c_str(), security) != 0;
    }
    return CreateDirectoryA(WideToAnsi(path).c_str(), security) != 0;
}

unsigned long WideGetFileVersionInfoSize(const std::wstring& path, unsigned long* handle) {
    if (wideApisAvailable) return GetFileVersionInfoSizeW(path.c_str(), handle);
    return GetFileVersionInfoSizeA(WideToAnsi(path).c_str(), handle);
}

bool WideGetFileVersionInfo(const std::wstring& path, unsigned long handle, unsigned long size,
                            void* buffer) {
    if (wideApisAvailable) return GetFileVersionInfoW(path.c_str(), handle, size, buffer) != 0;
    return GetFileVersionInfoA(WideToAnsi(path).c_str(), handle, size, buffer) != 0;
}

}  // namespace orvalis
