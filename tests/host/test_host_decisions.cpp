// The portable decisions of the host services: version text, file version, folders,
// extended-length paths and the log's time separator.
#include <gtest/gtest.h>

#include "host/U_Log.h"
#include "host/U_UnicodeUtils.h"
#include "host/Various_utils.h"

namespace orvalis {
namespace {

struct VersionCase {
    uint32_t platform;
    uint32_t major;
    uint32_t minor;
    std::string servicePack;
    std::string expected;
};

// Names the case in test output (and keeps GoogleTest from dumping its raw bytes).
void PrintTo(const VersionCase& c, std::ostream* out) {
    *out << "platform " << c.platform << ", " << c.major << "." << c.minor << " '"
         << c.servicePack << "'";
}

class WindowsVersionTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(WindowsVersionTest, DescribesTheRecord) {
    const VersionCase& c = GetParam();
    WindowsVersionRecord record;
    record.platformId = c.platform;
    record.majorVersion = c.major;
    record.minorVersion = c.minor;
    record.buildNumber = 7601;
    record.servicePack = c.servicePack;
    EXPECT_EQ(DescribeWindowsVersion(record), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Windows95Family, WindowsVersionTest,
                         ::testing::Values(VersionCase{1, 4, 0, "", "4.0 (95)"},
                                           VersionCase{1, 4, 10, " A ", "4.10 (98SE)"},
                                           VersionCase{1, 4, 10, "", "4.10 (98)"},
                                           VersionCase{1, 4, 10, "A",
                                                       "4.10 (98)"},  // "A" must be the second
                                           VersionCase{1, 4, 90, "", "4.90 (ME)"},
                                           VersionCase{1, 4, 3, "", "4.3 (Unknown)"},
                                           VersionCase{1, 5, 0, "", "5.0 (Unknown)"}));

INSTANTIATE_TEST_SUITE_P(
    NtFamily, WindowsVersionTest,
    ::testing::Values(VersionCase{2, 3, 51, "", "3.51 (NT)"}, VersionCase{2, 4, 0, "", "4.0 (NT)"},
                      VersionCase{2, 5, 0, "", "5.0 (2000)"}, VersionCase{2, 5, 1, "", "5.1 (XP)"},
                      VersionCase{2, 5, 2, "", "5.2"}, VersionCase{2, 6, 0, "", "6.0 (Vista)"},
                      VersionCase{2, 6, 1, "Service Pack 1", "6.1 (Seven)"},
                      VersionCase{2, 6, 2, "", "6.2 (Windows8)"},
                      VersionCase{2, 6, 3, "", "6.3 (Windows8.1)"}, VersionCase{2, 6, 4, "", "6.4"},
                      VersionCase{2, 10, 0, "", "10.0"}));

INSTANTIATE_TEST_SUITE_P(OtherPlatforms, WindowsVersionTest,
                         ::testing::Values(VersionCase{0, 3, 10, "", "3.10"},
                                           VersionCase{3, 6, 1, "", "6.1"}));

TEST(FileVersionTextTest, JoinsTheFourWords) {
    EXPECT_EQ(FormatFileVersion(0x00020005, 0x0000000C), "2.5.0.12");
    EXPECT_EQ(FormatFileVersion(0xFFFFFFFF, 0xFFFF0000), "65535.65535.65535.0");
    EXPECT_EQ(FormatFileVersion(0, 0), "0.0.0.0");
}

TEST(ExeFolderTest, KeepsTheFolderWithItsBackslash) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Program Files\\Orvalis\\Orvalis.exe", "C:\\Program Files\\Orvalis\\"},
        {"\\\\server\\share\\Orvalis.exe", "\\\\server\\share\\"},
        {"C:Orvalis.exe", "C:\\"},
        {"Orvalis.exe", "\\"},
        {"", "\\"},
    };
    for (const auto& [exePath, folder] : cases) EXPECT_EQ(ExeFolderOf(exePath), folder) << exePath;
}

TEST(ExtendedLengthPathTest, PrefixesLocalAndUncPaths) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"\\\\server\\share\\data", L"\\\\?\\UNC\\server\\share\\data"},
        {L"C:\\data", L"\\\\?\\C:\\data"},
        {L"\\\\", L"\\\\?\\UNC\\"},
        {L"\\data", L"\\\\?\\\\data"},
    };
    for (const auto& [path, extended] : cases) EXPECT_EQ(ExtendedLengthPath(path), extended);
}

TEST(DriveDesignationTest, OnlyLetterColonAndOptionalBackslash) {
    for (const wchar_t* drive : {L"C:", L"C:\\", L"q:"}) EXPECT_TRUE(IsDriveDesignation(drive));
    for (const wchar_t* other : {L"", L"C", L"C:/", L"C:\\x", L"CC:", L"\\\\"}) {
        EXPECT_FALSE(IsDriveDesignation(other));
    }
}

TEST(TimeSeparatorTest, ReadsTheSeparatorAfterTheHour) {
    const std::pair<std::string, std::string> cases[] = {
        {"%H:%M:%S", ":"}, {"%T", ":"}, {"%H.%M.%S", "."}, {"%I:%M:%S %p", ":"}, {"%Hh%Mm%Ss", "h"},
        {"", ":"},         {"%H", ":"}, {"%%H%H-%M", "-"}, {"%p %l:%M:%S", ":"}, {"%R", ":"},
    };
    for (const auto& [format, separator] : cases) {
        EXPECT_EQ(TimeSeparatorFromTimeFormat(format), separator) << format;
    }
}

}  // namespace
}  // namespace orvalis
