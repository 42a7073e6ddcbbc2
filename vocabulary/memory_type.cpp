#include "vocabulary/memory_type.h"

namespace orvalis {

const std::array<std::string_view, 22> MemoryTypeNames{
    "DDR3",  // code 0: unknown to WMI, usually a module newer than its table
    "Other",      "DRAM",  "Synchronous DRAM",
    "Cache DRAM", "EDO",   "EDRAM",
    "VRAM",       "SRAM",  "RAM",
    "ROM",        "Flash", "EEPROM",
    "FEPROM",     "EPROM", "CDRAM",
    "3DRAM",      "SDRAM", "SGRAM",
    "RDRAM",      "DDR",   "DDR2",
};

std::string GetMemoryTypeName(uint16_t type, int32_t speed) {
    std::string name(type < MemoryTypeNames.size() ? MemoryTypeNames[type] : "DDR3");
    // Codes WMI does not name are guessed from the speed; table codes are never refined.
    if (name == "DDR3" && speed > 200) {
        if (speed < 800) name = "DDR2";
        if (speed < 400) name = "DDR";
    }
    return name;
}

std::string GetMemoryTypeLabel(uint16_t type, uint32_t speed) {
    // The same 32 bits, read as signed for the refinement.
    std::string name = GetMemoryTypeName(type, static_cast<int32_t>(speed));
    if (speed == 0) return name;
    const std::string rating = std::to_string(static_cast<uint32_t>(speed * 8u));
    if (name == "DDR2" || name == "DDR3") {
        name += std::string(" / PC") + name[3] + "-" + rating;
    } else if (name == "DDR") {
        name += " / PC-" + rating;
    }
    return name;
}

}  // namespace orvalis
