// FormatSize on any 64-bit count, with the initial and the final unit names: the text is a
// plain decimal number, a space and a unit name; never an exponent, never more than seven
// digits for a count of 0 or more, and within rounding of the true value.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/fuzz_support.h"
#include "vocabulary/size_format.h"

namespace {

const std::array<std::string, 5> kFinalNames{"B", "KB", "MB", "GB", "TB"};
const std::array<std::string, 5> kInitialNames{"b.", "Kb.", "Mb.", "Gb.", "Tb."};

void CheckText(const std::string& text, int64_t count, const std::array<std::string, 5>& names,
               const std::string& separator) {
    const size_t space = text.find(' ');
    FUZZ_CHECK(space != std::string::npos && space > 0, "no number before a space");
    const size_t unitStart = text.find_last_of(' ') + 1;
    const std::string unit = text.substr(unitStart);
    int unitIndex = -1;
    for (int i = 0; i < 5; ++i)
        if (names[static_cast<size_t>(i)] == unit) unitIndex = i;
    FUZZ_CHECK(unitIndex >= 0, "does not end with a unit name");

    const std::string number = text.substr(0, space);
    if (count < 0) {
        FUZZ_CHECK(unitIndex == 0 && number == std::to_string(count), "negative count changed");
        return;
    }
    FUZZ_CHECK(number.size() <= 7 + separator.size(), "number longer than a few characters");
    if (count < 1024) {
        FUZZ_CHECK(unitIndex == 0 && number == std::to_string(count), "byte count changed");
        FUZZ_CHECK(text.size() == std::max<size_t>(number.size(), 4) + 1 + unit.size(),
                   "byte count not padded to four characters");
        return;
    }
    FUZZ_CHECK(unitIndex > 0, "1024 and more written in bytes");
    double parsed = 0;
    double scale = 1;
    bool inFraction = false;
    for (size_t i = 0; i < number.size();) {
        if (!inFraction && number.compare(i, separator.size(), separator) == 0) {
            inFraction = true;
            i += separator.size();
            continue;
        }
        const char c = number[i++];
        FUZZ_CHECK(c >= '0' && c <= '9', "number is not plain decimal (exponent or sign)");
        if (inFraction) {
            scale /= 10;
            parsed += (c - '0') * scale;
        } else {
            parsed = parsed * 10 + (c - '0');
        }
    }
    const double exact = static_cast<double>(count) / std::pow(1024.0, unitIndex);
    FUZZ_CHECK(unitIndex == 4 || exact < 1024.0, "a larger unit was due");
    FUZZ_CHECK(exact >= 1.0, "a smaller unit was due");
    FUZZ_CHECK(std::fabs(parsed - exact) <= exact * 0.0051, "number far from the count");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int64_t count = input.ConsumeIntegral<int64_t>();
    const bool finalNames = input.ConsumeBool();
    const std::string separator = input.ConsumeBool() ? "," : ".";

    const auto& names = finalNames ? kFinalNames : kInitialNames;
    orvalis::SetSizeUnitNames(names);
    CheckText(orvalis::FormatSize(count, separator), count, names, separator);
    return 0;
}
