// The report for people: what the window shows, one block per slot panel.
#include <algorithm>
#include <sstream>

#include "host/ansi_text.h"
#include "main_window/memory_report.h"
#include "main_window/web_pages.h"
#include "tools/orvalis-report/report_run.h"

namespace orvalis {

namespace {

// The figure of a System Info label ("Maximum memory : 32 GB" gives "32 GB"); "?" while the
// label still has its design text.
std::string Figure(const std::string& label) {
    const auto colon = label.find(" : ");
    return colon == std::string::npos ? "?" : label.substr(colon + 3);
}

void WritePanel(std::ostream& out, const ReportModel& view, int number) {
    const ReportModel::Panel& panel = view.PanelAt(number);
    const bool showsSomething =
        panel.listVisible || panel.emptySlotButtonVisible || panel.specButtonVisible;
    out << "Slot " << number;
    if (!panel.groupEnabled && showsSomething) out << " (disabled: takes no input)";
    out << "\n";
    if (!showsSomething) out << (panel.groupEnabled ? "  (nothing shown)\n" : "  disabled\n");
    if (panel.listVisible) {
        std::size_t width = 0;
        for (const auto& row : panel.rows) width = std::max(width, row.first.size());
        for (const auto& row : panel.rows)
            out << "  " << AnsiToUtf8(row.first) << std::string(width + 2 - row.first.size(), ' ')
                << AnsiToUtf8(row.second) << "\n";
        if (panel.rows.empty()) out << "  (empty list)\n";
    }
    if (panel.emptySlotButtonVisible) out << "  empty slot: " << MemoryPageAddress() << "\n";
    if (panel.specButtonVisible) {
        if (panel.specButtonEnabled)
            out << "  Get Specification: " << SiteAddress(SpecificationSearchPath(view, number))
                << "\n";
        else
            out << "  Get Specification: not available (no usable manufacturer and model)\n";
    }
}

}  // namespace

std::string ReportText(const ReportRun& run) {
    const ReportModel& view = run.view;
    std::ostringstream out;
    out << "Orvalis memory report\n\n";
    out << "System Info\n";
    out << "  " << AnsiToUtf8(view.Label(ReportLabel::Slots)) << "\n";
    out << "  " << AnsiToUtf8(view.Label(ReportLabel::MaxMemory)) << "\n";
    out << "  " << AnsiToUtf8(view.Label(ReportLabel::CurrentMemory)) << "\n";
    if (run.moduleCount < 0) out << "  (the snapshot of Win32_PhysicalMemory failed)\n";
    if (run.arrayCount < 0) out << "  (the snapshot of Win32_PhysicalMemoryArray failed)\n";
    if (view.IsNarrow()) out << "  (window narrowed: slots 3 and 4 are out of view)\n";
    for (int number = 1; number <= ReportModel::kPanels; ++number) {
        out << "\n";
        WritePanel(out, view, number);
    }
    out << "\n";
    if (run.error) {
        out << "Report stopped by an error: " << AnsiToUtf8(*run.error) << "\n";
    } else {
        out << "Slots in use: " << std::max(run.moduleCount, 0) << " of "
            << Figure(view.Label(ReportLabel::Slots))
            << ". Installed memory: " << Figure(view.Label(ReportLabel::CurrentMemory)) << " of "
            << Figure(view.Label(ReportLabel::MaxMemory)) << " maximum.\n";
    }
    return out.str();
}

}  // namespace orvalis
