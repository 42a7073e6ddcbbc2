#include "main_window/pictures_win.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace orvalis {

namespace {

struct ResourceBytes {
    const uint8_t* data = nullptr;
    DWORD size = 0;
};

ResourceBytes FindResourceBytes(HINSTANCE module, LPCSTR name, LPCSTR type) {
    HRSRC info = FindResourceA(module, name, type);
    HGLOBAL handle = info ? LoadResource(module, info) : nullptr;
    const void* data = handle ? LockResource(handle) : nullptr;
    if (!data) {
        throw std::runtime_error("picture resource " +
                                 std::to_string(reinterpret_cast<uintptr_t>(name)) + " is missing");
    }
    return {static_cast<const uint8_t*>(data), SizeofResource(module, info)};
}

const BITMAPINFOHEADER& HeaderOf(const ResourceBytes& bytes, int bitCount) {
    if (bytes.size < sizeof(BITMAPINFOHEADER)) throw std::runtime_error("picture too short");
    const auto& header = *reinterpret_cast<const BITMAPINFOHEADER*>(bytes.data);
    if (header.biBitCount != bitCount || header.biCompression != BI_RGB || header.biWidth <= 0 ||
        header.biWidth > 256) {
        throw std::runtime_error("picture of an unexpected format");
    }
    return header;
}

UniqueBitmap MakeDibSection(int width, int height, const std::vector<uint32_t>& premultiplied) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap.Valid() || !bits) throw std::runtime_error("cannot create a picture bitmap");
    std::memcpy(bits, premultiplied.data(), premultiplied.size() * sizeof(uint32_t));
    return bitmap;
}

uint32_t Premultiply(uint32_t argb) {
    const uint32_t a = argb >> 24;
    auto channel = [&](int shift) { return ((argb >> shift & 0xFF) * a + 127) / 255; };
    return a << 24 | channel(16) << 16 | channel(8) << 8 | channel(0);
}

// Grey, lighter and fainter: how a disabled control shows its picture.
uint32_t Greyed(uint32_t argb) {
    const uint32_t r = argb >> 16 & 0xFF, g = argb >> 8 & 0xFF, b = argb & 0xFF;
    const uint32_t grey = (r * 77 + g * 151 + b * 28) >> 8;
    const uint32_t light = (grey + 2 * 200) / 3;
    const uint32_t alpha = (argb >> 24) * 3 / 5;
    return alpha << 24 | light << 16 | light << 8 | light;
}

}  // namespace

Picture Picture::FromPixels(int width, int height, std::vector<uint32_t> argb) {
    if (width <= 0 || height <= 0 || argb.size() != static_cast<size_t>(width) * height) {
        throw std::invalid_argument("picture size does not match its pixels");
    }
    std::vector<uint32_t> normal(argb.size()), greyed(argb.size());
    std::transform(argb.begin(), argb.end(), normal.begin(), Premultiply);
    std::transform(argb.begin(), argb.end(), greyed.begin(),
                   [](uint32_t p) { return Premultiply(Greyed(p)); });
    Picture picture;
    picture.width_ = width;
    picture.height_ = height;
    picture.normal_ = MakeDibSection(width, height, normal);
    picture.greyed_ = MakeDibSection(width, height, greyed);
    return picture;
}

Picture Picture::FromIconResource(HINSTANCE module, int id, int size) {
    const ResourceBytes group = FindResourceBytes(module, MAKEINTRESOURCEA(id), RT_GROUP_ICON);
    const int iconId = LookupIconIdFromDirectoryEx(const_cast<PBYTE>(group.data), TRUE, size, size,
                                                   LR_DEFAULTCOLOR);
    const ResourceBytes icon = FindResourceBytes(module, MAKEINTRESOURCEA(iconId), RT_ICON);
    const BITMAPINFOHEADER& header = HeaderOf(icon, 32);
    const int width = header.biWidth;
    const int height = header.biHeight / 2;  // colour rows, then the mask's
    const size_t needed = header.biSize + static_cast<size_t>(width) * height * 4;
    if (height <= 0 || icon.size < needed) throw std::runtime_error("icon picture too short");
    const auto* rows = reinterpret_cast<const uint32_t*>(icon.data + header.biSize);
    std::vector<uint32_t> argb(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {  // stored bottom row first
        std::memcpy(&argb[static_cast<size_t>(y) * width], rows + (height - 1 - y) * width,
                    width * sizeof(uint32_t));
    }
    return FromPixels(width, height, std::move(argb));
}

Picture Picture::FromBitmapResource(HINSTANCE module, int id) {
    const ResourceBytes bitmap = FindResourceBytes(module, MAKEINTRESOURCEA(id), RT_BITMAP);
    const BITMAPINFOHEADER& header = HeaderOf(bitmap, 24);
    const int width = header.biWidth;
    const int height = std::abs(header.biHeight);
    const bool bottomUp = header.biHeight > 0;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    if (height == 0 || bitmap.size < header.biSize + stride * height) {
        throw std::runtime_error("bitmap picture too short");
    }
    const uint8_t* pixels = bitmap.data + header.biSize;
    auto pixelAt = [&](int x, int y) {  // y from the top
        const uint8_t* p = pixels + (bottomUp ? height - 1 - y : y) * stride + x * 3;
        return static_cast<uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
    };
    const uint32_t transparent = pixelAt(0, height - 1);
    std::vector<uint32_t> argb(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t rgb = pixelAt(x, y);
            argb[static_cast<size_t>(y) * width + x] = rgb == transparent ? 0 : 0xFF000000 | rgb;
        }
    }
    return FromPixels(width, height, std::move(argb));
}

void Picture::Draw(HDC dc, int x, int y, bool enabled) const {
    if (Empty()) return;
    MemoryDc source(dc);
    SelectedObject selected(source.Get(), enabled ? normal_.Get() : greyed_.Get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, width_, height_, source.Get(), 0, 0, width_, height_, blend);
}

}  // namespace orvalis
