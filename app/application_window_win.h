// The application's own window: never seen itself, it owns the main window and carries the
// program's taskbar button, so the taskbar shows the application title ("Orvalis") while the
// main window's caption shows the version.
#pragma once

#include <windows.h>

#include <string>

namespace orvalis {

class ApplicationWindow {
  public:
    explicit ApplicationWindow(const std::string& title);
    ~ApplicationWindow();
    ApplicationWindow(const ApplicationWindow&) = delete;
    ApplicationWindow& operator=(const ApplicationWindow&) = delete;

    HWND Handle() const { return window_; }
    // The window that the taskbar button activates, restores and closes.
    void SetMainWindow(HWND mainWindow) { mainWindow_ = mainWindow; }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    HWND mainWindow_ = nullptr;
    HICON bigIcon_ = nullptr;  // shared icons from LoadIcon: never destroyed
    HICON smallIcon_ = nullptr;
};

}  // namespace orvalis
