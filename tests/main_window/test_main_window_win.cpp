// The main window under Wine: its controls read back through Win32 after the start-up
// sequence ran on snapshot files, the memory-load monitor, the buttons and the errors.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <windows.h>

#include <commctrl.h>

#include <fstream>

#include "host/ansi_text.h"
#include "main_window/controls_win.h"
#include "main_window/web_pages.h"
#include "tests/main_window/main_window_test_support_win.h"
#include "tests/test_paths.h"
#include "vocabulary/size_format.h"
#include "wmi/memory_wmi_provider.h"
#include "wmi/snapshot_file.h"

namespace orvalis {
namespace {

using test::OpenWindow;
using test::WindowSetup;
using test::WindowUnderTest;
using enum ControlId;

constexpr char kEmptySlotCaption[] = "Empty slot !\n\rClick here to get more RAM";

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetUnitNames(); }
    void TearDown() override { ResetUnitNames(); }
    static void ResetUnitNames() {
        SetSizeUnitNames(
            {std::string(InitialSizeUnitNames[0]), std::string(InitialSizeUnitNames[1]),
             std::string(InitialSizeUnitNames[2]), std::string(InitialSizeUnitNames[3]),
             std::string(InitialSizeUnitNames[4])});
    }
    static WmiProviderRef Fixture(const std::string& name) {
        return LoadSnapshotFile(test::FixturePath("report/" + name + ".json"));
    }
    static int FullOuterWidth(const WindowUnderTest& under) {
        RECT outer{0, 0, ScaleValue(kDesignWindow.width, under.dlg->Dpi()), 10};
        AdjustWindowRectEx(&outer, GetWindowLongA(under.dlg->Handle(), GWL_STYLE), FALSE, 0);
        return outer.right - outer.left;
    }
};

nlohmann::json Expected(const std::string& name) {
    std::ifstream file(test::FixturePath("report/expected/" + name + ".json"));
    return nlohmann::json::parse(file);
}

std::string Ansi(const nlohmann::json& text) {
    return Utf8ToAnsi(text.get<std::string>());
}

// ---- the report on the window, one fixture per case ------------------------------------

class MainWindowReport : public MainWindowTest,
                         public ::testing::WithParamInterface<const char*> {};

