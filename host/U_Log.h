// TAppLog: a rolling text log kept in memory, newest line first, bounded to a maximum
// number of lines and rewritten in full to its file after every line.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

namespace orvalis {

// Local date and time as the log stamps it.
struct LogTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Where the log reads the time and the user's time separator.
class ILogClock {
  public:
    virtual ~ILogClock() = default;
    virtual LogTime Now() const = 0;
    virtual std::string TimeSeparator() const = 0;
};

// Replaces the file at path with bytes as a whole. Returns false (or throws) when it
// could not; the file then still holds what it held before.
class ILogFileWriter {
  public:
    virtual ~ILogFileWriter() = default;
    virtual bool ReplaceContents(const std::string& path, std::string_view bytes) = 0;
};

// The local clock with the user's time separator, read once here.
std::shared_ptr<ILogClock> SystemLogClock();
// Writes a temporary file beside the log and moves it over the log in one step, so a
// failed save never damages the previous file.
std::shared_ptr<ILogFileWriter> SystemLogFileWriter();

// The time separator of a C-library time format such as "%H:%M:%S" or "%T"; ":" when the
// format names none.
std::string TimeSeparatorFromTimeFormat(std::string_view format);

// "[yy-mm-dd hh:mm:ss]" with the given time separator.
std::string FormatLogTimeStamp(const LogTime& time, std::string_view timeSeparator);

class TAppLog {
  public:
    static constexpr int kVerbose = 0;
    static constexpr int kInfo = 1;
    static constexpr int kError = 2;

    // fileName: ANSI path of the log file. Nothing is opened or created here.
    TAppLog(std::string fileName, bool verbose, int32_t maxLineCount);
    TAppLog(std::string fileName, bool verbose, int32_t maxLineCount,
            std::shared_ptr<ILogClock> clock, std::shared_ptr<ILogFileWriter> writer);
    TAppLog(const TAppLog&) = delete;
    TAppLog& operator=(const TAppLog&) = delete;
    // Writes nothing: the file holds the state after the last successful save.
    ~TAppLog() = default;

    // Adds one line and saves the whole list; a failed save is swallowed and retried by
    // the next call. Levels above Error count as Error, levels below Verbose as Verbose.
    void Add(const std::string& message, int32_t level);

    int32_t ErrorCount() const { return errorCount_; }
    // Index 0 is the newest line.
    const std::deque<std::string>& Lines() const { return lines_; }
    const std::string& FileName() const { return fileName_; }

  private:
    void Save();

    int32_t errorCount_ = 0;
    std::deque<std::string> lines_;
    std::string fileName_;
    int32_t maxLineCount_;
    bool verbose_;
    std::shared_ptr<ILogClock> clock_;
    std::shared_ptr<ILogFileWriter> writer_;
    size_t lineBytes_ = 0;  // sum of the lengths of lines_, to size the file buffer
    std::string buffer_;    // reused between saves
};

}  // namespace orvalis
