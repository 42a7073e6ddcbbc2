// Conversions between COM VARIANTs and WmiValues. Text crosses through the system ANSI code
// page. Kinds WMI does not deliver as plain values are mapped as follows:
//   VT_I1, VT_I2, VT_UI1, VT_UI2, VT_INT  -> Int32
//   VT_UI4, VT_UINT                       -> Int32, or Int64 above INT32_MAX
//   VT_I8                                 -> Int64
//   VT_UI8                                -> Int64, or its decimal text above INT64_MAX (exact;
//                                            the converters parse it or raise a range error)
//   VT_R4, VT_CY, VT_DECIMAL              -> Double
//   VT_DATE                               -> Double: the same days-since-1899-12-30 form the
//                                            program's date-times use
//   VT_DISPATCH, VT_UNKNOWN               -> Object (a ComObject); a null pointer -> Null
//   arrays (VT_ARRAY | t)                 -> Object holding a copy of the array: stored and
//                                            passed on intact; the converters refuse objects
//   VT_BYREF | t                          -> converted as t
// Any other kind (VT_ERROR, VT_RECORD, ...) raises WmiCallError naming the VARTYPE.
#pragma once

#include <string>

#include "wmi/com_raii_win.h"
#include "wmi/wmi_value.h"

namespace orvalis {

WmiValue VariantToWmiValue(const VARIANT& source);

// The argument form of a value: Text -> VT_BSTR, Int32 -> VT_I4, Int64 -> VT_I8, Double ->
// VT_R8, Boolean -> VT_BOOL, Null -> VT_NULL, Empty -> VT_EMPTY, a ComObject -> a copy of its
// VARIANT (VT_DISPATCH for automation objects). Any other object raises WmiCallError.
UniqueVariant WmiValueToVariant(const WmiValue& value);

// BSTR and 8-bit text in the system ANSI code page; a null BSTR is the empty text.
std::string BstrToAnsi(BSTR text);
UniqueBstr AnsiToBstr(const std::string& text);

// "0x80020005": how error messages write an HRESULT.
std::string HresultText(HRESULT hr);

}  // namespace orvalis
