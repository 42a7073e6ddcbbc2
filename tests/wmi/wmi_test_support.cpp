#include "tests/wmi/wmi_test_support.h"

#include <charconv>
#include <cstdint>
#include <type_traits>

namespace orvalis::test {

namespace {

// How a property is delivered and which field type receives it.
enum class Kind { Text, Int64Text, UInt16, UInt32, Boolean, Date, Double };

struct Field {
    const char* name;
    Kind kind;
};

const std::vector<Field> kModuleFields = {
    {"BankLabel", Kind::Text},
    {"Capacity", Kind::Int64Text},
    {"Caption", Kind::Text},
    {"CreationClassName", Kind::Text},
    {"DataWidth", Kind::UInt16},
    {"Description", Kind::Text},
    {"DeviceLocator", Kind::Text},
    {"FormFactor", Kind::UInt16},
    {"HotSwappable", Kind::Boolean},
    {"InstallDate", Kind::Date},
    {"InterleaveDataDepth", Kind::UInt16},
    {"InterleavePosition", Kind::UInt32},
    {"Manufacturer", Kind::Text},
    {"MemoryType", Kind::UInt16},
    {"Model", Kind::Text},
    {"Name", Kind::Text},
    {"OtherIdentifyingInfo", Kind::Text},
    {"PartNumber", Kind::Text},
    {"PositionInRow", Kind::UInt32},
    {"PoweredOn", Kind::Boolean},
    {"Removable", Kind::Boolean},
    {"Replaceable", Kind::Boolean},
    {"SerialNumber", Kind::Text},
    {"SKU", Kind::Text},
    {"Speed", Kind::UInt32},
    {"Status", Kind::Text},
    {"Tag", Kind::Text},
    {"TotalWidth", Kind::UInt16},
    {"TypeDetail", Kind::UInt16},
    {"Version", Kind::Text},
};

const std::vector<Field> kArrayFields = {
    {"Caption", Kind::Text},
    {"CreationClassName", Kind::Text},
    {"Depth", Kind::Double},
    {"Description", Kind::Text},
    {"Height", Kind::Double},
    {"HotSwappable", Kind::Boolean},
    {"InstallDate", Kind::Date},
    {"Location", Kind::UInt16},
    {"Manufacturer", Kind::Text},
    {"MaxCapacity", Kind::UInt32},
    {"MemoryDevices", Kind::UInt16},
    {"MemoryErrorCorrection", Kind::UInt16},
    {"Model", Kind::Text},
    {"Name", Kind::Text},
    {"OtherIdentifyingInfo", Kind::Text},
    {"PartNumber", Kind::Text},
    {"PoweredOn", Kind::Boolean},
    {"Removable", Kind::Boolean},
    {"Replaceable", Kind::Boolean},
    {"SerialNumber", Kind::Text},
    {"SKU", Kind::Text},
    {"Status", Kind::Text},
    {"Tag", Kind::Text},
    {"Use", Kind::UInt16},
    {"Version", Kind::Text},
    {"Weight", Kind::Double},
    {"Width", Kind::Double},
};

std::string Show(const std::string& v) {
    return v;
}
std::string Show(bool v) {
    return v ? "true" : "false";
}
std::string Show(double v) {
    char buffer[64];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return std::string(buffer, end);
}
template <class T>
requires std::is_integral_v<T> std::string Show(T v) {
    return std::to_string(v);
}

WmiValue Delivered(const Field& f, int n, int i) {
    switch (f.kind) {
        case Kind::Text:
            return WmiValue::Text(std::string(f.name) + " " + std::to_string(n));
        case Kind::Int64Text:
            return WmiValue::Text(std::to_string(8589934592LL * (n + 1)));
        case Kind::UInt16:  // the low 16 bits count
            return WmiValue::Int32(65536 + 10 * n + i);
        case Kind::UInt32:  // negative: the unsigned equal counts
            return WmiValue::Int32(-(n + 1) - i);
        case Kind::Boolean:
            return WmiValue::Boolean((n + i) % 2 == 0);
        case Kind::Date:  // 15 April 2023 12:30:4n, any fraction and offset
            return WmiValue::Text("2023041512304" + std::to_string(n) + ".123456+060");
        case Kind::Double:
            return WmiValue::Double(n + i + 0.25);
    }
    return {};
}

std::string Expected(const Field& f, int n, int i) {
    switch (f.kind) {
        case Kind::Text:
            return std::string(f.name) + " " + std::to_string(n);
        case Kind::Int64Text:
            return std::to_string(8589934592LL * (n + 1));
        case Kind::UInt16:
            return std::to_string(10 * n + i);
        case Kind::UInt32:
            return std::to_string(4294967296LL - (n + 1) - i);
        case Kind::Boolean:
            return Show((n + i) % 2 == 0);
        case Kind::Date:  // 2023-04-15 is day 45031
            return Show(45031.0 + (12 * 3600000.0 + 30 * 60000.0 + (40 + n) * 1000.0) / 86400000.0);
        case Kind::Double:
            return Show(n + i + 0.25);
    }
    return {};
}

std::string Zero(const Field& f) {
    switch (f.kind) {
        case Kind::Text:
            return "";
        case Kind::Boolean:
            return "false";
        case Kind::Date:
        case Kind::Double:
            return "0";
        default:
            return "0";
    }
}

WmiInstanceData Instance(const std::vector<Field>& fields, int n) {
    WmiInstanceData data;
    for (std::size_t i = 0; i < fields.size(); ++i)
        data.emplace_back(fields[i].name, Delivered(fields[i], n, static_cast<int>(i)));
    return data;
}

std::vector<std::string> ExpectedOf(const std::vector<Field>& fields, int n) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < fields.size(); ++i)
        out.push_back(Expected(fields[i], n, static_cast<int>(i)));
    return out;
}

