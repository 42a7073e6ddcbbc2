// The Windows side of the main window's seams and their real implementations.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>

#include "main_window/main_dlg_services.h"

namespace orvalis {

// Where the memory-load monitor reads the global memory status. Same contract as
// GlobalMemoryStatusEx: false on failure, with the thread's last error set.
class IMemoryStatusSource {
  public:
    virtual ~IMemoryStatusSource() = default;
    virtual bool Read(MEMORYSTATUSEX& status) = 0;
};

// Shows the text of an error that escaped an event handler.
class IErrorPresenter {
  public:
    virtual ~IErrorPresenter() = default;
    virtual void ShowError(HWND owner, const std::string& text) = 0;
};

// The host services of Various_utils.
std::shared_ptr<IStartupHost> SystemStartupHost();
// GlobalMemoryStatusEx.
std::shared_ptr<IMemoryStatusSource> SystemMemoryStatus();
// ShellExecuteExA with ShellOpenInfo.
std::shared_ptr<IShellOpener> SystemShellOpener();
// A modal error box (error icon, OK) captioned with the application title.
std::shared_ptr<IErrorPresenter> ErrorBoxPresenter(const std::string& title);

// The shell-execute request for an address: no verb (the default action), no owner, no
// parameters or folder; environment variables expanded, no error dialog of the shell's own.
// address must outlive the structure.
SHELLEXECUTEINFOA ShellOpenInfo(const char* address);

}  // namespace orvalis
