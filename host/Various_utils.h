// Small host and text operations: web-address encoding, the text picker, and the host facts,
// data folder, registration and file version used by the start-up sequence.
#pragma once

#include <string>

namespace orvalis {

// Percent-encoding of a search keyword, byte by byte: letters, digits, "-", "." and "_" stay;
// a space is "%20"; every other byte is "%" and two upper-case hexadecimal digits.
std::string UrlEncode(const std::string& text);

// a when the flag is set, otherwise b.
std::string PickText(bool flag, const std::string& a, const std::string& b);

// "Yes" or "No".
std::string YesNo(bool value);

}  // namespace orvalis
