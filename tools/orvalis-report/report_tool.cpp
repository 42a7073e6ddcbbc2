#include "tools/orvalis-report/report_tool.h"

#include <exception>
#include <optional>

#include "host/ansi_text.h"
#include "tools/orvalis-report/report_run.h"
#include "wmi/snapshot_file.h"
#include "wmi/uWin32_PhysicalMemory.h"
#include "wmi/uWin32_PhysicalMemoryArray.h"

namespace orvalis {

namespace {

constexpr char kProgram[] = "orvalis-report";

constexpr char kUsage[] =
    "Usage: orvalis-report [--json] [--from FILE]\n"
    "       orvalis-report --save FILE\n"
    "       orvalis-report --help | --version\n"
    "\n"
    "Prints the memory slot report of the Orvalis window: the number of slots, the maximum\n"
    "and current memory, and each slot panel with its module.\n"
    "\n"
    "  (no option)    the report from the live WMI of this machine, for people\n"
    "  --json         the same report as a JSON document\n"
    "  --from FILE    the report from a WMI snapshot file instead of the live WMI\n"
    "  --save FILE    write the live WMI data of both memory classes to a snapshot file\n"
    "  --help         this text\n"
    "  --version      the version\n"
    "\n"
    "Exit status: 0 report complete, 1 stopped by an error in the data, 2 bad usage or\n"
    "unreadable file.\n";

struct Options {
    bool json = false;
    bool help = false;
    bool version = false;
    std::optional<std::string> from;
    std::optional<std::string> save;
};

// Fills options; the text of the fault when the arguments make no sense.
std::optional<std::string> ParseArguments(const std::vector<std::string>& args, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto fileArgument = [&](std::optional<std::string>& target) -> std::optional<std::string> {
            if (target) return arg + " given twice";
            if (i + 1 >= args.size() || args[i + 1].empty()) return arg + " needs a file name";
            target = args[++i];
            return std::nullopt;
        };
        std::optional<std::string> fault;
        if (arg == "--json")
            options.json = true;
        else if (arg == "--help" || arg == "-h")
            options.help = true;
        else if (arg == "--version")
            options.version = true;
        else if (arg == "--from")
            fault = fileArgument(options.from);
        else if (arg == "--save")
            fault = fileArgument(options.save);
        else
            fault = "unknown argument \"" + arg + "\"";
        if (fault) return fault;
    }
    if (options.save && (options.from || options.json))
        return std::string("--save cannot be combined with --from or --json");
    return std::nullopt;
}

// One standard-error line per failed snapshot: the report shows the state, this says why.
void ReportFailedSnapshot(std::ostream& err, const char* className, int32_t count) {
    if (count < 0)
        err << kProgram << ": the WMI snapshot of " << className
            << " failed: no data could be read for this class\n";
}

int NoLiveWmi(std::ostream& err) {
    err << kProgram << ": live WMI data needs Windows; use --from FILE to replay a snapshot file\n";
    return kReportUsage;
}

int SaveSnapshot(const std::string& path, std::ostream& out, std::ostream& err,
                 const WmiProviderRef& live) {
    if (!live) return NoLiveWmi(err);
    TWin32_PhysicalMemory modules(true, live);
    TWin32_PhysicalMemoryArray arrays(true, live);
    ReportFailedSnapshot(err, "Win32_PhysicalMemory", modules.GetCount());
    ReportFailedSnapshot(err, "Win32_PhysicalMemoryArray", arrays.GetCount());
    const std::string source = std::string("Captured by ") + kProgram + " " + ORVALIS_VERSION_TEXT +
                               " from the live WMI service";
    WriteSnapshotFile(path, source, {&arrays, &modules});
    out << "Saved to " << AnsiToUtf8(path) << ": Win32_PhysicalMemory " << modules.GetCount()
        << ", Win32_PhysicalMemoryArray " << arrays.GetCount()
        << " (instances; -1: snapshot failed, left out of the file)\n";
    return kReportCompleted;
}

int PrintReport(const Options& options, std::ostream& out, std::ostream& err,
                const WmiProviderRef& live) {
    WmiProviderRef provider = live;
    if (options.from)
        provider = LoadSnapshotFile(*options.from);
    else if (!live)
        return NoLiveWmi(err);

    const ReportRun run = RunSlotReport(provider);
    if (!options.from) {
        ReportFailedSnapshot(err, "Win32_PhysicalMemory", run.moduleCount);
        ReportFailedSnapshot(err, "Win32_PhysicalMemoryArray", run.arrayCount);
    }
    out << (options.json ? ReportJson(run) : ReportText(run));
    if (run.error) {
        err << kProgram << ": the report stopped: " << AnsiToUtf8(*run.error) << "\n";
        return kReportStopped;
    }
    return kReportCompleted;
}

}  // namespace

int RunReportTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  const WmiProviderRef& liveProvider) {
    Options options;
    if (auto fault = ParseArguments(args, options)) {
        err << kProgram << ": " << AnsiToUtf8(*fault) << "\n\n" << kUsage;
        return kReportUsage;
    }
    if (options.help) {
        out << kUsage;
        return kReportCompleted;
    }
    if (options.version) {
        out << kProgram << " " << ORVALIS_VERSION_TEXT << "\n";
        return kReportCompleted;
    }
    try {
        if (options.save) return SaveSnapshot(*options.save, out, err, liveProvider);
        return PrintReport(options, out, err, liveProvider);
    } catch (const SnapshotFileError& e) {
        // A snapshot file that cannot be read or written; the message names the file.
        err << kProgram << ": " << AnsiToUtf8(e.what()) << "\n";
        return kReportUsage;
    } catch (const std::exception& e) {
        err << kProgram << ": " << AnsiToUtf8(e.what()) << "\n";
        return kReportStopped;
    }
}

}  // namespace orvalis
