#include "host/os_error_win.h"

#include <windows.h>

#include "host/errors.h"

namespace orvalis {

std::string SystemErrorText(uint32_t code) {
    char buffer[1024];
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, buffer, sizeof(buffer), nullptr);
    std::string text(buffer, length);
    // The system ends its texts with a full stop and a line break; the message adds its own.
    while (!text.empty() &&
           (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.')) {
        text.pop_back();
    }
    return text;
}

void RaiseOSError(uint32_t code) {
    throw EOSError(code, code == 0 ? std::string() : SystemErrorText(code));
}

void RaiseLastOSError() {
    RaiseOSError(GetLastError());
}

}  // namespace orvalis
