// The real Orvalis.exe under Wine with Wine's own WMI: it starts, registers itself, logs,
// shows the state of two failed snapshots, keeps ticking and closes cleanly.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "main_window/U_MainDlg_win.h"
#include "main_window/controls_win.h"
#include "main_window/main_dlg_layout.h"

namespace orvalis {
namespace {

std::string WindowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

struct Found {
    DWORD process;
    HWND window;
};

HWND FindMainWindow(DWORD process) {
    Found found{process, nullptr};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* f = reinterpret_cast<Found*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char className[64] = {};
            GetClassNameA(window, className, sizeof(className));
            if (owner == f->process && std::string(className) == TMainDlg::kWindowClass) {
                f->window = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.window;
}

// Controls of another process, found by id along their parents.
HWND ControlOf(HWND window, ControlId id) {
    std::vector<ControlId> chain;
    for (ControlId at = id; at != ControlId::Window; at = DesignOf(at).parent) chain.push_back(at);
    HWND control = window;
    for (auto it = chain.rbegin(); it != chain.rend() && control; ++it) {
        control = GetDlgItem(control, TMainDlg::kControlIdBase + static_cast<int>(*it));
    }
    return control;
}

std::string TextOf(HWND window) {
    char text[512] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

template <typename Condition>
bool WaitFor(Condition condition, int seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return condition();
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream file(path, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string RegisteredPath() {
    char value[MAX_PATH * 2] = {};
    DWORD size = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, "SOFTWARE\\Tessaran", "Orvalis", RRF_RT_REG_SZ, nullptr,
                     value, &size) != ERROR_SUCCESS) {
        return "";
    }
    return value;
}

TEST(OrvalisExe, StartsLogsRegistersShowsTheFailedSnapshotsTicksAndCloses) {
    const std::string exe = WindowsPath(ORVALIS_EXE_PATH);
    char appData[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData), S_OK);
    const std::string log = std::string(appData) + "\\Tessaran\\Orvalis\\Orvalis.log";
    DeleteFileA(log.c_str());
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "SOFTWARE\\Tessaran", "Orvalis");

    std::string commandLine = "\"" + exe + "\" /from-test second";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    struct Closer {
        PROCESS_INFORMATION& p;
        ~Closer() {
            if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(p.hProcess, 9);
            CloseHandle(p.hThread);
            CloseHandle(p.hProcess);
        }
    } closer{process};

    HWND window = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (window = FindMainWindow(process.dwProcessId)) != nullptr; }, 60));
    // Shown, so the application becomes active and the start-up sequence runs.
    ASSERT_TRUE(WaitFor([&] { return TextOf(window) == "Orvalis v1.0.0.0"; }, 60))
        << TextOf(window);
    // The taskbar button belongs to the application window, captioned with the title.
    const HWND application = GetWindow(window, GW_OWNER);
    ASSERT_NE(application, nullptr);
    EXPECT_EQ(TextOf(application), "Orvalis");
    EXPECT_EQ(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    ASSERT_TRUE(WaitFor(
        [&] { return TextOf(ControlOf(window, ControlId::slots_lbl)) == "Number of slots : 0"; },
        60));
    EXPECT_EQ(TextOf(ControlOf(window, ControlId::maxmem_lbl)), "Maximum memory : 0 GB");
    EXPECT_EQ(TextOf(ControlOf(window, ControlId::curmem_lbl)), "Current memory : 0 GB");
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, NarrowOuterWidth(kDesignDpi));
    for (int k = 1; k <= 2; ++k) {
        EXPECT_FALSE(IsWindowEnabled(ControlOf(window, SlotGroup(k))));
        EXPECT_FALSE(IsWindowVisible(ControlOf(window, SlotList(k))));
        EXPECT_FALSE(IsWindowVisible(ControlOf(window, EmptySlotButton(k))));
        EXPECT_FALSE(IsWindowVisible(ControlOf(window, SpecButton(k))));
    }

    // The monitor ticks: the design texts give way to figures.
    HWND used = ControlOf(window, ControlId::phyused_lbl);
    HWND total = ControlOf(window, ControlId::phytot_lbl);
    EXPECT_TRUE(WaitFor(
        [&] {
            return TextOf(used).rfind("Used : ", 0) == 0 && TextOf(total).rfind("Total : ", 0) == 0;
        },
        20))
        << TextOf(used) << " / " << TextOf(total);
    EXPECT_NE(TextOf(total).find("B"), std::string::npos);

    const std::vector<std::string> lines = ReadLines(log);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_NE(lines[6].find("Starting"), std::string::npos);
    EXPECT_NE(lines[5].find("Orvalis.exe"), std::string::npos);
    EXPECT_NE(lines[4].find("Orvalis v1.0.0.0"), std::string::npos);
    EXPECT_NE(lines[2].find("64Bits : No"), std::string::npos);
    EXPECT_EQ(lines[0].substr(lines[0].rfind('\t') + 1), "/from-test");
    EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, RegisteredPath().c_str(), -1,
                             exe.c_str(), -1),
              CSTR_EQUAL)
        << RegisteredPath();

    // Minimising goes through the application window, which hides the main window with
    // it; restoring the application window brings the main window back.
    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitFor([&] { return IsIconic(application) && !IsWindowVisible(window); }, 10));
    SendMessageA(application, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(application) && IsWindowVisible(window); }, 10));

    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace orvalis
