#include "wmi/snapshot_file.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <utility>

#include "host/ansi_text.h"
#include "host/ascii_case.h"
#include "wmi/uWmiDelphiClass.h"

namespace orvalis {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kFormat = "orvalis-wmi-snapshot";
constexpr int kVersion = 1;

[[noreturn]] void Refuse(const std::string& file, const std::string& why) {
    throw SnapshotFileError("Snapshot file '" + file + "': " + why);
}

// Line and column (both from 1, the column in characters) of the byte at position
// `byte` (from 1), as nlohmann reports the last character it read.
std::pair<std::size_t, std::size_t> LineAndColumn(const std::string& text, std::size_t byte) {
    const std::size_t end = std::min(byte == 0 ? 0 : byte - 1, text.size());
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < end; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            ++line;
            column = 1;
        } else if ((c & 0xC0) != 0x80) {  // not a UTF-8 continuation byte
            ++column;
        }
    }
    return {line, column};
}

// nlohmann's explanation without its own prefix and position.
std::string ParseErrorDetail(const std::string& what) {
    const std::size_t colon = what.find(": ");
    return colon == std::string::npos ? what : what.substr(colon + 2);
}

// `here` names the instance; the place of a refused value is only spelled out when needed,
// since building it for every value would cost more than reading the value.
WmiValue ValueOf(const Json& json, const std::string& file, const std::string& here,
                 const std::string& property) {
    const auto where = [&] { return here + ", property '" + property + "'"; };
    switch (json.type()) {
        case Json::value_t::null:
            return WmiValue::Null();
        case Json::value_t::boolean:
            return WmiValue::Boolean(json.get<bool>());
        case Json::value_t::string:
            return WmiValue::Text(Utf8ToAnsi(json.get_ref<const std::string&>()));
        case Json::value_t::number_integer: {
            const int64_t n = json.get<int64_t>();
            if (n >= std::numeric_limits<int32_t>::min() &&
                n <= std::numeric_limits<int32_t>::max())
                return WmiValue::Int32(static_cast<int32_t>(n));
            return WmiValue::Int64(n);
        }
        case Json::value_t::number_unsigned: {
            const uint64_t n = json.get<uint64_t>();
            if (n <= static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
                return WmiValue::Int32(static_cast<int32_t>(n));
            if (n <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
                return WmiValue::Int64(static_cast<int64_t>(n));
            Refuse(file, where() + ": integer " + std::to_string(n) + " is beyond 64 bits");
        }
        case Json::value_t::number_float:
            return WmiValue::Double(json.get<double>());
        case Json::value_t::array:
            Refuse(file, where() + ": an array is not a WMI value");
        case Json::value_t::object:
            Refuse(file, where() + ": an object is not a WMI value");
        default:
            break;
    }
    Refuse(file, where() + ": unsupported value");
}

std::vector<WmiInstanceData> InstancesOf(const std::string& className, const Json& list,
                                         const std::string& file) {
    const std::string where = "class '" + className + "'";
    if (!list.is_array()) Refuse(file, where + ": the instances must be a list");
    std::vector<std::string> names;      // from the first instance, in file order
    std::vector<std::string> ansiNames;  // the same, as the program's text
    std::vector<WmiInstanceData> instances;
    instances.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Json& object = list[i];
        const std::string here = where + ", instance " + std::to_string(i);
        if (!object.is_object()) Refuse(file, here + ": an instance must be an object");
        if (i == 0)
            for (const auto& item : object.items()) {
                names.push_back(item.key());
                ansiNames.push_back(Utf8ToAnsi(item.key()));
            }
        WmiInstanceData data;
        data.reserve(names.size());
        // Instances usually list their keys in the first one's order: look there first.
        auto next = object.begin();
        for (std::size_t k = 0; k < names.size(); ++k) {
            auto found =
                next != object.end() && next.key() == names[k] ? next : object.find(names[k]);
            data.emplace_back(ansiNames[k], found == object.end()
                                                ? WmiValue::Null()
                                                : ValueOf(*found, file, here, names[k]));
            if (found != object.end()) next = std::next(found);
        }
        // Keys the first instance lacks are not delivered, but they must still be values.
        for (const auto& item : object.items())
            if (item.value().is_array() || item.value().is_object())
                ValueOf(item.value(), file, here, item.key());
        instances.push_back(std::move(data));
    }
    return instances;
}

Json JsonOf(const WmiValue& value, const std::string& where) {
    switch (value.Kind()) {
        case WmiKind::Empty:  // never delivered by WMI; the nearest the format has
        case WmiKind::Null:
            return nullptr;
        case WmiKind::Int32:
            return value.AsInt32();
        case WmiKind::Int64:
            return value.AsInt64();
        case WmiKind::Double:
            if (!std::isfinite(value.AsDouble()))
                throw SnapshotFileError(where + ": a non-finite number cannot be written");
            return value.AsDouble();
        case WmiKind::Boolean:
            return value.AsBoolean();
        case WmiKind::Text:
            return AnsiToUtf8(value.AsText());
        case WmiKind::Object:
            break;
    }
    throw SnapshotFileError(where + ": an object reference cannot be written");
}

}  // namespace

