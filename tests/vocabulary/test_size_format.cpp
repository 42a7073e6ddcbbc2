#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "tests/vocabulary/size_unit_names_guard.h"
#include "vocabulary/size_format.h"

namespace orvalis {
namespace {

constexpr int64_t KiB = 1024;
constexpr int64_t MiB = KiB * 1024;
constexpr int64_t GiB = MiB * 1024;
constexpr int64_t TiB = GiB * 1024;

struct SizeCase {
    int64_t count;
    std::string expected;
};

class FormatSizeTest : public testing::Test {
  protected:
    FormatSizeTest() { SetSizeUnitNames(test::kStartedUnitNames); }

    void ExpectAll(const std::vector<SizeCase>& cases, std::string_view separator = ".") {
        for (const SizeCase& c : cases)
            EXPECT_EQ(FormatSize(c.count, separator), c.expected) << "count " << c.count;
    }

  private:
    test::SizeUnitNamesGuard guard_;
};

TEST_F(FormatSizeTest, PicksTheUnitAndThreeSignificantDigits) {
    ExpectAll({
        {0, "0    B"},
        {5, "5    B"},
        {42, "42   B"},
        {999, "999  B"},
        {1023, "1023 B"},
        {1024, "1 KB"},
        {1536, "1.5 KB"},
        {1000 * KiB - 1, "1000 KB"},
        {999 * KiB + 511, "999 KB"},
        {1000 * KiB, "1000 KB"},
        {MiB - 1, "1023 KB"},  // truncated, not rounded
        {MiB, "1 MB"},
        {8110 * MiB, "7.92 GB"},
        {15 * GiB + GiB / 4, "15.3 GB"},
        {123 * MiB + MiB / 2, "124 MB"},
        {GiB - 1, "1023 MB"},
        {TiB - 1, "1023 GB"},
        {TiB, "1 TB"},
        {1000 * TiB, "1000 TB"},
        {1024 * TiB, "1024 TB"},  // no unit above terabytes
        {std::numeric_limits<int64_t>::max(), "8388608 TB"},
    });
}

// Halves round up, whatever printf's round-half-even would do with the same double.
TEST_F(FormatSizeTest, ExactHalvesRoundUp) {
    ExpectAll({
        {GiB + GiB / 8, "1.13 GB"},       // 1.125
        {2 * MiB + MiB / 8, "2.13 MB"},   // 2.125
        {10 * MiB + MiB / 4, "10.3 MB"},  // 10.25
        {100 * KiB + KiB / 2, "101 KB"},  // 100.5
        {998 * KiB + KiB / 2, "999 KB"},  // 998.5
        {GiB + GiB / 8 - 1, "1.12 GB"},   // just below the half
    });
}

// From 999.5 the three digits round to 1000: written as the whole number, not "1E003".
TEST_F(FormatSizeTest, RoundingUpToAThousandGivesTheWholeNumber) {
    ExpectAll({
        {999 * KiB + 512, "1000 KB"},
        {999 * MiB + MiB / 2, "1000 MB"},
        {999 * TiB + TiB / 2, "1000 TB"},
        {999 * KiB + 511, "999 KB"},
    });
}

TEST_F(FormatSizeTest, CarryMovesTheSeparator) {
    ExpectAll({
        {10239, "10 KB"},           // 9.999...
        {102390, "100 KB"},         // 99.990...
        {9 * KiB + 1023, "10 KB"},  // 9.999
        {1029, "1 KB"},             // 1.0048...: below the half, the fraction vanishes
    });
}

TEST_F(FormatSizeTest, UsesTheGivenDecimalSeparator) {
    ExpectAll({{1536, "1,5 KB"}, {8110 * MiB, "7,92 GB"}, {1024, "1 KB"}, {1000 * KiB, "1000 KB"}},
              ",");
    EXPECT_EQ(FormatSize(1536, "<>"), "1<>5 KB");
}

// A negative count is not expected; it is written as it is rather than as a huge unsigned.
TEST_F(FormatSizeTest, NegativeCountIsWrittenSigned) {
    ExpectAll({{-5, "-5   B"}, {-2048, "-2048 B"}});
    EXPECT_EQ(FormatSize(std::numeric_limits<int64_t>::min(), "."), "-9223372036854775808 B");
}

TEST(SizeUnitNamesTest, InitialNamesApplyBeforeStartUp) {
    for (size_t i = 0; i < SizeUnitNames.size(); ++i)
        EXPECT_EQ(SizeUnitNames[i], InitialSizeUnitNames[i]);
    EXPECT_EQ(FormatSize(1536, "."), "1.5 Kb.");
    EXPECT_EQ(FormatSize(0, "."), "0    b.");
    EXPECT_EQ(FormatSize(MiB, "."), "1 Mb.");
    EXPECT_EQ(FormatSize(GiB, "."), "1 Gb.");
    EXPECT_EQ(FormatSize(TiB, "."), "1 Tb.");
}

TEST(SizeUnitNamesTest, NamesAreReadAtEveryCall) {
    test::SizeUnitNamesGuard guard;
    SizeUnitNames[1] = "kilo";
    EXPECT_EQ(FormatSize(2048, "."), "2 kilo");
    SetSizeUnitNames(test::kStartedUnitNames);
    EXPECT_EQ(FormatSize(2048, "."), "2 KB");
    EXPECT_EQ(FormatSize(3, "."), "3    B");
}

struct DigitsCase {
    double value;
    std::string expected;
};

// The 18-digit judgement: a double below a decimal half shows that within 18 digits
// (2.675 is 2.67499999999999982...), so it rounds down; exact halves round up.
TEST(ThreeSignificantDigitsTest, RoundsHalfUpOnEighteenDigits) {
    const std::vector<DigitsCase> cases{
        {2.675, "2.67"},
        {1.005, "1"},
        {1.125, "1.13"},
        {0.03125, "0.0313"},
        {1.015, "1.01"},
        {999.4, "999"},
        {999.5, "1000"},
        {9.995, "9.99"},
        {99.95, "100"},
        {1.0, "1"},
        {1.10, "1.1"},
        {123.0, "123"},
        {0.0, "0"},
        {1234567.0, "1230000"},
        {0.000123456, "0.000123"},
        {1e20, "100000000000000000000"},
    };
    for (const DigitsCase& c : cases)
        EXPECT_EQ(FormatThreeSignificantDigits(c.value, "."), c.expected) << c.value;
}

}  // namespace
}  // namespace orvalis
