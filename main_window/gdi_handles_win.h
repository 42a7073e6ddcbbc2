// Move-only owners of the GDI and theme handles the window creates.
#pragma once

#include <windows.h>

#include <uxtheme.h>

#include "host/win_handles_win.h"

namespace orvalis {

template <typename H>
struct GdiObjectTraits {
    using Handle = H;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { DeleteObject(h); }
};

struct IconTraits {
    using Handle = HICON;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { DestroyIcon(h); }
};

struct ThemeTraits {
    using Handle = HTHEME;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { CloseThemeData(h); }
};

// A device context that GetDC handed out for a window (null window: the screen).
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A memory device context from CreateCompatibleDC.
class MemoryDc {
  public:
    explicit MemoryDc(HDC reference) : dc_(CreateCompatibleDC(reference)) {}
    ~MemoryDc() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HDC dc_;
};

using UniqueFont = UniqueWinHandle<GdiObjectTraits<HFONT>>;
using UniqueBitmap = UniqueWinHandle<GdiObjectTraits<HBITMAP>>;
using UniqueBrush = UniqueWinHandle<GdiObjectTraits<HBRUSH>>;
using UniqueIcon = UniqueWinHandle<IconTraits>;
using UniqueTheme = UniqueWinHandle<ThemeTraits>;

}  // namespace orvalis
