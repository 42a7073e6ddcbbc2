// Letter case as the program ignores it: only the ASCII letters A-Z and a-z fold onto each
// other; every other byte, those above 127 included, compares exactly.
#pragma once

#include <algorithm>
#include <string_view>

namespace orvalis {

constexpr char FoldAsciiCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldAsciiCase(x) == FoldAsciiCase(y);
           });
}

}  // namespace orvalis
