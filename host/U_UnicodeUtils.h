// File functions that take wide (UTF-16) paths and use either the wide or the ANSI system
// functions, chosen once at start-up by ProbeWideApis().
#pragma once

#include <string>

#ifdef _WIN32
struct _SECURITY_ATTRIBUTES;
#endif

namespace orvalis {

// The path CreateDirectoryW gets on the wide route: "\\?\UNC\server\share" for
// "\\server\share", "\\?\C:\data" for "C:\data". The extended-length prefix lifts the
// 260-character limit and turns off normalisation, so the path must be absolute with "\".
std::wstring ExtendedLengthPath(const std::wstring& path);

// "C:" or "C:\": a drive rather than a folder.
bool IsDriveDesignation(const std::wstring& path);

#ifdef _WIN32

// Run once at module start-up, before any function below: the wide route is taken when a
// wide search of the Windows folder works (false on the Windows 95 family). Returns the flag.
bool ProbeWideApis();
// False until ProbeWideApis() ran; with false every function takes the ANSI route.
bool WideApisAvailable();
// Forces the route, for tests of the ANSI route.
void SetWideApisAvailable(bool available);

// A file (not a directory) exists at path.
bool WideFileExists(const std::wstring& path);
// A directory exists at path; a drive designation counts when the system knows its type.
// A path ending in "\" or the empty path gives false.
bool WideDirectoryExists(const std::wstring& path);
// Creates one directory level; the parent must exist. The system's result.
bool WideCreateDirectory(const std::wstring& path, _SECURITY_ATTRIBUTES* security);
// GetFileVersionInfoSize on the chosen route; 0 when there is no version resource.
unsigned long WideGetFileVersionInfoSize(const std::wstring& path, unsigned long* handle);
// GetFileVersionInfo on the chosen route.
bool WideGetFileVersionInfo(const std::wstring& path, unsigned long handle, unsigned long size,
                            void* buffer);

#endif

}  // namespace orvalis
