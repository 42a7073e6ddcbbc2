// The decimal separator of the user's regional settings: on Windows the user's locale, natively
// the C library's current LC_NUMERIC locale. Read at every call, so a change applies at once.
#pragma once

#include <string>

namespace orvalis {

// Never empty: "." when the system gives nothing.
std::string UserDecimalSeparator();

}  // namespace orvalis
