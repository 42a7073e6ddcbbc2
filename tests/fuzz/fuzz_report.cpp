// The whole slot report on random snapshot files through the in-memory view, with a
// failure at a random WMI call now and then. The report either completes or stops with one
// of the project's errors (a record that cannot be read); when it completes, the final
// state of the four slot panels must be one the report can produce.
//
// Input (control bytes are taken from the end): last byte even: the rest is a snapshot file
// as it stands. Odd: the rest builds a file of arrays and modules with random values of
// every kind, which reaches the report's branches far more often than raw JSON does.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "host/errors.h"
#include "main_window/memory_report.h"
#include "main_window/report_model.h"
#include "tests/fuzz/fuzz_support.h"
#include "vocabulary/manufacturer_names.h"
#include "wmi/memory_wmi_provider.h"
#include "wmi/snapshot_file.h"
#include "wmi/uWin32_PhysicalMemory.h"
#include "wmi/uWin32_PhysicalMemoryArray.h"

namespace {

using nlohmann::json;
using orvalis::ReportLabel;
using orvalis::ReportModel;

const char* const kManufacturers[] = {
    "Kingston", "80CE000080CE", "Manufacturer00",  "", "  ", "Samsung", "0198", "N/A",
    "n/a",      "Undefined",    "7F7F7F0B00000000"};

json RandomValue(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
        case 0:
            return nullptr;
        case 1:
            return in.ConsumeIntegral<int32_t>();
        case 2:
            return in.ConsumeIntegral<int64_t>();
        case 3:
            return std::to_string(in.ConsumeIntegral<int64_t>());
        case 4:
            return in.ConsumeBool();
        case 5:
            return in.ConsumeFloatingPointInRange<double>(-1e12, 1e12);
        case 6:
            return in.ConsumeRandomLengthString(24);
        default:
            return in.ConsumeIntegralInRange<uint32_t>(0, 70000);
    }
}

// A value of the property's own kind most of the time, anything now and then.
json NumberOrRandom(FuzzedDataProvider& in, uint32_t max) {
    if (in.ConsumeIntegralInRange<int>(0, 7) == 0) return RandomValue(in);
    return in.ConsumeIntegralInRange<uint32_t>(0, max);
}

json TextOrRandom(FuzzedDataProvider& in, std::string text) {
    if (in.ConsumeIntegralInRange<int>(0, 7) == 0) return RandomValue(in);
    return text;
}

std::string BuildSnapshot(FuzzedDataProvider& in) {
    json classes = json::object();
    if (in.ConsumeIntegralInRange<int>(0, 9) != 0) {  // the class is missing now and then
        json arrays = json::array();
        for (int i = in.ConsumeIntegralInRange<int>(0, 3); i > 0; --i)
            arrays.push_back({{"Caption", "Physical Memory Array"},
                              {"MaxCapacity", NumberOrRandom(in, 0xFFFFFFFF)},
                              {"MemoryDevices", NumberOrRandom(in, 6)},
                              {"InstallDate", RandomValue(in)}});
        classes["Win32_PhysicalMemoryArray"] = arrays;
    }
    if (in.ConsumeIntegralInRange<int>(0, 9) != 0) {
        json modules = json::array();
        for (int i = in.ConsumeIntegralInRange<int>(0, 7); i > 0; --i) {
            const char* maker = kManufacturers[in.ConsumeIntegralInRange<size_t>(
                0, sizeof kManufacturers / sizeof *kManufacturers - 1)];
            json module = {
                {"BankLabel", TextOrRandom(in, "BANK 0")},
                {"Capacity",
                 TextOrRandom(in, std::to_string(in.ConsumeIntegral<uint32_t>()) + "000")},
                {"DeviceLocator", TextOrRandom(in, in.ConsumeRandomLengthString(12))},
                {"Manufacturer",
                 TextOrRandom(
                     in, in.ConsumeBool() ? std::string(maker) : in.ConsumeRandomLengthString(16))},
                {"MemoryType", NumberOrRandom(in, 30)},
                {"PartNumber", TextOrRandom(in, in.ConsumeRandomLengthString(16))},
                {"SerialNumber", TextOrRandom(in, in.ConsumeRandomLengthString(10))},
                {"Speed", NumberOrRandom(in, 5000)},
                {"InstallDate", in.ConsumeBool() ? json(nullptr) : RandomValue(in)},
            };
            modules.push_back(module);
        }
        classes["Win32_PhysicalMemory"] = modules;
    }
    return json{{"format", "orvalis-wmi-snapshot"}, {"version", 1}, {"classes", classes}}.dump(
        -1, ' ', false, json::error_handler_t::replace);
}

bool IsBlank(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) > 32) return false;
    return true;
}

