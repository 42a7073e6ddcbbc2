// Fault injection at every save of the log, with faults the real file writer meets: a full
// disk, a write failing part-way, a locked file, the folder gone, and a writer that throws
// or refuses. After every Add the file on disk is checked: a failed save leaves the file of
// the last good save, and the first good save after it writes every line kept.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <new>
#include <ostream>
#include <stdexcept>
#include <string>
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

constexpr int kSaves = 6;
constexpr int kMaxLines = 4;  // small, so that lines also roll out while saves fail

class FixedClock : public ILogClock {
  public:
    LogTime Now() const override { return {2024, 3, 5, 14, 7, 9}; }
    std::string TimeSeparator() const override { return ":"; }
};

// The file after lines 1..count were added: the newest kMaxLines, newest first.
std::string FileAfter(int count) {
    std::string bytes;
    for (int i = count; i > 0 && i > count - kMaxLines; --i)
        bytes += "Info\t[24-03-05 14:07:09]\tline " + std::to_string(i) + "\r\n";
    return bytes;
}

// The system writer, watched: records whether each save reported success, and can be made
// to throw or refuse before touching the disk.
class WatchedWriter : public ILogFileWriter {
  public:
    enum class Script { Pass, Throw, Refuse };

    bool ReplaceContents(const std::string& path, std::string_view bytes) override {
        if (script == Script::Throw) {
            reported.push_back(false);
            throw std::bad_alloc();
        }
        const bool ok = script == Script::Pass && real_->ReplaceContents(path, bytes);
        reported.push_back(ok);
        return ok;
    }

    Script script = Script::Pass;
    std::vector<bool> reported;  // one entry per save: true when it claimed success

  private:
    std::shared_ptr<ILogFileWriter> real_ = SystemLogFileWriter();
};

// One kind of fault: Arm (called before every failing save) makes the save fail, Disarm
// lets the next one succeed.
struct Fault {
    const char* name;
    std::function<void(const std::string& folder, const std::string& logPath, WatchedWriter&)> arm;
    std::function<void(const std::string& folder, const std::string& logPath, WatchedWriter&)>
        disarm;
    bool folderGone = false;  // the file goes with the folder
};

#ifdef _WIN32
HANDLE g_lock = INVALID_HANDLE_VALUE;

// What the locked file holds, read through the lock itself.
std::string ReadThroughLock() {
    std::string bytes;
    SetFilePointer(g_lock, 0, nullptr, FILE_BEGIN);
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(g_lock, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}
#else
bool g_limited = false;
rlimit g_savedLimit{};
void (*g_savedHandler)(int) = SIG_DFL;
#endif

std::vector<Fault> Faults() {
    std::vector<Fault> faults;
    faults.push_back(
        {"WriterThrows",
         [](auto&, auto&, WatchedWriter& w) { w.script = WatchedWriter::Script::Throw; },
         [](auto&, auto&, WatchedWriter& w) { w.script = WatchedWriter::Script::Pass; }});
    faults.push_back(
        {"WriterRefuses",
         [](auto&, auto&, WatchedWriter& w) { w.script = WatchedWriter::Script::Refuse; },
         [](auto&, auto&, WatchedWriter& w) { w.script = WatchedWriter::Script::Pass; }});
    faults.push_back(
        {"FolderGone", [](const std::string& folder, auto&, auto&) { fs::remove_all(folder); },
         [](const std::string& folder, auto&, auto&) { fs::create_directories(folder); }, true});
#ifdef _WIN32
    // Another process holding the log open without sharing.
    faults.push_back({"Locked",
                      [](auto&, const std::string& logPath, auto&) {
                          if (g_lock != INVALID_HANDLE_VALUE) return;
                          g_lock =
                              CreateFileA(logPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
                          ASSERT_NE(g_lock, INVALID_HANDLE_VALUE);
                      },
                      [](auto&, auto&, auto&) {
                          CloseHandle(g_lock);
                          g_lock = INVALID_HANDLE_VALUE;
                      }});
#else
    // A full disk: the temporary file is /dev/full, whose every write fails with ENOSPC.
    faults.push_back(
        {"DiskFull",
         [](auto&, const std::string& logPath, auto&) {
             if (!fs::is_symlink(logPath + ".tmp"))  // a failed save removes it
                 fs::create_symlink("/dev/full", logPath + ".tmp");
         },
         [](auto&, const std::string& logPath, auto&) { fs::remove(logPath + ".tmp"); }});
    // A write that stops part-way: the file size limit falls below the new file's size.
    faults.push_back({"WriteStopsPartWay",
                      [](auto&, auto&, auto&) {
                          if (g_limited) return;
                          g_limited = true;
                          ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &g_savedLimit), 0);
                          g_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
                          rlimit small = g_savedLimit;
                          small.rlim_cur = 20;  // less than one line
                          ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
                      },
                      [](auto&, auto&, auto&) {
                          g_limited = false;
                          setrlimit(RLIMIT_FSIZE, &g_savedLimit);
                          std::signal(SIGXFSZ, g_savedHandler);
                      }});
    // Locked, as far as this system has it: something that is no file squats on the
    // temporary name.
    faults.push_back(
        {"Locked",
         [](auto&, const std::string& logPath, auto&) { fs::create_directory(logPath + ".tmp"); },
         [](auto&, const std::string& logPath, auto&) { fs::remove(logPath + ".tmp"); }});
#endif
    return faults;
}

