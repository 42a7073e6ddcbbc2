// --save through the COM provider, against automation objects that behave like the WMI
// scripting objects: the file written replays to the report of the live data.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/test_paths.h"
#include "tests/wmi/fake_automation_win.h"
#include "tools/orvalis-report/report_tool.h"
#include "wmi/com_apartment_win.h"
#include "wmi/com_wmi_provider_win.h"

namespace orvalis::test {
namespace {

FakeInstance Module(const wchar_t* locator, const wchar_t* capacity, const wchar_t* maker,
                    const wchar_t* part) {
    return {{L"Capacity", FakeValue::Text(capacity)},
            {L"Caption", FakeValue::Text(L"M\u00e9moire physique")},
            {L"DeviceLocator", FakeValue::Text(locator)},
            {L"InstallDate", FakeValue::Null()},
            {L"Manufacturer", FakeValue::Text(maker)},
            {L"MemoryType", FakeValue::Int32(24)},
            {L"PartNumber", FakeValue::Text(part)},
            {L"SerialNumber", FakeValue::Text(L"1234ABCD")},
            {L"Speed", FakeValue::Int32(1600)}};
}

FakeClasses LiveClasses() {
    return {{L"Win32_PhysicalMemory",
             {Module(L"DIMM1", L"8589934592", L"80CE000080CE", L"M378B1G73EB0-CK0  "),
              Module(L"DIMM2", L"4294967296", L"Kingston", L"KHX1600C10D3/8G")}},
            {L"Win32_PhysicalMemoryArray",
             {{{L"MaxCapacity", FakeValue::Int32(16777216)},
               {L"MemoryDevices", FakeValue::Int32(4)}}}}};
}

struct ToolResult {
    int status;
    std::string out, err;
};

ToolResult RunTool(const std::vector<std::string>& args, const WmiProviderRef& live) {
    std::ostringstream out, err;
    const int status = RunReportTool(args, out, err, live);
    return {status, out.str(), err.str()};
}

TEST(ReportToolSave, ComSnapshotReplaysToTheLiveReport) {
    ComApartment apartment;
    auto wmi = FakeWmi::Create(LiveClasses());
    {
        const auto live = std::make_shared<ComWmiProvider>(wmi->Locators());
        const ToolResult report = RunTool({"--json"}, live);
        ASSERT_EQ(report.status, 0) << report.err;
        EXPECT_EQ(report.err, "");
        EXPECT_NE(report.out.find("\"Win32_PhysicalMemory\": 2, \"Win32_PhysicalMemoryArray\": 1"),
                  std::string::npos)
            << report.out;
        EXPECT_NE(report.out.find("keyword=Samsung%20M378B1G73EB0-CK0%20%20"), std::string::npos);

        const std::string saved = ScratchDir("report_tool_save_com") + "/live.json";
        const ToolResult save = RunTool({"--save", saved}, live);
        ASSERT_EQ(save.status, 0) << save.err;

        const ToolResult replay = RunTool({"--json", "--from", saved}, nullptr);
        EXPECT_EQ(replay.status, 0) << replay.err;
        EXPECT_EQ(replay.out, report.out);

        const std::string text = test::ReadFileBytes(saved);
        // Every property as delivered, text back in UTF-8.
        EXPECT_NE(text.find("\"Caption\": \"M\xC3\xA9moire physique\""), std::string::npos) << text;
        EXPECT_NE(text.find("\"Capacity\": \"4294967296\""), std::string::npos);
    }
    EXPECT_EQ(wmi->LiveObjects(), 0);  // every automation object released
}

TEST(ReportToolSave, FailedComSnapshotIsLeftOutAndReported) {
    ComApartment apartment;
    auto wmi = FakeWmi::Create(LiveClasses());
    FakeFailure notFound;
    notFound.hr = kWbemNotFound;
    wmi->Fail("services.Get", notFound);  // neither class loads
    const auto live = std::make_shared<ComWmiProvider>(wmi->Locators());
    const std::string saved = ScratchDir("report_tool_save_com_failed") + "/live.json";
    const ToolResult save = RunTool({"--save", saved}, live);
    EXPECT_EQ(save.status, 0);
    EXPECT_NE(save.err.find("Win32_PhysicalMemory failed"), std::string::npos) << save.err;
    EXPECT_NE(save.err.find("Win32_PhysicalMemoryArray failed"), std::string::npos);

    const ToolResult replay = RunTool({"--json", "--from", saved}, nullptr);
    EXPECT_EQ(replay.status, 0) << replay.err;
    EXPECT_EQ(replay.out, test::ReadFileBytes(FixturePath("report/expected/both-failed.json")));
}

}  // namespace
}  // namespace orvalis::test
