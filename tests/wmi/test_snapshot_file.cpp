// Snapshot files: the real captures load, every rule of the format is kept, faults are
// refused with the file named, and a written snapshot reads back the same.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "host/ansi_text.h"
#include "tests/test_paths.h"
#include "tests/wmi/wmi_test_support.h"
#include "wmi/snapshot_file.h"
#include "wmi/uWin32_PhysicalMemory.h"
#include "wmi/uWin32_PhysicalMemoryArray.h"

namespace orvalis {
namespace {

std::string Snapshot(const std::string& classes) {
    return R"({"format": "orvalis-wmi-snapshot", "version": 1, "classes": {)" + classes + "}}";
}

std::string MessageOf(const std::string& text, const std::string& file = "bad.json") {
    try {
        ParseSnapshotText(text, file);
    } catch (const SnapshotFileError& e) {
        return e.what();
    }
    return "no error";
}

TEST(SnapshotFile, EveryRealCaptureLoads) {
    const struct {
        const char* name;
        int modules;
        long long totalBytes;
        int arrays;  // -1: not captured
        uint16_t slots;
    } captures[] = {
        {"01-fi-winxp-desktop-2x2gb.json", 2, 4LL << 30, 1, 2},
        {"02-fi-win2003-server-ecc-ddr266.json", 2, 2LL << 30, 1, 4},
        {"03-fi-win2003sp2-vmware-vm.json", 1, 1LL << 30, 1, 15},
        {"04-fi-win7-fr-gskill-ddr3.json", 2, 4LL << 30, 1, 4},
        {"06-hp-proliant-dl380g9-8dimm-mixed.json", 8, 192LL << 30, -1, 0},
        {"07-gigabyte-x570-corsair-4x32gb.json", 4, 128LL << 30, -1, 0},
        {"08-dell-inspiron3493-samsung-hynix.json", 2, 8LL << 30, -1, 0},
        {"11-lenovo-t490-samsung-2x8gb.json", 2, 16LL << 30, -1, 0},
    };
    for (const char* folder : {"as-posted", "as-delivered"})
        for (const auto& c : captures) {
            const std::string path =
                test::FixturePath(std::string("real-captures/") + folder + "/" + c.name);
            SCOPED_TRACE(path);
            std::shared_ptr<MemoryWmiProvider> provider;
            ASSERT_NO_THROW(provider = LoadSnapshotFile(path));
            TWin32_PhysicalMemory modules(true, provider);
            ASSERT_EQ(modules.GetCount(), c.modules);
            long long total = 0;
            for (int i = 0; i < modules.GetCount(); ++i) {
                modules.SetCollectionIndex(i);
                total += modules.Capacity;
            }
            EXPECT_EQ(total, c.totalBytes);
            TWin32_PhysicalMemoryArray arrays(true, provider);
            EXPECT_EQ(arrays.GetCount(), c.arrays);
            if (c.arrays > 0) {
                EXPECT_EQ(arrays.MemoryDevices, c.slots);
            }
        }
    // No capture was left out of the table.
    int files = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(test::FixturePath("real-captures/as-posted")))
        files += entry.path().extension() == ".json";
    EXPECT_EQ(files, 8);
}

TEST(SnapshotFile, ValuesArriveInTheKindsWmiDelivers) {
    auto provider = ParseSnapshotText(Snapshot(R"("Win32_PhysicalMemory": [{
        "null": null, "true": true, "false": false, "text": "8589934592",
        "int32max": 2147483647, "int32min": -2147483648,
        "above": 2147483648, "below": -2147483649, "int64max": 9223372036854775807,
        "one": 1.0, "exp": 1e3, "fraction": 0.1, "accent": "Caf\u00e9"
    }])"),
                                      "kinds.json");
    test::RawSnapshot raw("win32_physicalmemory", provider);  // class names ignore case
    ASSERT_EQ(raw.GetCount(), 1);
    const struct {
        const char* name;
        WmiValue value;
    } cases[] = {
        {"null", WmiValue::Null()},
        {"true", WmiValue::Boolean(true)},
        {"false", WmiValue::Boolean(false)},
        {"text", WmiValue::Text("8589934592")},
        {"int32max", WmiValue::Int32(2147483647)},
        {"int32min", WmiValue::Int32(std::numeric_limits<int32_t>::min())},
        {"above", WmiValue::Int64(2147483648LL)},
        {"below", WmiValue::Int64(-2147483649LL)},
        {"int64max", WmiValue::Int64(std::numeric_limits<int64_t>::max())},
        {"one", WmiValue::Double(1.0)},
        {"exp", WmiValue::Double(1000.0)},
        {"fraction", WmiValue::Double(0.1)},
        {"accent", WmiValue::Text(Utf8ToAnsi("Caf\xC3\xA9"))},
    };
    std::vector<std::string> names;
    for (const auto& c : cases) {
        EXPECT_EQ(raw.GetValue(c.name), c.value) << c.name;
        names.push_back(c.name);
    }
    EXPECT_EQ(raw.GetPropertyNames(), names);  // file order
}

