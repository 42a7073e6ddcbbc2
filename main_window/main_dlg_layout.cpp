#include "main_window/main_dlg_layout.h"

#include <array>
#include <cstdlib>
#include <stdexcept>

namespace orvalis {

namespace {

using enum ControlId;
using K = ControlKind;
constexpr unsigned kTopLeft = kAnchorsDefault;
constexpr unsigned kTopLeftRight = kAnchorLeft | kAnchorTop | kAnchorRight;
constexpr unsigned kTopRight = kAnchorTop | kAnchorRight;

#define SLOT_PANEL(n, left, top)                                                                    \
    {slot##n##_grp,         "slot" #n "_grp", K::GroupBox, general_grp,                             \
     {left, top, 361, 161}, "Slot " #n,       kTopLeft},                                            \
        {lst##n, "lst" #n, K::ListView, slot##n##_grp, {7, 16, 266, 137}, "", kTopLeftRight},       \
        {getRAM##n##_btn, "getRAM" #n "_btn", K::ImageButton, slot##n##_grp, {8, 16, 345, 137}, "", \
         kTopLeft},                                                                                 \
    {                                                                                               \
        getSpec##n##_btn, "getSpec" #n "_btn", K::SpeedButton, slot##n##_grp, {280, 16, 73, 89},    \
            "Get Specification", kTopLeft                                                           \
    }

constexpr std::array<ControlDesign, kControlCount> kLayout{{
    {top_pnl, "top_pnl", K::Panel, Window, {-12, 0, 764, 57}, "", kTopLeftRight},
    {Image1, "Image1", K::Image, top_pnl, {24, 8, 32, 32}, "", kTopLeft},
    {Label2, "Label2", K::Label, top_pnl, {63, 10, 64, 13}, "Orvalis", kTopLeft},
    {subtitle_lbl,
     "subtitle_lbl",
     K::Label,
     top_pnl,
     {64, 26, 153, 13},
     "Memory details at your finger tips",
     kTopLeft},
    {general_grp, "general_grp", K::GroupBox, Window, {2, 61, 743, 430}, "General", kTopLeftRight},
    SLOT_PANEL(1, 8, 96),
    SLOT_PANEL(2, 8, 262),
    SLOT_PANEL(3, 376, 96),
    SLOT_PANEL(4, 376, 262),
    {system_grp,
     "system_grp",
     K::GroupBox,
     general_grp,
     {8, 12, 147, 81},
     "System Info.",
     kTopLeft},
    {slots_lbl, "slots_lbl", K::Label, system_grp, {8, 19, 79, 13}, "Number of slots :", kTopLeft},
    {curmem_lbl, "curmem_lbl", K::Label, system_grp, {8, 35, 79, 13}, "Current memory :", kTopLeft},
    {maxmem_lbl, "maxmem_lbl", K::Label, system_grp, {8, 51, 89, 13}, "Maximum memory :", kTopLeft},
    {GroupBox2,
     "GroupBox2",
     K::GroupBox,
     general_grp,
     {160, 12, 209, 81},
     "Physical Memory.",
     kTopLeft},
    {phyused_lbl, "phyused_lbl", K::Label, GroupBox2, {8, 19, 31, 13}, "Used :", kTopLeft},
    {phytot_lbl, "phytot_lbl", K::Label, GroupBox2, {8, 35, 49, 13}, "Available :", kTopLeft},
    {mem_pb, "mem_pb", K::ProgressBar, GroupBox2, {5, 56, 196, 17}, "", kTopLeft},
    {drivers_btn,
     "drivers_btn",
     K::ImageButton,
     Window,
     {608, 8, 137, 41},
     "Drivers Update",
     kTopRight},
}};

#undef SLOT_PANEL

constexpr bool IdsMatchPositions() {
    for (int i = 0; i < kControlCount; ++i) {
        if (static_cast<int>(kLayout[i].id) != i) return false;
    }
    return true;
}
static_assert(IdsMatchPositions(), "the layout table follows the order of ControlId");

ControlId PanelControl(ControlId first, int panel) {
    if (panel < 1 || panel > 4) throw std::out_of_range("slot panel out of range");
    constexpr int kControlsPerPanel = 4;
    return static_cast<ControlId>(static_cast<int>(first) + (panel - 1) * kControlsPerPanel);
}

}  // namespace

std::span<const ControlDesign> MainDlgLayout() {
    return kLayout;
}

const ControlDesign& DesignOf(ControlId id) {
    return kLayout.at(static_cast<size_t>(id));
}

ControlId SlotGroup(int panel) {
    return PanelControl(slot1_grp, panel);
}
ControlId SlotList(int panel) {
    return PanelControl(lst1, panel);
}
ControlId EmptySlotButton(int panel) {
    return PanelControl(getRAM1_btn, panel);
}
ControlId SpecButton(int panel) {
    return PanelControl(getSpec1_btn, panel);
}

int ScaleValue(int value, int dpi) {
    const long long product = static_cast<long long>(value) * dpi;
    const long long half = kDesignDpi / 2;
    const long long rounded =
        product >= 0 ? (product + half) / kDesignDpi : -((-product + half) / kDesignDpi);
    return static_cast<int>(rounded);
}

Rect ScaleRect(const Rect& rect, int dpi) {
    return {ScaleValue(rect.left, dpi), ScaleValue(rect.top, dpi), ScaleValue(rect.width, dpi),
            ScaleValue(rect.height, dpi)};
}

Rect AnchorRect(const Rect& placed, unsigned anchors, int designWidth, int designHeight, int width,
                int height) {
    Rect result = placed;
    const int dx = width - designWidth;
    const int dy = height - designHeight;
    if (anchors & kAnchorRight) {
        if (anchors & kAnchorLeft) {
            result.width += dx;
        } else {
            result.left += dx;
        }
    }
    if (anchors & kAnchorBottom) {
        if (anchors & kAnchorTop) {
            result.height += dy;
        } else {
            result.top += dy;
        }
    }
    return result;
}

int NarrowOuterWidth(int dpi) {
    const Rect general = ScaleRect(DesignOf(general_grp).rect, dpi);
    const Rect slot1 = ScaleRect(DesignOf(slot1_grp).rect, dpi);
    return general.left + slot1.left + slot1.width + ScaleValue(16, dpi);
}

}  // namespace orvalis