std::shared_ptr<MemoryWmiProvider> ParseSnapshotText(const std::string& utf8Text,
                                                     const std::string& fileNameForMessages) {
    const std::string& file = fileNameForMessages;
    Json root;
    try {
        root = Json::parse(utf8Text);
    } catch (const Json::parse_error& e) {
        const auto [line, column] = LineAndColumn(utf8Text, e.byte);
        Refuse(file, "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " +
                         ParseErrorDetail(e.what()));
    } catch (const Json::exception& e) {
        // A number beyond the range of a double ("1e400") is no syntax error.
        Refuse(file, ParseErrorDetail(e.what()));
    }
    if (!root.is_object()) Refuse(file, "the top level must be an object");

    auto format = root.find("format");
    if (format == root.end() || !format->is_string() || format->get<std::string>() != kFormat)
        Refuse(file, std::string("\"format\" must be \"") + kFormat + "\"");
    auto version = root.find("version");
    if (version == root.end() || !version->is_number_integer() ||
        version->get<int64_t>() != kVersion)
        Refuse(file, "unsupported \"version\" (this program reads version " +
                         std::to_string(kVersion) + ")");
    auto classes = root.find("classes");
    if (classes == root.end() || !classes->is_object())
        Refuse(file, "\"classes\" must be an object of class names");

    auto provider = std::make_shared<MemoryWmiProvider>();
    provider->SetRecording(false);
    std::vector<std::string> seen;
    for (const auto& item : classes->items()) {
        const std::string className = Utf8ToAnsi(item.key());
        for (const std::string& other : seen)
            if (EqualsIgnoringAsciiCase(other, className))
                Refuse(file, "class '" + className + "' appears twice");
        seen.push_back(className);
        provider->AddClass(className, InstancesOf(item.key(), item.value(), file));
    }
    return provider;
}

std::shared_ptr<MemoryWmiProvider> LoadSnapshotFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Refuse(path, "cannot be opened");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) Refuse(path, "cannot be read");
    return ParseSnapshotText(text.str(), path);
}

std::string SnapshotText(const std::string& source, const std::vector<const TWmiClass*>& classes) {
    Json root = Json::object();
    root["format"] = kFormat;
    root["version"] = kVersion;
    root["source"] = AnsiToUtf8(source);
    Json& out = root["classes"] = Json::object();
    std::vector<std::string> written;
    for (const TWmiClass* snapshot : classes) {
        if (!snapshot || snapshot->GetCount() < 0) continue;  // replays as an unknown class
        const std::string& className = snapshot->GetWmiClassName();
        for (const std::string& other : written)
            if (EqualsIgnoringAsciiCase(other, className))
                throw SnapshotFileError("Snapshot: class '" + className + "' given twice");
        written.push_back(className);
        const std::vector<std::string>& names = snapshot->GetPropertyNames();
        Json list = Json::array();
        for (int32_t i = 0; i < snapshot->GetCount(); ++i) {
            const std::vector<WmiValue>& values = snapshot->StoredValues(i);
            Json object = Json::object();
            for (std::size_t p = 0; p < names.size(); ++p)
                object[AnsiToUtf8(names[p])] =
                    JsonOf(values[p], "Snapshot: class '" + className + "', instance " +
                                          std::to_string(i) + ", property '" + names[p] + "'");
            list.push_back(std::move(object));
        }
        out[AnsiToUtf8(className)] = std::move(list);
    }
    try {
        return root.dump(2) + "\n";
    } catch (const Json::exception& e) {
        throw SnapshotFileError(std::string("Snapshot: text that is not valid UTF-8: ") + e.what());
    }
}

void WriteSnapshotFile(const std::string& path, const std::string& source,
                       const std::vector<const TWmiClass*>& classes) {
    const std::string text = SnapshotText(source, classes);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) Refuse(path, "cannot be created");
    out << text;
    out.close();
    if (!out) Refuse(path, "cannot be written");
}

}  // namespace orvalis
