// Test stand-ins for the main window's seams, a closer for message boxes, and readers of the
// window's controls through plain Win32 calls.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "main_window/U_MainDlg_win.h"

namespace orvalis::test {

// Host calls answered in memory; failStep names the one that raises.
class FakeHost : public IStartupHost {
  public:
    explicit FakeHost(std::string dataFolder) : dataFolder_(std::move(dataFolder)) {}
    std::string failStep;
    std::vector<std::string> registered;  // "title=path" per registration

    void RegisterExePath(const std::string& title, const std::string& exePath) override;
    std::string GetFileVersionText(const std::string& exePath) override;
    std::string GetUserDataFolder(const std::string& exePath, const std::string& title) override;
    std::string GetWindowsVersionText() override;
    bool IsWow64() override;
    bool IsAdminUser() override;

  private:
    void MaybeFail(const char* step);
    std::string dataFolder_;
};

class RecordingShell : public IShellOpener {
  public:
    std::vector<std::string> addresses;
    void ShellOpen(const std::string& address) override { addresses.push_back(address); }
};

class RecordingErrors : public IErrorPresenter {
  public:
    std::vector<std::string> texts;
    void ShowError(HWND, const std::string& text) override { texts.push_back(text); }
};

class FakeMemoryStatus : public IMemoryStatusSource {
  public:
    MEMORYSTATUSEX answer{};
    DWORD failWith = 0;  // a system error code: the read fails with it
    DWORD seenLength = 0;
    bool Read(MEMORYSTATUSEX& status) override;
};

// Closes every message box of this process from a second thread and remembers it.
class BoxCloser {
  public:
    struct Box {
        std::string caption;
        std::string text;
        bool hasIcon = false;
    };
    BoxCloser();
    ~BoxCloser();
    std::vector<Box> Seen();

  private:
    void Run();
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<Box> seen_;
    std::set<HWND> closed_;
    std::thread thread_;
};

// A window on test services, shown without being activated.
struct WindowUnderTest {
    std::shared_ptr<FakeHost> host;
    std::shared_ptr<RecordingShell> shell = std::make_shared<RecordingShell>();
    std::shared_ptr<RecordingErrors> errors = std::make_shared<RecordingErrors>();
    std::shared_ptr<FakeMemoryStatus> memory = std::make_shared<FakeMemoryStatus>();
    std::unique_ptr<TMainDlg> dlg;

    HWND Get(ControlId id) const { return dlg->Control(id); }
    std::string Text(ControlId id) const;
    void Activate() const;  // the application becomes active
    void Tick() const;      // one tick of Mem_tmr
    void Click(ControlId id) const;
    int OuterWidth() const;
    std::vector<std::string> LogMessages() const;  // newest first, without level and time
    std::string LogPath() const;
};

struct WindowSetup {
    WmiProviderRef provider;  // null: a provider whose snapshots both fail
    std::vector<std::string> parameters;
    bool realErrorBox = false;
    std::string failStep;
};

WindowUnderTest OpenWindow(const std::string& scratchName, WindowSetup setup);

// Win32 readers of a list view.
int RowCount(HWND list);
std::string Cell(HWND list, int row, int column);
std::string ColumnCaption(HWND list, int column);

void PumpMessages(int milliseconds);

}  // namespace orvalis::test
