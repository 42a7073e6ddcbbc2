#include "tools/orvalis-report/console.h"

namespace orvalis {

void UseBinaryConsoleOutput() {}

struct LiveWmiSession::State {};

LiveWmiSession::LiveWmiSession() = default;
LiveWmiSession::~LiveWmiSession() = default;

// No WMI here: the tool says so instead of printing a report of failed snapshots.
WmiProviderRef LiveWmiSession::Provider() const {
    return nullptr;
}

}  // namespace orvalis
