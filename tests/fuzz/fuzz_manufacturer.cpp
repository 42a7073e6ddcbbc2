// GetManufacturerName on any text: never throws; the result is the text itself, one of the
// table's display names or "N/A".
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/fuzz_support.h"
#include "vocabulary/manufacturer_names.h"

namespace {

bool IsDisplayName(const std::string& name) {
    for (const orvalis::ManufacturerRule& rule : orvalis::ManufacturerRules)
        if (rule.displayName == name) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string raw(reinterpret_cast<const char*>(data), size);
    std::string name;
    try {
        name = orvalis::GetManufacturerName(raw);
    } catch (...) {
        FUZZ_CHECK(false, "GetManufacturerName threw");
    }
    FUZZ_CHECK(name == raw || name == "N/A" || IsDisplayName(name),
               "result is neither the input, a display name nor N/A");
    // A text that is a display name already keeps a display name.
    if (IsDisplayName(raw)) FUZZ_CHECK(IsDisplayName(name) || name == "N/A", "display name lost");
    return 0;
}
