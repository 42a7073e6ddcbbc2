// Display names of memory-module makers, from the raw Manufacturer text that WMI reports:
// a company name, a JEDEC identification code in hexadecimal digits, or a placeholder.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace orvalis {

// Up to three texts of one rule; only the first `size` are used.
struct RuleTexts {
    std::array<std::string_view, 3> items{};
    std::size_t size = 0;

    constexpr RuleTexts(std::initializer_list<std::string_view> texts) {
        for (std::string_view text : texts) items[size++] = text;
    }
    constexpr const std::string_view* begin() const { return items.data(); }
    constexpr const std::string_view* end() const { return items.data() + size; }
};

struct ManufacturerRule {
    RuleTexts codes;    // the raw text begins with one of them
    RuleTexts aliases;  // the raw text contains one of them
    std::string_view displayName;
};

// Evaluated in this order; when several rules hold, the last one names the maker.
extern const std::array<ManufacturerRule, 37> ManufacturerRules;

// The display name for one raw manufacturer text; an unknown text comes back unchanged, a
// placeholder beginning with "Manufacturer" becomes "N/A".
std::string GetManufacturerName(const std::string& raw);

// True when text begins with code, ASCII letter case ignored. A text shorter than code
// never matches.
bool BeginsWithIgnoreCase(std::string_view text, std::string_view code);

// True when word occurs anywhere in text, ASCII letter case ignored. False when either is
// empty. The word looked for comes first.
bool ContainsIgnoreCase(std::string_view word, std::string_view text);

}  // namespace orvalis
