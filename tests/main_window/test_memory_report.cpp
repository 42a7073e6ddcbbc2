// The slot report on inline snapshots and on the report fixtures: the figures, the slot
// panels, the error that stops it, and the specification search read back from a list.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/ansi_text.h"
#include "host/errors.h"
#include "main_window/memory_report.h"
#include "main_window/report_model.h"
#include "tests/main_window/test_memory_report_support.h"
#include "tests/test_paths.h"
#include "wmi/memory_wmi_provider.h"
#include "wmi/snapshot_file.h"
#include "wmi/uWin32_PhysicalMemory.h"

namespace orvalis {
namespace {

using test::ArrayJson;
using test::ModuleJson;
using test::ModuleSpec;
using test::ReportOn;
using test::ReportOnFixture;
using test::SnapshotJson;

using Rows = std::vector<std::pair<std::string, std::string>>;

std::vector<std::string> Modules(int count, const std::string& capacity = "\"8589934592\"") {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) {
        ModuleSpec spec;
        spec.locator = "DIMM" + std::to_string(i + 1);
        spec.capacity = capacity;
        out.push_back(ModuleJson(spec));
    }
    return out;
}

int ModuleCount(const WmiProviderRef& provider) {
    TWin32_PhysicalMemory modules(true, provider);
    return modules.GetCount();
}

std::vector<bool> Groups(const ReportModel& view) {
    std::vector<bool> out;
    for (int k = 1; k <= 4; ++k) out.push_back(view.IsGroupEnabled(k));
    return out;
}

// --- Figures, slot groups and narrowing ----------------------------------------------------

struct FiguresCase {
    const char* name;
    std::vector<std::string> arrays;
    bool arraysPresent;
    std::vector<std::string> modules;
    bool modulesPresent;
    const char* slots;
    const char* maxMemory;
    const char* currentMemory;
    std::vector<bool> groups;
    bool narrow;
};

class Figures : public ::testing::TestWithParam<FiguresCase> {};

TEST_P(Figures, LabelsGroupsAndWidth) {
    const FiguresCase& c = GetParam();
    const ReportModel view = ReportOn(SnapshotJson(c.arraysPresent ? &c.arrays : nullptr,
                                                   c.modulesPresent ? &c.modules : nullptr));
    EXPECT_EQ(view.Label(ReportLabel::Slots), c.slots);
    EXPECT_EQ(view.Label(ReportLabel::MaxMemory), c.maxMemory);
    EXPECT_EQ(view.Label(ReportLabel::CurrentMemory), c.currentMemory);
    EXPECT_EQ(Groups(view), c.groups);
    EXPECT_EQ(view.IsNarrow(), c.narrow);
}

const std::vector<bool> kAll = {true, true, true, true};
const std::vector<bool> kNone = {false, false, false, false};
const std::vector<bool> kTwo = {true, true, false, false};

INSTANTIATE_TEST_SUITE_P(
    SlotReport, Figures,
    ::testing::Values(
        // 512 MiB modules: each row reads 0 GB, but the total is divided once, after summing.
        FiguresCase{"HalfGibModules",
                    {ArrayJson("4194304", 2)},
                    true,
                    Modules(2, "\"536870912\""),
                    true,
                    "Number of slots : 2",
                    "Maximum memory : 4 GB",
                    "Current memory : 1 GB",
                    kTwo,
                    true},
        // One kilobyte short of 4 GiB counts 3, and each array is truncated before summing.
        FiguresCase{"MaxCapacityTruncatedPerArray",
                    {ArrayJson("4194303", 2), ArrayJson("4194303", 4)},
                    true,
                    Modules(1),
                    true,
                    "Number of slots : 6",
                    "Maximum memory : 6 GB",
                    "Current memory : 8 GB",
                    kAll,
                    false},
        // An unsigned 32-bit MaxCapacity arrives negative: 2 TiB in kilobytes.
        FiguresCase{"MaxCapacityAboveInt32",
                    {ArrayJson("-2147483648", 4)},
                    true,
                    Modules(1),
                    true,
                    "Number of slots : 4",
                    "Maximum memory : 2048 GB",
                    "Current memory : 8 GB",
                    kAll,
                    false},
        // The groups follow the last array, not the slot total.
        FiguresCase{"LastArrayOfFourWins",
                    {ArrayJson("8388608", 2), ArrayJson("16777216", 4)},
                    true,
                    Modules(3),
                    true,
                    "Number of slots : 6",
                    "Maximum memory : 24 GB",
                    "Current memory : 24 GB",
                    kAll,
                    false},
        FiguresCase{"LastArrayOfTwoWins",
                    {ArrayJson("16777216", 4), ArrayJson("8388608", 2)},
                    true,
                    Modules(3),
                    true,
                    "Number of slots : 6",
                    "Maximum memory : 24 GB",
                    "Current memory : 24 GB",
                    kTwo,
                    true},
        // Three devices: the right column stays in view.
        FiguresCase{"ThreeDevicesKeepWidth",
                    {ArrayJson("16777216", 3)},
                    true,
                    Modules(3),
                    true,
                    "Number of slots : 3",
                    "Maximum memory : 16 GB",
                    "Current memory : 24 GB",
                    {true, true, true, false},
                    false},
        FiguresCase{"OneDevice",
                    {ArrayJson("8388608", 1)},
                    true,
                    Modules(1),
                    true,
                    "Number of slots : 1",
                    "Maximum memory : 8 GB",
                    "Current memory : 8 GB",
                    {true, false, false, false},
                    true},
        // Six modules: every one counts towards the current memory.
        FiguresCase{"SixModulesAllCounted",
                    {ArrayJson("100663296", 6)},
                    true,
                    Modules(6),
                    true,
                    "Number of slots : 6",
                    "Maximum memory : 96 GB",
                    "Current memory : 48 GB",
                    kAll,
                    false},
        FiguresCase{"BothSnapshotsFail",
                    {},
                    false,
                    {},
                    false,
                    "Number of slots : 0",
                    "Maximum memory : 0 GB",
                    "Current memory : 0 GB",
                    kNone,
                    true},
        FiguresCase{"BothClassesEmpty",
                    {},
                    true,
                    {},
                    true,
                    "Number of slots : 0",
                    "Maximum memory : 0 GB",
                    "Current memory : 0 GB",
                    kNone,
                    true},
        // A load that fails while reading array 0 may already have read MemoryDevices (field
        // 11) before the failing field 12: a failed snapshot still gives no groups.
        FiguresCase{"HalfReadFailedArray",
                    {ArrayJson("16777216", 4, ", \"MemoryErrorCorrection\": \"none\"")},
                    true,
                    Modules(1),
                    true,
                    "Number of slots : 0",
                    "Maximum memory : 0 GB",
                    "Current memory : 8 GB",
                    kNone,
                    true}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Slot panels ------------------------------------------------------------------------

// The final-state table: what each panel shows follows from "module K present" and
// "group K enabled" alone.
TEST(SlotReport, EveryPanelEndsInTheStateOfItsModuleAndGroup) {
    const char* fixtures[] = {"four-modules-four-slots.json",
                              "two-modules-four-slots.json",
                              "four-modules-two-slots.json",
                              "arrays-2-then-4.json",
                              "arrays-4-then-2.json",
                              "six-modules.json",
                              "manufacturer-na.json",
                              "blank-manufacturer-model.json",
                              "both-failed.json",
                              "half-gib-modules.json"};
    for (const char* fixture : fixtures) {
        SCOPED_TRACE(fixture);
        const auto provider = LoadSnapshotFile(test::FixturePath(std::string("report/") + fixture));
        const int modules = std::max(ModuleCount(provider), 0);
        ReportModel view;
        FillMemoryReport(view, provider);
        for (int k = 1; k <= 4; ++k) {
            SCOPED_TRACE("panel " + std::to_string(k));
            const bool present = k <= modules;
            const bool group = view.IsGroupEnabled(k);
            EXPECT_EQ(view.IsListVisible(k), present);
            EXPECT_EQ(view.PanelAt(k).rows.size(), present ? 6u : 0u);
            EXPECT_EQ(view.IsEmptySlotButtonVisible(k), !present && group);
            EXPECT_EQ(view.IsSpecButtonVisible(k), present);
            EXPECT_EQ(view.IsSpecButtonEnabled(k), present && CanGetSpecification(view, k));
        }
    }
}

struct RowsCase {
    const char* name;
    ModuleSpec module;
    Rows rows;
    bool specEnabled;
};

class ModuleRows : public ::testing::TestWithParam<RowsCase> {};

TEST_P(ModuleRows, SixRowsAndSpecificationButton) {
    const RowsCase& c = GetParam();
    const std::vector<std::string> arrays = {ArrayJson("16777216", 4)};
    const std::vector<std::string> modules = {ModuleJson(c.module)};
    const ReportModel view = ReportOn(SnapshotJson(&arrays, &modules));
    const ReportModel::Panel& panel = view.PanelAt(1);
    EXPECT_EQ(panel.rows, c.rows);
    EXPECT_EQ(panel.columnCaptions[0], "Parameter");
    EXPECT_EQ(panel.columnCaptions[1], "Value");
    EXPECT_EQ(panel.autoSizeCount, 1);
    EXPECT_TRUE(view.IsSpecButtonVisible(1));
    EXPECT_EQ(view.IsSpecButtonEnabled(1), c.specEnabled);
}

Rows RowsOf(const std::string& locator, const std::string& capacity, const std::string& maker,
            const std::string& model, const std::string& type, const std::string& serial) {
    return {{"Slot Name", locator}, {"Capacity", capacity}, {"Manufacturer", maker},
            {"Model", model},       {"Type", type},         {"Serial#", serial}};
}

ModuleSpec Spec(std::string maker, std::string part, std::string capacity = "\"8589934592\"") {
    ModuleSpec spec;
    spec.manufacturer = std::move(maker);
    spec.partNumber = std::move(part);
    spec.capacity = std::move(capacity);
    return spec;
}

INSTANTIATE_TEST_SUITE_P(
    SlotReport, ModuleRows,
    ::testing::Values(
        RowsCase{"JedecCodeAndTrailingBlanks", Spec("80CE000080CE", "M378B1G73EB0-CK0  "),
                 RowsOf("DIMM1", "8 GB", "Samsung", "M378B1G73EB0-CK0  ", "DDR3 / PC3-12800",
                        "1234ABCD"),
                 true},
        // Whole gibibytes, truncated: one byte short of 8 GiB is 7 GB.
        RowsCase{"CapacityTruncated", Spec("Kingston", "KVR", "\"8589934591\""),
                 RowsOf("DIMM1", "7 GB", "Kingston", "KVR", "DDR3 / PC3-12800", "1234ABCD"), true},
        RowsCase{"PlaceholderMakerIsNotApplicable", Spec("Manufacturer00", "ModulePartNumber00"),
                 RowsOf("DIMM1", "8 GB", "N/A", "N/A", "DDR3 / PC3-12800", "N/A"), false},
        // An unknown "n/a" stays as it came; Model and Serial# turn to N/A (letter case
        // ignored there) while the button test compares exactly, so the button stays usable.
        RowsCase{"LowerCaseNotApplicable", Spec("n/a", "X1"),
                 RowsOf("DIMM1", "8 GB", "n/a", "N/A", "DDR3 / PC3-12800", "N/A"), true},
        RowsCase{
            "BlankMaker", Spec("    ", "CT25664AA800.M16FM"),
            RowsOf("DIMM1", "8 GB", "    ", "CT25664AA800.M16FM", "DDR3 / PC3-12800", "1234ABCD"),
            false},
        RowsCase{"EmptyMaker", Spec("", "CT25664AA800.M16FM"),
                 RowsOf("DIMM1", "8 GB", "", "CT25664AA800.M16FM", "DDR3 / PC3-12800", "1234ABCD"),
                 false},
        RowsCase{"BlankModel", Spec("Kingston", " \\t  "),
                 RowsOf("DIMM1", "8 GB", "Kingston", " \t  ", "DDR3 / PC3-12800", "1234ABCD"),
                 false},
        // Bytes above 127 are text, not blanks, whatever the sign of char.
        RowsCase{
            "NonAsciiMakerIsNotBlank", Spec("\\u00e9", "X1"),
            RowsOf("DIMM1", "8 GB", Utf8ToAnsi("\xC3\xA9"), "X1", "DDR3 / PC3-12800", "1234ABCD"),
            true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SlotReport, ModuleWithOnlyNullPropertiesGivesZeroRows) {
    const std::string nullModule =
        "{\"Capacity\": null, \"DeviceLocator\": null, \"Manufacturer\": null, \"MemoryType\": "
        "null, \"PartNumber\": null, \"SerialNumber\": null, \"Speed\": null}";
    const std::vector<std::string> arrays = {ArrayJson("16777216", 4)};
    const std::vector<std::string> modules = {nullModule};
    const ReportModel view = ReportOn(SnapshotJson(&arrays, &modules));
    EXPECT_EQ(view.PanelAt(1).rows, RowsOf("", "0 GB", "", "", "DDR3", ""));
    EXPECT_TRUE(view.IsSpecButtonVisible(1));
    EXPECT_FALSE(view.IsSpecButtonEnabled(1));
    EXPECT_EQ(view.Label(ReportLabel::CurrentMemory), "Current memory : 0 GB");
}

TEST(SlotReport, SixModulesFillTheFirstFourPanelsInEnumerationOrder) {
    const ReportModel view = ReportOnFixture("six-modules.json");
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(view.ListCell(k, 0, 1),
                  std::vector<std::string>({"DIMM_A1", "DIMM_A2", "DIMM_B1", "DIMM_B2"})[k - 1]);
    EXPECT_EQ(view.Label(ReportLabel::CurrentMemory), "Current memory : 24 GB");
}

TEST(SlotReport, FailedModuleSnapshotHidesEveryListAndShowsEmptySlotButtons) {
    const std::vector<std::string> arrays = {ArrayJson("16777216", 3)};
    const ReportModel view = ReportOn(SnapshotJson(&arrays, nullptr));
    for (int k = 1; k <= 4; ++k) {
        EXPECT_FALSE(view.IsListVisible(k));
        EXPECT_EQ(view.IsEmptySlotButtonVisible(k), k <= 3);
        EXPECT_FALSE(view.IsSpecButtonVisible(k));
    }
    EXPECT_EQ(view.Label(ReportLabel::CurrentMemory), "Current memory : 0 GB");
}

TEST(SlotReport, TakesTheModuleSnapshotBeforeTheArraySnapshot) {
    auto provider = std::static_pointer_cast<MemoryWmiProvider>(
        test::ProviderOf(SnapshotJson(nullptr, nullptr)));
    provider->SetRecording(true);
    ReportModel view;
    FillMemoryReport(view, provider);
    const auto queries = provider->CallsOf(WmiOperation::ExecQuery);
    ASSERT_EQ(queries.size(), 2u);
    EXPECT_EQ(queries[0].args.at(1), "SELECT * FROM Win32_PhysicalMemory");
    EXPECT_EQ(queries[1].args.at(1), "SELECT * FROM Win32_PhysicalMemoryArray");
}

// --- An error while a record is read ----------------------------------------------------

TEST(SlotReport, ErrorOnSecondModuleStopsWithPanelOneFilledAndTheRestUntouched) {
    const auto provider =
        LoadSnapshotFile(test::FixturePath("report/installdate-error-second.json"));
    ReportModel view;
    EXPECT_THROW(FillMemoryReport(view, provider), EConvertError);

    EXPECT_EQ(view.Label(ReportLabel::Slots), "Number of slots : 4");
    EXPECT_EQ(view.Label(ReportLabel::MaxMemory), "Maximum memory : 16 GB");
    EXPECT_EQ(view.Label(ReportLabel::CurrentMemory), "Current memory :");  // design text
    EXPECT_EQ(view.ListCell(1, 0, 1), "DIMM1");
    EXPECT_EQ(view.PanelAt(1).rows.size(), 6u);
    for (int k = 1; k <= 4; ++k) {
        SCOPED_TRACE(k);
        EXPECT_TRUE(view.IsGroupEnabled(k));
        EXPECT_TRUE(view.IsListVisible(k));
        EXPECT_TRUE(view.IsEmptySlotButtonVisible(k));
        EXPECT_TRUE(view.IsSpecButtonVisible(k));
        EXPECT_TRUE(view.IsSpecButtonEnabled(k));
        if (k > 1) {
            EXPECT_TRUE(view.PanelAt(k).rows.empty());
        }
    }
}

TEST(SlotReport, ErrorInTheArrayPassLeavesTheDesignState) {
    const std::vector<std::string> arrays = {
        // Property names come from the first instance: it must have InstallDate too.
        ArrayJson("8388608", 2, ", \"InstallDate\": null"),
        ArrayJson("8388608", 2, ", \"InstallDate\": \"**************.000000+000\"")};
    const std::vector<std::string> modules = Modules(1);
    ReportModel view;
    EXPECT_THROW(FillMemoryReport(view, test::ProviderOf(SnapshotJson(&arrays, &modules))),
                 EConvertError);
    EXPECT_EQ(view.Label(ReportLabel::Slots), "Number of slots :");
    EXPECT_EQ(view.Label(ReportLabel::MaxMemory), "Maximum memory :");
    EXPECT_FALSE(view.IsNarrow());
    EXPECT_EQ(Groups(view), kAll);
    EXPECT_TRUE(view.PanelAt(1).rows.empty());
}

// --- Specification search -----------------------------------------------------------------

ReportModel ListWith(const Rows& rows) {
    ReportModel view;
    for (const auto& [parameter, value] : rows) view.AddRow(2, parameter, value);
    return view;
}

TEST(SlotReport, CanGetSpecificationNeedsUsableMakerAndModel) {
    struct Case {
        std::string maker, model;
        bool expected;
    };
    const Case cases[] = {
        {"Samsung", "M378B1G73EB0-CK0", true},
        {"N/A", "M378", false},
        {"n/a", "M378", true},  // only the exact "N/A" stands for no maker
        {"", "M378", false},
        {" \t\r\n", "M378", false},
        {"\x01Samsung\x1f", "M378", true},
        {"Samsung", "", false},
        {"Samsung", "\x20\x1f", false},
        {"Samsung", "\xA0", true},  // no blank: above code 32
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maker + "|" + c.model);
        const ReportModel view = ListWith(RowsOf("DIMM1", "8 GB", c.maker, c.model, "DDR3", "S"));
        EXPECT_EQ(CanGetSpecification(view, 2), c.expected);
    }
    EXPECT_FALSE(CanGetSpecification(ReportModel(), 2));  // a list never filled
}

TEST(SlotReport, SpecificationSearchPathReadsTheListBackAndEncodesTheKeyword) {
    struct Case {
        std::string maker, model, path;
    };
    const Case cases[] = {
        {"Samsung", "M378B1G73EB0-CK0  ",
         "/orvalis/index.php?keyword=Samsung%20M378B1G73EB0-CK0%20%20"},
        {"Kingston", "KVR1333D3/4G+~",
         "/orvalis/index.php?keyword=Kingston%20KVR1333D3%2F4G%2B%7E"},
        {"Hynix (Hyundai)", "HMT351U6CFR8C-H9",
         "/orvalis/index.php?keyword=Hynix%20%28Hyundai%29%20HMT351U6CFR8C-H9"},
        {"Caf\xE9", "X_1.0", "/orvalis/index.php?keyword=Caf%E9%20X_1.0"},
    };
    for (const Case& c : cases) {
        const ReportModel view = ListWith(RowsOf("DIMM1", "8 GB", c.maker, c.model, "DDR3", "S"));
        EXPECT_EQ(SpecificationSearchPath(view, 2), c.path);
        EXPECT_EQ(SpecificationKeyword(view, 2), c.maker + " " + c.model);
    }
}

TEST(SlotReport, SpecificationSearchOfAFilledPanelUsesItsDisplayedMaker) {
    const ReportModel view = ReportOnFixture("four-modules-four-slots.json");
    EXPECT_EQ(SpecificationSearchPath(view, 3),
              "/orvalis/index.php?keyword=Kingston%20KHX1600C10D3%2F8G");
    EXPECT_EQ(SpecificationSearchPath(view, 2),
              "/orvalis/index.php?keyword=Hynix%20%28Hyundai%29%20HMT351U6CFR8C-H9");
}

}  // namespace
}  // namespace orvalis