TEST_P(MainWindowReport, ShowsTheExpectedReportInTheControls) {
    const std::string name = GetParam();
    const nlohmann::json expected = Expected(name);
    WindowUnderTest under = OpenWindow("window-" + name, {.provider = Fixture(name)});
    const int fullWidth = under.OuterWidth();
    EXPECT_EQ(fullWidth, FullOuterWidth(under));
    under.Activate();

    EXPECT_TRUE(under.errors->texts.empty());
    EXPECT_EQ(under.Text(Window), "Orvalis v9.8.7.6");
    EXPECT_EQ(under.Text(slots_lbl), Ansi(expected["labels"]["slots_lbl"]));
    EXPECT_EQ(under.Text(maxmem_lbl), Ansi(expected["labels"]["maxmem_lbl"]));
    EXPECT_EQ(under.Text(curmem_lbl), Ansi(expected["labels"]["curmem_lbl"]));
    const bool narrow = expected["narrow"].get<bool>();
    EXPECT_EQ(under.OuterWidth(), narrow ? NarrowOuterWidth(under.dlg->Dpi()) : fullWidth);
    // Right-anchored controls follow the width.
    RECT client, drivers, general;
    GetClientRect(under.dlg->Handle(), &client);
    GetWindowRect(under.Get(drivers_btn), &drivers);
    GetWindowRect(under.Get(general_grp), &general);
    MapWindowPoints(nullptr, under.dlg->Handle(), reinterpret_cast<POINT*>(&drivers), 2);
    MapWindowPoints(nullptr, under.dlg->Handle(), reinterpret_cast<POINT*>(&general), 2);
    EXPECT_EQ(client.right - drivers.right, ScaleValue(751 - 745, under.dlg->Dpi()));
    EXPECT_EQ(client.right - general.right, ScaleValue(751 - 745, under.dlg->Dpi()));

    for (const nlohmann::json& panel : expected["panels"]) {
        const int k = panel["slot"].get<int>();
        SCOPED_TRACE(name + ", panel " + std::to_string(k));
        HWND list = under.Get(SlotList(k));
        EXPECT_EQ(IsWindowEnabled(under.Get(SlotGroup(k))) != FALSE, panel["enabled"].get<bool>());
        EXPECT_EQ(under.Text(EmptySlotButton(k)), kEmptySlotCaption);
        if (panel["list"].is_null()) {
            EXPECT_FALSE(IsWindowVisible(list));
        } else {
            EXPECT_TRUE(IsWindowVisible(list));
            EXPECT_EQ(test::ColumnCaption(list, 0), "Parameter");
            EXPECT_EQ(test::ColumnCaption(list, 1), "Value");
            ASSERT_EQ(test::RowCount(list), static_cast<int>(panel["list"].size()));
            for (int row = 0; row < test::RowCount(list); ++row) {
                EXPECT_EQ(test::Cell(list, row, 0), Ansi(panel["list"][row][0]));
                EXPECT_EQ(test::Cell(list, row, 1), Ansi(panel["list"][row][1]));
            }
        }
        EXPECT_EQ(IsWindowVisible(under.Get(EmptySlotButton(k))) != FALSE,
                  panel["emptySlotButton"].get<bool>());
        const std::string spec = panel["specificationButton"].get<std::string>();
        HWND specButton = under.Get(SpecButton(k));
        EXPECT_EQ(IsWindowVisible(specButton) != FALSE, spec != "hidden");
        if (spec != "hidden") {
            EXPECT_EQ(IsWindowEnabled(specButton) != FALSE, spec == "enabled");
        }
        if (!panel["specificationSearch"].is_null() && panel["enabled"].get<bool>()) {
            under.shell->addresses.clear();
            under.Click(SpecButton(k));
            EXPECT_EQ(under.shell->addresses,
                      std::vector<std::string>{kSiteHost + Ansi(panel["specificationSearch"])});
        }
        if (panel["emptySlotButton"].get<bool>()) {
            under.shell->addresses.clear();
            under.Click(EmptySlotButton(k));
            EXPECT_EQ(under.shell->addresses,
                      std::vector<std::string>{"http://www.tessaran.com/orvalis/index.php"});
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, MainWindowReport,
                         ::testing::Values("four-modules-four-slots", "two-modules-four-slots",
                                           "four-modules-two-slots", "arrays-2-then-4",
                                           "arrays-4-then-2", "six-modules", "manufacturer-na",
                                           "blank-manufacturer-model", "both-failed",
                                           "half-gib-modules"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name) {
                                 if (c == '-') c = '_';
                             }
                             return name;
                         });

TEST_F(MainWindowTest, ReadErrorStopsTheReportShowsTheErrorBoxAndLeavesLaterControlsAlone) {
    test::BoxCloser closer;
    WindowUnderTest under =
        OpenWindow("window-installdate",
                   {.provider = Fixture("installdate-error-second"), .realErrorBox = true});
    under.Activate();
    const auto boxes = closer.Seen();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Orvalis");
    EXPECT_TRUE(boxes[0].hasIcon);
    EXPECT_FALSE(boxes[0].text.empty());

    EXPECT_EQ(test::RowCount(under.Get(lst1)), 6);  // filled before the error
    EXPECT_EQ(test::RowCount(under.Get(lst2)), 0);
    EXPECT_EQ(test::ColumnCaption(under.Get(lst2), 0), "");
    EXPECT_EQ(under.Text(curmem_lbl), "Current memory :");
    for (int k = 1; k <= 4; ++k) {
        EXPECT_TRUE(IsWindowVisible(under.Get(SlotList(k))));
        EXPECT_TRUE(IsWindowVisible(under.Get(EmptySlotButton(k))));
        EXPECT_TRUE(IsWindowVisible(under.Get(SpecButton(k))));
        EXPECT_TRUE(IsWindowEnabled(under.Get(SpecButton(k))));
    }
    // The window goes on: the monitor still ticks.
    under.memory->answer.ullTotalPhys = 1LL << 30;
    under.Tick();
    EXPECT_EQ(under.Text(phytot_lbl), "Total : " + FormatSize(1LL << 30));
}

// ---- the start-up sequence ---------------------------------------------------------------

TEST_F(MainWindowTest, BeforeActivationTheWindowShowsItsDesign) {
    WindowUnderTest under =
        OpenWindow("window-design", {.provider = Fixture("four-modules-four-slots")});
    EXPECT_EQ(under.Text(Window), "MainDlg");
    EXPECT_EQ(under.Text(slots_lbl), "Number of slots :");
    EXPECT_EQ(under.Text(phytot_lbl), "Available :");
    EXPECT_EQ(under.Text(Label2), "Orvalis");
    EXPECT_EQ(under.Text(subtitle_lbl), "Memory details at your finger tips");
    EXPECT_EQ(under.Text(drivers_btn), "Drivers Update");
    EXPECT_EQ(under.Text(getSpec2_btn), "Get Specification");
    EXPECT_EQ(under.Text(getRAM1_btn), "");
    RECT client;
    GetClientRect(under.dlg->Handle(), &client);
    EXPECT_EQ(client.right, ScaleValue(751, under.dlg->Dpi()));
    EXPECT_EQ(client.bottom, ScaleValue(496, under.dlg->Dpi()));
    const LONG style = GetWindowLongA(under.dlg->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_EQ(SendMessageA(under.Get(mem_pb), PBM_GETRANGE, FALSE, 0), 100);
    EXPECT_TRUE(GetWindowLongA(under.Get(mem_pb), GWL_STYLE) & PBS_SMOOTH);
    const DWORD listStyle = SendMessageA(under.Get(lst1), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    EXPECT_TRUE(listStyle & LVS_EX_FULLROWSELECT);
    EXPECT_EQ(GetWindowLongA(under.Get(lst1), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_FALSE(GetWindowLongA(under.Get(lst1), GWL_STYLE) & LVS_EDITLABELS);
    for (int k = 1; k <= 4; ++k) {
        EXPECT_TRUE(IsWindowVisible(under.Get(SlotList(k))));
        EXPECT_TRUE(IsWindowEnabled(under.Get(SlotGroup(k))));
    }
    // The speed buttons never take the focus; lists and image buttons are tab stops.
    EXPECT_FALSE(GetWindowLongA(under.Get(getSpec1_btn), GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongA(under.Get(getRAM1_btn), GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongA(under.Get(lst1), GWL_STYLE) & WS_TABSTOP);
}

TEST_F(MainWindowTest, StartupLogsSixLinesWithoutAndSevenWithParameters) {
    struct Case {
        std::vector<std::string> parameters;
        size_t lines;
    };
    const Case cases[] = {{{}, 6}, {{"/first", "second"}, 7}};
    int n = 0;
    for (const Case& c : cases) {
        WindowUnderTest under =
            OpenWindow("window-log" + std::to_string(n++), {.parameters = c.parameters});
        under.Activate();
        const auto messages = under.LogMessages();  // newest first
        ASSERT_EQ(messages.size(), c.lines);
        EXPECT_EQ(messages[c.lines - 1], "Starting");
        EXPECT_EQ(messages[c.lines - 2], "C:\\Program Files\\Tessaran\\Orvalis.exe");
        EXPECT_EQ(messages[c.lines - 3], "Orvalis v9.8.7.6");
        EXPECT_EQ(messages[c.lines - 4], "Windows : 6.1 (Seven)");
        EXPECT_EQ(messages[c.lines - 5], "64Bits : Yes");
        EXPECT_EQ(messages[c.lines - 6], "Administrator : No");
        if (c.lines == 7) {
            EXPECT_EQ(messages[0], "/first");
        }
        EXPECT_NE(under.LogPath().find("Orvalis.log"), std::string::npos);
        EXPECT_EQ(under.host->registered,
                  std::vector<std::string>{"Orvalis=C:\\Program Files\\Tessaran\\Orvalis.exe"});
    }
}

TEST_F(MainWindowTest, SecondActivationChangesNothing) {
    WindowUnderTest under =
        OpenWindow("window-twice", {.provider = Fixture("two-modules-four-slots")});
    under.Activate();
    SetWindowTextA(under.Get(slots_lbl), "marker");
    SendMessageA(under.dlg->Handle(), WM_ACTIVATEAPP, FALSE, 0);
    under.Activate();
    EXPECT_EQ(under.host->registered.size(), 1u);
    EXPECT_EQ(under.LogMessages().size(), 6u);
    EXPECT_EQ(under.Text(slots_lbl), "marker");
    EXPECT_EQ(test::RowCount(under.Get(lst1)), 6);
}

TEST_F(MainWindowTest, AFailingStepStopsTheLaterOnesForGood) {
    struct Case {
        const char* step;
        size_t logLines;
        const char* caption;
    };
    const Case cases[] = {{"register", 0, "MainDlg"},        {"version", 0, "MainDlg"},
                          {"folder", 0, "Orvalis v9.8.7.6"}, {"windows", 3, "Orvalis v9.8.7.6"},
                          {"wow64", 4, "Orvalis v9.8.7.6"},  {"admin", 5, "Orvalis v9.8.7.6"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        WindowUnderTest under =
            OpenWindow(std::string("window-fail-") + c.step,
                       {.provider = Fixture("four-modules-four-slots"), .failStep = c.step});
        under.Activate();
        ASSERT_EQ(under.errors->texts.size(), 1u);
        EXPECT_NE(under.errors->texts[0].find(c.step), std::string::npos);
        EXPECT_EQ(under.LogMessages().size(), c.logLines);
        EXPECT_EQ(under.Text(Window), c.caption);
        EXPECT_EQ(SizeUnitNames[0], InitialSizeUnitNames[0]);
        EXPECT_EQ(under.Text(getRAM1_btn), "");
        EXPECT_EQ(under.Text(slots_lbl), "Number of slots :");
        EXPECT_EQ(test::RowCount(under.Get(lst1)), 0);
        // Never tried again.
        under.host->failStep.clear();
        SendMessageA(under.dlg->Handle(), WM_ACTIVATEAPP, FALSE, 0);
        under.Activate();
        EXPECT_EQ(under.errors->texts.size(), 1u);
        EXPECT_EQ(under.Text(slots_lbl), "Number of slots :");
    }
}

TEST_F(MainWindowTest, AnEscapedErrorIsShownInTheRealErrorBoxAndTheWindowCarriesOn) {
    test::BoxCloser closer;
    WindowUnderTest under =
        OpenWindow("window-errorbox", {.realErrorBox = true, .failStep = "wow64"});
    under.Activate();
    const auto boxes = closer.Seen();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Orvalis");
    EXPECT_TRUE(boxes[0].hasIcon);
    EXPECT_NE(boxes[0].text.find("wow64 failed"), std::string::npos);
    EXPECT_TRUE(IsWindow(under.dlg->Handle()));
    EXPECT_EQ(under.LogMessages().size(), 4u);
}

// ---- the memory-load monitor ---------------------------------------------------------------

TEST_F(MainWindowTest, TimerShowsUsedAndTotalWithTheUnitNamesInForce) {
    WindowUnderTest under = OpenWindow("window-timer", {});
    const int64_t total = 8LL << 30, available = 3LL << 29;
    under.memory->answer.dwMemoryLoad = 81;
    under.memory->answer.ullTotalPhys = total;
    under.memory->answer.ullAvailPhys = available;
    under.Tick();
    EXPECT_EQ(under.memory->seenLength, sizeof(MEMORYSTATUSEX));
    EXPECT_EQ(SendMessageA(under.Get(mem_pb), PBM_GETPOS, 0, 0), 81);
    EXPECT_EQ(SendMessageA(under.Get(mem_pb), PBM_GETRANGE, FALSE, 0), 100);
    EXPECT_EQ(under.Text(phyused_lbl), "Used : 6.5 Gb.");
    EXPECT_EQ(under.Text(phytot_lbl), "Total : 8 Gb.");

    under.Activate();  // sets the unit names
    under.memory->answer.dwMemoryLoad = 100;
    under.Tick();
    EXPECT_EQ(under.Text(phyused_lbl), "Used : 6.5 GB");
    EXPECT_EQ(under.Text(phytot_lbl), "Total : 8 GB");
    EXPECT_EQ(SendMessageA(under.Get(mem_pb), PBM_GETPOS, 0, 0), 100);
}

TEST_F(MainWindowTest, FailedMemoryStatusRaisesTheSystemErrorAndKeepsTheLastTexts) {
    WindowUnderTest under = OpenWindow("window-timer-fail", {});
    under.memory->answer.dwMemoryLoad = 40;
    under.memory->answer.ullTotalPhys = 1LL << 30;
    under.Tick();
    const std::string used = under.Text(phyused_lbl);
    under.memory->failWith = ERROR_ACCESS_DENIED;
    under.Tick();
    ASSERT_EQ(under.errors->texts.size(), 1u);
    EXPECT_NE(under.errors->texts[0].find("Code : 5."), std::string::npos)
        << under.errors->texts[0];
    EXPECT_EQ(under.Text(phyused_lbl), used);
    EXPECT_EQ(SendMessageA(under.Get(mem_pb), PBM_GETPOS, 0, 0), 40);
}

// ---- the web look-ups ----------------------------------------------------------------------

TEST_F(MainWindowTest, SpecificationSearchEncodesTheKeywordReadBackFromTheList) {
    auto provider = std::make_shared<MemoryWmiProvider>();
    provider->AddClass("Win32_PhysicalMemoryArray", {{{"MaxCapacity", WmiValue::Int32(8 << 20)},
                                                      {"MemoryDevices", WmiValue::Int32(1)}}});
    provider->AddClass("Win32_PhysicalMemory", {{{"DeviceLocator", WmiValue::Text("DIMM A")},
                                                 {"Capacity", WmiValue::Text("4294967296")},
                                                 {"Manufacturer", WmiValue::Text("Kingston")},
                                                 {"PartNumber", WmiValue::Text("AB/C+D~E \xE9 ")},
                                                 {"MemoryType", WmiValue::Int32(24)},
                                                 {"Speed", WmiValue::Int32(1600)},
                                                 {"SerialNumber", WmiValue::Text("1")}}});
    WindowUnderTest under = OpenWindow("window-keyword", {.provider = provider});
    under.Activate();
    ASSERT_EQ(test::Cell(under.Get(lst1), 2, 1), "Kingston");
    under.Click(getSpec1_btn);
    EXPECT_EQ(under.shell->addresses,
              std::vector<std::string>{"http://www.tessaran.com/orvalis/index.php?keyword="
                                       "Kingston%20AB%2FC%2BD%7EE%20%E9%20"});
}

TEST_F(MainWindowTest, DriversButtonShowsTheNoticeThenOpensTheDriverPage) {
    test::BoxCloser closer;
    WindowUnderTest under = OpenWindow("window-drivers", {});
    under.Click(drivers_btn);
    const auto boxes = closer.Seen();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Orvalis");
    EXPECT_FALSE(boxes[0].hasIcon);
    EXPECT_EQ(boxes[0].text,
              "Orvalis recommends DriverAgent to maintain your drivers up to date.\n\r"
              "DriverAgent is a 3rd party product which is NOT developed nor distributed by "
              "Tessaran");
    EXPECT_EQ(under.shell->addresses,
              std::vector<std::string>{"http://www.tessaran.com/quillet/drivers.php"});
}

TEST(ShellOpenInfo, FillsOnlyTheFieldsOfTheRequest) {
    const char* address = "http://www.tessaran.com/orvalis/index.php";
    const SHELLEXECUTEINFOA info = ShellOpenInfo(address);
    EXPECT_EQ(info.cbSize, sizeof(SHELLEXECUTEINFOA));
    EXPECT_EQ(info.fMask, 0x600u);
    EXPECT_EQ(info.hwnd, nullptr);
    EXPECT_EQ(info.lpVerb, nullptr);
    EXPECT_EQ(info.lpFile, address);
    EXPECT_EQ(info.lpParameters, nullptr);
    EXPECT_EQ(info.lpDirectory, nullptr);
    EXPECT_EQ(info.nShow, SW_SHOWNORMAL);
    EXPECT_EQ(info.hInstApp, nullptr);
}

TEST(CaptionForDrawing, EveryKindOfLineBreakGivesOneLine) {
    EXPECT_EQ(CaptionForDrawing("Empty slot !\n\rClick"), "Empty slot !\nClick");
    EXPECT_EQ(CaptionForDrawing("a\r\nb\nc\rd"), "a\nb\nc\nd");
    EXPECT_EQ(CaptionForDrawing("a\n\nb"), "a\n\nb");
}

}  // namespace
}  // namespace orvalis
