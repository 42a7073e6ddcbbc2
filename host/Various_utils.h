// Small host and text operations: web-address encoding, the text picker, and the host facts,
// data folder, registration and file version used by the start-up sequence.
#pragma once

#include <cstdint>
#include <string>

namespace orvalis {

// Percent-encoding of a search keyword, byte by byte: letters, digits, "-", "." and "_" stay;
// a space is "%20"; every other byte is "%" and two upper-case hexadecimal digits.
std::string UrlEncode(const std::string& text);

// a when the flag is set, otherwise b.
std::string PickText(bool flag, const std::string& a, const std::string& b);

// "Yes" or "No".
std::string YesNo(bool value);

// The basic version record of the system (GetVersionExA with OSVERSIONINFOA).
struct WindowsVersionRecord {
    uint32_t majorVersion = 0;
    uint32_t minorVersion = 0;
    uint32_t buildNumber = 0;
    uint32_t platformId = 0;  // 1: Windows 95 family, 2: NT family
    std::string servicePack;  // szCSDVersion
};

// "major.minor" and the name suffix of the platform's table, e.g. "6.1 (Seven)", "5.2".
std::string DescribeWindowsVersion(const WindowsVersionRecord& version);

// The Windows version as text; "Unknown" when the system does not tell (and off Windows).
std::string GetWindowsVersionText();

// True when the process runs under the 32-bit emulation of 64-bit Windows; false where
// IsWow64Process does not exist (and off Windows). Raises EOSError when the call fails.
bool IsWow64();

// True when the thread's (else the process's) token holds the local Administrators group
// for access, not for deny only; false when no token can be opened; true on the Windows 95
// family. Raises EOSError when the group list cannot be read. Off Windows: running as root.
bool IsAdminUser();

// Four 16-bit numbers of the fixed file version, e.g. "2.5.0.12".
std::string FormatFileVersion(uint32_t versionMs, uint32_t versionLs);

// The folder part of an executable path (up to the last "\" or ":"), always ending in "\".
std::string ExeFolderOf(const std::string& exePath);

#ifdef _WIN32

// Writes the executable path as the REG_SZ value named title under
// HKEY_CURRENT_USER\SOFTWARE\Tessaran. Silent when the key cannot be opened or created;
// raises ERegistryError when the value cannot be written.
void RegisterExePath(const std::string& title, const std::string& exePath);

// The file version of path as "a.b.c.d"; "" without a (readable) version resource;
// "File not found" when path names no file (a directory included).
std::wstring GetFileVersionText(const std::wstring& path);

// The per-user data folder <roaming AppData>\Tessaran\<title>\, created when needed; the
// executable's folder when it cannot be. Always ends with "\".
std::string GetUserDataFolder(const std::string& exePath, const std::string& title);
// The same under a given application-data folder ("" when the shell gives none).
std::string GetUserDataFolder(const std::string& exePath, const std::string& title,
                              const std::string& appDataFolder);

#endif

}  // namespace orvalis
