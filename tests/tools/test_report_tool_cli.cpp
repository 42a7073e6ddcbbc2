// The built orvalis-report program as a separate process: byte-exact output (no newline
// translation on Windows), exit statuses, and the live command of this platform.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "tests/test_paths.h"

namespace orvalis {
namespace {

struct Process {
    int status;
    std::string out;
    std::string err;
};

Process RunProgram(const std::string& arguments) {
    static int counter = 0;
    const std::string dir = test::ScratchDir("report_cli_" + std::to_string(++counter));
    const std::string out = dir + "/out.txt", err = dir + "/err.txt";
    std::string command =
        "\"" ORVALIS_REPORT_PROGRAM "\" " + arguments + " >\"" + out + "\" 2>\"" + err + "\"";
#ifdef _WIN32
    command = "\"" + command + "\"";  // cmd /c drops the outer quotes
    const int status = std::system(command.c_str());
#else
    const int raw = std::system(command.c_str());
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    return {status, test::ReadFileBytes(out), test::ReadFileBytes(err)};
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

TEST(ReportToolProgram, JsonFromASnapshotFileIsByteExact) {
    const Process p =
        RunProgram("--json --from " + Quoted(test::FixturePath("report/arrays-4-then-2.json")));
    EXPECT_EQ(p.status, 0) << p.err;
    EXPECT_EQ(p.out,
              test::ReadFileBytes(test::FixturePath("report/expected/arrays-4-then-2.json")));
    EXPECT_EQ(p.err, "");
}

TEST(ReportToolProgram, ExitStatuses) {
    const Process stopped =
        RunProgram("--from " + Quoted(test::FixturePath("report/installdate-error-second.json")));
    EXPECT_EQ(stopped.status, 1);
    EXPECT_NE(stopped.err.find("Date CIM incorrecte"), std::string::npos) << stopped.err;

    const Process missing = RunProgram("--from " + Quoted(test::FixturePath("report/none.json")));
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("none.json"), std::string::npos) << missing.err;

    EXPECT_EQ(RunProgram("--unknown").status, 2);
    const Process version = RunProgram("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "orvalis-report " ORVALIS_VERSION_TEXT "\n");
}

#ifdef _WIN32
// Wine's WMI cannot load either memory class: the report shows the failed state and says
// so on standard error, one line per class.
TEST(ReportToolProgram, LiveReportShowsFailedSnapshots) {
    const Process p = RunProgram("--json");
    EXPECT_EQ(p.status, 0) << p.err;
    EXPECT_EQ(p.out, test::ReadFileBytes(test::FixturePath("report/expected/both-failed.json")));
    EXPECT_NE(p.err.find("snapshot of Win32_PhysicalMemory failed"), std::string::npos) << p.err;
    EXPECT_NE(p.err.find("snapshot of Win32_PhysicalMemoryArray failed"), std::string::npos);
}
#else
TEST(ReportToolProgram, LiveCommandsNeedWindows) {
    for (const char* args : {"", "--json", "--save x.json"}) {
        SCOPED_TRACE(args);
        const Process p = RunProgram(args);
        EXPECT_EQ(p.status, 2);
        EXPECT_EQ(p.out, "");
        EXPECT_NE(p.err.find("live WMI data needs Windows"), std::string::npos) << p.err;
    }
}
#endif

}  // namespace
}  // namespace orvalis
