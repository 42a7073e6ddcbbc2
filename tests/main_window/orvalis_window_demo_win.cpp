// orvalis-window-demo.exe SNAPSHOT.json: the main window on a snapshot file instead of the
// live WMI, for screenshots of its states. A test program, not part of the release.
#include <windows.h>

#include <ole2.h>
#include <shellapi.h>

#include <exception>
#include <string>

#include "host/ansi_text.h"
#include "main_window/U_MainDlg_win.h"
#include "wmi/com_apartment_win.h"
#include "wmi/snapshot_file.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    orvalis::ComApartment com;
    OleInitialize(nullptr);
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count < 2) {
        MessageBoxA(nullptr, "usage: orvalis-window-demo SNAPSHOT.json", "Orvalis", MB_OK);
        return 2;
    }
    const std::string snapshot = orvalis::WideToAnsi(arguments[1]);
    wchar_t exePath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exePath, MAX_PATH);
    LocalFree(arguments);
    try {
        orvalis::MainDlgOptions options;
        options.exePath = orvalis::WideToAnsi(exePath);
        options.wmiProvider = orvalis::LoadSnapshotFile(snapshot);
        orvalis::TMainDlg MainDlg(std::move(options));
        ShowWindow(MainDlg.Handle(), showCommand);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            if (!IsDialogMessageA(MainDlg.Handle(), &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        return 0;
    } catch (const std::exception& error) {
        MessageBoxA(nullptr, error.what(), "Orvalis", MB_OK | MB_ICONERROR);
        return 1;
    }
}
