#include <windows.h>

#include "vocabulary/decimal_separator.h"

namespace orvalis {

std::string UserDecimalSeparator() {
    char buffer[8] = {};  // LOCALE_SDECIMAL is at most three characters
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer);
    if (length <= 1) return ".";
    return std::string(buffer, static_cast<size_t>(length - 1));
}

}  // namespace orvalis
