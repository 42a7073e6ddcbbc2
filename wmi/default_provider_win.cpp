#include <memory>

#include "wmi/com_wmi_provider_win.h"

namespace orvalis {

WmiProviderRef DefaultWmiProvider() {
    return std::make_shared<ComWmiProvider>();
}

}  // namespace orvalis
