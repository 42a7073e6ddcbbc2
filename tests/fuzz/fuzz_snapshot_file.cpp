// The snapshot-file reader on any bytes: it refuses with SnapshotFileError or loads, never
// anything else. A loaded file serves both memory records; every instance can be made
// current (or raises the project's conversion errors), and what they took is written and
// read back unchanged.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "host/errors.h"
#include "tests/fuzz/fuzz_support.h"
#include "wmi/snapshot_file.h"
#include "wmi/uWin32_PhysicalMemory.h"
#include "wmi/uWin32_PhysicalMemoryArray.h"

namespace {

using orvalis::TWmiClass;

// Walks every instance and property as the report and the report tool do.
void Walk(TWmiClass& snapshot) {
    for (int32_t i = 0; i < snapshot.GetCount(); ++i) {
        try {
            snapshot.SetCollectionIndex(i);
        } catch (const orvalis::EConvertError&) {
        } catch (const orvalis::ERangeError&) {
        }
        for (const std::string& name : snapshot.GetPropertyNames()) snapshot.GetValueAt(name, i);
    }
}

bool HasNonFiniteDouble(const TWmiClass& snapshot) {
    for (int32_t i = 0; i < snapshot.StoredInstanceCount(); ++i)
        for (const orvalis::WmiValue& value : snapshot.StoredValues(i))
            if (value.Kind() == orvalis::WmiKind::Double && !std::isfinite(value.AsDouble()))
                return true;
    return false;
}

void CheckSameSnapshot(const TWmiClass& a, const TWmiClass& b) {
    FUZZ_CHECK(a.GetCount() == b.GetCount(), "instance count changed on re-reading");
    if (a.GetCount() <= 0) return;
    FUZZ_CHECK(a.GetPropertyNames() == b.GetPropertyNames(), "property names changed");
    for (int32_t i = 0; i < a.GetCount(); ++i)
        FUZZ_CHECK(a.StoredValues(i) == b.StoredValues(i), "values changed on re-reading");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::shared_ptr<orvalis::MemoryWmiProvider> provider;
    try {
        provider = orvalis::ParseSnapshotText(text, "fuzz.json");
    } catch (const orvalis::SnapshotFileError&) {
        return 0;
    } catch (...) {
        FUZZ_CHECK(false, "the reader raised something other than SnapshotFileError");
    }
    FUZZ_CHECK(provider != nullptr, "loaded without a provider");

    orvalis::TWin32_PhysicalMemory modules(true, provider);
    orvalis::TWin32_PhysicalMemoryArray arrays(true, provider);
    FUZZ_CHECK(modules.GetCount() >= -1 && arrays.GetCount() >= -1, "count below -1");
    Walk(modules);
    Walk(arrays);
    if (modules.GetCount() < 0 || arrays.GetCount() < 0) return 0;

    // What a loaded file gave, written again, reads back the same.
    if (HasNonFiniteDouble(modules) || HasNonFiniteDouble(arrays)) return 0;
    std::string again;
    try {
        again = orvalis::SnapshotText("fuzz", {&modules, &arrays});
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        FUZZ_CHECK(false, "a loaded snapshot could not be written");
    }
    std::shared_ptr<orvalis::MemoryWmiProvider> reread;
    try {
        reread = orvalis::ParseSnapshotText(again, "again.json");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        FUZZ_CHECK(false, "a written snapshot could not be read");
    }
    orvalis::TWin32_PhysicalMemory modulesAgain(true, reread);
    orvalis::TWin32_PhysicalMemoryArray arraysAgain(true, reread);
    CheckSameSnapshot(modules, modulesAgain);
    CheckSameSnapshot(arrays, arraysAgain);
    return 0;
}
