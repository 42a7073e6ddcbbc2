// TMainDlg's event handlers: the start-up sequence, the memory-load monitor and the buttons
// that open web pages. None of them catches: errors end at the window procedure.
#include <windows.h>

#include <commctrl.h>

#include "host/Various_utils.h"
#include "host/os_error_win.h"
#include "main_window/U_MainDlg_win.h"
#include "main_window/controls_win.h"
#include "main_window/memory_report.h"
#include "main_window/web_pages.h"
#include "vocabulary/size_format.h"

namespace orvalis {

namespace {

// LF before CR, as the caption has always been written.
constexpr char kEmptySlotCaption[] = "Empty slot !\n\rClick here to get more RAM";
constexpr int32_t kLogMaxLines = 10000;

}  // namespace

// Runs once, on the first activation of the application.
void TMainDlg::AppEvtActivate() {
    // Detached first, so a failing step is never tried again.
    appEvtActivateAttached_ = false;

    IStartupHost& host = *options_.host;
    const std::string& title = options_.title;
    const std::string& exePath = options_.exePath;

    host.RegisterExePath(title, exePath);
    SetWindowTextA(window_, (title + " v" + host.GetFileVersionText(exePath)).c_str());

    // The panel paints its own dark background (it never takes its parent's); the toggle of
    // that setting comes down to a repaint.
    RedrawWindow(Control(ControlId::top_pnl), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);

    log_ = std::make_unique<TAppLog>(host.GetUserDataFolder(exePath, title) + title + ".log", false,
                                     kLogMaxLines);
    log_->Add("Starting", TAppLog::kInfo);
    log_->Add(exePath, TAppLog::kInfo);
    log_->Add(WindowTextOf(window_), TAppLog::kInfo);
    log_->Add("Windows : " + host.GetWindowsVersionText(), TAppLog::kInfo);
    log_->Add("64Bits : " + YesNo(host.IsWow64()), TAppLog::kInfo);
    log_->Add("Administrator : " + YesNo(host.IsAdminUser()), TAppLog::kInfo);
    if (!options_.parameters.empty()) log_->Add(options_.parameters.front(), TAppLog::kInfo);

    SetSizeUnitNames({"B", "KB", "MB", "GB", "TB"});

    SetControlText(ControlId::getRAM1_btn, kEmptySlotCaption);
    const std::string caption = WindowTextOf(Control(ControlId::getRAM1_btn));
    SetControlText(ControlId::getRAM2_btn, caption);
    SetControlText(ControlId::getRAM3_btn, caption);
    SetControlText(ControlId::getRAM4_btn, caption);

    FillMemoryReport();
}

void TMainDlg::FillMemoryReport() {
    orvalis::FillMemoryReport(*this, options_.wmiProvider);
}

// Every second: the physical-memory load as bar and texts.
void TMainDlg::Mem_tmrTimer() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!options_.memoryStatus->Read(status)) RaiseLastOSError();

    HWND bar = Control(ControlId::mem_pb);
    SendMessageA(bar, PBM_SETPOS, status.dwMemoryLoad, 0);
    SendMessageA(bar, PBM_SETRANGE32, 0, 100);
    const auto total = static_cast<int64_t>(status.ullTotalPhys);
    const auto available = static_cast<int64_t>(status.ullAvailPhys);
    SetControlText(ControlId::phyused_lbl, "Used : " + FormatSize(total - available));
    SetControlText(ControlId::phytot_lbl, "Total : " + FormatSize(total));
}

// One handler for the four empty-slot buttons: they all lead to the memory page.
void TMainDlg::getRAM_btnClick() {
    options_.shellOpener->ShellOpen(MemoryPageAddress());
}

void TMainDlg::drivers_btnClick() {
    MessageBoxA(window_, kDriverNotice, options_.title.c_str(), MB_OK);
    options_.shellOpener->ShellOpen(DriverPageAddress());
}

void TMainDlg::getSpec1_btnClick() {
    OpenSpecificationSearch(1);
}
void TMainDlg::getSpec2_btnClick() {
    OpenSpecificationSearch(2);
}
void TMainDlg::getSpec3_btnClick() {
    OpenSpecificationSearch(3);
}
void TMainDlg::getSpec4_btnClick() {
    OpenSpecificationSearch(4);
}

// Manufacturer and model as the panel's list shows them.
void TMainDlg::OpenSpecificationSearch(int panel) {
    options_.shellOpener->ShellOpen(SiteAddress(SpecificationSearchPath(*this, panel)));
}

}  // namespace orvalis
