#include "vocabulary/size_format.h"

#include <charconv>
#include <cmath>

#include "vocabulary/decimal_separator.h"

namespace orvalis {

// constinit: a text formatted by another module's start-up already sees the initial names.
#if defined(__clang__) && __clang_major__ < 15
// clang 14 cannot evaluate libstdc++'s string constructor at compile time (the fuzz build);
// initialised before every other static instead.
__attribute__((init_priority(101)))
#else
constinit
#endif
std::array<std::string, 5> SizeUnitNames{"b.", "Kb.", "Mb.", "Gb.", "Tb."};

void SetSizeUnitNames(const std::array<std::string, 5>& names) {
    SizeUnitNames = names;
}

namespace {

constexpr int kJudgedDigits = 18;
constexpr int kShownDigits = 3;

// Adds one unit in the last place of a string of decimal digits; false when it overflows
// ("999" becomes "000").
bool IncrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return true;
        }
        *it = '0';
    }
    return false;
}

}  // namespace

std::string FormatThreeSignificantDigits(double value, std::string_view decimalSeparator) {
    if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
    std::string sign = std::signbit(value) && value != 0 ? "-" : "";
    // Exact decimal digits, rounded to 18 significant ones: "d.ddddddddddddddddde+XX".
    char text[40];
    const auto written = std::to_chars(text, text + sizeof text, std::fabs(value),
                                       std::chars_format::scientific, kJudgedDigits - 1);
    const std::string_view scientific(text, static_cast<size_t>(written.ptr - text));
    const size_t e = scientific.find('e');
    std::string digits(1, scientific[0]);
    digits.append(scientific.substr(2, e - 2));
    int exponent = 0;
    const size_t exponentStart = e + (scientific[e + 1] == '+' ? 2 : 1);
    std::from_chars(scientific.data() + exponentStart, scientific.data() + scientific.size(),
                    exponent);

    // Half up on the decimal digits, not on the binary value.
    std::string kept = digits.substr(0, kShownDigits);
    if (digits[kShownDigits] >= '5' && !IncrementDigits(kept)) {
        kept = "100";
        ++exponent;
    }
    if (kept == "000") return "0";

    const int integerDigits = exponent + 1;
    std::string whole;
    std::string fraction;
    if (integerDigits >= kShownDigits) {
        whole = kept + std::string(static_cast<size_t>(integerDigits - kShownDigits), '0');
    } else if (integerDigits <= 0) {
        whole = "0";
        fraction = std::string(static_cast<size_t>(-integerDigits), '0') + kept;
    } else {
        whole = kept.substr(0, static_cast<size_t>(integerDigits));
        fraction = kept.substr(static_cast<size_t>(integerDigits));
    }
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    if (fraction.empty()) return sign + whole;
    return sign + whole + std::string(decimalSeparator) + fraction;
}

std::string FormatSize(int64_t count, std::string_view decimalSeparator) {
    if (count < 1024) {
        // Left-aligned in four characters. Written signed: a negative count is a caller's
        // fault, and its unsigned reading would be a 20-digit figure.
        std::string number = std::to_string(count);
        if (number.size() < 4) number.resize(4, ' ');
        return number + " " + SizeUnitNames[0];
    }
    double value = static_cast<double>(count) / 1024.0;
    size_t unit = 1;
    while (unit < 4 && value >= 1024.0) {
        value /= 1024.0;
        ++unit;
    }
    const std::string& unitName = SizeUnitNames[unit];
    if (value >= 1000.0) return std::to_string(static_cast<uint64_t>(value)) + " " + unitName;
    // From 999.5 the three digits round to 1000, written as such rather than as "1E003".
    return FormatThreeSignificantDigits(value, decimalSeparator) + " " + unitName;
}

std::string FormatSize(int64_t count) {
    return FormatSize(count, UserDecimalSeparator());
}

}  // namespace orvalis
