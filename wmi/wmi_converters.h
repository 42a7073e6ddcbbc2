// Converters from a WMI value to typed values. Null gives the zero value; Empty (not Null)
// goes through the conversion. Text that is no number raises EConvertError; a number outside
// the range of the intermediate integer raises ERangeError; an object reference raises
// EConvertError in every converter.
//
// Numeric text: blanks (spaces, tabs) around the number are allowed; integers are decimal
// with an optional sign; floating text uses the point as decimal separator (WMI's own form,
// independent of regional settings) and may have an exponent.
#pragma once

#include <cstdint>
#include <string>

#include "wmi/wmi_value.h"

namespace orvalis {

// Integers in decimal, Booleans "True"/"False", doubles in their shortest round-trip form.
std::string WmiToString(const WmiValue& value);
double WmiToDouble(const WmiValue& value);
// Low 16 bits of the value converted to a signed 32-bit integer.
uint16_t WmiToUInt16(const WmiValue& value);
int64_t WmiToInt64(const WmiValue& value);
// Low 32 bits of the value converted to a signed 64-bit integer (Int32 -1 gives 4294967295).
uint32_t WmiToUInt32(const WmiValue& value);
// Numbers: non-zero is true. Text: "true"/"false" ignoring case, or a number.
bool WmiToBoolean(const WmiValue& value);
// Days since 1899-12-30 from a CIM date-time text (yyyymmddHHMMSS.ffffff+UUU); a text of 14
// characters or fewer gives 0.0.
double WmiToDateTime(const WmiValue& value);

// Days since 1899-12-30 for a valid date and time; EConvertError otherwise.
double EncodeWmiDateTime(int year, int month, int day, int hour, int minute, int second);

}  // namespace orvalis
