#include "app/application_window_win.h"

#include <stdexcept>

#include "resources/picture_ids.h"

namespace orvalis {
namespace {

constexpr char kWindowClass[] = "TApplication";

}  // namespace

ApplicationWindow::ApplicationWindow(const std::string& title) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    bigIcon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_ORVALIS), IMAGE_ICON, 0,
                                             0, LR_DEFAULTSIZE | LR_SHARED));
    smallIcon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_ORVALIS), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &ApplicationWindow::Procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = bigIcon_;
    windowClass.hIconSm = smallIcon_;
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExA(&windowClass);

    // Visible but of no size, in the middle of the screen: its taskbar button is all there
    // is to see of it.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    window_ = CreateWindowExA(0, kWindowClass, title.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              x, y, 0, 0, nullptr, nullptr, instance, this);
    if (!window_) throw std::runtime_error("cannot create the application window");
    SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

ApplicationWindow::~ApplicationWindow() {
    if (window_) DestroyWindow(window_);
}

LRESULT CALLBACK ApplicationWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* self = static_cast<ApplicationWindow*>(create->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<ApplicationWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    // Nothing here raises; the guard keeps it so should that ever change.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT ApplicationWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            // Activated through its taskbar button: the main window takes over.
            if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam) && mainWindow_ &&
                IsWindowVisible(mainWindow_))
                SetActiveWindow(mainWindow_);
            return 0;
        case WM_SYSCOMMAND:
            // Restored from the taskbar: the main window, hidden when it was minimised into
            // this one, comes back and takes over.
            if ((wParam & 0xFFF0) == SC_RESTORE && mainWindow_) {
                const LRESULT result = DefWindowProcA(window_, message, wParam, lParam);
                ShowWindow(mainWindow_, SW_SHOW);
                SetActiveWindow(mainWindow_);
                return result;
            }
            break;
        case WM_GETMINMAXINFO:
            // No smallest size: the window stays at none.
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {0, 0};
            return 0;
        case WM_CLOSE:
            // "Close window" on the taskbar button closes the program's window.
            if (mainWindow_) PostMessageA(mainWindow_, WM_CLOSE, 0, 0);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
            window_ = nullptr;
            break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

}  // namespace orvalis
