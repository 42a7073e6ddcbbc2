#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "vocabulary/memory_type.h"

namespace orvalis {
namespace {

struct LabelCase {
    uint16_t type;
    uint32_t speed;
    std::string expected;
};

TEST(MemoryTypeLabelTest, TypeRowTexts) {
    const std::vector<LabelCase> cases{
        {21, 800, "DDR2 / PC2-6400"},
        {20, 400, "DDR / PC-3200"},
        {20, 0, "DDR"},
        {21, 100, "DDR2 / PC2-800"},  // a table code is never refined by speed
        {20, 1000, "DDR / PC-8000"},
        {0, 0, "DDR3"},
        {0, 150, "DDR3 / PC3-1200"},
        {0, 200, "DDR3 / PC3-1600"},
        {0, 201, "DDR / PC-1608"},
        {0, 399, "DDR / PC-3192"},
        {0, 400, "DDR2 / PC2-3200"},
        {0, 799, "DDR2 / PC2-6392"},
        {0, 800, "DDR3 / PC3-6400"},
        {0, 1333, "DDR3 / PC3-10664"},
        {24, 1600, "DDR3 / PC3-12800"},
        {26, 533, "DDR2 / PC2-4264"},
        {22, 300, "DDR / PC-2400"},
        {65535, 0, "DDR3"},
        {65535, 1066, "DDR3 / PC3-8528"},
        {17, 133, "SDRAM"},
        {19, 800, "RDRAM"},
        {1, 0, "Other"},
        {9, 1600, "RAM"},
        // Above 2^31 the speed is negative for the refinement (so it stays "DDR3") and the
        // rating is the unsigned product modulo 2^32.
        {0, 0x80000000u, "DDR3 / PC3-0"},
        {0, 0xFFFFFFFFu, "DDR3 / PC3-4294967288"},
        {0, 0x80000190u, "DDR3 / PC3-3200"},
        {21, 0xFFFFFFFFu, "DDR2 / PC2-4294967288"},
        // Positive, but its product passes 2^32.
        {0, 600000000u, "DDR3 / PC3-505032704"},
    };
    for (const LabelCase& c : cases)
        EXPECT_EQ(GetMemoryTypeLabel(c.type, c.speed), c.expected)
            << "type " << c.type << ", speed " << c.speed;
}

TEST(MemoryTypeNameTest, EveryCodeOfTheTable) {
    const std::vector<std::string> names{
        "DDR3",       "Other",  "DRAM",  "Synchronous DRAM",
        "Cache DRAM", "EDO",    "EDRAM", "VRAM",
        "SRAM",       "RAM",    "ROM",   "Flash",
        "EEPROM",     "FEPROM", "EPROM", "CDRAM",
        "3DRAM",      "SDRAM",  "SGRAM", "RDRAM",
        "DDR",        "DDR2",
    };
    ASSERT_EQ(MemoryTypeNames.size(), names.size());
    for (uint16_t code = 0; code < names.size(); ++code) {
        EXPECT_EQ(MemoryTypeNames[code], names[code]) << "code " << code;
        EXPECT_EQ(GetMemoryTypeName(code, 0), names[code]) << "code " << code;
        // Speed changes nothing but the codes WMI does not name.
        if (code != 0) {
            EXPECT_EQ(GetMemoryTypeName(code, 300), names[code]) << "code " << code;
        }
    }
}

struct NameCase {
    uint16_t type;
    int32_t speed;
    std::string expected;
};

TEST(MemoryTypeNameTest, SpeedRefinesUnnamedCodesAsSigned) {
    const std::vector<NameCase> cases{
        {0, INT32_MIN, "DDR3"}, {0, -1, "DDR3"},    {0, 200, "DDR3"},     {0, 201, "DDR"},
        {0, 399, "DDR"},        {0, 400, "DDR2"},   {0, 799, "DDR2"},     {0, 800, "DDR3"},
        {0, INT32_MAX, "DDR3"}, {22, 201, "DDR"},   {65535, 799, "DDR2"}, {21, 1600, "DDR2"},
        {20, 1600, "DDR"},      {17, 500, "SDRAM"},
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(GetMemoryTypeName(c.type, c.speed), c.expected)
            << "type " << c.type << ", speed " << c.speed;
}

}  // namespace
}  // namespace orvalis
