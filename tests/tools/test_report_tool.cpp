// orvalis-report's command line, run in-process with captured streams: the JSON and text
// reports of the fixtures against expected files written by hand, exit statuses, unreadable
// snapshot files, and the live commands through an in-memory WMI.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/test_paths.h"
#include "tools/orvalis-report/report_tool.h"
#include "wmi/memory_wmi_provider.h"
#include "wmi/snapshot_file.h"

namespace orvalis {
namespace {

struct ToolResult {
    int status;
    std::string out;
    std::string err;
};

ToolResult RunTool(const std::vector<std::string>& args, const WmiProviderRef& live = nullptr) {
    std::ostringstream out, err;
    const int status = RunReportTool(args, out, err, live);
    return {status, out.str(), err.str()};
}

std::string ReadFile(const std::string& path) {
    EXPECT_TRUE(std::ifstream(path)) << path;
    return test::ReadFileBytes(path);
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string Fixture(const std::string& name) {
    return test::FixturePath("report/" + name);
}
std::string Expected(const std::string& name) {
    return ReadFile(test::FixturePath("report/expected/" + name));
}

// --- Reports from snapshot files ------------------------------------------------------------

struct JsonCase {
    const char* snapshot;  // under tests/fixtures/
    const char* expected;  // under tests/fixtures/report/expected/
    int status;
};

class JsonReport : public ::testing::TestWithParam<JsonCase> {};

TEST_P(JsonReport, MatchesTheExpectedDocument) {
    const JsonCase& c = GetParam();
    const ToolResult r = RunTool({"--json", "--from", test::FixturePath(c.snapshot)});
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out, Expected(c.expected));
    // A snapshot file is no live WMI: its missing classes are a state, not a warning.
    if (c.status == 0) {
        EXPECT_EQ(r.err, "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    ReportTool, JsonReport,
    ::testing::Values(
        JsonCase{"report/four-modules-four-slots.json", "four-modules-four-slots.json", 0},
        JsonCase{"report/two-modules-four-slots.json", "two-modules-four-slots.json", 0},
        JsonCase{"report/four-modules-two-slots.json", "four-modules-two-slots.json", 0},
        JsonCase{"report/arrays-2-then-4.json", "arrays-2-then-4.json", 0},
        JsonCase{"report/arrays-4-then-2.json", "arrays-4-then-2.json", 0},
        JsonCase{"report/six-modules.json", "six-modules.json", 0},
        JsonCase{"report/manufacturer-na.json", "manufacturer-na.json", 0},
        JsonCase{"report/blank-manufacturer-model.json", "blank-manufacturer-model.json", 0},
        JsonCase{"report/both-failed.json", "both-failed.json", 0},
        JsonCase{"report/half-gib-modules.json", "half-gib-modules.json", 0},
        JsonCase{"report/installdate-error-second.json", "installdate-error-second.json", 1},
        JsonCase{"real-captures/as-delivered/04-fi-win7-fr-gskill-ddr3.json",
                 "real-04-fi-win7-fr-gskill-ddr3.json", 0}),
    [](const auto& info) {
        std::string name = info.param.expected;
        name = name.substr(0, name.find('.'));
        for (char& c : name)
            if (c == '-') c = '_';
        return name;
    });

TEST(ReportTool, TextReportShowsEachPanelAsTheWindowDoes) {
    for (const char* name : {"two-modules-four-slots", "arrays-4-then-2", "manufacturer-na"}) {
        SCOPED_TRACE(name);
        const ToolResult r = RunTool({"--from", Fixture(std::string(name) + ".json")});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, Expected(std::string(name) + ".txt"));
    }
}

TEST(ReportTool, RecordErrorStopsTheTextReportWithStatusOne) {
    const ToolResult r = RunTool({"--from", Fixture("installdate-error-second.json")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Slot Name     DIMM1"), std::string::npos);
    EXPECT_NE(r.out.find("Report stopped by an error: Date CIM incorrecte"), std::string::npos);
    EXPECT_EQ(r.out.find("Slots in use"), std::string::npos);
    EXPECT_NE(r.err.find("the report stopped"), std::string::npos);
}

// --- Usage --------------------------------------------------------------------------------

TEST(ReportTool, UsageErrorsAndInformationCommands) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* outContains;
        const char* errContains;
    };
    const Case cases[] = {
        {{"--help"}, 0, "Usage: orvalis-report", ""},
        {{"--version"}, 0, "orvalis-report " ORVALIS_VERSION_TEXT "\n", ""},
        {{"--bogus"}, 2, "", "unknown argument \"--bogus\""},
        {{"--from"}, 2, "", "--from needs a file name"},
        {{"--save"}, 2, "", "--save needs a file name"},
        {{"--from", "a.json", "--from", "b.json"}, 2, "", "--from given twice"},
        {{"--save", "a.json", "--json"}, 2, "", "cannot be combined"},
        {{"--save", "a.json", "--from", "b.json"}, 2, "", "cannot be combined"},
        // No live WMI here (null provider): live commands refuse instead of reporting.
        {{}, 2, "", "live WMI data needs Windows"},
        {{"--json"}, 2, "", "live WMI data needs Windows"},
        {{"--save", "a.json"}, 2, "", "live WMI data needs Windows"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0]);
        const ToolResult r = RunTool(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.out.find(c.outContains), std::string::npos) << r.out;
        EXPECT_NE(r.err.find(c.errContains), std::string::npos) << r.err;
        if (c.status == 2) {
            EXPECT_EQ(r.out, "");
        }
    }
}

// --- Snapshot files that cannot be used ---------------------------------------------------

TEST(ReportTool, UnusableSnapshotFileIsRefusedWithItsNameAndStatusTwo) {
    const std::string dir = test::ScratchDir("report_tool_bad_files");
    struct Case {
        const char* file;
        const char* text;  // null: the file does not exist
        const char* errContains;
    };
    const Case cases[] = {
        {"syntax.json",
         "{\n  \"format\": \"orvalis-wmi-snapshot\",\n  \"version\": 1,\n  \"classes\": { , }\n}\n",
         "line 4, column"},
        {"format.json", "{\"format\": \"orvalis-report\", \"version\": 1, \"classes\": {}}",
         "\"format\""},
        {"version.json", "{\"format\": \"orvalis-wmi-snapshot\", \"version\": 2, \"classes\": {}}",
         "\"version\""},
        {"missing.json", nullptr, "missing.json"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = dir + "/" + c.file;
        if (c.text) WriteFile(path, c.text);
        for (const char* mode : {"--json", "--from"}) {
            std::vector<std::string> args = {"--from", path};
            if (std::string(mode) == "--json") args.insert(args.begin(), "--json");
            const ToolResult r = RunTool(args);
            EXPECT_EQ(r.status, 2);
            EXPECT_EQ(r.out, "");  // nothing half-reported
            EXPECT_NE(r.err.find(c.file), std::string::npos) << r.err;
            EXPECT_NE(r.err.find(c.errContains), std::string::npos) << r.err;
        }
    }
}

// --- Live commands, through an in-memory WMI ------------------------------------------------

TEST(ReportTool, FailedLiveSnapshotsAreAStateWithOneErrorLineEach) {
    // A WMI that knows neither class, as Wine's: both snapshots fail.
    const ToolResult r = RunTool({"--json"}, std::make_shared<MemoryWmiProvider>());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Expected("both-failed.json"));
    EXPECT_EQ(r.err,
              "orvalis-report: the WMI snapshot of Win32_PhysicalMemory failed: no data could be "
              "read for this class\n"
              "orvalis-report: the WMI snapshot of Win32_PhysicalMemoryArray failed: no data "
              "could be read for this class\n");
}

TEST(ReportTool, LiveReportUsesTheLiveProvider) {
    const ToolResult r = RunTool({}, LoadSnapshotFile(Fixture("two-modules-four-slots.json")));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Expected("two-modules-four-slots.txt"));
    EXPECT_EQ(r.err, "");
}

TEST(ReportTool, SavedLiveSnapshotReplaysToTheSameReport) {
    const std::string dir = test::ScratchDir("report_tool_save");
    for (const char* name : {"four-modules-two-slots.json", "installdate-error-second.json",
                             "half-gib-modules.json"}) {
        SCOPED_TRACE(name);
        const std::string saved = dir + "/" + name;
        const ToolResult save = RunTool({"--save", saved}, LoadSnapshotFile(Fixture(name)));
        ASSERT_EQ(save.status, 0) << save.err;
        EXPECT_EQ(save.err, "");
        EXPECT_NE(save.out.find(saved), std::string::npos);

        const ToolResult original = RunTool({"--json", "--from", Fixture(name)});
        const ToolResult replay = RunTool({"--json", "--from", saved});
        EXPECT_EQ(replay.status, original.status);
        EXPECT_EQ(replay.out, original.out);
    }
}

TEST(ReportTool, SaveLeavesAFailedClassOutAndSaysSo) {
    auto live = std::make_shared<MemoryWmiProvider>();
    live->AddClass("Win32_PhysicalMemoryArray", {{{"MaxCapacity", WmiValue::Int32(8388608)},
                                                  {"MemoryDevices", WmiValue::Int32(2)}}});
    const std::string saved = test::ScratchDir("report_tool_save_failed") + "/live.json";
    const ToolResult save = RunTool({"--save", saved}, live);
    EXPECT_EQ(save.status, 0);
    EXPECT_EQ(save.err,
              "orvalis-report: the WMI snapshot of Win32_PhysicalMemory failed: no data could be "
              "read for this class\n");

    const ToolResult replay = RunTool({"--json", "--from", saved});
    EXPECT_EQ(replay.status, 0);
    EXPECT_NE(replay.out.find("\"snapshots\": { \"Win32_PhysicalMemory\": -1, "
                              "\"Win32_PhysicalMemoryArray\": 1 }"),
              std::string::npos)
        << replay.out;
    EXPECT_NE(replay.out.find("\"slots_lbl\": \"Number of slots : 2\""), std::string::npos);
}

TEST(ReportTool, SaveToAnUnwritablePathIsStatusTwo) {
    const std::string path = test::ScratchDir("report_tool_unwritable") + "/no/such/dir/x.json";
    const ToolResult r =
        RunTool({"--save", path}, LoadSnapshotFile(Fixture("two-modules-four-slots.json")));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("x.json"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace orvalis
