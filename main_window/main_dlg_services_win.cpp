#include "main_window/main_dlg_services_win.h"

#include "host/Various_utils.h"
#include "host/ansi_text.h"

namespace orvalis {

namespace {

class SystemHost final : public IStartupHost {
  public:
    void RegisterExePath(const std::string& title, const std::string& exePath) override {
        orvalis::RegisterExePath(title, exePath);
    }
    std::string GetFileVersionText(const std::string& exePath) override {
        return WideToAnsi(orvalis::GetFileVersionText(AnsiToWide(exePath)));
    }
    std::string GetUserDataFolder(const std::string& exePath, const std::string& title) override {
        return orvalis::GetUserDataFolder(exePath, title);
    }
    std::string GetWindowsVersionText() override { return orvalis::GetWindowsVersionText(); }
    bool IsWow64() override { return orvalis::IsWow64(); }
    bool IsAdminUser() override { return orvalis::IsAdminUser(); }
};

class SystemMemory final : public IMemoryStatusSource {
  public:
    bool Read(MEMORYSTATUSEX& status) override { return GlobalMemoryStatusEx(&status) != FALSE; }
};

class SystemShell final : public IShellOpener {
  public:
    void ShellOpen(const std::string& address) override {
        SHELLEXECUTEINFOA info = ShellOpenInfo(address.c_str());
        ShellExecuteExA(&info);  // the result is not used: a failure shows nothing
    }
};

class ErrorBox final : public IErrorPresenter {
  public:
    explicit ErrorBox(std::string title) : title_(std::move(title)) {}
    void ShowError(HWND owner, const std::string& text) override {
        MessageBoxA(owner, text.c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
    }

  private:
    std::string title_;
};

}  // namespace

std::shared_ptr<IStartupHost> SystemStartupHost() {
    return std::make_shared<SystemHost>();
}

std::shared_ptr<IMemoryStatusSource> SystemMemoryStatus() {
    return std::make_shared<SystemMemory>();
}

std::shared_ptr<IShellOpener> SystemShellOpener() {
    return std::make_shared<SystemShell>();
}

std::shared_ptr<IErrorPresenter> ErrorBoxPresenter(const std::string& title) {
    return std::make_shared<ErrorBox>(title);
}

SHELLEXECUTEINFOA ShellOpenInfo(const char* address) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_DOENVSUBST | SEE_MASK_FLAG_NO_UI;
    info.hwnd = nullptr;
    info.lpVerb = nullptr;
    info.lpFile = address;
    info.nShow = SW_SHOWNORMAL;
    return info;
}

}  // namespace orvalis