std::vector<std::string> ZeroOf(const std::vector<Field>& fields) {
    std::vector<std::string> out;
    for (const Field& f : fields) out.push_back(Zero(f));
    return out;
}

}  // namespace

WmiInstanceData ModuleInstance(int n) {
    return Instance(kModuleFields, n);
}
WmiInstanceData ArrayInstance(int n) {
    return Instance(kArrayFields, n);
}
std::vector<std::string> ExpectedModuleFields(int n) {
    return ExpectedOf(kModuleFields, n);
}
std::vector<std::string> ExpectedArrayFields(int n) {
    return ExpectedOf(kArrayFields, n);
}
std::vector<std::string> ZeroModuleFields() {
    return ZeroOf(kModuleFields);
}
std::vector<std::string> ZeroArrayFields() {
    return ZeroOf(kArrayFields);
}

std::vector<std::string> FieldsOf(const TWin32_PhysicalMemory& r) {
    return {Show(r.BankLabel),
            Show(r.Capacity),
            Show(r.Caption),
            Show(r.CreationClassName),
            Show(r.DataWidth),
            Show(r.Description),
            Show(r.DeviceLocator),
            Show(r.FormFactor),
            Show(r.HotSwappable),
            Show(r.InstallDate),
            Show(r.InterleaveDataDepth),
            Show(r.InterleavePosition),
            Show(r.Manufacturer),
            Show(r.MemoryType),
            Show(r.Model),
            Show(r.Name),
            Show(r.OtherIdentifyingInfo),
            Show(r.PartNumber),
            Show(r.PositionInRow),
            Show(r.PoweredOn),
            Show(r.Removable),
            Show(r.Replaceable),
            Show(r.SerialNumber),
            Show(r.SKU),
            Show(r.Speed),
            Show(r.Status),
            Show(r.Tag),
            Show(r.TotalWidth),
            Show(r.TypeDetail),
            Show(r.Version)};
}

std::vector<std::string> FieldsOf(const TWin32_PhysicalMemoryArray& r) {
    return {Show(r.Caption),
            Show(r.CreationClassName),
            Show(r.Depth),
            Show(r.Description),
            Show(r.Height),
            Show(r.HotSwappable),
            Show(r.InstallDate),
            Show(r.Location),
            Show(r.Manufacturer),
            Show(r.MaxCapacity),
            Show(r.MemoryDevices),
            Show(r.MemoryErrorCorrection),
            Show(r.Model),
            Show(r.Name),
            Show(r.OtherIdentifyingInfo),
            Show(r.PartNumber),
            Show(r.PoweredOn),
            Show(r.Removable),
            Show(r.Replaceable),
            Show(r.SerialNumber),
            Show(r.SKU),
            Show(r.Status),
            Show(r.Tag),
            Show(r.Use),
            Show(r.Version),
            Show(r.Weight),
            Show(r.Width)};
}

}  // namespace orvalis::test

namespace orvalis::test {

std::shared_ptr<MemoryWmiProvider> ProviderWith(const std::string& className,
                                                std::vector<WmiInstanceData> instances) {
    auto provider = std::make_shared<MemoryWmiProvider>();
    provider->AddClass(className, std::move(instances));
    return provider;
}

}  // namespace orvalis::test
