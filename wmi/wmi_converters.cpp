#include "wmi/wmi_converters.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "host/ansi_text.h"
#include "host/ascii_case.h"
#include "host/errors.h"

namespace orvalis {

namespace {

[[noreturn]] void ThrowCannotConvert(const WmiValue& value, const char* target) {
    std::string message = std::string("Impossible de convertir une variante de type (") +
                          WmiKindName(value.Kind()) + ") en type (" + target + ")";
    if (value.Kind() == WmiKind::Text) message += " : '" + value.AsText() + "'";
    throw EConvertError(message);
}

[[noreturn]] void ThrowOverflow(const WmiValue& value, const char* target) {
    std::string message =
        Utf8ToAnsi("Dépassement de capacité lors de la conversion d'une variante de type (") +
        WmiKindName(value.Kind()) + ") en type (" + target + ")";
    if (value.Kind() != WmiKind::Object) message += " : '" + WmiToString(value) + "'";
    throw ERangeError(message);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

enum class ParseResult { Ok, NotANumber, OutOfRange };

// Decimal integer with an optional sign, blanks around allowed.
ParseResult ParseInt64(std::string_view text, int64_t& out) {
    text = TrimBlanks(text);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
    if (text.empty()) return ParseResult::NotANumber;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    if (end != text.data() + text.size()) return ParseResult::NotANumber;
    if (ec == std::errc::result_out_of_range) return ParseResult::OutOfRange;
    return ec == std::errc() ? ParseResult::Ok : ParseResult::NotANumber;
}

// Floating text with the point as decimal separator, blanks around allowed.
ParseResult ParseDouble(std::string_view text, double& out) {
    text = TrimBlanks(text);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
    if (text.empty()) return ParseResult::NotANumber;
    auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), out, std::chars_format::general);
    if (end != text.data() + text.size()) return ParseResult::NotANumber;
    if (ec == std::errc::result_out_of_range) return ParseResult::OutOfRange;
    if (ec != std::errc() || !std::isfinite(out)) return ParseResult::NotANumber;
    return ParseResult::Ok;
}

// A double rounded to the nearest integer (ties to even, as COM does) within 64 bits.
bool RoundToInt64(double d, int64_t& out) {
    if (!std::isfinite(d)) return false;
    double r = std::nearbyint(d);  // default rounding mode: to nearest, ties to even
    // 2^63 is exactly representable; the valid range is [-2^63, 2^63).
    if (r < -9223372036854775808.0 || r >= 9223372036854775808.0) return false;
    out = static_cast<int64_t>(r);
    return true;
}

// The value as a signed 64-bit integer; target names the converter's result in errors.
int64_t ToInt64Checked(const WmiValue& value, const char* target) {
    switch (value.Kind()) {
        case WmiKind::Empty:
        case WmiKind::Null:
            return 0;
        case WmiKind::Int32:
            return value.AsInt32();
        case WmiKind::Int64:
            return value.AsInt64();
        case WmiKind::Boolean:
            return value.AsBoolean() ? -1 : 0;  // VARIANT_TRUE
        case WmiKind::Double: {
            int64_t out = 0;
            if (!RoundToInt64(value.AsDouble(), out)) ThrowOverflow(value, target);
            return out;
        }
        case WmiKind::Text: {
            int64_t out = 0;
            switch (ParseInt64(value.AsText(), out)) {
                case ParseResult::Ok:
                    return out;
                case ParseResult::OutOfRange:
                    ThrowOverflow(value, target);
                case ParseResult::NotANumber:
                    break;
            }
            double d = 0.0;
            switch (ParseDouble(value.AsText(), d)) {
                case ParseResult::Ok:
                    if (!RoundToInt64(d, out)) ThrowOverflow(value, target);
                    return out;
                case ParseResult::OutOfRange:
                    ThrowOverflow(value, target);
                case ParseResult::NotANumber:
                    break;
            }
            ThrowCannotConvert(value, target);
        }
        case WmiKind::Object:
            break;
    }
    ThrowCannotConvert(value, target);
}

int32_t ToInt32Checked(const WmiValue& value, const char* target) {
    int64_t wide = ToInt64Checked(value, target);
    if (wide < std::numeric_limits<int32_t>::min() || wide > std::numeric_limits<int32_t>::max())
        ThrowOverflow(value, target);
    return static_cast<int32_t>(wide);
}

// Days from 1899-12-30 to the given civil date (proleptic Gregorian).
int64_t DaysSince18991230(int year, int month, int day) {
    // Howard Hinnant's days_from_civil, shifted from 1970-01-01 to 1899-12-30.
    const int64_t y = year - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t mp = (month + 9) % 12;
    const int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const int64_t daysSince1970 = era * 146097 + doe - 719468;
    return daysSince1970 + 25569;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// One field of a CIM date-time: digits only.
int CimField(const std::string& text, std::size_t pos, std::size_t len) {
    int out = 0;
    for (std::size_t i = pos; i < pos + len; ++i) {
        char c = text[i];
        if (c < '0' || c > '9')
            throw EConvertError("Date CIM incorrecte '" + text + "' : '" + text.substr(pos, len) +
                                Utf8ToAnsi("' n'est pas une valeur entière correcte"));
        out = out * 10 + (c - '0');
    }
    return out;
}

}  // namespace

std::string WmiToString(const WmiValue& value) {
    switch (value.Kind()) {
        case WmiKind::Empty:
        case WmiKind::Null:
            return {};
        case WmiKind::Int32:
            return std::to_string(value.AsInt32());
        case WmiKind::Int64:
            return std::to_string(value.AsInt64());
        case WmiKind::Boolean:
            return value.AsBoolean() ? "True" : "False";
        case WmiKind::Double: {
            char buffer[64];
            auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value.AsDouble());
            return ec == std::errc() ? std::string(buffer, end) : std::string();
        }
        case WmiKind::Text:
            return value.AsText();
        case WmiKind::Object:
            break;
    }
    ThrowCannotConvert(value, "String");
}

