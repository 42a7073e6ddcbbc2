// TMainDlg: the program's only window. It lays out its controls from the designed layout,
// runs the start-up sequence on the first activation of the application, shows the slot
// report through IReportView, updates the memory-load panel every second and opens the web
// pages of its buttons. Errors that escape a handler are shown at one place, the window
// procedure's boundary, and the window carries on.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "host/U_Log.h"
#include "main_window/gdi_handles_win.h"
#include "main_window/main_dlg_layout.h"
#include "main_window/main_dlg_services_win.h"
#include "main_window/pictures_win.h"
#include "main_window/report_view.h"
#include "wmi/wmi_provider.h"

namespace orvalis {

// What the window is given by its creator. Empty services mean the real ones.
struct MainDlgOptions {
    std::string title = "Orvalis";        // the application title
    std::string exePath;                  // the executable's full path
    std::vector<std::string> parameters;  // command-line parameters, program name excluded
    WmiProviderRef wmiProvider;           // null: the live WMI
    std::shared_ptr<IStartupHost> host;
    std::shared_ptr<IMemoryStatusSource> memoryStatus;
    std::shared_ptr<IShellOpener> shellOpener;
    std::shared_ptr<IErrorPresenter> errorPresenter;
    bool quitOnDestroy = true;  // ends the thread's message loop when the window goes
    // The application window that owns this one and carries the taskbar button; none in
    // tests, where the window has a taskbar button of its own.
    HWND owner = nullptr;
};

class TMainDlg final : public IReportView {
  public:
    static constexpr UINT_PTR kMemTimerId = 1;
    static constexpr int kControlIdBase = 100;  // control K has the id kControlIdBase + K
    static constexpr char kWindowClass[] = "TMainDlg";

    // Creates the window, hidden, with every control as designed; Mem_tmr starts ticking.
    explicit TMainDlg(MainDlgOptions options);
    ~TMainDlg() override;
    TMainDlg(const TMainDlg&) = delete;
    TMainDlg& operator=(const TMainDlg&) = delete;

    HWND Handle() const { return window_; }
    HWND Control(ControlId id) const;
    int Dpi() const { return dpi_; }
    // The log, once the start-up sequence has created it.
    const TAppLog* Log() const { return log_.get(); }

    // IReportView: the slot report writes into the controls.
    void SetLabel(ReportLabel label, const std::string& text) override;
    void SetGroupEnabled(int panel, bool enabled) override;
    bool IsGroupEnabled(int panel) const override;
    void NarrowToLeftColumn() override;
    void ClearList(int panel) override;
    void SetColumnCaption(int panel, int column, const std::string& caption) override;
    void AddRow(int panel, const std::string& parameter, const std::string& value) override;
    void AutoSizeColumns(int panel) override;
    std::string ListCell(int panel, int row, int column) const override;
    void SetListVisible(int panel, bool visible) override;
    bool IsListVisible(int panel) const override;
    void SetEmptySlotButtonVisible(int panel, bool visible) override;
    bool IsEmptySlotButtonVisible(int panel) const override;
    void SetSpecButtonVisible(int panel, bool visible) override;
    bool IsSpecButtonVisible(int panel) const override;
    void SetSpecButtonEnabled(int panel, bool enabled) override;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    HWND CreateControl(const ControlDesign& design);
    void PlaceAnchoredControls();
    void SetControlText(ControlId id, const std::string& text);
    void AutoSizeLabel(HWND label);
    bool OnCommand(int controlId, int code);
    bool OnDrawItem(const DRAWITEMSTRUCT& item);
    void ShowError(const char* text);

    // Event handlers.
    void AppEvtActivate();
    void Mem_tmrTimer();
    void getRAM_btnClick();
    void drivers_btnClick();
    void getSpec1_btnClick();
    void getSpec2_btnClick();
    void getSpec3_btnClick();
    void getSpec4_btnClick();
    void OpenSpecificationSearch(int panel);
    void FillMemoryReport();

    MainDlgOptions options_;
    HWND window_ = nullptr;
    int dpi_ = kDesignDpi;
    std::array<HWND, kControlCount> controls_{};
    bool appEvtActivateAttached_ = true;  // cleared by the start-up sequence's first step
    std::unique_ptr<TAppLog> log_;

    UniqueFont font_;
    UniqueFont boldFont_;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    UniqueIcon titleIcon_;
    std::array<Picture, 2> imageList96_;  // 0: memory module, 1: expansion card
    Picture pdfGlyph_;
};

}  // namespace orvalis
