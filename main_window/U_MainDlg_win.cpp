#include "main_window/U_MainDlg_win.h"

#include <commctrl.h>

#include <exception>
#include <stdexcept>

#include "main_window/controls_win.h"
#include "resources/picture_ids.h"

namespace orvalis {

namespace {

constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kDefaultColumnWidth = 50;
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

HINSTANCE ProgramInstance() {
    return GetModuleHandleA(nullptr);
}

int ScreenDpi() {
    WindowDc screen(nullptr);
    const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kDesignDpi;
}

UniqueFont MakeFont(int dpi, int weight) {
    UniqueFont font(CreateFontA(ScaleValue(-11, dpi), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"));
    if (!font.Valid()) throw std::runtime_error("cannot create the window's font");
    return font;
}

UniqueIcon LoadIconOfSize(int id, int size) {
    return UniqueIcon(static_cast<HICON>(
        LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0)));
}

bool HasVisibleStyle(HWND control) {
    return (GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

ControlId LabelControl(ReportLabel label) {
    switch (label) {
        case ReportLabel::Slots:
            return ControlId::slots_lbl;
        case ReportLabel::MaxMemory:
            return ControlId::maxmem_lbl;
        case ReportLabel::CurrentMemory:
            return ControlId::curmem_lbl;
    }
    throw std::invalid_argument("unknown report label");
}

}  // namespace

TMainDlg::TMainDlg(MainDlgOptions options) : options_(std::move(options)) {
    if (!options_.host) options_.host = SystemStartupHost();
    if (!options_.memoryStatus) options_.memoryStatus = SystemMemoryStatus();
    if (!options_.shellOpener) options_.shellOpener = SystemShellOpener();
    if (!options_.errorPresenter) options_.errorPresenter = ErrorBoxPresenter(options_.title);

    INITCOMMONCONTROLSEX common{sizeof(common),
                                ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common);
    RegisterControlClasses(ProgramInstance());

    dpi_ = ScreenDpi();
    font_ = MakeFont(dpi_, FW_NORMAL);
    boldFont_ = MakeFont(dpi_, FW_BOLD);
    bigIcon_ = LoadIconOfSize(IDI_ORVALIS, GetSystemMetrics(SM_CXICON));
    smallIcon_ = LoadIconOfSize(IDI_ORVALIS, GetSystemMetrics(SM_CXSMICON));
    titleIcon_ = LoadIconOfSize(IDI_MEMORY_MODULE, 32);
    imageList96_[0] = Picture::FromIconResource(ProgramInstance(), IDI_MEMORY_MODULE, 32);
    imageList96_[1] = Picture::FromIconResource(ProgramInstance(), IDI_EXPANSION_CARD, 32);
    pdfGlyph_ = Picture::FromBitmapResource(ProgramInstance(), IDB_PDF_DOCUMENT);

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ProgramInstance();
    windowClass.hIcon = bigIcon_.Get();
    windowClass.hIconSm = smallIcon_.Get();
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExA(&windowClass);  // a second window of the process reuses the class

    RECT outer{0, 0, ScaleValue(kDesignWindow.width, dpi_), ScaleValue(kDesignWindow.height, dpi_)};
    AdjustWindowRectEx(&outer, kWindowStyle, FALSE, 0);
    CreateWindowExA(WS_EX_CONTROLPARENT, kWindowClass, "MainDlg", kWindowStyle, kDesignWindow.left,
                    kDesignWindow.top, outer.right - outer.left, outer.bottom - outer.top,
                    options_.owner, nullptr, ProgramInstance(), this);
    if (!window_) throw std::runtime_error("cannot create the main window");
    // The class icons belong to the first window; every window shows its own.
    SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
    SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
    try {
        CreateControls();
    } catch (...) {
        DestroyWindow(window_);
        throw;
    }
    SetTimer(window_, kMemTimerId, 1000, nullptr);
}

TMainDlg::~TMainDlg() {
    if (window_) DestroyWindow(window_);
}

HWND TMainDlg::Control(ControlId id) const {
    if (id == ControlId::Window) return window_;
    return controls_.at(static_cast<size_t>(id));
}

// ---- window procedure ------------------------------------------------------------------------

LRESULT CALLBACK TMainDlg::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<TMainDlg*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TMainDlg*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    // The one place where errors of the event handlers end: shown, and the window goes on.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        self->ShowError(error.what());
    } catch (...) {
        self->ShowError("Unexpected error");
    }
    return 0;
}

void TMainDlg::ShowError(const char* text) {
    try {
        options_.errorPresenter->ShowError(window_, text);
    } catch (...) {
        // Nothing may cross the window procedure, not even a failure to show an error.
    }
}

LRESULT TMainDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATEAPP:
            if (wParam && appEvtActivateAttached_) AppEvtActivate();
            return 0;
        case WM_TIMER:
            if (wParam == kMemTimerId) {
                Mem_tmrTimer();
                return 0;
            }
            break;
        case WM_COMMAND:
            if (lParam && OnCommand(LOWORD(wParam) - kControlIdBase, HIWORD(wParam))) return 0;
            break;
        case WM_DRAWITEM:
            if (OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
            break;
        case WM_SIZE:
            PlaceAnchoredControls();
            return 0;
        case WM_SYSCOMMAND:
            // Minimised into the application window, which holds the taskbar button and
            // shows this window again when it is restored.
            if ((wParam & 0xFFF0) == SC_MINIMIZE && options_.owner) {
                ShowWindow(window_, SW_HIDE);
                ShowWindow(options_.owner, SW_MINIMIZE);
                return 0;
            }
            break;
        case WM_CLOSE:
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            KillTimer(window_, kMemTimerId);
            if (options_.quitOnDestroy) PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
            window_ = nullptr;
            controls_.fill(nullptr);
            return 0;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

// ---- controls --------------------------------------------------------------------------------

void TMainDlg::CreateControls() {
    for (const ControlDesign& design : MainDlgLayout()) {
        HWND control = CreateControl(design);
        if (!control) throw std::runtime_error("cannot create control " + std::string(design.name));
        controls_[static_cast<size_t>(design.id)] = control;
    }
    // drivers_btn lies on the panel's area: the panel goes to the bottom of the z-order so
    // the button shows above it. It holds no tab stop, so the keyboard order is unchanged.
    SetWindowPos(Control(ControlId::top_pnl), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HWND TMainDlg::CreateControl(const ControlDesign& design) {
    HWND parent = Control(design.parent);
    const Rect r = ScaleRect(design.rect, dpi_);
    const int id = kControlIdBase + static_cast<int>(design.id);
    const std::string caption(design.caption);
    auto create = [&](DWORD exStyle, const char* className, DWORD style) {
        return CreateWindowExA(
            exStyle, className, caption.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
            r.left, r.top, r.width, r.height, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ProgramInstance(), nullptr);
    };
    HWND control = nullptr;
    HFONT font = font_.Get();
    switch (design.kind) {
        case ControlKind::Panel:
            control = create(WS_EX_CONTROLPARENT, kPanelClass, WS_CLIPCHILDREN);
            break;
        case ControlKind::Image:
            control = create(0, "STATIC", SS_ICON | SS_CENTERIMAGE);
            if (control) {
                SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(titleIcon_.Get()), 0);
                SetWindowPos(control, nullptr, r.left, r.top, r.width, r.height,
                             SWP_NOZORDER | SWP_NOACTIVATE);
            }
            break;
        case ControlKind::Label: {
            const bool wraps = design.id == ControlId::subtitle_lbl;
            control = create(0, "STATIC", SS_NOPREFIX | (wraps ? SS_LEFT : SS_LEFTNOWORDWRAP));
            if (design.id == ControlId::Label2) {
                font = boldFont_.Get();
                SetPanelLabelColour(control, kSilver);
            } else if (design.id == ControlId::subtitle_lbl) {
                SetPanelLabelColour(control, kWhite);
            }
            break;
        }
        case ControlKind::GroupBox:
            control = create(WS_EX_CONTROLPARENT, "BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN);
            if (control) ForwardChildMessages(control);
            break;
        case ControlKind::ListView:
            control = create(WS_EX_CLIENTEDGE, WC_LISTVIEWA, LVS_REPORT | WS_TABSTOP);
            if (control) {
                SendMessageA(control, LVM_SETEXTENDEDLISTVIEWSTYLE,
                             LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                             LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
                for (int column = 0; column < 2; ++column) {
                    LVCOLUMNA lvColumn{};
                    lvColumn.mask = LVCF_WIDTH | LVCF_TEXT;
                    lvColumn.cx = ScaleValue(kDefaultColumnWidth, dpi_);
                    lvColumn.pszText = const_cast<char*>("");
                    SendMessageA(control, LVM_INSERTCOLUMNA, column,
                                 reinterpret_cast<LPARAM>(&lvColumn));
                }
            }
            break;
        case ControlKind::ImageButton:
            control = create(0, "BUTTON", BS_OWNERDRAW | WS_TABSTOP);
            if (control) TrackButtonHover(control);
            break;
        case ControlKind::SpeedButton: {
            const RECT bounds{r.left, r.top, r.Right(), r.top + r.height};
            control = CreateSpeedButton(parent, id, caption, bounds, &pdfGlyph_);
            break;
        }
        case ControlKind::ProgressBar:
            control = create(0, PROGRESS_CLASSA, PBS_SMOOTH);
            if (control) SendMessageA(control, PBM_SETRANGE32, 0, 100);
            break;
    }
    if (control) {
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (design.kind == ControlKind::Label && design.id != ControlId::subtitle_lbl) {
            AutoSizeLabel(control);
        }
    }
    return control;
}

void TMainDlg::PlaceAnchoredControls() {
    if (!controls_[0]) return;  // still being created
    for (const ControlDesign& design : MainDlgLayout()) {
        if (!(design.anchors & (kAnchorRight | kAnchorBottom))) continue;
        HWND control = Control(design.id);
        HWND parent = Control(design.parent);
        const Rect parentDesign = design.parent == ControlId::Window
                                      ? ScaleRect(kDesignWindow, dpi_)
                                      : ScaleRect(DesignOf(design.parent).rect, dpi_);
        RECT client;
        GetClientRect(parent, &client);
        const Rect placed =
            AnchorRect(ScaleRect(design.rect, dpi_), design.anchors, parentDesign.width,
                       parentDesign.height, client.right, client.bottom);
        SetWindowPos(control, nullptr, placed.left, placed.top, placed.width, placed.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TMainDlg::SetControlText(ControlId id, const std::string& text) {
    HWND control = Control(id);
    SetWindowTextA(control, text.c_str());
    if (DesignOf(id).kind == ControlKind::Label) AutoSizeLabel(control);
}

// Labels are as wide as their text, as designed.
void TMainDlg::AutoSizeLabel(HWND label) {
    const std::string text = WindowTextOf(label);
    WindowDc dc(label);
    SelectedObject font(dc.Get(), reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    RECT bounds;
    GetWindowRect(label, &bounds);
    SetWindowPos(label, nullptr, 0, 0, extent.cx, bounds.bottom - bounds.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(label, nullptr, TRUE);
}

bool TMainDlg::OnCommand(int controlId, int code) {
    if (controlId < 0 || controlId >= kControlCount || code != BN_CLICKED) return false;
    switch (static_cast<ControlId>(controlId)) {
        case ControlId::getRAM1_btn:
        case ControlId::getRAM2_btn:
        case ControlId::getRAM3_btn:
        case ControlId::getRAM4_btn:
            getRAM_btnClick();
            return true;
        case ControlId::drivers_btn:
            drivers_btnClick();
            return true;
        case ControlId::getSpec1_btn:
            getSpec1_btnClick();
            return true;
        case ControlId::getSpec2_btn:
            getSpec2_btnClick();
            return true;
        case ControlId::getSpec3_btn:
            getSpec3_btnClick();
            return true;
        case ControlId::getSpec4_btn:
            getSpec4_btnClick();
            return true;
        default:
            return false;
    }
}

bool TMainDlg::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const int controlId = static_cast<int>(item.CtlID) - kControlIdBase;
    if (controlId < 0 || controlId >= kControlCount) return false;
    const auto id = static_cast<ControlId>(controlId);
    if (DesignOf(id).kind != ControlKind::ImageButton) return false;
    const bool driversButton = id == ControlId::drivers_btn;
    DrawImageButton(item, imageList96_[driversButton ? 1 : 0], !driversButton);
    return true;
}

// ---- IReportView -----------------------------------------------------------------------------

void TMainDlg::SetLabel(ReportLabel label, const std::string& text) {
    SetControlText(LabelControl(label), text);
}

void TMainDlg::SetGroupEnabled(int panel, bool enabled) {
    EnableWindow(Control(SlotGroup(panel)), enabled);
}

bool TMainDlg::IsGroupEnabled(int panel) const {
    return IsWindowEnabled(Control(SlotGroup(panel))) != FALSE;
}

void TMainDlg::NarrowToLeftColumn() {
    RECT outer;
    GetWindowRect(window_, &outer);
    SetWindowPos(window_, nullptr, 0, 0, NarrowOuterWidth(dpi_), outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainDlg::ClearList(int panel) {
    SendMessageA(Control(SlotList(panel)), LVM_DELETEALLITEMS, 0, 0);
}

void TMainDlg::SetColumnCaption(int panel, int column, const std::string& caption) {
    LVCOLUMNA lvColumn{};
    lvColumn.mask = LVCF_TEXT;
    lvColumn.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(Control(SlotList(panel)), LVM_SETCOLUMNA, column,
                 reinterpret_cast<LPARAM>(&lvColumn));
}

void TMainDlg::AddRow(int panel, const std::string& parameter, const std::string& value) {
    HWND list = Control(SlotList(panel));
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<char*>(parameter.c_str());
    const auto row =
        static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) throw std::runtime_error("cannot add a row to the slot list");
    LVITEMA cell{};
    cell.iSubItem = 1;
    cell.pszText = const_cast<char*>(value.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell));
}

void TMainDlg::AutoSizeColumns(int panel) {
    HWND list = Control(SlotList(panel));
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    const auto columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int column = 0; column < columns; ++column) {
        SendMessageA(list, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE_USEHEADER);
    }
}

std::string TMainDlg::ListCell(int panel, int row, int column) const {
    HWND list = Control(SlotList(panel));
    std::string buffer(256, '\0');
    for (;;) {
        LVITEMA cell{};
        cell.iSubItem = column;
        cell.pszText = buffer.data();
        cell.cchTextMax = static_cast<int>(buffer.size());
        const auto length = static_cast<size_t>(
            SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell)));
        if (length + 1 < buffer.size()) return buffer.substr(0, length);
        buffer.assign(buffer.size() * 2, '\0');  // the text may have been cut: ask again
    }
}

void TMainDlg::SetListVisible(int panel, bool visible) {
    ShowWindow(Control(SlotList(panel)), visible ? SW_SHOWNA : SW_HIDE);
}

bool TMainDlg::IsListVisible(int panel) const {
    return HasVisibleStyle(Control(SlotList(panel)));
}

void TMainDlg::SetEmptySlotButtonVisible(int panel, bool visible) {
    ShowWindow(Control(EmptySlotButton(panel)), visible ? SW_SHOWNA : SW_HIDE);
}

bool TMainDlg::IsEmptySlotButtonVisible(int panel) const {
    return HasVisibleStyle(Control(EmptySlotButton(panel)));
}

void TMainDlg::SetSpecButtonVisible(int panel, bool visible) {
    ShowWindow(Control(SpecButton(panel)), visible ? SW_SHOWNA : SW_HIDE);
}

bool TMainDlg::IsSpecButtonVisible(int panel) const {
    return HasVisibleStyle(Control(SpecButton(panel)));
}

void TMainDlg::SetSpecButtonEnabled(int panel, bool enabled) {
    EnableWindow(Control(SpecButton(panel)), enabled);
}

}  // namespace orvalis
