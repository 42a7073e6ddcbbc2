// Snapshot load of a file with 4, 64 and 1024 memory modules of realistic width (all 30
// properties of the class), against parsing the same file with nlohmann-json alone.
#include <benchmark/benchmark.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "bench_support.h"
#include "wmi/snapshot_file.h"
#include "wmi/uWin32_PhysicalMemory.h"

namespace orvalis {
namespace {

using nlohmann::ordered_json;

ordered_json Module(int i) {
    const std::string n = std::to_string(i);
    return ordered_json{
        {"BankLabel", "BANK " + n},
        {"Capacity", "8589934592"},
        {"Caption", "Physical Memory"},
        {"CreationClassName", "Win32_PhysicalMemory"},
        {"DataWidth", 64},
        {"Description", "Physical Memory"},
        {"DeviceLocator", "ChannelA-DIMM" + n},
        {"FormFactor", 8},
        {"HotSwappable", nullptr},
        {"InstallDate", nullptr},
        {"InterleaveDataDepth", 0},
        {"InterleavePosition", 0},
        {"Manufacturer", "80CE000080CE"},
        {"MemoryType", 24},
        {"Model", nullptr},
        {"Name", "Physical Memory"},
        {"OtherIdentifyingInfo", nullptr},
        {"PartNumber", "M378B1G73EB0-CK0  "},
        {"PositionInRow", 1},
        {"PoweredOn", nullptr},
        {"Removable", false},
        {"Replaceable", true},
        {"SerialNumber", "1234ABCD"},
        {"SKU", nullptr},
        {"Speed", 1600},
        {"Status", nullptr},
        {"Tag", "Physical Memory " + n},
        {"TotalWidth", 64},
        {"TypeDetail", 128},
        {"Version", nullptr},
    };
}

std::string SnapshotWithModules(int count) {
    ordered_json modules = ordered_json::array();
    for (int i = 0; i < count; ++i) modules.push_back(Module(i));
    ordered_json root{{"format", "orvalis-wmi-snapshot"},
                      {"version", 1},
                      {"source", "generated for the benchmark"},
                      {"classes", {{"Win32_PhysicalMemory", modules}}}};
    return root.dump(2) + "\n";
}

std::string WriteSnapshot(const bench::TempFolder& folder, int count) {
    const std::string path = folder.File("snapshot.json");
    std::ofstream(path, std::ios::binary) << SnapshotWithModules(count);
    return path;
}

// Reading the file, replaying it and taking the module snapshot, as the report tool does.
void BM_SnapshotLoad(benchmark::State& state) {
    bench::TempFolder folder("snapshot");
    const std::string path = WriteSnapshot(folder, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TWin32_PhysicalMemory modules(true, LoadSnapshotFile(path));
        if (modules.GetCount() != state.range(0)) state.SkipWithError("snapshot did not load");
        benchmark::DoNotOptimize(modules.Capacity);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SnapshotLoad)->Arg(4)->Arg(64)->Arg(1024)->Unit(benchmark::kMicrosecond);

// Diagnostic: the file alone (read, parse, conversion into the replaying provider), without
// taking the snapshot; the rest of BM_SnapshotLoad is the snapshot taken through the eleven
// operations of the provider.
void BM_SnapshotFileOnly(benchmark::State& state) {
    bench::TempFolder folder("fileonly");
    const std::string path = WriteSnapshot(folder, static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(LoadSnapshotFile(path));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SnapshotFileOnly)->Arg(4)->Arg(64)->Arg(1024)->Unit(benchmark::kMicrosecond);

// The reference: reading the same file and parsing it with nlohmann-json, nothing more. The
// ordered kind, as the reader needs: property order is the file order.
void BM_JsonParse(benchmark::State& state) {
    bench::TempFolder folder("json");
    const std::string path = WriteSnapshot(folder, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        ordered_json root = ordered_json::parse(text.str());
        benchmark::DoNotOptimize(root.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_JsonParse)->Arg(4)->Arg(64)->Arg(1024)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvalis
