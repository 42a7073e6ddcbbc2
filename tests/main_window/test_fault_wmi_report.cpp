// Fault injection through the whole slot report: each of the eleven WMI operations fails at
// each of its calls in turn. The report always runs to its end without an exception, and
// the class whose snapshot met the failure shows its failed-snapshot state while the other
// class shows its data. A failing Next ends its enumeration instead (WMI's own rule).
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "main_window/memory_report.h"
#include "main_window/report_model.h"
#include "tests/test_paths.h"
#include "wmi/memory_wmi_provider.h"
#include "wmi/snapshot_file.h"
#include "wmi/uWin32_PhysicalMemory.h"

namespace orvalis {
namespace {

// Two modules in a board of four slots: a failed module snapshot and a failed array
// snapshot look nothing alike.
std::shared_ptr<MemoryWmiProvider> Board() {
    auto board = LoadSnapshotFile(test::FixturePath("report/two-modules-four-slots.json"));
    board->SetRecording(true);  // the sweep counts the calls
    return board;
}

struct Failure {
    WmiOperation op;
    int nth;
    bool inModuleSnapshot;  // the call belongs to the module snapshot (taken first)
};

// Every call of every operation that one report makes, and to which snapshot it belongs.
std::vector<Failure> EveryCall() {
    auto modulesOnly = Board();
    { TWin32_PhysicalMemory modules(true, modulesOnly); }
    auto whole = Board();
    ReportModel ignored;
    FillMemoryReport(ignored, whole);

    std::vector<Failure> failures;
    for (int op = 0; op < kWmiOperationCount; ++op) {
        const auto operation = static_cast<WmiOperation>(op);
        const int inModules = static_cast<int>(modulesOnly->CallsOf(operation).size());
        const int total = static_cast<int>(whole->CallsOf(operation).size());
        for (int nth = 1; nth <= total; ++nth)
            failures.push_back({operation, nth, nth <= inModules});
    }
    return failures;
}

void ExpectModulesShown(const ReportModel& model) {
    const char* const makers[] = {"Kingston", "Ramaxel Technology"};
    for (int k = 1; k <= 2; ++k) {
        const auto& panel = model.PanelAt(k);
        EXPECT_TRUE(panel.listVisible) << "panel " << k;
        ASSERT_EQ(panel.rows.size(), 6u) << "panel " << k;
        EXPECT_EQ(panel.rows[2].second, makers[k - 1]);
        EXPECT_TRUE(panel.specButtonVisible);
        EXPECT_FALSE(panel.emptySlotButtonVisible);
    }
    for (int k = 3; k <= 4; ++k) EXPECT_FALSE(model.PanelAt(k).listVisible) << "panel " << k;
    EXPECT_EQ(model.Label(ReportLabel::CurrentMemory), "Current memory : 8 GB");
}

void ExpectArraysShown(const ReportModel& model) {
    EXPECT_EQ(model.Label(ReportLabel::Slots), "Number of slots : 4");
    EXPECT_EQ(model.Label(ReportLabel::MaxMemory), "Maximum memory : 16 GB");
    for (int k = 1; k <= 4; ++k) EXPECT_TRUE(model.PanelAt(k).groupEnabled) << "group " << k;
    EXPECT_FALSE(model.IsNarrow());
}

// Failed module snapshot: no list, an empty-slot button in each enabled group, no
// specification button, 0 GB.
void ExpectModulesFailed(const ReportModel& model) {
    for (int k = 1; k <= 4; ++k) {
        const auto& panel = model.PanelAt(k);
        EXPECT_FALSE(panel.listVisible) << "panel " << k;
        EXPECT_EQ(panel.emptySlotButtonVisible, panel.groupEnabled) << "panel " << k;
        EXPECT_FALSE(panel.specButtonVisible) << "panel " << k;
        EXPECT_FALSE(panel.specButtonEnabled) << "panel " << k;
    }
    EXPECT_EQ(model.Label(ReportLabel::CurrentMemory), "Current memory : 0 GB");
}

// Failed array snapshot: figures at 0, every group disabled, the window narrowed.
void ExpectArraysFailed(const ReportModel& model) {
    EXPECT_EQ(model.Label(ReportLabel::Slots), "Number of slots : 0");
    EXPECT_EQ(model.Label(ReportLabel::MaxMemory), "Maximum memory : 0 GB");
    for (int k = 1; k <= 4; ++k) {
        EXPECT_FALSE(model.PanelAt(k).groupEnabled) << "group " << k;
        EXPECT_FALSE(model.PanelAt(k).emptySlotButtonVisible) << "panel " << k;
    }
    EXPECT_TRUE(model.IsNarrow());
}

class WmiFaultReportTest : public ::testing::TestWithParam<Failure> {};

TEST_P(WmiFaultReportTest, ReportRunsToItsEndAndShowsTheFailedClass) {
    const Failure& failure = GetParam();
    auto provider = Board();
    provider->FailAt(failure.op, failure.nth);
    ReportModel model;
    ASSERT_NO_THROW(FillMemoryReport(model, provider));

    if (failure.op == WmiOperation::Next) {
        // The enumeration ends early: fewer instances or fewer properties, never a failure.
        // Whatever was cut, the panels stay coherent and the other class is whole.
        for (int k = 1; k <= 4; ++k) {
            const auto& panel = model.PanelAt(k);
            EXPECT_EQ(panel.emptySlotButtonVisible, !panel.listVisible && panel.groupEnabled);
            EXPECT_EQ(panel.specButtonVisible, panel.listVisible);
        }
        if (failure.inModuleSnapshot)
            ExpectArraysShown(model);
        else
            ExpectModulesShown(model);
        return;
    }
    if (failure.inModuleSnapshot) {
        ExpectModulesFailed(model);
        ExpectArraysShown(model);
    } else {
        ExpectArraysFailed(model);
        ExpectModulesShown(model);
    }
}

// Every operation reaches the report: none of the eleven is left out of the sweep.
TEST(WmiFaultReportSweep, CoversEveryOperationInBothSnapshots) {
    std::map<WmiOperation, std::pair<bool, bool>> seen;
    for (const Failure& failure : EveryCall())
        (failure.inModuleSnapshot ? seen[failure.op].first : seen[failure.op].second) = true;
    for (int op = 0; op < kWmiOperationCount; ++op) {
        const auto operation = static_cast<WmiOperation>(op);
        EXPECT_TRUE(seen[operation].first) << WmiOperationName(operation) << " in modules";
        EXPECT_TRUE(seen[operation].second) << WmiOperationName(operation) << " in arrays";
    }
}

std::string FailureName(const ::testing::TestParamInfo<Failure>& info) {
    return std::string(WmiOperationName(info.param.op)) + "_" + std::to_string(info.param.nth);
}

INSTANTIATE_TEST_SUITE_P(EveryCall, WmiFaultReportTest, ::testing::ValuesIn(EveryCall()),
                         FailureName);

}  // namespace
}  // namespace orvalis
