#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vocabulary/manufacturer_names.h"

namespace orvalis {
namespace {

struct NameCase {
    std::string raw;
    std::string expected;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << '"' << c.raw << "\" -> \"" << c.expected << '"';
}

class ManufacturerNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(ManufacturerNameTest, GivesDisplayName) {
    EXPECT_EQ(GetManufacturerName(GetParam().raw), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    UnknownTextsStayAsTheyCame, ManufacturerNameTest,
    testing::Values(NameCase{"", ""}, NameCase{"  Acme Memory Co. ", "  Acme Memory Co. "},
                    NameCase{"N/A", "N/A"}, NameCase{"8", "8"}, NameCase{"FF00", "FF00"},
                    // The alias is "Fujistu": the correct spelling is not recognised.
                    NameCase{"FUJITSU", "FUJITSU"}, NameCase{"Fujistu", "Fujitsu"},
                    NameCase{"fUJISTU corp", "Fujitsu"}));

INSTANTIATE_TEST_SUITE_P(PlaceholderBecomesNotAvailable, ManufacturerNameTest,
                         testing::Values(NameCase{"Manufacturer00", "N/A"},
                                         NameCase{"MANUFACTURER", "N/A"},
                                         NameCase{"manufacturer0", "N/A"},
                                         // Only at the start, and only when no rule held.
                                         NameCase{" Manufacturer", " Manufacturer"},
                                         NameCase{"Manufacturer Samsung", "Samsung"},
                                         NameCase{"Manufactur", "Manufactur"}));

INSTANTIATE_TEST_SUITE_P(
    CodesIgnoreCaseAndCountOnlyAtTheStart, ManufacturerNameTest,
    testing::Values(NameCase{"ce00000000000000", "Samsung"}, NameCase{"80CE000080CE", "Samsung"},
                    NameCase{"80ad0000", "Hynix (Hyundai)"},
                    NameCase{"7f7f7f7f7f51", "Infineon (Siemens)"}, NameCase{" CE00", " CE00"},
                    NameCase{"xCE00", "xCE00"}, NameCase{"00CE", "Samsung"}, NameCase{"C", "C"},
                    // A code-looking run inside the text is no code; an alias there still is.
                    NameCase{" Samsung", "Samsung"}, NameCase{"00000000CE", "00000000CE"}));

INSTANTIATE_TEST_SUITE_P(
    LongerCodesTakePrecedence, ManufacturerNameTest,
    testing::Values(NameCase{"0198", "Kingston"}, NameCase{"01980000", "Kingston"},
                    NameCase{"0194", "Smart Modular"}, NameCase{"02FE0000", "Elpida"},
                    NameCase{"02fe", "Elpida"}, NameCase{"830B", "Nanya Technology"},
                    NameCase{"830b0000", "Nanya Technology"}, NameCase{"01", "AMD"},
                    NameCase{"0100", "AMD"}, NameCase{"0195", "AMD"}, NameCase{"019", "AMD"},
                    NameCase{"02", "AMI"}, NameCase{"02FF", "AMI"}, NameCase{"8300", "Fairchild"},
                    NameCase{"830C", "Fairchild"}, NameCase{"83", "Fairchild"},
                    // The shorter code loses, but the later rule's alias still counts.
                    NameCase{"0198 AMD", "AMD"}, NameCase{"830B Fairchild", "Fairchild"}));

INSTANTIATE_TEST_SUITE_P(
    AliasesMatchAnywhereAndTheLastRuleWins, ManufacturerNameTest,
    testing::Values(NameCase{"Connector", "NEC"}, NameCase{"Belgium", "LG (Goldstar)"},
                    NameCase{"SAMSUNG", "Samsung"}, NameCase{"samsung electronics", "Samsung"},
                    NameCase{"Samsung Kingston", "Kingston"},
                    NameCase{"Kingston Samsung", "Kingston"},
                    NameCase{"Micron Technology", "Micron Technology"},
                    NameCase{"Micron CMS", "Micron CMS"}, NameCase{"Micron", "Micron"},
                    NameCase{"Mosel Vitelic", "ProMOS/Mosel Vitelic"},
                    NameCase{"MoselVitelic", "MoselVitelic"},
                    // A code of an earlier rule loses to an alias of a later one, and the other
                    // way round.
                    NameCase{"CE00 Kingston", "Kingston"}, NameCase{"0198 Samsung", "Kingston"},
                    NameCase{"04 Elpida", "Elpida"}));

INSTANTIATE_TEST_SUITE_P(XicorCarriesItsOwnCodes, ManufacturerNameTest,
                         testing::Values(NameCase{"19", "Xicor"}, NameCase{"8019", "Xicor"},
                                         NameCase{"xicor", "Xicor"}, NameCase{"16", "Synertek"},
                                         NameCase{"8016", "Synertek"}));

// Case folding covers A-Z only: bytes that differ by 0x20 outside the letters, and Latin-1
// capitals and small letters, stay different.
TEST(ManufacturerTextTests, FoldsOnlyAsciiLetters) {
    EXPECT_TRUE(BeginsWithIgnoreCase("aBcD", "AbCd"));
    EXPECT_FALSE(BeginsWithIgnoreCase("[", "{"));
    EXPECT_FALSE(BeginsWithIgnoreCase("@", "`"));
    EXPECT_FALSE(BeginsWithIgnoreCase("\xC9", "\xE9"));  // Latin-1 E acute
    EXPECT_TRUE(BeginsWithIgnoreCase("\xC9x", "\xC9X"));
    EXPECT_FALSE(ContainsIgnoreCase("\xE9", "ABC\xC9"));
    EXPECT_TRUE(ContainsIgnoreCase("\xE9", "ABC\xE9"));
    EXPECT_EQ(GetManufacturerName("S\xC1MSUNG"), "S\xC1MSUNG");
    EXPECT_EQ(GetManufacturerName("Hynix \xE9"), "Hynix (Hyundai)");
}

struct TextTestCase {
    std::string first;
    std::string second;
    bool expected;
};

TEST(ManufacturerTextTests, BeginsWithIgnoreCase) {
    const std::vector<TextTestCase> cases{
        {"0198", "01", true}, {"01", "01", true},   {"0", "01", false}, {"", "01", false},
        {"x01", "01", false}, {" 01", "01", false}, {"ab", "AB", true}, {"anything", "", true},
        {"01 ", "01 ", true}, {"01", "01 ", false},
    };
    for (const TextTestCase& c : cases)
        EXPECT_EQ(BeginsWithIgnoreCase(c.first, c.second), c.expected)
            << '"' << c.first << "\" begins with \"" << c.second << '"';
}

TEST(ManufacturerTextTests, ContainsIgnoreCaseTakesTheWordFirst) {
    const std::vector<TextTestCase> cases{
        {"NEC", "Connector", true}, {"Connector", "NEC", false}, {"nec", "CONNECTOR", true},
        {"", "text", false},        {"word", "", false},         {"", "", false},
        {"abc", "ab", false},       {"abc", "xxabc", true},      {"abc", "abcxx", true},
        {"abc", "ab c", false},     {"aa", "a", false},          {"aab", "aaab", true},
    };
    for (const TextTestCase& c : cases)
        EXPECT_EQ(ContainsIgnoreCase(c.first, c.second), c.expected)
            << '"' << c.second << "\" contains \"" << c.first << '"';
}

// The table as it must read, written out independently of the program's copy.
struct ExpectedRule {
    std::vector<std::string> codes;
    std::vector<std::string> aliases;
    std::string displayName;
};

const std::vector<ExpectedRule>& ExpectedRules() {
    static const std::vector<ExpectedRule> rules{
        {{"04", "8004"}, {"Fujistu"}, "Fujitsu"},
        {{"0500", "7F7FFE", "02FE"}, {"Elpida"}, "Elpida"},
        {{"07", "8007"}, {"Hitachi"}, "Hitachi"},
        {{"08", "8008"}, {"Inmos"}, "Inmos"},
        {{"0B", "800B"}, {"Intersil"}, "Intersil"},
        {{"0D", "800D"}, {"Mostek"}, "Mostek"},
        {{"0E", "800E"}, {"Freescale", "Motorola"}, "Freescale (Motorola)"},
        {{"10", "8010"}, {"NEC"}, "NEC"},
        {{"13", "8013"}, {"Conexant", "Rockwell"}, "Conexant (Rockwell)"},
        {{"15", "8015"}, {"Philips", "Signetics", "NXP"}, "NXP (Philips Semi, Signetics)"},
        {{"16", "8016"}, {"Synertek"}, "Synertek"},
        {{"19", "8019"}, {"Xicor"}, "Xicor"},
        {{"1A", "801A"}, {"Zilog"}, "Zilog"},
        {{"1C", "801C"}, {"Mitsubishi"}, "Mitsubishi"},
        {{"2C", "802C"}, {"Micron Technology"}, "Micron Technology"},
        {{"40", "8040"}, {"ProMOS", "Mosel Vitelic"}, "ProMOS/Mosel Vitelic"},
        {{"6A", "806A"}, {"Goldenram"}, "Goldenram"},
        {{"7F7FB5"}, {"SpecTek"}, "SpecTek"},
        {{"7F7F7F0B", "830B"}, {"Nanya"}, "Nanya Technology"},
        {{"83", "8083"}, {"Fairchild"}, "Fairchild"},
        {{"85"}, {"GTE"}, "GTE"},
        {{"89", "8089"}, {"Numonyx", "Intel"}, "Numonyx (Intel)"},
        {{"91", "8091"}, {"DATARAM"}, "DATARAM"},
        {{"94", "0194"}, {"Smart Modular"}, "Smart Modular"},
        {{"98", "8098"}, {"Toshiba"}, "Toshiba"},
        {{"A4", "80A4"}, {"IBM"}, "IBM"},
        {{"AD", "80AD", "00AD"}, {"Hynix", "Hyundai"}, "Hynix (Hyundai)"},
        {{"C1", "80C1", "7F7F7F7F7F51"}, {"Infineon", "Siemens"}, "Infineon (Siemens)"},
        {{"CE", "80CE", "00CE"}, {"Samsung"}, "Samsung"},
        {{"DE", "80DE"}, {"Winbond"}, "Winbond Electronics"},
        {{"E0", "80E0"}, {"LG", "Goldstar"}, "LG (Goldstar)"},
        {{"7F45"}, {"Micron CMS"}, "Micron CMS"},
        {{"0198", "7F98"}, {"Kingston"}, "Kingston"},
        {{"7F7F7F7F43"}, {"Ramaxel"}, "Ramaxel Technology"},
        {{"01", "8001"}, {"AMD"}, "AMD"},
        {{"02", "8002"}, {"AMI"}, "AMI"},
        {{"06C1"}, {"ASint"}, "ASint"},
    };
    return rules;
}

TEST(ManufacturerRulesTest, TableReadsExactlyAsListed) {
    ASSERT_EQ(ManufacturerRules.size(), ExpectedRules().size());
    for (size_t i = 0; i < ManufacturerRules.size(); ++i) {
        const ManufacturerRule& actual = ManufacturerRules[i];
        const ExpectedRule& expected = ExpectedRules()[i];
        SCOPED_TRACE("rule " + std::to_string(i + 1));
        EXPECT_EQ(actual.displayName, expected.displayName);
        EXPECT_EQ(std::vector<std::string>(actual.codes.begin(), actual.codes.end()),
                  expected.codes);
        EXPECT_EQ(std::vector<std::string>(actual.aliases.begin(), actual.aliases.end()),
                  expected.aliases);
    }
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Every code, followed by more digits, and every alias names its own rule's maker: no later
// rule steals it and no shorter code of a later rule takes a longer one's text.
TEST(ManufacturerRulesTest, EveryCodeAndAliasNamesItsMaker) {
    for (const ExpectedRule& rule : ExpectedRules()) {
        for (const std::string& code : rule.codes) {
            EXPECT_EQ(GetManufacturerName(code), rule.displayName) << code;
            EXPECT_EQ(GetManufacturerName(Lower(code) + "0000"), rule.displayName) << code;
        }
        for (const std::string& alias : rule.aliases) {
            EXPECT_EQ(GetManufacturerName("x" + Lower(alias) + "x"), rule.displayName) << alias;
        }
    }
}

}  // namespace
}  // namespace orvalis
