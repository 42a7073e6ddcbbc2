#include "main_window/memory_report.h"

#include <algorithm>
#include <cstdint>

#include "host/Various_utils.h"
#include "host/ascii_case.h"
#include "main_window/web_pages.h"
#include "vocabulary/manufacturer_names.h"
#include "vocabulary/memory_type.h"
#include "wmi/uWin32_PhysicalMemory.h"
#include "wmi/uWin32_PhysicalMemoryArray.h"

namespace orvalis {

namespace {

constexpr int kPanelCount = 4;

// Whole gibibytes, the remainder dropped at each step as the figures have always been shown.
int64_t WholeGibibytes(int64_t bytes) {
    return bytes / 1024 / 1024 / 1024;
}

// Control characters and blanks (codes up to 32) count as nothing at either end.
bool IsBlank(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= 32; });
}

void FillSlotList(IReportView& view, int panel, const TWin32_PhysicalMemory& module) {
    const std::string maker = GetManufacturerName(module.Manufacturer);
    const bool notApplicable = EqualsIgnoringAsciiCase(maker, "N/A");

    view.ClearList(panel);
    view.SetColumnCaption(panel, 0, "Parameter");
    view.SetColumnCaption(panel, 1, "Value");
    view.AddRow(panel, "Slot Name", module.DeviceLocator);
    view.AddRow(panel, "Capacity", std::to_string(WholeGibibytes(module.Capacity)) + " GB");
    view.AddRow(panel, "Manufacturer", maker);
    view.AddRow(panel, "Model", PickText(notApplicable, "N/A", module.PartNumber));
    view.AddRow(panel, "Type", GetMemoryTypeLabel(module.MemoryType, module.Speed));
    view.AddRow(panel, "Serial#", PickText(notApplicable, "N/A", module.SerialNumber));
    view.AutoSizeColumns(panel);
}

}  // namespace

void FillMemoryReport(IReportView& view, TWin32_PhysicalMemory& modules,
                      TWin32_PhysicalMemoryArray& arrays) {
    int64_t slotTotal = 0;
    int64_t maxMemoryGb = 0;
    int64_t currentMemory = 0;

    for (int32_t i = 0; i < arrays.GetCount(); ++i) {
        arrays.SetCollectionIndex(i);
        maxMemoryGb += arrays.MaxCapacity >> 20;  // kilobytes to whole gibibytes, per array
        slotTotal += arrays.MemoryDevices;
    }
    view.SetLabel(ReportLabel::Slots, "Number of slots : " + std::to_string(slotTotal));
    view.SetLabel(ReportLabel::MaxMemory,
                  "Maximum memory : " + std::to_string(maxMemoryGb) + " GB");

    // The groups follow the last array only. A failed load may have left fields of its
    // first instance half-read: without instances the device count is 0.
    const int devices = arrays.GetCount() > 0 ? arrays.MemoryDevices : 0;
    for (int panel = 1; panel <= kPanelCount; ++panel)
        view.SetGroupEnabled(panel, devices >= panel);
    if (devices < 3) view.NarrowToLeftColumn();

    for (int32_t i = 0; i < modules.GetCount(); ++i) {
        modules.SetCollectionIndex(i);
        // Absurd capacities (a corrupt snapshot) wrap around instead of overflowing.
        currentMemory = static_cast<int64_t>(static_cast<uint64_t>(currentMemory) +
                                             static_cast<uint64_t>(modules.Capacity));
        if (i < kPanelCount) FillSlotList(view, i + 1, modules);
    }

    const int fitted = std::max<int32_t>(modules.GetCount(), 0);
    for (int panel = fitted + 1; panel <= kPanelCount; ++panel) view.SetListVisible(panel, false);
    for (int panel = 1; panel <= kPanelCount; ++panel)
        view.SetEmptySlotButtonVisible(panel,
                                       !view.IsListVisible(panel) && view.IsGroupEnabled(panel));
    for (int panel = 1; panel <= kPanelCount; ++panel)
        view.SetSpecButtonVisible(
            panel, !view.IsEmptySlotButtonVisible(panel) && view.IsListVisible(panel));
    for (int panel = 1; panel <= kPanelCount; ++panel)
        view.SetSpecButtonEnabled(
            panel, view.IsSpecButtonVisible(panel) && CanGetSpecification(view, panel));

    view.SetLabel(ReportLabel::CurrentMemory,
                  "Current memory : " + std::to_string(WholeGibibytes(currentMemory)) + " GB");
}

void FillMemoryReport(IReportView& view, const WmiProviderRef& provider) {
    // Module snapshot first, then the array snapshot: each connects and queries on its own.
    TWin32_PhysicalMemory modules(true, provider);
    TWin32_PhysicalMemoryArray arrays(true, provider);
    FillMemoryReport(view, modules, arrays);
}

bool CanGetSpecification(const IReportView& view, int panel) {
    const std::string maker = view.ListCell(panel, kManufacturerRow, kValueColumn);
    const std::string model = view.ListCell(panel, kModelRow, kValueColumn);
    if (maker == "N/A") return false;
    if (IsBlank(maker)) return false;
    return !IsBlank(model);
}

std::string SpecificationKeyword(const IReportView& view, int panel) {
    return view.ListCell(panel, kManufacturerRow, kValueColumn) + " " +
           view.ListCell(panel, kModelRow, kValueColumn);
}

std::string SpecificationSearchPath(const IReportView& view, int panel) {
    return SpecificationSearchPathFor(SpecificationKeyword(view, panel));
}

}  // namespace orvalis