struct Case {
    Fault fault;
    int firstFailing;  // save number, 1-based
    int failingCount;  // consecutive failing saves
};

std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (const Fault& fault : Faults())
        for (int first = 1; first <= kSaves - 1; ++first)
            for (int count : {1, 2})
                if (first + count <= kSaves) cases.push_back({fault, first, count});
    return cases;
}

class LogFaultTest : public ::testing::TestWithParam<Case> {};

TEST_P(LogFaultTest, FailedSaveKeepsTheLastGoodFileAndTheNextSaveWritesAllLines) {
    const Case& c = GetParam();
    const std::string folder = test::ScratchDir("fault_log");
    const std::string logPath = (fs::path(folder) / "Orvalis.log").string();
    auto writer = std::make_shared<WatchedWriter>();
    TAppLog log(logPath, false, kMaxLines, std::make_shared<FixedClock>(), writer);

    int lastGood = 0;  // lines added at the last successful save
    for (int save = 1; save <= kSaves; ++save) {
        const bool failing = save >= c.firstFailing && save < c.firstFailing + c.failingCount;
        if (failing) c.fault.arm(folder, logPath, *writer);
        if (save == c.firstFailing + c.failingCount) c.fault.disarm(folder, logPath, *writer);

        EXPECT_NO_THROW(log.Add("line " + std::to_string(save), 1));
        ASSERT_EQ(writer->reported.size(), static_cast<size_t>(save));
        if (!failing) lastGood = save;

        SCOPED_TRACE(std::string(c.fault.name) + ", save " + std::to_string(save));
        EXPECT_EQ(writer->reported.back(), !failing) << "a save reported the wrong outcome";
        const bool fileGone = failing && c.fault.folderGone;
#ifdef _WIN32
        if (failing && std::string(c.fault.name) == "Locked") {
            EXPECT_EQ(ReadThroughLock(), FileAfter(lastGood));  // empty when it made the file
            continue;
        }
#endif
        if (fileGone) {
            EXPECT_FALSE(fs::exists(folder));
        } else if (lastGood == 0) {
            EXPECT_FALSE(fs::exists(logPath)) << "a failed first save left a file";
        } else {
            EXPECT_EQ(test::ReadFileBytes(logPath), FileAfter(lastGood));
        }
        if (!failing) {
            EXPECT_FALSE(fs::exists(logPath + ".tmp")) << "temporary file left";
        }
    }
    EXPECT_EQ(test::ReadFileBytes(logPath), FileAfter(kSaves));
}

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.fault.name << " at save " << c.firstFailing << " for " << c.failingCount;
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return std::string(info.param.fault.name) + "_at" + std::to_string(info.param.firstFailing) +
           "_x" + std::to_string(info.param.failingCount);
}

INSTANTIATE_TEST_SUITE_P(EverySave, LogFaultTest, ::testing::ValuesIn(Cases()), CaseName);

}  // namespace
}  // namespace orvalis
