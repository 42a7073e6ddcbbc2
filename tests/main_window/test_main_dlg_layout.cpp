// The window's layout arithmetic: scaling, right anchors, the narrow width.
#include <gtest/gtest.h>

#include <set>

#include "main_window/main_dlg_layout.h"

namespace orvalis {
namespace {

TEST(MainDlgLayout, EveryControlHasOneEntryInCreationOrderAndItsParentComesFirst) {
    std::set<std::string_view> names;
    std::set<ControlId> created;
    for (const ControlDesign& design : MainDlgLayout()) {
        EXPECT_TRUE(names.insert(design.name).second) << design.name;
        if (design.parent != ControlId::Window) {
            EXPECT_TRUE(created.count(design.parent)) << design.name << " before its parent";
        }
        created.insert(design.id);
    }
    EXPECT_EQ(created.size(), static_cast<size_t>(kControlCount));
}

TEST(MainDlgLayout, TabOrderOfTheWindowAndOfTheGeneralGroupFollowsCreationOrder) {
    auto childrenOf = [](ControlId parent) {
        std::vector<std::string_view> order;
        for (const ControlDesign& design : MainDlgLayout()) {
            if (design.parent == parent) order.push_back(design.name);
        }
        return order;
    };
    EXPECT_EQ(childrenOf(ControlId::Window),
              (std::vector<std::string_view>{"top_pnl", "general_grp", "drivers_btn"}));
    EXPECT_EQ(childrenOf(ControlId::general_grp),
              (std::vector<std::string_view>{"slot1_grp", "slot2_grp", "slot3_grp", "slot4_grp",
                                             "system_grp", "GroupBox2"}));
    EXPECT_EQ(childrenOf(ControlId::slot3_grp),
              (std::vector<std::string_view>{"lst3", "getRAM3_btn", "getSpec3_btn"}));
}

TEST(MainDlgLayout, SlotPanelsMapToTheirControls) {
    EXPECT_EQ(DesignOf(SlotGroup(4)).name, "slot4_grp");
    EXPECT_EQ(DesignOf(SlotList(2)).name, "lst2");
    EXPECT_EQ(DesignOf(EmptySlotButton(3)).name, "getRAM3_btn");
    EXPECT_EQ(DesignOf(SpecButton(1)).name, "getSpec1_btn");
    EXPECT_EQ(DesignOf(SpecButton(1)).rect, (Rect{280, 16, 73, 89}));
    EXPECT_THROW(SlotGroup(0), std::out_of_range);
    EXPECT_THROW(SpecButton(5), std::out_of_range);
}

TEST(MainDlgLayout, ScalesLikeMulDivAtCommonPixelsPerInch) {
    struct Case {
        int value, dpi, expected;
    };
    const Case cases[] = {
        {751, 96, 751},  {751, 120, 939}, {751, 144, 1127}, {-12, 120, -15}, {-11, 120, -14},
        {-11, 144, -17}, {13, 120, 16},   {1, 144, 2},      {0, 120, 0},     {-1, 144, -2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScaleValue(c.value, c.dpi), c.expected) << c.value << " at " << c.dpi;
    }
    EXPECT_EQ(ScaleRect({-12, 0, 764, 57}, 144), (Rect{-18, 0, 1146, 86}));
}

TEST(MainDlgLayout, RightAnchorsFollowTheParentsWidth) {
    const Rect drivers = DesignOf(ControlId::drivers_btn).rect;
    const Rect general = DesignOf(ControlId::general_grp).rect;
    const Rect slot1 = DesignOf(ControlId::slot1_grp).rect;
    // 751 wide as designed, then 381 (the narrow window's client width at 96 pixels per inch).
    EXPECT_EQ(AnchorRect(drivers, DesignOf(ControlId::drivers_btn).anchors, 751, 496, 751, 496),
              drivers);
    EXPECT_EQ(AnchorRect(drivers, kAnchorTop | kAnchorRight, 751, 496, 381, 496),
              (Rect{238, 8, 137, 41}));
    EXPECT_EQ(AnchorRect(general, kAnchorLeft | kAnchorTop | kAnchorRight, 751, 496, 381, 496),
              (Rect{2, 61, 373, 430}));
    EXPECT_EQ(AnchorRect(slot1, kAnchorsDefault, 751, 496, 381, 496), slot1);
    EXPECT_EQ(AnchorRect(slot1, kAnchorLeft | kAnchorBottom, 751, 496, 751, 500),
              (Rect{8, 100, 361, 161}));
    EXPECT_EQ(AnchorRect(slot1, kAnchorsDefault | kAnchorBottom, 751, 496, 751, 500),
              (Rect{8, 96, 361, 165}));
}

TEST(MainDlgLayout, NarrowWidthKeepsTheLeftColumnOfSlotPanels) {
    EXPECT_EQ(NarrowOuterWidth(96), 387);
    EXPECT_EQ(NarrowOuterWidth(120), 3 + 10 + 451 + 20);
    EXPECT_EQ(NarrowOuterWidth(144), 3 + 12 + 542 + 24);
}

}  // namespace
}  // namespace orvalis
