// The value WMI delivers: a portable stand-in for the COM VARIANT kinds the program meets.
// An object reference keeps its automation object alive until the value is emptied.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

namespace orvalis {

// An automation object owned by a provider (a COM IDispatch on Windows, a node of a
// snapshot file, a scripted fake in tests). Providers derive from it.
class WmiObject {
  public:
    virtual ~WmiObject() = default;
};
using WmiObjectRef = std::shared_ptr<WmiObject>;

enum class WmiKind { Empty, Null, Int32, Int64, Double, Boolean, Text, Object };

// Name of a kind as the conversion errors write it ("Empty", "Null", "Int32", ...).
const char* WmiKindName(WmiKind kind);

class WmiValue {
  public:
    WmiValue() = default;  // Empty

    static WmiValue Null();
    static WmiValue Int32(int32_t value);
    static WmiValue Int64(int64_t value);
    static WmiValue Double(double value);
    static WmiValue Boolean(bool value);
    static WmiValue Text(std::string value);  // 8-bit text in the ANSI code page
    static WmiValue Object(WmiObjectRef object);

    WmiKind Kind() const;
    bool IsEmpty() const { return Kind() == WmiKind::Empty; }
    bool IsNull() const { return Kind() == WmiKind::Null; }

    // Accessors for the value of the matching kind; asking for another kind is a bug and
    // throws std::bad_variant_access.
    int32_t AsInt32() const { return std::get<int32_t>(v_); }
    int64_t AsInt64() const { return std::get<int64_t>(v_); }
    double AsDouble() const { return std::get<double>(v_); }
    bool AsBoolean() const { return std::get<bool>(v_); }
    const std::string& AsText() const { return std::get<std::string>(v_); }
    const WmiObjectRef& AsObject() const { return std::get<WmiObjectRef>(v_); }

    // Back to Empty; an object reference is released.
    void Clear() { v_ = std::monostate{}; }

    // Same kind and same value (objects: the same object).
    bool operator==(const WmiValue& other) const = default;

  private:
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    std::variant<std::monostate, NullTag, int32_t, int64_t, double, bool, std::string, WmiObjectRef>
        v_;
};

}  // namespace orvalis
