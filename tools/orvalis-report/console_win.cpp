#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include "tools/orvalis-report/console.h"
#include "wmi/com_apartment_win.h"

namespace orvalis {

void UseBinaryConsoleOutput() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

struct LiveWmiSession::State {
    ComApartment apartment;
};

LiveWmiSession::LiveWmiSession() : state_(std::make_unique<State>()) {}
LiveWmiSession::~LiveWmiSession() = default;

WmiProviderRef LiveWmiSession::Provider() const {
    return DefaultWmiProvider();
}

}  // namespace orvalis