TEST(SnapshotFile, NamesComeFromTheFirstInstance) {
    auto provider = ParseSnapshotText(Snapshot(R"("Win32_PhysicalMemory": [
        {"BankLabel": "B0", "Speed": 800},
        {"Extra": "not seen", "Speed": 1600},
        {"Speed": 2400, "BankLabel": "B2"}])"),
                                      "names.json");
    TWin32_PhysicalMemory modules(true, provider);
    ASSERT_EQ(modules.GetCount(), 3);
    EXPECT_EQ(modules.GetPropertyNames(), (std::vector<std::string>{"BankLabel", "Speed"}));
    // Keys in another order than the first instance's still find their values.
    EXPECT_EQ(modules.GetValueAt("BankLabel", 2), WmiValue::Text("B2"));
    EXPECT_EQ(modules.GetValueAt("Speed", 2), WmiValue::Int32(2400));
    EXPECT_EQ(modules.GetValueAt("BankLabel", 1), WmiValue::Null());
    EXPECT_EQ(modules.GetValueAt("Extra", 1), WmiValue::Int32(1));  // not a property
    modules.SetCollectionIndex(1);
    EXPECT_EQ(modules.BankLabel, "");
    EXPECT_EQ(modules.Speed, 1600u);
}

TEST(SnapshotFile, MissingAndEmptyClasses) {
    auto provider = ParseSnapshotText(Snapshot(R"("Win32_PhysicalMemoryArray": [])"), "e.json");
    EXPECT_EQ(TWin32_PhysicalMemoryArray(true, provider).GetCount(), 0);
    EXPECT_EQ(TWin32_PhysicalMemory(true, provider).GetCount(), -1);
}

TEST(SnapshotFile, SyntaxErrorsGiveLineAndColumn) {
    const struct {
        const char* text;
        const char* position;
    } cases[] = {
        {"{\n  \"format\": \"orvalis-wmi-snapshot\",\n  \"version\": 1,,\n}", "line 3, column 16"},
        {"{\"source\": \"\xC3\xA9\", x}", "line 1, column 17"},  // columns count characters
        {"", "line 1, column 1"},
        {"{\n  \"classes\": {\n", "line 3, column 1"},
    };
    for (const auto& c : cases) {
        const std::string message = MessageOf(c.text, "dir/broken.json");
        EXPECT_NE(message.find("dir/broken.json"), std::string::npos) << message;
        EXPECT_NE(message.find(c.position), std::string::npos) << message;
    }
}

TEST(SnapshotFile, BrokenRulesAreRefusedNamingTheFile) {
    const struct {
        std::string text;
        const char* says;
    } cases[] = {
        {R"([1, 2])", "top level"},
        {R"({"version": 1, "classes": {}})", "format"},
        {R"({"format": "other", "version": 1, "classes": {}})", "format"},
        {R"({"format": "orvalis-wmi-snapshot", "version": 2, "classes": {}})", "version"},
        {R"({"format": "orvalis-wmi-snapshot", "version": "1", "classes": {}})", "version"},
        {R"({"format": "orvalis-wmi-snapshot", "version": 1.0, "classes": {}})", "version"},
        {R"({"format": "orvalis-wmi-snapshot", "classes": {}})", "version"},
        {R"({"format": "orvalis-wmi-snapshot", "version": 1})", "classes"},
        {R"({"format": "orvalis-wmi-snapshot", "version": 1, "classes": []})", "classes"},
        {Snapshot(R"("A": {})"), "list"},
        {Snapshot(R"("A": [1])"), "instance 0"},
        {Snapshot(R"("A": [{"P": [1, 2]}])"), "array"},
        {Snapshot(R"("A": [{"P": {"x": 1}}])"), "object"},
        {Snapshot(R"("A": [{"P": 1}, {"P": [1]}])"), "instance 1, property 'P'"},
        {Snapshot(R"("A": [{"P": 1}, {"Q": {}}])"), "property 'Q'"},
        {Snapshot(R"("A": [{"P": 18446744073709551615}])"), "64 bits"},
        {Snapshot(R"("A": [{"P": 1e400}])"), "1e400"},  // beyond a double: no syntax error
        {Snapshot(R"("Win32_X": [], "WIN32_x": [])"), "twice"},
    };
    for (const auto& c : cases) {
        const std::string message = MessageOf(c.text, "rules.json");
        EXPECT_NE(message.find("'rules.json'"), std::string::npos) << c.text << "\n" << message;
        EXPECT_NE(message.find(c.says), std::string::npos) << c.text << "\n" << message;
    }
}

