// UrlEncode on any bytes: the output holds only letters, digits, "-", ".", "_" and "%XX"
// (upper-case hexadecimal), and decoding it gives the input back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/Various_utils.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool IsKept(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_';
}

int UpperHexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string encoded = orvalis::UrlEncode(input);

    std::string decoded;
    for (size_t i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (IsKept(c)) {
            decoded += c;
            continue;
        }
        FUZZ_CHECK(c == '%' && i + 2 < encoded.size(),
                   "character outside the allowed set or truncated escape");
        const int high = UpperHexDigit(encoded[i + 1]);
        const int low = UpperHexDigit(encoded[i + 2]);
        FUZZ_CHECK(high >= 0 && low >= 0, "escape without two upper-case hex digits");
        const char byte = static_cast<char>(high * 16 + low);
        FUZZ_CHECK(!IsKept(byte), "a kept character was escaped");
        decoded += byte;
        i += 2;
    }
    FUZZ_CHECK(decoded == input, "decoding does not give the input back");
    return 0;
}
