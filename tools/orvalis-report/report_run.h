// One run of the slot report for the report tool: the same snapshots and report code as the
// window, into a ReportModel, plus what the window cannot show (the snapshot counts, the
// error that stopped the report), and the two ways of printing it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "main_window/report_model.h"
#include "wmi/wmi_provider.h"

namespace orvalis {

struct ReportRun {
    ReportModel view;
    int32_t moduleCount = -1;  // GetCount of Win32_PhysicalMemory: -1 when the snapshot failed
    int32_t arrayCount = -1;   // GetCount of Win32_PhysicalMemoryArray
    std::optional<std::string> error;  // 8-bit text of the error that stopped the report
};

// Takes both snapshots from provider and runs the report; a record error is caught into
// `error`, the view keeping the state reached.
ReportRun RunSlotReport(const WmiProviderRef& provider);

// The report-format JSON document (UTF-8, ending in a newline).
std::string ReportJson(const ReportRun& run);

// The report for people (UTF-8): the figures, each slot panel, the search addresses and a
// summary line.
std::string ReportText(const ReportRun& run);

}  // namespace orvalis
