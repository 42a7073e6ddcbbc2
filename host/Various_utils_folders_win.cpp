// Registration, file version and the per-user data folder on Windows.
#include <windows.h>

#include <shlobj.h>

#include <vector>

#include "host/U_UnicodeUtils.h"
#include "host/Various_utils.h"
#include "host/ansi_text.h"
#include "host/errors.h"
#include "host/win_handles_win.h"

namespace orvalis {
namespace {

const char kMakerKey[] = "SOFTWARE\\Tessaran";
const char kMakerFolder[] = "Tessaran";

std::string WithBackslash(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

// The roaming application-data folder, or "" when the shell cannot resolve it.
std::string RoamingAppDataFolder() {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return {};
    }
    return path;
}

// Creates one folder level; an existing folder, or a failure, is left to the caller's check.
void CreateFolder(const std::string& path) {
    SECURITY_ATTRIBUTES security{};
    security.nLength = sizeof(security);
    security.lpSecurityDescriptor = nullptr;
    security.bInheritHandle = FALSE;
    WideCreateDirectory(AnsiToWide(path), &security);
}

}  // namespace

void RegisterExePath(const std::string& title, const std::string& exePath) {
    UniqueRegistryKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kMakerKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr) != ERROR_SUCCESS) {
        return;  // nowhere to register: not worth stopping the program for
    }
    const DWORD size = static_cast<DWORD>(exePath.size() + 1);  // with the terminating zero
    if (RegSetValueExA(key.Get(), title.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(exePath.c_str()), size) != ERROR_SUCCESS) {
        throw ERegistryError(title);
    }
}

std::wstring GetFileVersionText(const std::wstring& path) {
    if (!WideFileExists(path)) return L"File not found";
    unsigned long handle = 0;
    const unsigned long size = WideGetFileVersionInfoSize(path, &handle);
    if (size == 0) return {};
    std::vector<BYTE> buffer(size);
    if (!WideGetFileVersionInfo(path, 0, size, buffer.data())) return {};
    void* fixed = nullptr;
    UINT length = 0;
    char root[] = "\\";
    if (!VerQueryValueA(buffer.data(), root, &fixed, &length) || fixed == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return {};
    }
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
    return AnsiToWide(FormatFileVersion(info->dwFileVersionMS, info->dwFileVersionLS));
}

std::string GetUserDataFolder(const std::string& exePath, const std::string& title) {
    return GetUserDataFolder(exePath, title, RoamingAppDataFolder());
}

std::string GetUserDataFolder(const std::string& exePath, const std::string& title,
                              const std::string& appDataFolder) {
    const std::string fallback = ExeFolderOf(exePath);
    if (appDataFolder.empty()) return fallback;
    const std::string makerFolder = WithBackslash(appDataFolder) + kMakerFolder + "\\";
    CreateFolder(makerFolder);
    const std::string programFolder = makerFolder + title;
    CreateFolder(programFolder);
    // Both creations fail when the folders exist from an earlier start: only this test counts.
    if (WideDirectoryExists(AnsiToWide(programFolder))) return programFolder + "\\";
    return fallback;
}

}  // namespace orvalis
