// Orvalis.exe: module start-up, the main window and the message loop.
#include <windows.h>

#include <ole2.h>
#include <shellapi.h>

#include <exception>
#include <string>
#include <vector>

#include "app/application_window_win.h"
#include "host/U_UnicodeUtils.h"
#include "host/ansi_text.h"
#include "main_window/U_MainDlg_win.h"
#include "wmi/com_apartment_win.h"

namespace {

constexpr char kApplicationTitle[] = "Orvalis";

std::string ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) return orvalis::WideToAnsi(path.substr(0, length));
        path.resize(path.size() * 2);
    }
}

// The command-line parameters after the program name, as 8-bit text.
std::vector<std::string> CommandLineParameters() {
    std::vector<std::string> parameters;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return parameters;
    for (int i = 1; i < count; ++i) parameters.push_back(orvalis::WideToAnsi(arguments[i]));
    LocalFree(arguments);
    return parameters;
}

int RunMessageLoop(HWND mainWindow) {
    MSG message;
    BOOL result;
    while ((result = GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (result == -1) return 1;
        if (!IsDialogMessageA(mainWindow, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    // Module start-up, in dependency order: COM for this thread (WMI), the wide-function
    // probe, then OLE, which stays initialised until the process ends.
    orvalis::ComApartment com;
    orvalis::ProbeWideApis();
    OleInitialize(nullptr);

    try {
        // The application title lives on the taskbar, through the application window.
        orvalis::ApplicationWindow application(kApplicationTitle);
        orvalis::MainDlgOptions options;
        options.title = kApplicationTitle;
        options.owner = application.Handle();
        options.exePath = ExecutablePath();
        options.parameters = CommandLineParameters();
        orvalis::TMainDlg MainDlg(std::move(options));
        application.SetMainWindow(MainDlg.Handle());
        ShowWindow(MainDlg.Handle(), showCommand);
        UpdateWindow(MainDlg.Handle());
        return RunMessageLoop(MainDlg.Handle());
    } catch (const std::exception& error) {
        MessageBoxA(nullptr, error.what(), kApplicationTitle, MB_OK | MB_ICONERROR);
        return 1;
    }
}
