#include "vocabulary/manufacturer_names.h"

#include <algorithm>

#include "host/ascii_case.h"

namespace orvalis {

// "Fujistu" is the spelling WMI texts are matched against; keep it.
constexpr std::array<ManufacturerRule, 37> kRules{{
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
    {{"19", "8019"}, {"Xicor"}, "Xicor"},  // JEDEC bank 1 code 0x19
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
}};

namespace {

constexpr bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// Every code is 2 to 12 upper-case hexadecimal digits and every rule has an alias: an
// empty code or alias would match every text.
constexpr bool TableIsWellFormed() {
    for (const ManufacturerRule& rule : kRules) {
        if (rule.aliases.size == 0 || rule.displayName.empty()) return false;
        for (std::string_view alias : rule.aliases)
            if (alias.empty()) return false;
        for (std::string_view code : rule.codes) {
            if (code.size() < 2 || code.size() > 12) return false;
            if (!std::all_of(code.begin(), code.end(), IsHexDigit)) return false;
        }
    }
    return true;
}
static_assert(TableIsWellFormed());

// Length of the longest code of the whole table that begins raw (0 when none does). Codes
// that begin the same text are prefixes of one another, so only the longest one names the
// maker: "0198..." is Kingston's, not AMD's "01".
std::size_t LongestMatchingCode(std::string_view raw) {
    std::size_t longest = 0;
    for (const ManufacturerRule& rule : kRules)
        for (std::string_view code : rule.codes)
            if (code.size() > longest && BeginsWithIgnoreCase(raw, code)) longest = code.size();
    return longest;
}

bool RuleHolds(const ManufacturerRule& rule, std::string_view raw, std::size_t longestCode) {
    for (std::string_view code : rule.codes)
        if (code.size() == longestCode && BeginsWithIgnoreCase(raw, code)) return true;
    for (std::string_view alias : rule.aliases)
        if (ContainsIgnoreCase(alias, raw)) return true;
    return false;
}

}  // namespace

const std::array<ManufacturerRule, 37> ManufacturerRules = kRules;

bool BeginsWithIgnoreCase(std::string_view text, std::string_view code) {
    return text.size() >= code.size() && EqualsIgnoringAsciiCase(text.substr(0, code.size()), code);
}

bool ContainsIgnoreCase(std::string_view word, std::string_view text) {
    if (word.empty() || text.empty() || word.size() > text.size()) return false;
    for (std::size_t start = 0; start + word.size() <= text.size(); ++start)
        if (EqualsIgnoringAsciiCase(text.substr(start, word.size()), word)) return true;
    return false;
}

std::string GetManufacturerName(const std::string& raw) {
    std::string result = raw;
    const std::size_t longestCode = LongestMatchingCode(raw);
    // No early exit: the last rule that holds gives the name.
    for (const ManufacturerRule& rule : kRules)
        if (RuleHolds(rule, raw, longestCode)) result = rule.displayName;
    if (BeginsWithIgnoreCase(result, "Manufacturer")) result = "N/A";
    return result;
}

}  // namespace orvalis
