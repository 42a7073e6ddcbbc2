// The JSON form of a report run, written by hand so that the layout stays stable and
// readable (one list row per line); strings are escaped by nlohmann-json.
#include <nlohmann/json.hpp>
#include <sstream>

#include "host/ansi_text.h"
#include "main_window/memory_report.h"
#include "tools/orvalis-report/report_run.h"

namespace orvalis {

namespace {

std::string Quoted(const std::string& ansi) {
    return nlohmann::json(AnsiToUtf8(ansi))
        .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

const char* Bool(bool value) {
    return value ? "true" : "false";
}

std::string SpecButtonState(const ReportModel& view, int panel) {
    if (!view.IsSpecButtonVisible(panel)) return "hidden";
    return view.IsSpecButtonEnabled(panel) ? "enabled" : "disabled";
}

void WriteList(std::ostream& out, const ReportModel::Panel& panel) {
    if (!panel.listVisible) {
        out << "null";
        return;
    }
    if (panel.rows.empty()) {
        out << "[]";
        return;
    }
    out << "[\n";
    for (std::size_t i = 0; i < panel.rows.size(); ++i) {
        out << "        [" << Quoted(panel.rows[i].first) << ", " << Quoted(panel.rows[i].second)
            << "]" << (i + 1 < panel.rows.size() ? ",\n" : "\n");
    }
    out << "      ]";
}

void WritePanel(std::ostream& out, const ReportModel& view, int number) {
    const ReportModel::Panel& panel = view.PanelAt(number);
    const bool searchable = view.IsSpecButtonVisible(number) && view.IsSpecButtonEnabled(number);
    out << "    {\n";
    out << "      \"slot\": " << number << ",\n";
    out << "      \"enabled\": " << Bool(panel.groupEnabled) << ",\n";
    out << "      \"list\": ";
    WriteList(out, panel);
    out << ",\n";
    out << "      \"emptySlotButton\": " << Bool(panel.emptySlotButtonVisible) << ",\n";
    out << "      \"specificationButton\": \"" << SpecButtonState(view, number) << "\",\n";
    out << "      \"specificationSearch\": "
        << (searchable ? Quoted(SpecificationSearchPath(view, number)) : "null") << "\n";
    out << "    }";
}

}  // namespace

std::string ReportJson(const ReportRun& run) {
    const ReportModel& view = run.view;
    std::ostringstream out;
    out << "{\n";
    out << "  \"format\": \"orvalis-report\",\n";
    out << "  \"version\": 1,\n";
    out << "  \"snapshots\": { \"Win32_PhysicalMemory\": " << run.moduleCount
        << ", \"Win32_PhysicalMemoryArray\": " << run.arrayCount << " },\n";
    out << "  \"labels\": {\n";
    out << "    \"slots_lbl\": " << Quoted(view.Label(ReportLabel::Slots)) << ",\n";
    out << "    \"maxmem_lbl\": " << Quoted(view.Label(ReportLabel::MaxMemory)) << ",\n";
    out << "    \"curmem_lbl\": " << Quoted(view.Label(ReportLabel::CurrentMemory)) << "\n";
    out << "  },\n";
    out << "  \"narrow\": " << Bool(view.IsNarrow()) << ",\n";
    out << "  \"panels\": [\n";
    for (int number = 1; number <= ReportModel::kPanels; ++number) {
        WritePanel(out, view, number);
        out << (number < ReportModel::kPanels ? ",\n" : "\n");
    }
    out << "  ],\n";
    out << "  \"error\": " << (run.error ? Quoted(*run.error) : "null") << "\n";
    out << "}\n";
    return out.str();
}

}  // namespace orvalis
