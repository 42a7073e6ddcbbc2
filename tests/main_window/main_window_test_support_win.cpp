#include "tests/main_window/main_window_test_support_win.h"

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "host/errors.h"
#include "main_window/controls_win.h"
#include "tests/test_paths.h"
#include "wmi/memory_wmi_provider.h"

namespace orvalis::test {

void FakeHost::MaybeFail(const char* step) {
    if (failStep == step) throw EOSError(5, std::string(step) + " failed");
}

void FakeHost::RegisterExePath(const std::string& title, const std::string& exePath) {
    MaybeFail("register");
    registered.push_back(title + "=" + exePath);
}
std::string FakeHost::GetFileVersionText(const std::string&) {
    MaybeFail("version");
    return "9.8.7.6";
}
std::string FakeHost::GetUserDataFolder(const std::string&, const std::string&) {
    MaybeFail("folder");
    return dataFolder_;
}
std::string FakeHost::GetWindowsVersionText() {
    MaybeFail("windows");
    return "6.1 (Seven)";
}
bool FakeHost::IsWow64() {
    MaybeFail("wow64");
    return true;
}
bool FakeHost::IsAdminUser() {
    MaybeFail("admin");
    return false;
}

bool FakeMemoryStatus::Read(MEMORYSTATUSEX& status) {
    seenLength = status.dwLength;
    if (failWith) {
        SetLastError(failWith);
        return false;
    }
    status = answer;
    status.dwLength = seenLength;
    return true;
}

// The icon control of a message box: 0x14 on Windows, 1088 in Wine's template.
bool HasVisibleIcon(HWND box) {
    for (int id : {0x14, 1088}) {
        HWND icon = GetDlgItem(box, id);
        if (icon && IsWindowVisible(icon) && SendMessageA(icon, STM_GETICON, 0, 0)) return true;
    }
    return false;
}

BoxCloser::BoxCloser() : thread_([this] { Run(); }) {}

BoxCloser::~BoxCloser() {
    stop_ = true;
    thread_.join();
}

std::vector<BoxCloser::Box> BoxCloser::Seen() {
    std::lock_guard lock(mutex_);
    return seen_;
}

void BoxCloser::Run() {
    const DWORD process = GetCurrentProcessId();
    while (!stop_) {
        std::vector<HWND> boxes;
        std::pair<DWORD, std::vector<HWND>*> context(process, &boxes);
        EnumWindows(
            [](HWND window, LPARAM context) -> BOOL {
                auto* found = reinterpret_cast<std::pair<DWORD, std::vector<HWND>*>*>(context);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                char className[32] = {};
                GetClassNameA(window, className, sizeof(className));
                if (owner == found->first && std::string(className) == "#32770" &&
                    IsWindowVisible(window)) {
                    found->second->push_back(window);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&context));
        for (HWND box : boxes) {
            std::lock_guard lock(mutex_);
            if (closed_.insert(box).second) {
                Box seen;
                seen.caption = WindowTextOf(box);
                char text[1024] = {};
                GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
                seen.text = text;
                seen.hasIcon = HasVisibleIcon(box);
                seen_.push_back(seen);
            }
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        Sleep(50);
    }
}

std::string WindowUnderTest::Text(ControlId id) const {
    return WindowTextOf(Get(id));
}

void WindowUnderTest::Activate() const {
    SendMessageA(dlg->Handle(), WM_ACTIVATEAPP, TRUE, 0);
    PumpMessages(50);
}

void WindowUnderTest::Tick() const {
    SendMessageA(dlg->Handle(), WM_TIMER, TMainDlg::kMemTimerId, 0);
}

void WindowUnderTest::Click(ControlId id) const {
    SendMessageA(Get(id), BM_CLICK, 0, 0);
    PumpMessages(20);
}

int WindowUnderTest::OuterWidth() const {
    RECT outer;
    GetWindowRect(dlg->Handle(), &outer);
    return outer.right - outer.left;
}

std::string WindowUnderTest::LogPath() const {
    return dlg->Log() ? dlg->Log()->FileName() : std::string();
}

std::vector<std::string> WindowUnderTest::LogMessages() const {
    std::vector<std::string> messages;
    if (!dlg->Log()) return messages;
    std::ifstream file(dlg->Log()->FileName(), std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t tab = line.find('\t', line.find('\t') + 1);  // after level and time
        messages.push_back(tab == std::string::npos ? line : line.substr(tab + 1));
    }
    return messages;
}

WindowUnderTest OpenWindow(const std::string& scratchName, WindowSetup setup) {
    WindowUnderTest under;
    const std::string folder = ScratchDir(scratchName) + "\\";
    under.host = std::make_shared<FakeHost>(folder);
    under.host->failStep = setup.failStep;
    MainDlgOptions options;
    options.exePath = "C:\\Program Files\\Tessaran\\Orvalis.exe";
    options.parameters = setup.parameters;
    options.wmiProvider =
        setup.provider ? setup.provider : std::make_shared<MemoryWmiProvider>("root\\nothing");
    options.host = under.host;
    options.memoryStatus = under.memory;
    options.shellOpener = under.shell;
    if (!setup.realErrorBox) options.errorPresenter = under.errors;
    options.quitOnDestroy = false;
    under.dlg = std::make_unique<TMainDlg>(std::move(options));
    KillTimer(under.dlg->Handle(), TMainDlg::kMemTimerId);  // tests tick by hand
    ShowWindow(under.dlg->Handle(), SW_SHOWNA);
    return under;
}

int RowCount(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string Cell(HWND list, int row, int column) {
    char text[512] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::string ColumnCaption(HWND list, int column) {
    char text[128] = {};
    LVCOLUMNA lvColumn{};
    lvColumn.mask = LVCF_TEXT;
    lvColumn.pszText = text;
    lvColumn.cchTextMax = sizeof(text);
    SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&lvColumn));
    return text;
}

void PumpMessages(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    } while (std::chrono::steady_clock::now() < end);
}

}  // namespace orvalis::test
