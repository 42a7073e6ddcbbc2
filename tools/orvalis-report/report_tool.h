// The command line of orvalis-report, apart from the process: arguments in, text out,
// exit status back. main() hands in the live WMI provider (null where there is none).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "wmi/wmi_provider.h"

namespace orvalis {

enum ReportToolExit : int {
    kReportCompleted = 0,  // the report ran to its end (failed snapshots included)
    kReportStopped = 1,    // a record error stopped it part-way
    kReportUsage = 2,      // bad usage, no live WMI here, or a file that cannot be read/written
};

// args: the arguments after the program name. out and err receive UTF-8 bytes.
int RunReportTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  const WmiProviderRef& liveProvider);

}  // namespace orvalis
