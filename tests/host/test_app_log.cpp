// The log's list logic with a fixed clock and a recording file writer.
#include <gtest/gtest.h>

#include <stdexcept>

#include "host/U_Log.h"

namespace orvalis {
namespace {

class FixedClock : public ILogClock {
  public:
    LogTime time{2024, 3, 5, 14, 7, 9};
    std::string separator = ":";
    LogTime Now() const override { return time; }
    std::string TimeSeparator() const override { return separator; }
};

enum class Failure { None, ReturnFalse, ThrowStd, ThrowOther };

class RecordingWriter : public ILogFileWriter {
  public:
    int calls = 0;
    int failuresLeft = 0;
    Failure failure = Failure::None;
    std::string path;
    std::string bytes;  // what the last successful call wrote

    bool ReplaceContents(const std::string& target, std::string_view content) override {
        ++calls;
        if (failuresLeft > 0) {
            --failuresLeft;
            if (failure == Failure::ThrowStd) throw std::runtime_error("disk full");
            if (failure == Failure::ThrowOther) throw 42;
            return false;
        }
        path = target;
        bytes.assign(content);
        return true;
    }
};

class AppLogTest : public ::testing::Test {
  protected:
    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>();
    std::shared_ptr<RecordingWriter> writer = std::make_shared<RecordingWriter>();

    std::unique_ptr<TAppLog> MakeLog(bool verbose, int32_t maxLines) {
        return std::make_unique<TAppLog>("C:\\data\\Orvalis.log", verbose, maxLines, clock, writer);
    }
    static std::string Line(const std::string& level, const std::string& message) {
        return level + "\t[24-03-05 14:07:09]\t" + message + "\r\n";
    }
};

TEST_F(AppLogTest, WritesExactLineFormatToTheLogFile) {
    auto log = MakeLog(false, 10000);
    log->Add("Starting", 1);
    EXPECT_EQ(writer->path, "C:\\data\\Orvalis.log");
    EXPECT_EQ(writer->bytes, "Info\t[24-03-05 14:07:09]\tStarting\r\n");
}

TEST_F(AppLogTest, TimeStampFollowsClockAndSeparator) {
    struct Case {
        LogTime time;
        std::string separator;
        std::string stamp;
    };
    const Case cases[] = {
        {{1999, 12, 31, 23, 59, 58}, ":", "[99-12-31 23:59:58]"},
        {{2000, 1, 2, 3, 4, 5}, ".", "[00-01-02 03.04.05]"},
        {{2107, 10, 20, 0, 0, 0}, " h ", "[07-10-20 00 h 00 h 00]"},
    };
    for (const Case& c : cases) {
        clock->time = c.time;
        clock->separator = c.separator;
        auto log = MakeLog(false, 10);
        log->Add("m", 1);
        EXPECT_EQ(writer->bytes, "Info\t" + c.stamp + "\tm\r\n") << c.stamp;
    }
}

TEST_F(AppLogTest, LevelsNameTheLineAndCountErrors) {
    struct Case {
        int32_t level;
        const char* name;
        int32_t errors;
    };
    // Above Error counts as Error; below Verbose is treated as Verbose.
    const Case cases[] = {
        {0, "Verbose", 0}, {1, "Info", 0}, {2, "Error", 1}, {5, "Error", 1}, {-3, "Verbose", 0}};
    for (const Case& c : cases) {
        auto log = MakeLog(true, 10);
        log->Add("m", c.level);
        EXPECT_EQ(writer->bytes, Line(c.name, "m")) << c.level;
        EXPECT_EQ(log->ErrorCount(), c.errors) << c.level;
    }
}

TEST_F(AppLogTest, ErrorCountAccumulates) {
    auto log = MakeLog(false, 2);
    for (int32_t level : {2, 1, 7, 2, 0}) log->Add("m", level);
    EXPECT_EQ(log->ErrorCount(), 3);
}

TEST_F(AppLogTest, VerboseOffDropsLevelZeroWithoutTouchingTheFile) {
    auto log = MakeLog(false, 10);
    log->Add("detail", 0);
    log->Add("detail", -1);
    EXPECT_EQ(writer->calls, 0);  // not even created
    EXPECT_TRUE(log->Lines().empty());
    EXPECT_EQ(log->ErrorCount(), 0);

    log->Add("kept", 1);
    log->Add("detail", 0);
    EXPECT_EQ(writer->calls, 1);
    EXPECT_EQ(writer->bytes, Line("Info", "kept"));
}

TEST_F(AppLogTest, KeepsNewestFirstUpToTheMaximum) {
    auto log = MakeLog(false, 3);
    for (const char* message : {"a", "b", "c", "d", "e"}) log->Add(message, 1);
    EXPECT_EQ(writer->bytes, Line("Info", "e") + Line("Info", "d") + Line("Info", "c"));
    ASSERT_EQ(log->Lines().size(), 3u);
}

TEST_F(AppLogTest, LineBeyondTenThousandDropsTheOldest) {
    auto log = MakeLog(false, 10000);
    for (int i = 1; i <= 10001; ++i) log->Add("message " + std::to_string(i), 1);

    ASSERT_EQ(log->Lines().size(), 10000u);
    EXPECT_EQ(log->Lines().front(), "Info\t[24-03-05 14:07:09]\tmessage 10001");
    EXPECT_EQ(log->Lines().back(), "Info\t[24-03-05 14:07:09]\tmessage 2");
    const std::string& bytes = writer->bytes;
    size_t lineEnds = 0;
    for (size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2))
        ++lineEnds;
    EXPECT_EQ(lineEnds, 10000u);
    EXPECT_EQ(bytes.rfind(Line("Info", "message 2")),
              bytes.size() - Line("Info", "message 2").size());
    EXPECT_EQ(bytes.find("\tmessage 1\r\n"), std::string::npos);
}

TEST_F(AppLogTest, MaximumOfZeroOrLessKeepsAnEmptyFile) {
    for (int32_t maximum : {0, -5}) {
        writer->bytes = "stale";
        auto log = MakeLog(false, maximum);
        log->Add("a", 1);
        log->Add("b", 2);
        EXPECT_EQ(writer->bytes, "") << maximum;
        EXPECT_TRUE(log->Lines().empty()) << maximum;
        EXPECT_EQ(log->ErrorCount(), 1) << maximum;
    }
}

TEST_F(AppLogTest, MessageWithLineBreakCountsAsOneLine) {
    auto log = MakeLog(false, 2);
    log->Add("x", 1);
    log->Add("one\r\ntwo", 1);
    log->Add("z", 1);
    EXPECT_EQ(writer->bytes, Line("Info", "z") + Line("Info", "one\r\ntwo"));
}

TEST_F(AppLogTest, FailedSavesAreSwallowedAndTheNextAddWritesAllLines) {
    for (Failure failure : {Failure::ReturnFalse, Failure::ThrowStd, Failure::ThrowOther}) {
        writer = std::make_shared<RecordingWriter>();
        writer->failure = failure;
        writer->failuresLeft = 2;
        auto log = MakeLog(false, 10);
        EXPECT_NO_THROW(log->Add("a", 1));
        EXPECT_NO_THROW(log->Add("b", 2));
        EXPECT_EQ(writer->bytes, "");
        log->Add("c", 1);
        EXPECT_EQ(writer->calls, 3);
        EXPECT_EQ(writer->bytes, Line("Info", "c") + Line("Error", "b") + Line("Info", "a"));
        EXPECT_EQ(log->ErrorCount(), 1);  // the failures themselves are not counted
    }
}

}  // namespace
}  // namespace orvalis
