// The Type row of the slot report: the memory type name from the WMI MemoryType code and,
// for DDR modules, the PC rating from the speed.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvalis {

// Names by type code 0 to 21. Code 0 and every code above 21 are named "DDR3" and then
// refined by the speed.
extern const std::array<std::string_view, 22> MemoryTypeNames;

// The type name; for code 0 and codes above 21 the speed (compared signed) picks between
// "DDR", "DDR2" and "DDR3".
std::string GetMemoryTypeName(uint16_t type, int32_t speed);

// The name with " / PC2-6400"-style rating (speed x 8, unsigned 32-bit) for DDR names when
// the speed is known, e.g. "DDR2 / PC2-6400", "DDR / PC-3200".
std::string GetMemoryTypeLabel(uint16_t type, uint32_t speed);

}  // namespace orvalis
