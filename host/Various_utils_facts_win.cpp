// Host facts on Windows: version text, WOW64 and administrator membership.
#include <windows.h>

#include <vector>

#include "host/Various_utils.h"
#include "host/os_error_win.h"
#include "host/win_handles_win.h"

namespace orvalis {
namespace {

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);

bool IsWindows95Family() {
    return (GetVersion() & 0x80000000u) != 0;
}

// The token of the impersonating thread, else of the process; empty when none opens.
UniqueKernelHandle OpenQueryToken() {
    UniqueKernelHandle token;
    if (OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, token.Receive())) return token;
    if (GetLastError() == ERROR_NO_TOKEN &&
        OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive())) {
        return token;
    }
    return UniqueKernelHandle();
}

// The token's group list; raises the OS error when it cannot be read.
std::vector<BYTE> ReadTokenGroups(HANDLE token) {
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenGroups, nullptr, 0, &size) &&
        GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        RaiseLastOSError();
    }
    // Room for TOKEN_GROUPS even if the system asks for less; pointers inside need alignment,
    // which vector's allocation gives.
    std::vector<BYTE> buffer(size < sizeof(TOKEN_GROUPS) ? sizeof(TOKEN_GROUPS) : size);
    if (!GetTokenInformation(token, TokenGroups, buffer.data(), static_cast<DWORD>(buffer.size()),
                             &size)) {
        RaiseLastOSError();
    }
    return buffer;
}

}  // namespace

std::string GetWindowsVersionText() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);  // the basic 148-byte record
    if (!GetVersionExA(&info)) return "Unknown";
    WindowsVersionRecord version;
    version.majorVersion = info.dwMajorVersion;
    version.minorVersion = info.dwMinorVersion;
    version.buildNumber = info.dwBuildNumber;
    version.platformId = info.dwPlatformId;
    version.servicePack.assign(info.szCSDVersion,
                               strnlen(info.szCSDVersion, sizeof(info.szCSDVersion)));
    return DescribeWindowsVersion(version);
}

bool IsWow64() {
    // Looked up at run time: systems before XP SP2 lack it.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr) RaiseLastOSError();
    const auto isWow64Process = reinterpret_cast<IsWow64ProcessFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
    if (isWow64Process == nullptr) return false;
    BOOL wow64 = FALSE;
    if (!isWow64Process(GetCurrentProcess(), &wow64)) RaiseLastOSError();
    return wow64 != FALSE;
}

bool IsAdminUser() {
    if (IsWindows95Family()) return true;  // no NT security: everyone may do everything
    UniqueKernelHandle token = OpenQueryToken();
    if (!token.Valid()) return false;

    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    UniqueSid administrators;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                  DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  administrators.Receive())) {
        RaiseLastOSError();
    }

    const std::vector<BYTE> buffer = ReadTokenGroups(token.Get());
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        const SID_AND_ATTRIBUTES& group = groups->Groups[i];
        // Without elevation the group is present but only for deny.
        if (EqualSid(group.Sid, administrators.Get()) &&
            (group.Attributes & SE_GROUP_USE_FOR_DENY_ONLY) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace orvalis
