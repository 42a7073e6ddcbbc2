// What the main window asks of the host, behind interfaces so that tests can stand in for
// any of it: the host calls of the start-up sequence and the shell that opens web pages.
#pragma once

#include <memory>
#include <string>

namespace orvalis {

// The host operations of the start-up sequence. Texts are 8-bit (ANSI code page).
class IStartupHost {
  public:
    virtual ~IStartupHost() = default;
    virtual void RegisterExePath(const std::string& title, const std::string& exePath) = 0;
    virtual std::string GetFileVersionText(const std::string& exePath) = 0;
    // A folder path ending with a path delimiter.
    virtual std::string GetUserDataFolder(const std::string& exePath, const std::string& title) = 0;
    virtual std::string GetWindowsVersionText() = 0;
    virtual bool IsWow64() = 0;
    virtual bool IsAdminUser() = 0;
};

// Hands a web address to the shell, which opens it in the user's browser. Its success is
// not looked at: a failure shows nothing.
class IShellOpener {
  public:
    virtual ~IShellOpener() = default;
    virtual void ShellOpen(const std::string& address) = 0;
};

}  // namespace orvalis
