// The converters from WMI values to typed values: Null defaults, Empty, the bit-width rules,
// numeric text, CIM date-times and the errors.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "host/errors.h"
#include "wmi/wmi_converters.h"

namespace orvalis {
namespace {

WmiValue I32(int32_t v) {
    return WmiValue::Int32(v);
}
WmiValue I64(int64_t v) {
    return WmiValue::Int64(v);
}
WmiValue Txt(const char* v) {
    return WmiValue::Text(v);
}
WmiValue Dbl(double v) {
    return WmiValue::Double(v);
}
WmiValue Bool(bool v) {
    return WmiValue::Boolean(v);
}

// 2023-04-15 is day 45031 after 1899-12-30; 12:30:45 is 45045 s into the day.
const double kApril15At123045 = 45031.0 + 45045000.0 / 86400000.0;

TEST(WmiToString, GivesTheTextFormOfEachKind) {
    const struct {
        WmiValue in;
        std::string out;
    } cases[] = {
        {WmiValue::Null(), ""},
        {WmiValue(), ""},
        {I32(-5), "-5"},
        {I32(1), "1"},
        {I64(8589934592LL), "8589934592"},
        {Bool(true), "True"},
        {Bool(false), "False"},
        {Dbl(0.1), "0.1"},
        {Dbl(2.0), "2"},
        {Dbl(1e20), "1e+20"},
        {Txt("  DIMM 0 "), "  DIMM 0 "},
    };
    for (const auto& c : cases) EXPECT_EQ(WmiToString(c.in), c.out) << c.out;
}

TEST(WmiToInt64, ConvertsNumbersAndNumericText) {
    const struct {
        WmiValue in;
        int64_t out;
    } cases[] = {
        {WmiValue::Null(), 0},
        {WmiValue(), 0},
        {I32(-1), -1},
        {I64(std::numeric_limits<int64_t>::min()), std::numeric_limits<int64_t>::min()},
        {Txt("8589934592"), 8589934592LL},
        {Txt(" 42\t"), 42},
        {Txt("+7"), 7},
        {Txt("-12"), -12},
        {Txt("9223372036854775807"), std::numeric_limits<int64_t>::max()},
        {Txt("1.5e3"), 1500},
        {Dbl(2.5), 2},  // rounds to even, as COM does
        {Dbl(3.5), 4},
        {Dbl(-2.6), -3},
        {Bool(true), -1},  // VARIANT_TRUE
        {Bool(false), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(WmiToInt64(c.in), c.out) << WmiToString(c.in);
}

TEST(WmiToUInt32, TakesTheLow32BitsOfTheSigned64BitValue) {
    const struct {
        WmiValue in;
        uint32_t out;
    } cases[] = {
        {WmiValue::Null(), 0},
        {WmiValue(), 0},
        {I32(-1), 4294967295u},
        {I32(std::numeric_limits<int32_t>::min()), 2147483648u},  // 2 TiB in kilobytes
        {I32(1600), 1600},
        {I64(4294967297LL), 1},
        {Txt("4294967295"), 4294967295u},
        {Txt("-1"), 4294967295u},
    };
    for (const auto& c : cases) EXPECT_EQ(WmiToUInt32(c.in), c.out) << WmiToString(c.in);
}

TEST(WmiToUInt16, TakesTheLow16BitsOfTheSigned32BitValue) {
    const struct {
        WmiValue in;
        uint16_t out;
    } cases[] = {
        {WmiValue::Null(), 0}, {WmiValue(), 0},  {I32(65537), 1}, {I32(-1), 65535},    {I32(4), 4},
        {Txt("24"), 24},       {I64(-65536), 0}, {Dbl(72.4), 72}, {Bool(true), 65535},
    };
    for (const auto& c : cases) EXPECT_EQ(WmiToUInt16(c.in), c.out) << WmiToString(c.in);
}

TEST(WmiToDouble, ConvertsNumbersAndPointDecimalText) {
    const struct {
        WmiValue in;
        double out;
    } cases[] = {
        {WmiValue::Null(), 0.0}, {WmiValue(), 0.0},
        {I32(3), 3.0},           {I64(1LL << 40), 1099511627776.0},
        {Dbl(0.25), 0.25},       {Txt("2.5"), 2.5},
        {Txt(" 1e3 "), 1000.0},  {Txt("-0.125"), -0.125},
        {Bool(true), -1.0},
    };
    for (const auto& c : cases) EXPECT_EQ(WmiToDouble(c.in), c.out) << WmiToString(c.in);
}

TEST(WmiToBoolean, TreatsNonZeroAndTrueTextAsTrue) {
    const struct {
        WmiValue in;
        bool out;
    } cases[] = {
        {WmiValue::Null(), false}, {WmiValue(), false},     {I32(1), true},    {I32(0), false},
        {I64(-5), true},           {Dbl(0.5), true},        {Dbl(0.0), false}, {Bool(true), true},
        {Txt("TRUE"), true},       {Txt(" false "), false}, {Txt("0"), false}, {Txt("1"), true},
    };
    for (const auto& c : cases) EXPECT_EQ(WmiToBoolean(c.in), c.out) << WmiToString(c.in);
}

TEST(WmiToDateTime, ReadsTheFirst14CharactersOfLongerTexts) {
    const struct {
        WmiValue in;
        double out;
    } cases[] = {
        {WmiValue::Null(), 0.0},
        {WmiValue(), 0.0},
        {Txt(""), 0.0},
        {Txt("20230415123045"), 0.0},  // 14 characters: no date
        {I32(1), 0.0},                 // a property the class lacks
        {Txt("20230415123045.000000+000"), kApril15At123045},
        {Txt("20230415123045.999999-300"), kApril15At123045},  // fraction and offset ignored
        {Txt("202304151230450"), kApril15At123045},
        {Txt("18991230000000.000000+000"), 0.0},
        {Txt("19000101060000.000000+000"), 2.25},
        {Txt("18991229120000.000000+000"), -1.5},  // before day 0 the time counts away from it
        {Txt("20240229000000.000000+000"), 45351.0},
        {Txt("99991231235959.000000+000"), 2958465.0 + 86399000.0 / 86400000.0},
    };
    for (const auto& c : cases) EXPECT_EQ(WmiToDateTime(c.in), c.out) << WmiToString(c.in);
}

enum class Error { Convert, Range };

TEST(WmiConverters, RefuseWhatCannotBeConverted) {
    using Converter = std::function<void(const WmiValue&)>;
    const Converter toInt64 = [](const WmiValue& v) { WmiToInt64(v); };
    const Converter toUInt32 = [](const WmiValue& v) { WmiToUInt32(v); };
    const Converter toUInt16 = [](const WmiValue& v) { WmiToUInt16(v); };
    const Converter toDouble = [](const WmiValue& v) { WmiToDouble(v); };
    const Converter toBoolean = [](const WmiValue& v) { WmiToBoolean(v); };
    const Converter toDate = [](const WmiValue& v) { WmiToDateTime(v); };
    const Converter toString = [](const WmiValue& v) { WmiToString(v); };
    const struct {
        const char* label;
        Converter convert;
        WmiValue in;
        Error error;
    } cases[] = {
        {"Int64 of words", toInt64, Txt("abc"), Error::Convert},
        {"Int64 of empty text", toInt64, Txt(""), Error::Convert},
        {"Int64 of blanks", toInt64, Txt("   "), Error::Convert},
        {"Int64 of trailing junk", toInt64, Txt("12abc"), Error::Convert},
        {"Int64 of a double sign", toInt64, Txt("+-5"), Error::Convert},
        {"Int64 of hex", toInt64, Txt("0x10"), Error::Convert},
        {"Int64 of 2^63", toInt64, Txt("9223372036854775808"), Error::Range},
        {"Int64 of 1e19", toInt64, Dbl(1e19), Error::Range},
        {"Int64 of 1e300 text", toInt64, Txt("1e300"), Error::Range},
        {"UInt32 of words", toUInt32, Txt("x"), Error::Convert},
        {"UInt32 of 2^63 text", toUInt32, Txt("9223372036854775808"), Error::Range},
        {"UInt16 of 2^31", toUInt16, I64(2147483648LL), Error::Range},
        {"UInt16 of -2^31-1", toUInt16, I64(-2147483649LL), Error::Range},
        {"UInt16 of big text", toUInt16, Txt("99999999999"), Error::Range},
        {"Double of a comma", toDouble, Txt("1,5"), Error::Convert},
        {"Double of nan", toDouble, Txt("nan"), Error::Convert},
        {"Boolean of yes", toBoolean, Txt("yes"), Error::Convert},
        {"date of asterisks", toDate, Txt("**************.******+***"), Error::Convert},
        {"date with a letter", toDate, Txt("2023041512304X.000000+000"), Error::Convert},
        {"date of month 13", toDate, Txt("20231315123045.000000+000"), Error::Convert},
        {"date of 30 February", toDate, Txt("20230230123045.000000+000"), Error::Convert},
        {"date of 29 February 1900", toDate, Txt("19000229000000.000000+000"), Error::Convert},
        {"date of hour 24", toDate, Txt("20230415243045.000000+000"), Error::Convert},
        {"date of second 60", toDate, Txt("20230415123060.000000+000"), Error::Convert},
        {"date of year 0", toDate, Txt("00000101000000.000000+000"), Error::Convert},
        {"date of day 0", toDate, Txt("20230400123045.000000+000"), Error::Convert},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        if (c.error == Error::Convert)
            EXPECT_THROW(c.convert(c.in), EConvertError);
        else
            EXPECT_THROW(c.convert(c.in), ERangeError);
    }

    // An object reference converts to nothing.
    const WmiValue object = WmiValue::Object(std::make_shared<WmiObject>());
    for (const Converter& convert :
         {toInt64, toUInt32, toUInt16, toDouble, toBoolean, toDate, toString})
        EXPECT_THROW(convert(object), EConvertError);
}

TEST(WmiConverters, ErrorsNameTheValueAndBothTypes) {
    try {
        WmiToInt64(Txt("12 GB"));
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("(String)"), std::string::npos) << message;
        EXPECT_NE(message.find("(Int64)"), std::string::npos) << message;
        EXPECT_NE(message.find("'12 GB'"), std::string::npos) << message;
    }
    try {
        WmiToDateTime(Txt("2023**15123045.000000+000"));
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_NE(std::string(e.what()).find("2023**15123045.000000+000"), std::string::npos)
            << e.what();
    }
}

TEST(WmiValue, KindsAndTheirNames) {
    const struct {
        WmiValue value;
        WmiKind kind;
        const char* name;
    } cases[] = {
        {WmiValue(), WmiKind::Empty, "Empty"},
        {WmiValue::Null(), WmiKind::Null, "Null"},
        {I32(1), WmiKind::Int32, "Int32"},
        {I64(1), WmiKind::Int64, "Int64"},
        {Dbl(1), WmiKind::Double, "Double"},
        {Bool(true), WmiKind::Boolean, "Boolean"},
        {Txt("1"), WmiKind::Text, "String"},
        {WmiValue::Object(std::make_shared<WmiObject>()), WmiKind::Object, "Dispatch"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.value.Kind(), c.kind) << c.name;
        EXPECT_STREQ(WmiKindName(c.kind), c.name);
    }
    // Equality needs the same kind: the integer 1 is not the text 1 nor the Int64 1.
    EXPECT_NE(I32(1), Txt("1"));
    EXPECT_NE(I32(1), I64(1));
    EXPECT_EQ(I32(1), I32(1));
}

}  // namespace
}  // namespace orvalis