double WmiToDouble(const WmiValue& value) {
    switch (value.Kind()) {
        case WmiKind::Empty:
        case WmiKind::Null:
            return 0.0;
        case WmiKind::Int32:
            return value.AsInt32();
        case WmiKind::Int64:
            return static_cast<double>(value.AsInt64());
        case WmiKind::Boolean:
            return value.AsBoolean() ? -1.0 : 0.0;  // VARIANT_TRUE
        case WmiKind::Double:
            return value.AsDouble();
        case WmiKind::Text: {
            double out = 0.0;
            switch (ParseDouble(value.AsText(), out)) {
                case ParseResult::Ok:
                    return out;
                case ParseResult::OutOfRange:
                    ThrowOverflow(value, "Double");
                case ParseResult::NotANumber:
                    break;
            }
            break;
        }
        case WmiKind::Object:
            break;
    }
    ThrowCannotConvert(value, "Double");
}

uint16_t WmiToUInt16(const WmiValue& value) {
    if (value.IsNull()) return 0;
    return static_cast<uint16_t>(static_cast<uint32_t>(ToInt32Checked(value, "UInt16")) & 0xFFFFu);
}

int64_t WmiToInt64(const WmiValue& value) {
    if (value.IsNull()) return 0;
    return ToInt64Checked(value, "Int64");
}

uint32_t WmiToUInt32(const WmiValue& value) {
    if (value.IsNull()) return 0;
    return static_cast<uint32_t>(static_cast<uint64_t>(ToInt64Checked(value, "UInt32")) &
                                 0xFFFFFFFFu);
}

bool WmiToBoolean(const WmiValue& value) {
    switch (value.Kind()) {
        case WmiKind::Empty:
        case WmiKind::Null:
            return false;
        case WmiKind::Int32:
            return value.AsInt32() != 0;
        case WmiKind::Int64:
            return value.AsInt64() != 0;
        case WmiKind::Boolean:
            return value.AsBoolean();
        case WmiKind::Double:
            return value.AsDouble() != 0.0;
        case WmiKind::Text: {
            std::string_view text = TrimBlanks(value.AsText());
            if (EqualsIgnoringAsciiCase(text, "true")) return true;
            if (EqualsIgnoringAsciiCase(text, "false")) return false;
            double number = 0.0;
            if (ParseDouble(text, number) == ParseResult::Ok) return number != 0.0;
            break;
        }
        case WmiKind::Object:
            break;
    }
    ThrowCannotConvert(value, "Boolean");
}

double EncodeWmiDateTime(int year, int month, int day, int hour, int minute, int second) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month))
        throw EConvertError("Argument de codage de date incorrect");
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        throw EConvertError("Argument de codage d'heure incorrect");
    const double days = static_cast<double>(DaysSince18991230(year, month, day));
    const double time = (hour * 3600000.0 + minute * 60000.0 + second * 1000.0) / 86400000.0;
    // Before 1899-12-30 the time of day still counts away from day zero (OLE date rule).
    return days < 0 ? days - time : days + time;
}

double WmiToDateTime(const WmiValue& value) {
    const std::string text = WmiToString(value);
    if (text.size() <= 14) return 0.0;
    const int year = CimField(text, 0, 4);
    const int month = CimField(text, 4, 2);
    const int day = CimField(text, 6, 2);
    const int hour = CimField(text, 8, 2);
    const int minute = CimField(text, 10, 2);
    const int second = CimField(text, 12, 2);
    try {
        return EncodeWmiDateTime(year, month, day, hour, minute, second);
    } catch (const EConvertError& e) {
        throw EConvertError(std::string(e.what()) + " : date CIM '" + text + "'");
    }
}

}  // namespace orvalis
