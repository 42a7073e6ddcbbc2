// The text helpers of Various_utils: URL encoding of search keywords, PickText, YesNo.
#include <gtest/gtest.h>

#include "host/Various_utils.h"

namespace orvalis {
namespace {

struct EncodeCase {
    std::string input;
    std::string expected;
};

class UrlEncodeTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(UrlEncodeTest, EncodesByteByByte) {
    EXPECT_EQ(UrlEncode(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, UrlEncodeTest,
    ::testing::Values(EncodeCase{"", ""}, EncodeCase{"ACME 12-34_5.6/7", "ACME%2012-34_5.6%2F7"},
                      EncodeCase{"Samsung M378B1G73EB0-CK0  ", "Samsung%20M378B1G73EB0-CK0%20%20"},
                      EncodeCase{"a+b~c", "a%2Bb%7Ec"}, EncodeCase{"caf\xE9", "caf%E9"},
                      EncodeCase{std::string("\x00\x1F\x7F\xFF", 4), "%00%1F%7F%FF"},
                      EncodeCase{"AZaz09", "AZaz09"}, EncodeCase{"%&?=#", "%25%26%3F%3D%23"}));

TEST(PickTextTest, ChoosesByFlag) {
    EXPECT_EQ(PickText(true, "N/A", "M378"), "N/A");
    EXPECT_EQ(PickText(false, "N/A", "M378"), "M378");
}

TEST(YesNoTest, RendersBoolean) {
    EXPECT_EQ(YesNo(true), "Yes");
    EXPECT_EQ(YesNo(false), "No");
}

}  // namespace
}  // namespace orvalis
