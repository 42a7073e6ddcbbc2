#include "wmi/wmi_value.h"

#include <utility>

namespace orvalis {

const char* WmiKindName(WmiKind kind) {
    switch (kind) {
        case WmiKind::Empty:
            return "Empty";
        case WmiKind::Null:
            return "Null";
        case WmiKind::Int32:
            return "Int32";
        case WmiKind::Int64:
            return "Int64";
        case WmiKind::Double:
            return "Double";
        case WmiKind::Boolean:
            return "Boolean";
        case WmiKind::Text:
            return "String";
        case WmiKind::Object:
            return "Dispatch";
    }
    return "Unknown";
}

WmiValue WmiValue::Null() {
    WmiValue v;
    v.v_ = NullTag{};
    return v;
}

WmiValue WmiValue::Int32(int32_t value) {
    WmiValue v;
    v.v_ = value;
    return v;
}

WmiValue WmiValue::Int64(int64_t value) {
    WmiValue v;
    v.v_ = value;
    return v;
}

WmiValue WmiValue::Double(double value) {
    WmiValue v;
    v.v_ = value;
    return v;
}

WmiValue WmiValue::Boolean(bool value) {
    WmiValue v;
    v.v_ = value;
    return v;
}

WmiValue WmiValue::Text(std::string value) {
    WmiValue v;
    v.v_ = std::move(value);
    return v;
}

WmiValue WmiValue::Object(WmiObjectRef object) {
    WmiValue v;
    v.v_ = std::move(object);
    return v;
}

WmiKind WmiValue::Kind() const {
    // Same order as the alternatives of v_.
    static constexpr WmiKind kKinds[] = {WmiKind::Empty, WmiKind::Null,   WmiKind::Int32,
                                         WmiKind::Int64, WmiKind::Double, WmiKind::Boolean,
                                         WmiKind::Text,  WmiKind::Object};
    return kKinds[v_.index()];
}

}  // namespace orvalis
