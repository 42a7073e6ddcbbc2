#include "main_window/controls_win.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vsstyle.h>

#include <memory>
#include <vector>

namespace orvalis {

namespace {

constexpr char kTextColourProp[] = "OrvalisTextColour";
constexpr char kHotProp[] = "OrvalisHot";
constexpr int kGlyphSpacing = 4;  // between picture and caption, as the toolkit spaces them
constexpr UINT_PTR kForwardSubclassId = 1;
constexpr UINT_PTR kHoverSubclassId = 2;

// ---- dark panel --------------------------------------------------------------------------

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(window, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_WINDOWFRAME));
            return 1;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            RECT client;
            GetClientRect(window, &client);
            DrawEdge(dc, &client, BDR_SUNKENINNER, BF_RECT);  // lowered inner bevel only
            EndPaint(window, &paint);
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            HWND child = reinterpret_cast<HWND>(lParam);
            const auto stored = reinterpret_cast<uintptr_t>(GetPropA(child, kTextColourProp));
            SetTextColor(
                dc, stored ? static_cast<COLORREF>(stored - 1) : GetSysColor(COLOR_WINDOWTEXT));
            SetBkMode(dc, TRANSPARENT);
            SetBkColor(dc, GetSysColor(COLOR_WINDOWFRAME));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOWFRAME));
        }
        case WM_NCDESTROY:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// ---- group boxes as containers -------------------------------------------------------------

