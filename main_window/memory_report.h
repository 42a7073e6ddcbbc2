// The slot report: the System Info figures and the four slot panels, filled from one
// snapshot of the memory arrays and one of the memory modules. Portable: the window and the
// report tool differ only in the IReportView they hand in.
#pragma once

#include <string>

#include "main_window/report_view.h"
#include "wmi/wmi_provider.h"

namespace orvalis {

class TWin32_PhysicalMemory;
class TWin32_PhysicalMemoryArray;

// Takes the module snapshot, then the array snapshot, from provider (null: the live WMI),
// fills the view and releases both. An error raised while a record is read propagates; the
// view then keeps what it had received so far.
void FillMemoryReport(IReportView& view, const WmiProviderRef& provider);

// The same on snapshots the caller took and keeps (the report tool shows their counts).
void FillMemoryReport(IReportView& view, TWin32_PhysicalMemory& modules,
                      TWin32_PhysicalMemoryArray& arrays);

// Whether list `panel` holds a usable manufacturer (row 3) and model (row 4) for the
// specification search.
bool CanGetSpecification(const IReportView& view, int panel);

// Keyword of the specification search of a panel: manufacturer + " " + model, untrimmed, as
// read back from its list.
std::string SpecificationKeyword(const IReportView& view, int panel);
// Path and query (without the host) of that search: "/orvalis/index.php?keyword=" + the
// encoded keyword.
std::string SpecificationSearchPath(const IReportView& view, int panel);

// Row positions in a filled slot list (0-based), read back by the specification search.
inline constexpr int kManufacturerRow = 2;
inline constexpr int kModelRow = 3;
inline constexpr int kValueColumn = 1;

}  // namespace orvalis
