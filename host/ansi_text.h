// Conversions between the program's 8-bit text (the system ANSI code page) and UTF-8 or
// UTF-16. On Windows they go through the system code page; the native build treats UTF-8
// as its system code page, so there the 8-bit text is UTF-8 already.
#pragma once

#include <string>

namespace orvalis {

std::string Utf8ToAnsi(const std::string& utf8);
std::string AnsiToUtf8(const std::string& ansi);
std::wstring AnsiToWide(const std::string& ansi);
std::string WideToAnsi(const std::wstring& wide);

}  // namespace orvalis
