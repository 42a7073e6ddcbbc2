// Small snapshots written inline for the slot report tests.
#pragma once

#include <string>
#include <vector>

#include "main_window/report_model.h"
#include "wmi/wmi_provider.h"

namespace orvalis::test {

// One Win32_PhysicalMemoryArray instance as JSON: MaxCapacity (a JSON number text, so that
// odd kinds can be given) and MemoryDevices, plus optional extra properties.
std::string ArrayJson(const std::string& maxCapacity, int devices, const std::string& extra = "");

// One Win32_PhysicalMemory instance with the six properties the report reads.
struct ModuleSpec {
    std::string locator = "DIMM1";
    std::string capacity = "\"8589934592\"";  // JSON value
    std::string manufacturer = "Samsung";
    std::string partNumber = "M378B1G73EB0-CK0";
    int memoryType = 24;
    int speed = 1600;
    std::string serial = "1234ABCD";
};
std::string ModuleJson(const ModuleSpec& module);

// A snapshot document; a null class list leaves the class out (its snapshot then fails).
std::string SnapshotJson(const std::vector<std::string>* arrays,
                         const std::vector<std::string>* modules);

WmiProviderRef ProviderOf(const std::string& snapshotJson);

// The report on a snapshot document or a fixture file (tests/fixtures/report/<name>).
ReportModel ReportOn(const std::string& snapshotJson);
ReportModel ReportOnFixture(const std::string& name);

}  // namespace orvalis::test
