// Raising the operating-system error from the last system error code (Windows only).
#pragma once

#include <cstdint>
#include <string>

namespace orvalis {

// The system's text for an error code, without its trailing line break and full stop.
std::string SystemErrorText(uint32_t code);

// Raises EOSError for the given code, with the system's text for it.
[[noreturn]] void RaiseOSError(uint32_t code);

// Raises EOSError for GetLastError().
[[noreturn]] void RaiseLastOSError();

}  // namespace orvalis
