// Every WMI converter on every value kind built from the fuzz bytes: each gives a value or
// raises the conversion or range error, nothing else. Null gives the zero value everywhere.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "host/errors.h"
#include "tests/fuzz/fuzz_support.h"
#include "wmi/wmi_converters.h"
#include "wmi/wmi_value.h"

namespace {

using orvalis::WmiValue;

WmiValue MakeValue(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange<int>(0, 8)) {
        case 0:
            return WmiValue();
        case 1:
            return WmiValue::Null();
        case 2:
            return WmiValue::Int32(input.ConsumeIntegral<int32_t>());
        case 3:
            return WmiValue::Int64(input.ConsumeIntegral<int64_t>());
        case 4: {
            // Raw bits: NaN, infinities and subnormals included.
            const uint64_t bits = input.ConsumeIntegral<uint64_t>();
            double value;
            static_assert(sizeof value == sizeof bits);
            std::memcpy(&value, &bits, sizeof value);
            return WmiValue::Double(value);
        }
        case 5:
            return WmiValue::Boolean(input.ConsumeBool());
        case 6:
            return WmiValue::Object(std::make_shared<orvalis::WmiObject>());
        default:
            return WmiValue::Text(input.ConsumeRemainingBytesAsString());
    }
}

// Runs one converter; true when it gave a value. Any exception but the two is a finding.
template <typename Convert>
bool Converts(Convert convert) {
    try {
        convert();
        return true;
    } catch (const orvalis::EConvertError&) {
    } catch (const orvalis::ERangeError&) {
    } catch (...) {
        FUZZ_CHECK(false, "converter raised something other than EConvertError/ERangeError");
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const WmiValue value = MakeValue(input);
    const bool isObject = value.Kind() == orvalis::WmiKind::Object;

    bool stringOk = Converts([&] { orvalis::WmiToString(value); });
    FUZZ_CHECK(stringOk != isObject, "WmiToString must refuse objects and only objects");
    bool dateOk = Converts([&] {
        const double days = orvalis::WmiToDateTime(value);
        FUZZ_CHECK(std::isfinite(days), "date-time is not finite");
    });
    bool doubleOk = Converts([&] { orvalis::WmiToDouble(value); });
    bool u16Ok = Converts([&] { orvalis::WmiToUInt16(value); });
    bool i64Ok = Converts([&] { orvalis::WmiToInt64(value); });
    bool u32Ok = Converts([&] { orvalis::WmiToUInt32(value); });
    bool boolOk = Converts([&] { orvalis::WmiToBoolean(value); });

    if (isObject)
        FUZZ_CHECK(!(dateOk || doubleOk || u16Ok || i64Ok || u32Ok || boolOk),
                   "an object reference was converted");
    if (value.IsNull()) {
        FUZZ_CHECK(orvalis::WmiToString(value).empty() && orvalis::WmiToDouble(value) == 0.0 &&
                       orvalis::WmiToUInt16(value) == 0 && orvalis::WmiToInt64(value) == 0 &&
                       orvalis::WmiToUInt32(value) == 0 && !orvalis::WmiToBoolean(value) &&
                       orvalis::WmiToDateTime(value) == 0.0,
                   "Null is not the zero value");
    }
    return 0;
}
