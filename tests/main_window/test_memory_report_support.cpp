#include "tests/main_window/test_memory_report_support.h"

#include "main_window/memory_report.h"
#include "tests/test_paths.h"
#include "wmi/snapshot_file.h"

namespace orvalis::test {

namespace {

std::string Quote(const std::string& text) {
    return "\"" + text + "\"";
}

std::string JoinList(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + items[i];
    return out + "]";
}

}  // namespace

std::string ArrayJson(const std::string& maxCapacity, int devices, const std::string& extra) {
    return "{\"Caption\": \"Physical Memory Array\", \"MaxCapacity\": " + maxCapacity +
           ", \"MemoryDevices\": " + std::to_string(devices) + extra + "}";
}

std::string ModuleJson(const ModuleSpec& m) {
    return "{\"Capacity\": " + m.capacity + ", \"DeviceLocator\": " + Quote(m.locator) +
           ", \"Manufacturer\": " + Quote(m.manufacturer) +
           ", \"MemoryType\": " + std::to_string(m.memoryType) +
           ", \"PartNumber\": " + Quote(m.partNumber) + ", \"SerialNumber\": " + Quote(m.serial) +
           ", \"Speed\": " + std::to_string(m.speed) + "}";
}

std::string SnapshotJson(const std::vector<std::string>* arrays,
                         const std::vector<std::string>* modules) {
    std::string classes;
    if (arrays) classes += "\"Win32_PhysicalMemoryArray\": " + JoinList(*arrays);
    if (modules)
        classes +=
            std::string(arrays ? ", " : "") + "\"Win32_PhysicalMemory\": " + JoinList(*modules);
    return "{\"format\": \"orvalis-wmi-snapshot\", \"version\": 1, \"classes\": {" + classes + "}}";
}

WmiProviderRef ProviderOf(const std::string& snapshotJson) {
    return ParseSnapshotText(snapshotJson, "inline snapshot");
}

ReportModel ReportOn(const std::string& snapshotJson) {
    ReportModel view;
    FillMemoryReport(view, ProviderOf(snapshotJson));
    return view;
}

ReportModel ReportOnFixture(const std::string& name) {
    ReportModel view;
    FillMemoryReport(view, LoadSnapshotFile(FixturePath("report/" + name)));
    return view;
}

}  // namespace orvalis::test
