// orvalis-report: the slot report of the Orvalis window on the command line.
#include <iostream>
#include <string>
#include <vector>

#include "tools/orvalis-report/console.h"
#include "tools/orvalis-report/report_tool.h"

int main(int argc, char** argv) {
    orvalis::UseBinaryConsoleOutput();
    const orvalis::LiveWmiSession session;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = orvalis::RunReportTool(args, std::cout, std::cerr, session.Provider());
    std::cout.flush();
    return status;
}
