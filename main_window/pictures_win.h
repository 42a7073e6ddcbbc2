// The window's pictures, read from the program's resources as 32-bit premultiplied pixels and
// drawn with their transparency, plainly or greyed for a disabled control.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "main_window/gdi_handles_win.h"

namespace orvalis {

class Picture {
  public:
    Picture() = default;

    // A 32-bit icon with alpha (the image of its size in the icon group).
    static Picture FromIconResource(HINSTANCE module, int id, int size);
    // A 24-bit bitmap; its bottom-left pixel's colour is transparent.
    static Picture FromBitmapResource(HINSTANCE module, int id);
    // Pixels as non-premultiplied 0xAARRGGBB, top row first.
    static Picture FromPixels(int width, int height, std::vector<uint32_t> argb);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0; }

    void Draw(HDC dc, int x, int y, bool enabled) const;

  private:
    int width_ = 0;
    int height_ = 0;
    UniqueBitmap normal_;
    UniqueBitmap greyed_;
};

}  // namespace orvalis
