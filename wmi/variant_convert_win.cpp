#include "wmi/variant_convert_win.h"

#include <cstdint>
#include <limits>
#include <string>

#include "host/ansi_text.h"
#include "wmi/com_object_win.h"
#include "wmi/wmi_provider.h"

namespace orvalis {

namespace {

// VT_BYREF to a VT_BYREF variant is legal; a cycle of them is not, so stop somewhere.
constexpr int kMaxIndirections = 8;

[[noreturn]] void ThrowUnsupported(VARTYPE type) {
    throw WmiCallError("VARIANT type " + std::to_string(type) + " has no WMI value kind");
}

[[noreturn]] void ThrowFailed(const char* what, HRESULT hr) {
    throw WmiCallError(std::string(what) + " failed (HRESULT " + HresultText(hr) + ")");
}

UniqueVariant CopyOf(const VARIANT& source, bool dereference) {
    UniqueVariant copy;
    // Both only read the source; the headers just lack the const.
    VARIANT* from = const_cast<VARIANT*>(&source);
    const HRESULT hr =
        dereference ? VariantCopyInd(copy.Receive(), from) : VariantCopy(copy.Receive(), from);
    if (FAILED(hr)) ThrowFailed("VariantCopy", hr);
    return copy;
}

WmiValue ObjectValue(const VARIANT& source) {
    return WmiValue::Object(std::make_shared<ComObject>(CopyOf(source, false)));
}

// The smallest kind that holds a 32-bit unsigned number.
WmiValue UnsignedValue(uint32_t value) {
    if (value <= static_cast<uint32_t>(std::numeric_limits<int32_t>::max()))
        return WmiValue::Int32(static_cast<int32_t>(value));
    return WmiValue::Int64(value);
}

WmiValue Convert(const VARIANT& source, int indirections) {
    const VARTYPE type = V_VT(&source);
    if (type & VT_BYREF) {
        if (indirections >= kMaxIndirections) ThrowUnsupported(type);
        UniqueVariant target = CopyOf(source, true);
        return Convert(target.Get(), indirections + 1);
    }
    if (type & VT_ARRAY) return ObjectValue(source);
    switch (type) {
        case VT_EMPTY:
            return WmiValue();
        case VT_NULL:
            return WmiValue::Null();
        case VT_I1:
            return WmiValue::Int32(V_I1(&source));
        case VT_I2:
            return WmiValue::Int32(V_I2(&source));
        case VT_I4:
            return WmiValue::Int32(V_I4(&source));
        case VT_INT:
            return WmiValue::Int32(V_INT(&source));
        case VT_UI1:
            return WmiValue::Int32(V_UI1(&source));
        case VT_UI2:
            return WmiValue::Int32(V_UI2(&source));
        case VT_UI4:
            return UnsignedValue(V_UI4(&source));
        case VT_UINT:
            return UnsignedValue(V_UINT(&source));
        case VT_I8:
            return WmiValue::Int64(V_I8(&source));
        case VT_UI8:
            // Above INT64_MAX only the decimal text holds the value exactly.
            if (V_UI8(&source) > static_cast<ULONGLONG>(std::numeric_limits<int64_t>::max()))
                return WmiValue::Text(std::to_string(V_UI8(&source)));
            return WmiValue::Int64(static_cast<int64_t>(V_UI8(&source)));
        case VT_R4:
            return WmiValue::Double(V_R4(&source));
        case VT_R8:
            return WmiValue::Double(V_R8(&source));
        case VT_DATE:
            return WmiValue::Double(V_DATE(&source));
        case VT_CY: {
            double value = 0.0;
            VarR8FromCy(V_CY(&source), &value);
            return WmiValue::Double(value);
        }
        case VT_DECIMAL: {
            double value = 0.0;
            const HRESULT hr = VarR8FromDec(const_cast<DECIMAL*>(&V_DECIMAL(&source)), &value);
            if (FAILED(hr)) ThrowFailed("VarR8FromDec", hr);
            return WmiValue::Double(value);
        }
        case VT_BOOL:
            return WmiValue::Boolean(V_BOOL(&source) != VARIANT_FALSE);
        case VT_BSTR:
            return WmiValue::Text(BstrToAnsi(V_BSTR(&source)));
        case VT_DISPATCH:
            // A null object ("Nothing") carries no value.
            return V_DISPATCH(&source) ? ObjectValue(source) : WmiValue::Null();
        case VT_UNKNOWN:
            return V_UNKNOWN(&source) ? ObjectValue(source) : WmiValue::Null();
        default:
            ThrowUnsupported(type);
    }
}

}  // namespace

ComPtr<IDispatch> ComObject::Dispatch() const {
    const VARIANT& v = value_.Get();
    if (V_VT(&v) == VT_DISPATCH) return ComPtr<IDispatch>::Share(V_DISPATCH(&v));
    if (V_VT(&v) == VT_UNKNOWN && V_UNKNOWN(&v)) {
        ComPtr<IUnknown> unknown = ComPtr<IUnknown>::Share(V_UNKNOWN(&v));
        return unknown.Query<IDispatch>(IID_IDispatch);
    }
    return {};
}

std::string HresultText(HRESULT hr) {
    char code[16];
    wsprintfA(code, "0x%08lX", static_cast<unsigned long>(hr));
    return code;
}

WmiValue VariantToWmiValue(const VARIANT& source) {
    return Convert(source, 0);
}

UniqueVariant WmiValueToVariant(const WmiValue& value) {
    UniqueVariant result;
    VARIANT* v = result.Receive();
    switch (value.Kind()) {
        case WmiKind::Empty:
            break;
        case WmiKind::Null:
            V_VT(v) = VT_NULL;
            break;
        case WmiKind::Int32:
            V_VT(v) = VT_I4;
            V_I4(v) = value.AsInt32();
            break;
        case WmiKind::Int64:
            V_VT(v) = VT_I8;
            V_I8(v) = value.AsInt64();
            break;
        case WmiKind::Double:
            V_VT(v) = VT_R8;
            V_R8(v) = value.AsDouble();
            break;
        case WmiKind::Boolean:
            V_VT(v) = VT_BOOL;
            V_BOOL(v) = value.AsBoolean() ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case WmiKind::Text:
            V_BSTR(v) = AnsiToBstr(value.AsText()).Detach();
            V_VT(v) = VT_BSTR;
            break;
        case WmiKind::Object: {
            const WmiObjectRef& object = value.AsObject();
            if (!object) {
                V_VT(v) = VT_DISPATCH;
                V_DISPATCH(v) = nullptr;
            } else if (auto* com = dynamic_cast<const ComObject*>(object.get())) {
                const HRESULT hr = result.CopyFrom(com->Variant());
                if (FAILED(hr)) ThrowFailed("VariantCopy", hr);
            } else if (auto* enumerator = dynamic_cast<const ComEnumerator*>(object.get())) {
                V_VT(v) = VT_UNKNOWN;
                V_UNKNOWN(v) = enumerator->Get();
                if (V_UNKNOWN(v)) V_UNKNOWN(v)->AddRef();
            } else {
                throw WmiCallError("an object of another provider cannot be passed to COM");
            }
            break;
        }
    }
    return result;
}

std::string BstrToAnsi(BSTR text) {
    if (!text) return {};
    return WideToAnsi(std::wstring(text, SysStringLen(text)));
}

UniqueBstr AnsiToBstr(const std::string& text) {
    return UniqueBstr::FromWide(AnsiToWide(text));
}

}  // namespace orvalis