bool IsNotApplicable(const std::string& text) {
    return text.size() == 3 && (text[0] | 0x20) == 'n' && text[1] == '/' && (text[2] | 0x20) == 'a';
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

void CheckFinalState(const ReportModel& model, int expectedLists, int expectedGroups) {
    int visibleLists = 0;
    int enabledGroups = 0;
    for (int k = 1; k <= ReportModel::kPanels; ++k) {
        const ReportModel::Panel& panel = model.PanelAt(k);
        if (k > 1 && panel.groupEnabled)
            FUZZ_CHECK(model.PanelAt(k - 1).groupEnabled, "group K enabled without group K-1");
        if (k > 1 && panel.listVisible)
            FUZZ_CHECK(model.PanelAt(k - 1).listVisible, "list K shown without list K-1");
        FUZZ_CHECK(panel.emptySlotButtonVisible == (!panel.listVisible && panel.groupEnabled),
                   "empty-slot button not shown exactly when list hidden and group enabled");
        FUZZ_CHECK(panel.specButtonVisible == panel.listVisible,
                   "spec button shown does not follow the list");
        if (panel.specButtonEnabled) FUZZ_CHECK(panel.specButtonVisible, "enabled but hidden");
        visibleLists += panel.listVisible;
        enabledGroups += panel.groupEnabled;
        if (!panel.listVisible) continue;

        // A shown list is a filled list of six rows.
        FUZZ_CHECK(panel.rows.size() == 6, "a shown list has not six rows");
        FUZZ_CHECK(panel.columnCaptions[0] == "Parameter" && panel.columnCaptions[1] == "Value",
                   "column captions");
        const char* const names[] = {"Slot Name", "Capacity", "Manufacturer",
                                     "Model",     "Type",     "Serial#"};
        for (size_t r = 0; r < 6; ++r) FUZZ_CHECK(panel.rows[r].first == names[r], "row order");
        const std::string& capacity = panel.rows[1].second;
        FUZZ_CHECK(capacity.size() > 3 && capacity.compare(capacity.size() - 3, 3, " GB") == 0,
                   "capacity row");
        const std::string& maker = panel.rows[2].second;
        if (IsNotApplicable(maker))
            FUZZ_CHECK(panel.rows[3].second == "N/A" && panel.rows[5].second == "N/A",
                       "N/A maker without N/A model and serial");
        FUZZ_CHECK(!panel.rows[4].second.empty(), "empty type row");
        const bool usable = maker != "N/A" && !IsBlank(maker) && !IsBlank(panel.rows[3].second);
        FUZZ_CHECK(panel.specButtonEnabled == usable, "spec button enabled wrongly");
    }
    FUZZ_CHECK(model.IsNarrow() == !model.PanelAt(3).groupEnabled, "narrow iff D < 3");
    FUZZ_CHECK(StartsWith(model.Label(ReportLabel::Slots), "Number of slots : "), "slots label");
    FUZZ_CHECK(StartsWith(model.Label(ReportLabel::MaxMemory), "Maximum memory : "), "max label");
    FUZZ_CHECK(StartsWith(model.Label(ReportLabel::CurrentMemory), "Current memory : "),
               "current label");
    if (expectedLists >= 0) FUZZ_CHECK(visibleLists == expectedLists, "lists shown != modules");
    if (expectedGroups >= 0) FUZZ_CHECK(enabledGroups == expectedGroups, "groups enabled != D");
}

// What the report should show, read from fresh records of the same provider: lists shown
// and groups enabled; -1 where a record cannot be read to the end (the report stops then).
void Expected(const orvalis::WmiProviderRef& provider, int& lists, int& groups) {
    lists = groups = -1;
    try {
        orvalis::TWin32_PhysicalMemory modules(true, provider);
        orvalis::TWin32_PhysicalMemoryArray arrays(true, provider);
        int devices = 0;
        for (int32_t i = 0; i < arrays.GetCount(); ++i) {
            arrays.SetCollectionIndex(i);
            devices = arrays.MemoryDevices;
        }
        for (int32_t i = 0; i < modules.GetCount(); ++i) modules.SetCollectionIndex(i);
        lists = std::min(std::max(modules.GetCount(), 0), 4);
        groups = std::min(devices, 4);
    } catch (const orvalis::Exception&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const bool structured = in.ConsumeIntegral<uint8_t>() % 2 == 1;
    const int failAt = in.ConsumeIntegralInRange<int>(0, 3 * orvalis::kWmiOperationCount);
    const int failNth = in.ConsumeIntegralInRange<int>(1, 6);
    const std::string text = structured ? BuildSnapshot(in) : in.ConsumeRemainingBytesAsString();

    std::shared_ptr<orvalis::MemoryWmiProvider> provider;
    try {
        provider = orvalis::ParseSnapshotText(text, "fuzz.json");
    } catch (const orvalis::SnapshotFileError&) {
        return 0;
    }

    int expectedLists = -1;
    int expectedGroups = -1;
    const bool injected = failAt < orvalis::kWmiOperationCount;
    if (!injected) Expected(provider, expectedLists, expectedGroups);
    provider->ResetScript();
    if (injected) provider->FailAt(static_cast<orvalis::WmiOperation>(failAt), failNth);

    ReportModel model;
    try {
        orvalis::FillMemoryReport(model, provider);
    } catch (const orvalis::Exception&) {
        // A record that cannot be read ends the report; its controls keep what they had.
        FUZZ_CHECK(!injected ? expectedLists < 0 : true, "report stopped on a readable file");
        return 0;
    } catch (...) {
        FUZZ_CHECK(false, "the report raised something other than the project's errors");
    }
    FUZZ_CHECK(injected || expectedLists >= 0, "report completed on an unreadable file");
    CheckFinalState(model, expectedLists, expectedGroups);
    return 0;
}
