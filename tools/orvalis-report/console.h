// What main() needs of the platform: byte-exact standard output and the live WMI.
#pragma once

#include <memory>

#include "wmi/wmi_provider.h"

namespace orvalis {

// Standard output and error take the UTF-8 bytes as they are (no newline translation).
void UseBinaryConsoleOutput();

// The live WMI for the life of the session (on Windows it holds COM for this thread, so
// every provider it gave out must be gone before the session ends).
class LiveWmiSession {
  public:
    LiveWmiSession();
    ~LiveWmiSession();
    LiveWmiSession(const LiveWmiSession&) = delete;
    LiveWmiSession& operator=(const LiveWmiSession&) = delete;

    // The live WMI provider; null where the platform has no WMI.
    WmiProviderRef Provider() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace orvalis
