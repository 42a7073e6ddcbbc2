#include "host/U_Log.h"

#include <utility>

namespace orvalis {
namespace {

const char* const kLevelNames[] = {"Verbose", "Info", "Error"};

void AppendTwoDigits(std::string& out, int value) {
    out += static_cast<char>('0' + (value / 10) % 10);
    out += static_cast<char>('0' + value % 10);
}

}  // namespace

std::string TimeSeparatorFromTimeFormat(std::string_view format) {
    // Whatever stands between the hour conversion and the next conversion.
    for (size_t i = 0; i + 1 < format.size(); ++i) {
        if (format[i] != '%') continue;
        const char conversion = format[i + 1];
        if (conversion == 'T' || conversion == 'R') return ":";
        if (conversion == 'H' || conversion == 'I' || conversion == 'k' || conversion == 'l') {
            const size_t start = i + 2;
            const size_t end = format.find('%', start);
            if (end == std::string_view::npos || end == start) return ":";
            return std::string(format.substr(start, end - start));
        }
        ++i;  // skip the conversion character, "%%" included
    }
    return ":";
}

std::string FormatLogTimeStamp(const LogTime& time, std::string_view timeSeparator) {
    std::string out = "[";
    AppendTwoDigits(out, time.year % 100);
    out += '-';
    AppendTwoDigits(out, time.month);
    out += '-';
    AppendTwoDigits(out, time.day);
    out += ' ';
    AppendTwoDigits(out, time.hour);
    out += timeSeparator;
    AppendTwoDigits(out, time.minute);
    out += timeSeparator;
    AppendTwoDigits(out, time.second);
    out += ']';
    return out;
}

TAppLog::TAppLog(std::string fileName, bool verbose, int32_t maxLineCount)
    : TAppLog(std::move(fileName), verbose, maxLineCount, SystemLogClock(), SystemLogFileWriter()) {
}

TAppLog::TAppLog(std::string fileName, bool verbose, int32_t maxLineCount,
                 std::shared_ptr<ILogClock> clock, std::shared_ptr<ILogFileWriter> writer)
    : fileName_(std::move(fileName)),
      maxLineCount_(maxLineCount),
      verbose_(verbose),
      clock_(std::move(clock)),
      writer_(std::move(writer)) {}

void TAppLog::Add(const std::string& message, int32_t level) {
    if (level < kVerbose) level = kVerbose;
    if (level == kVerbose && !verbose_) return;
    if (level > kError) level = kError;
    if (level == kError) ++errorCount_;

    std::string line = kLevelNames[level];
    line += '\t';
    line += FormatLogTimeStamp(clock_->Now(), clock_->TimeSeparator());
    line += '\t';
    line += message;

    lineBytes_ += line.size();
    lines_.push_front(std::move(line));
    if (static_cast<int64_t>(lines_.size()) > maxLineCount_) {
        lineBytes_ -= lines_.back().size();
        lines_.pop_back();
    }
    Save();
}

void TAppLog::Save() {
    try {
        buffer_.clear();
        buffer_.reserve(lineBytes_ + 2 * lines_.size());
        for (const std::string& line : lines_) {
            buffer_ += line;
            buffer_ += "\r\n";
        }
        // A failed save leaves the lines in memory; the next Add writes them all again.
        writer_->ReplaceContents(fileName_, buffer_);
    } catch (...) {
    }
}

}  // namespace orvalis