TEST(SnapshotFile, AMissingFileIsNamed) {
    const std::string path = test::ScratchDir("snapshot_missing") + "/nothing-here.json";
    try {
        LoadSnapshotFile(path);
        FAIL() << "no error";
    } catch (const SnapshotFileError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
}

WmiInstanceData EveryKind(int n) {
    WmiInstanceData data = {
        {"Null", WmiValue::Null()},
        {"Flag", WmiValue::Boolean(n == 0)},
        {"Text", WmiValue::Text(Utf8ToAnsi("Caf\xC3\xA9 \"quoted\"\t") + std::to_string(n))},
        {"Small", WmiValue::Int32(-2147483647 - n)},
        {"Big", WmiValue::Int64(9000000000LL + n)},
        {"Whole", WmiValue::Double(1.0 + n)},
        {"Fraction", WmiValue::Double(0.1 * (n + 1))},
        {"Tiny", WmiValue::Double(5e-324)},
    };
    for (int i = 0; i < 270; ++i) data.emplace_back("P" + std::to_string(i), WmiValue::Int32(i));
    return data;
}

TEST(SnapshotFile, WhatIsWrittenReadsBackTheSame) {
    auto captured = test::ProviderWith("Win32_Custom", {EveryKind(0), EveryKind(1)});
    captured->AddClass("Win32_PhysicalMemoryArray", {});
    captured->AddClass("Win32_PhysicalMemory", {test::ModuleInstance(0)});
    test::RawSnapshot custom("Win32_Custom", captured);
    test::RawSnapshot arrays("Win32_PhysicalMemoryArray", captured);
    test::RawSnapshot missing("Win32_Missing", captured);
    TWin32_PhysicalMemory modules(true, captured);
    ASSERT_EQ(custom.GetCount(), 2);
    ASSERT_EQ(missing.GetCount(), -1);

    const std::string path = test::ScratchDir("snapshot_round_trip") + "/round.json";
    WriteSnapshotFile(path, "test capture", {&custom, &arrays, &missing, &modules});
    auto replayed = LoadSnapshotFile(path);

    test::RawSnapshot custom2("Win32_Custom", replayed);
    ASSERT_EQ(custom2.GetCount(), 2);
    EXPECT_EQ(custom2.GetPropertyNames(), custom.GetPropertyNames());
    for (int i = 0; i < 2; ++i)
        for (std::size_t p = 0; p < custom.GetPropertyNames().size(); ++p)
            EXPECT_EQ(custom2.StoredValues(i)[p], custom.StoredValues(i)[p])
                << custom.GetPropertyNames()[p] << " of " << i;
    EXPECT_EQ(test::RawSnapshot("Win32_PhysicalMemoryArray", replayed).GetCount(), 0);
    EXPECT_EQ(test::RawSnapshot("Win32_Missing", replayed).GetCount(), -1);
    EXPECT_FALSE(replayed->HasClass("Win32_Missing"));
    TWin32_PhysicalMemory modules2(true, replayed);
    EXPECT_EQ(test::FieldsOf(modules2), test::ExpectedModuleFields(0));

    // Writing the replay again gives the same text.
    EXPECT_EQ(SnapshotText("test capture", {&custom2, &arrays, &missing, &modules2}),
              SnapshotText("test capture", {&custom, &arrays, &missing, &modules}));
}

TEST(SnapshotFile, WritingKeepsTheFormatsOwnRules) {
    // A small Int64 has no width of its own in the file: it reads back as Int32.
    test::RawSnapshot small("C", test::ProviderWith("C", {{{"P", WmiValue::Int64(5)}}}));
    auto replayed = ParseSnapshotText(SnapshotText("", {&small}), "small.json");
    EXPECT_EQ(test::RawSnapshot("C", replayed).GetValue("P"), WmiValue::Int32(5));

    // What the format cannot carry is refused, not written wrongly.
    const WmiValue unwritable[] = {
        WmiValue::Object(std::make_shared<WmiObject>()),
        WmiValue::Double(std::numeric_limits<double>::infinity()),
        WmiValue::Double(std::numeric_limits<double>::quiet_NaN()),
    };
    for (const WmiValue& value : unwritable) {
        test::RawSnapshot odd("Odd", test::ProviderWith("Odd", {{{"P", value}}}));
        ASSERT_EQ(odd.GetCount(), 1);
        EXPECT_THROW(SnapshotText("", {&odd}), SnapshotFileError);
    }

    // A folder that does not exist cannot take the file.
    EXPECT_THROW(
        WriteSnapshotFile(test::ScratchDir("snapshot_nofolder") + "/no/such.json", "", {&small}),
        SnapshotFileError);
}

}  // namespace
}  // namespace orvalis
