// Byte counts as short texts with a unit name: "1.5 KB", "7.92 GB", "1000 KB", "0    B".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvalis {

// Names of byte, kilobyte, megabyte, gigabyte and terabyte, read by FormatSize at every call.
// They hold the initial names below until the main window's start-up assigns its own.
extern std::array<std::string, 5> SizeUnitNames;

inline constexpr std::array<std::string_view, 5> InitialSizeUnitNames{"b.", "Kb.", "Mb.", "Gb.",
                                                                      "Tb."};

void SetSizeUnitNames(const std::array<std::string, 5>& names);

// The largest unit (steps of 1024, up to terabytes) in which the number stays below 1024:
// three significant digits below 1000, rounded half up; the whole number from 1000 up. The
// decimal separator is the user's (UserDecimalSeparator).
std::string FormatSize(int64_t count);

// The same with a given decimal separator.
std::string FormatSize(int64_t count, std::string_view decimalSeparator);

// A finite value with three significant digits in plain decimal notation (never an exponent),
// trailing fraction zeros dropped. Rounds half up on the value's first 18 significant
// decimal digits: 1.125 rounds up to 1.13; the double 2.675 (2.67499999999999982) gives 2.67.
std::string FormatThreeSignificantDigits(double value, std::string_view decimalSeparator);

}  // namespace orvalis
