// The main window's designed layout (positions at 96 pixels per inch) and the arithmetic that
// places controls: scaling to the screen's pixels per inch and following the parent's width
// for right-anchored controls. No window handles here, so it is tested natively.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace orvalis {

// Every control of the window, in creation order: siblings are created in their tab order.
enum class ControlId : int {
    top_pnl,
    Image1,
    Label2,
    subtitle_lbl,
    general_grp,
    slot1_grp,
    lst1,
    getRAM1_btn,
    getSpec1_btn,
    slot2_grp,
    lst2,
    getRAM2_btn,
    getSpec2_btn,
    slot3_grp,
    lst3,
    getRAM3_btn,
    getSpec3_btn,
    slot4_grp,
    lst4,
    getRAM4_btn,
    getSpec4_btn,
    system_grp,
    slots_lbl,
    curmem_lbl,
    maxmem_lbl,
    GroupBox2,
    phyused_lbl,
    phytot_lbl,
    mem_pb,
    drivers_btn,
    Window,  // the window itself, as a parent
};
inline constexpr int kControlCount = static_cast<int>(ControlId::Window);

enum class ControlKind {
    Panel,
    Image,
    Label,
    GroupBox,
    ListView,
    ImageButton,
    SpeedButton,
    ProgressBar
};

enum Anchor : unsigned { kAnchorLeft = 1, kAnchorTop = 2, kAnchorRight = 4, kAnchorBottom = 8 };
inline constexpr unsigned kAnchorsDefault = kAnchorLeft | kAnchorTop;

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int Right() const { return left + width; }
    bool operator==(const Rect&) const = default;
};

struct ControlDesign {
    ControlId id;
    std::string_view name;
    ControlKind kind;
    ControlId parent;
    Rect rect;  // relative to the parent's client area, at 96 pixels per inch
    std::string_view caption;
    unsigned anchors;
};

inline constexpr int kDesignDpi = 96;
inline constexpr Rect kDesignWindow{198, 179, 751, 496};  // position on screen, client size

// The whole layout, in creation order.
std::span<const ControlDesign> MainDlgLayout();
const ControlDesign& DesignOf(ControlId id);

// Slot panel K (1 to 4) of each kind.
ControlId SlotGroup(int panel);
ControlId SlotList(int panel);
ControlId EmptySlotButton(int panel);
ControlId SpecButton(int panel);

// value * dpi / 96, rounded half away from zero (as MulDiv does).
int ScaleValue(int value, int dpi);
Rect ScaleRect(const Rect& rect, int dpi);

// Where a control goes when its parent's client area changes from designWidth x designHeight
// (both already scaled) to width x height: right/bottom anchors keep the distance to that
// edge; with both left and right anchors the control stretches.
Rect AnchorRect(const Rect& placed, unsigned anchors, int designWidth, int designHeight, int width,
                int height);

// The window's outer width when only the left column of slot panels stays in view:
// general_grp's left + slot1_grp's left + slot1_grp's width + 16, each scaled (387 at 96).
int NarrowOuterWidth(int dpi);

}  // namespace orvalis
