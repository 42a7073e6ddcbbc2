// The log against the real file system: bytes on disk, and a failed save never destroying
// the previous log.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "host/U_Log.h"
#include "tests/test_paths.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>

#include <csignal>
#endif

namespace orvalis {
namespace {

namespace fs = std::filesystem;

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class LogFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = test::ScratchDir(std::string("log_file_") +
                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        logPath = folder + "/Orvalis.log";
    }
    std::string folder;
    std::string logPath;
    const std::string previous = "Info\t[23-01-01 00:00:00]\tprevious run\r\n";
};

TEST_F(LogFileTest, FirstAddReplacesThePreviousRunsFile) {
    WriteBytes(logPath, previous);
    TAppLog log(logPath, false, 10000);
    EXPECT_EQ(test::ReadFileBytes(logPath), previous);  // construction leaves it alone

    const auto clock = SystemLogClock();
    const LogTime before = clock->Now();
    log.Add("caf\xE9", 1);
    const LogTime after = clock->Now();

    // One line: level, local time stamp, 8-bit text as given (0xE9 stays one byte), CR LF,
    // no byte-order mark.
    const std::string bytes = test::ReadFileBytes(logPath);
    const auto lineAt = [&](const LogTime& time) {
        return "Info\t" + FormatLogTimeStamp(time, clock->TimeSeparator()) + "\tcaf\xE9\r\n";
    };
    EXPECT_TRUE(bytes == lineAt(before) || bytes == lineAt(after)) << bytes;
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"Orvalis.log"});  // no leftovers
}

TEST_F(LogFileTest, MissingFolderFailsSilentlyAndTheNextAddWritesAllLines) {
    const std::string missing = folder + "/later";
    TAppLog log(missing + "/Orvalis.log", false, 10);
    EXPECT_NO_THROW(log.Add("first", 1));
    EXPECT_NO_THROW(log.Add("second", 1));
    fs::create_directory(missing);
    log.Add("third", 1);
    const std::string bytes = test::ReadFileBytes(missing + "/Orvalis.log");
    EXPECT_NE(bytes.find("\tthird\r\nInfo\t"), std::string::npos);
    EXPECT_NE(bytes.find("\tsecond\r\nInfo\t"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 8), "\tfirst\r\n");
}

TEST_F(LogFileTest, WriterReplacesTheWholeFile) {
    WriteBytes(logPath, std::string(5000, 'x'));
    EXPECT_TRUE(SystemLogFileWriter()->ReplaceContents(logPath, "short\r\n"));
    EXPECT_EQ(test::ReadFileBytes(logPath), "short\r\n");
    EXPECT_TRUE(SystemLogFileWriter()->ReplaceContents(logPath, ""));
    EXPECT_EQ(test::ReadFileBytes(logPath), "");
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"Orvalis.log"});
}

TEST_F(LogFileTest, TemporaryFileThatCannotBeCreatedKeepsTheOldLog) {
    WriteBytes(logPath, previous);
    fs::create_directory(logPath + ".tmp");  // something that is no file stands in the way
    EXPECT_FALSE(SystemLogFileWriter()->ReplaceContents(logPath, "new\r\n"));
    EXPECT_EQ(test::ReadFileBytes(logPath), previous);
}

TEST_F(LogFileTest, LogPathThatIsAFolderFailsWithoutLeftovers) {
    fs::create_directory(logPath);
    EXPECT_FALSE(SystemLogFileWriter()->ReplaceContents(logPath, "new\r\n"));
    EXPECT_TRUE(fs::is_directory(logPath));
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"Orvalis.log"});
}

#ifndef _WIN32
// A write that fails half-way (file size limit, as a full disk would) leaves the old log.
TEST_F(LogFileTest, WriteFailingHalfWayKeepsTheOldLog) {
    WriteBytes(logPath, previous);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool replaced = SystemLogFileWriter()->ReplaceContents(logPath, std::string(10000, 'n'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);

    EXPECT_FALSE(replaced);
    EXPECT_EQ(test::ReadFileBytes(logPath), previous);
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"Orvalis.log"});
}
#else
// Another process holding the log without sharing: saves fail quietly, the file keeps its
// last good state, and the first save after the release writes every line.
TEST_F(LogFileTest, LockedLogKeepsItsContentUntilReleased) {
    TAppLog log(logPath, false, 10);
    log.Add("one", 1);
    const std::string afterFirst = test::ReadFileBytes(logPath);
    {
        HANDLE lock = CreateFileA(logPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        EXPECT_NO_THROW(log.Add("two", 1));
        EXPECT_NO_THROW(log.Add("three", 2));
        CloseHandle(lock);
    }
    EXPECT_EQ(test::ReadFileBytes(logPath), afterFirst);
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"Orvalis.log"});

    log.Add("four", 1);
    const std::string bytes = test::ReadFileBytes(logPath);
    size_t lines = 0;
    for (size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, 4u);
    EXPECT_NE(bytes.find("\tthree\r\n"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - (afterFirst.size())), afterFirst);
}
#endif

}  // namespace
}  // namespace orvalis