LRESULT CALLBACK ForwardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                             DWORD_PTR) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return SendMessageA(GetParent(window), message, wParam, lParam);
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(window, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(window, ForwardProc, id);
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// ---- image buttons -----------------------------------------------------------------------

bool IsHot(HWND button) {
    return GetPropA(button, kHotProp) != nullptr;
}

void SetHot(HWND button, bool hot) {
    if (hot == IsHot(button)) return;
    if (hot) {
        SetPropA(button, kHotProp, reinterpret_cast<HANDLE>(1));
    } else {
        RemovePropA(button, kHotProp);
    }
    InvalidateRect(button, nullptr, FALSE);
}

LRESULT CALLBACK HoverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                           DWORD_PTR) {
    switch (message) {
        case WM_MOUSEMOVE:
            if (!IsHot(window)) {
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
                TrackMouseEvent(&track);
                SetHot(window, true);
            }
            break;
        case WM_MOUSELEAVE:
            SetHot(window, false);
            break;
        case WM_NCDESTROY:
            RemovePropA(window, kHotProp);
            RemoveWindowSubclass(window, HoverProc, id);
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// A push-button face: themed when visual styles are on, classic otherwise.
void DrawButtonFace(HWND window, HDC dc, const RECT& bounds, int state) {
    HTHEME theme = OpenThemeData(window, L"BUTTON");
    if (theme) {
        if (IsThemeBackgroundPartiallyTransparent(theme, BP_PUSHBUTTON, state)) {
            FillRect(dc, &bounds, GetSysColorBrush(COLOR_BTNFACE));
        }
        DrawThemeBackground(theme, dc, BP_PUSHBUTTON, state, &bounds, nullptr);
        CloseThemeData(theme);
        return;
    }
    RECT face = bounds;
    UINT flags = DFCS_BUTTONPUSH;
    if (state == PBS_PRESSED) flags |= DFCS_PUSHED;
    if (state == PBS_DISABLED) flags |= DFCS_INACTIVE;
    DrawFrameControl(dc, &face, DFC_BUTTON, flags);
}

void DrawFlatFace(HDC dc, const RECT& bounds, bool hot, bool pressed) {
    FillRect(dc, &bounds, GetSysColorBrush(COLOR_BTNFACE));
    if (pressed || hot) {
        RECT edge = bounds;
        DrawEdge(dc, &edge, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
}

void DrawCaption(HDC dc, const std::string& text, RECT bounds, UINT format, bool enabled) {
    SetBkMode(dc, TRANSPARENT);
    if (enabled) {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextA(dc, text.c_str(), -1, &bounds, format);
        return;
    }
    // Disabled text, engraved as the system draws it.
    RECT shade = bounds;
    OffsetRect(&shade, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(dc, text.c_str(), -1, &shade, format);
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(dc, text.c_str(), -1, &bounds, format);
}

// ---- speed buttons -----------------------------------------------------------------------

struct SpeedButtonState {
    const Picture* picture = nullptr;
    HFONT font = nullptr;
    bool hot = false;
    bool pressed = false;
};

SpeedButtonState* StateOf(HWND window) {
    return reinterpret_cast<SpeedButtonState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void PaintSpeedButton(HWND window, HDC dc, const SpeedButtonState& state) {
    RECT client;
    GetClientRect(window, &client);
    const bool enabled = IsWindowEnabled(window);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const int face = !enabled        ? PBS_DISABLED
                     : state.pressed ? PBS_PRESSED
                     : state.hot     ? PBS_HOT
                                     : PBS_NORMAL;
    DrawButtonFace(window, dc, client, face);

    SelectedObject font(dc, state.font ? state.font : GetStockObject(DEFAULT_GUI_FONT));
    const std::string caption = CaptionForDrawing(WindowTextOf(window));
    constexpr int kMargin = 4;
    RECT text{client.left + kMargin, 0, client.right - kMargin, 0};
    const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
    DrawTextA(dc, caption.c_str(), -1, &text, format | DT_CALCRECT);
    text.left = client.left + kMargin;
    text.right = client.right - kMargin;
    const int pictureHeight = state.picture ? state.picture->Height() : 0;
    const int pictureWidth = state.picture ? state.picture->Width() : 0;
    const int textHeight = text.bottom - text.top;
    const int blockHeight = pictureHeight + (caption.empty() ? 0 : kGlyphSpacing + textHeight);
    const int shift = state.pressed ? 1 : 0;
    int top = client.top + (client.bottom - client.top - blockHeight) / 2 + shift;
    if (state.picture) {
        const int left = client.left + (client.right - client.left - pictureWidth) / 2 + shift;
        state.picture->Draw(dc, left, top, enabled);
        top += pictureHeight + kGlyphSpacing;
    }
    OffsetRect(&text, shift, top - text.top);
    DrawCaption(dc, caption, text, format, enabled);
}

void ClickSpeedButton(HWND window) {
    SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED),
                 reinterpret_cast<LPARAM>(window));
}

LRESULT CALLBACK SpeedButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SpeedButtonState* state = StateOf(window);
    switch (message) {
        case WM_NCCREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            auto owned = std::make_unique<SpeedButtonState>();
            owned->picture = static_cast<const Picture*>(create->lpCreateParams);
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owned.release()));
            break;
        }
        case WM_NCDESTROY:
            delete state;
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            break;
        case WM_SETFONT:
            if (state) state->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) InvalidateRect(window, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return state ? reinterpret_cast<LRESULT>(state->font) : 0;
        case WM_ERASEBKGND:
            return 1;  // painted whole in WM_PAINT
        case WM_PAINT:
        case WM_PRINTCLIENT: {
            PAINTSTRUCT paint{};
            HDC dc =
                message == WM_PAINT ? BeginPaint(window, &paint) : reinterpret_cast<HDC>(wParam);
            if (state) PaintSpeedButton(window, dc, *state);
            if (message == WM_PAINT) EndPaint(window, &paint);
            return 0;
        }
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
            InvalidateRect(window, nullptr, TRUE);
            return result;
        }
        case WM_ENABLE:
            if (state) state->pressed = false;
            InvalidateRect(window, nullptr, TRUE);
            return 0;
        case WM_MOUSEMOVE: {
            if (!state) break;
            RECT client;
            GetClientRect(window, &client);
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const bool inside = PtInRect(&client, at);
            if (!state->hot) {
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
                TrackMouseEvent(&track);
            }
            const bool pressed = GetCapture() == window && inside;
            if (state->hot != inside || state->pressed != pressed) {
                state->hot = inside;
                state->pressed = pressed;
                InvalidateRect(window, nullptr, TRUE);
            }
            return 0;
        }
        case WM_MOUSELEAVE:
            if (state && state->hot) {
                state->hot = false;
                InvalidateRect(window, nullptr, TRUE);
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (state && IsWindowEnabled(window)) {
                SetCapture(window);
                state->pressed = true;
                InvalidateRect(window, nullptr, TRUE);
            }
            return 0;  // a speed button never takes the focus
        case WM_LBUTTONUP:
            if (state && GetCapture() == window) {
                const bool click = state->pressed;
                ReleaseCapture();  // clears pressed through WM_CAPTURECHANGED
                if (click) ClickSpeedButton(window);
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (state && state->pressed) {
                state->pressed = false;
                InvalidateRect(window, nullptr, TRUE);
            }
            return 0;
        case BM_CLICK:
            if (IsWindowEnabled(window)) ClickSpeedButton(window);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void RegisterControlClasses(HINSTANCE instance) {
    WNDCLASSEXA panel{};
    panel.cbSize = sizeof(panel);
    panel.lpfnWndProc = PanelProc;
    panel.hInstance = instance;
    panel.hCursor = LoadCursor(nullptr, IDC_ARROW);
    panel.lpszClassName = kPanelClass;
    RegisterClassExA(&panel);  // fails harmlessly when already registered

    WNDCLASSEXA speed{};
    speed.cbSize = sizeof(speed);
    speed.style = CS_DBLCLKS;
    speed.lpfnWndProc = SpeedButtonProc;
    speed.hInstance = instance;
    speed.hCursor = LoadCursor(nullptr, IDC_ARROW);
    speed.lpszClassName = kSpeedButtonClass;
    RegisterClassExA(&speed);
}

void SetPanelLabelColour(HWND label, COLORREF colour) {
    SetPropA(label, kTextColourProp, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(colour) + 1));
}

void ForwardChildMessages(HWND container) {
    SetWindowSubclass(container, ForwardProc, kForwardSubclassId, 0);
}

void TrackButtonHover(HWND button) {
    SetWindowSubclass(button, HoverProc, kHoverSubclassId, 0);
}

void DrawImageButton(const DRAWITEMSTRUCT& item, const Picture& picture, bool flat) {
    HDC dc = item.hDC;
    const RECT bounds = item.rcItem;
    const bool pressed = item.itemState & ODS_SELECTED;
    const bool enabled = !(item.itemState & ODS_DISABLED);
    const bool focused = item.itemState & ODS_FOCUS;
    const bool hot = IsHot(item.hwndItem);
    if (flat) {
        DrawFlatFace(dc, bounds, hot && enabled, pressed);
    } else {
        const int face = !enabled  ? PBS_DISABLED
                         : pressed ? PBS_PRESSED
                         : hot     ? PBS_HOT
                         : focused ? PBS_DEFAULTED
                                   : PBS_NORMAL;
        FillRect(dc, &bounds, GetSysColorBrush(COLOR_BTNFACE));
        DrawButtonFace(item.hwndItem, dc, bounds, face);
    }

    SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
    const std::string caption = CaptionForDrawing(WindowTextOf(item.hwndItem));
    const UINT format = DT_LEFT | DT_NOPREFIX;
    RECT text{0, 0, 0, 0};
    if (!caption.empty()) DrawTextA(dc, caption.c_str(), -1, &text, format | DT_CALCRECT);
    const int textWidth = text.right - text.left;
    const int textHeight = text.bottom - text.top;
    const int gap = caption.empty() || picture.Empty() ? 0 : kGlyphSpacing;
    const int blockWidth = picture.Width() + gap + textWidth;
    const int shift = pressed ? 1 : 0;
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    const int left = bounds.left + (width - blockWidth) / 2 + shift;
    picture.Draw(dc, left, bounds.top + (height - picture.Height()) / 2 + shift, enabled);
    RECT placed{left + picture.Width() + gap, bounds.top + (height - textHeight) / 2 + shift, 0, 0};
    placed.right = placed.left + textWidth;
    placed.bottom = placed.top + textHeight;
    DrawCaption(dc, caption, placed, format, enabled);

    if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = bounds;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
}

HWND CreateSpeedButton(HWND parent, int id, const std::string& caption, const RECT& bounds,
                       const Picture* picture) {
    return CreateWindowExA(0, kSpeedButtonClass, caption.c_str(), WS_CHILD | WS_VISIBLE,
                           bounds.left, bounds.top, bounds.right - bounds.left,
                           bounds.bottom - bounds.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)),
                           const_cast<Picture*>(picture));
}

std::string WindowTextOf(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::vector<char> buffer(static_cast<size_t>(length) + 2);
    const int copied = GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), copied > 0 ? copied : 0);
}

std::string CaptionForDrawing(const std::string& caption) {
    std::string lines;
    for (size_t i = 0; i < caption.size(); ++i) {
        const char c = caption[i];
        if (c == '\r' || c == '\n') {
            lines += '\n';
            const char next = i + 1 < caption.size() ? caption[i + 1] : '\0';
            if ((next == '\r' || next == '\n') && next != c) ++i;
        } else {
            lines += c;
        }
    }
    return lines;
}

}  // namespace orvalis
