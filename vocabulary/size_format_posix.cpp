#include <clocale>

#include "vocabulary/decimal_separator.h"

namespace orvalis {

std::string UserDecimalSeparator() {
    const std::lconv* conventions = std::localeconv();
    if (conventions == nullptr || conventions->decimal_point == nullptr ||
        conventions->decimal_point[0] == '\0')
        return ".";
    return conventions->decimal_point;
}

}  // namespace orvalis
