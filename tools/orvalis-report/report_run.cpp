#include "tools/orvalis-report/report_run.h"

#include <exception>

#include "main_window/memory_report.h"
#include "wmi/uWin32_PhysicalMemory.h"
#include "wmi/uWin32_PhysicalMemoryArray.h"

namespace orvalis {

ReportRun RunSlotReport(const WmiProviderRef& provider) {
    ReportRun run;
    // The same order as the window: modules first, then arrays.
    TWin32_PhysicalMemory modules(true, provider);
    TWin32_PhysicalMemoryArray arrays(true, provider);
    run.moduleCount = modules.GetCount();
    run.arrayCount = arrays.GetCount();
    try {
        FillMemoryReport(run.view, modules, arrays);
    } catch (const std::exception& e) {
        run.error = e.what();
    }
    return run;
}

}  // namespace orvalis
