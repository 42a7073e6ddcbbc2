// The eleven platform operations through which a snapshot reaches WMI. The snapshot logic
// knows nothing else of WMI, so the COM scripting objects, a snapshot file or a test fake
// can stand behind it. Every operation but Next raises (any std::exception) on failure.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "wmi/wmi_value.h"

namespace orvalis {

// Raised by providers for a failed call; the message names the call.
class WmiCallError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class IWmiProvider {
  public:
    virtual ~IWmiProvider() = default;

    // 1. An object created from the ProgID "WbemScripting.SWbemLocator".
    virtual WmiValue CreateLocator() = 0;
    // 2. locator.ConnectServer(server, nameSpace, user, password): the services object.
    virtual WmiValue ConnectServer(const WmiValue& locator, const std::string& server,
                                   const std::string& nameSpace, const std::string& user,
                                   const std::string& password) = 0;
    // 3. services.ExecQuery(query, language, flags): the object set.
    virtual WmiValue ExecQuery(const WmiValue& services, const std::string& query,
                               const std::string& language, int32_t flags) = 0;
    // 4. objectSet._NewEnum: an enumerator of the instances.
    virtual WmiValue ObjectSetEnum(const WmiValue& objectSet) = 0;
    // 5. services.Get(className, flags, context): the class definition object.
    virtual WmiValue Get(const WmiValue& services, const std::string& className, int32_t flags,
                         const WmiValue& context) = 0;
    // 6. enumerator.Next(1, element, count): true exactly when an element was delivered
    // (S_OK). Any other outcome, a failure included, is false and never raises.
    virtual bool Next(const WmiValue& enumerator, WmiValue& element) = 0;
    // 7. instance.Properties_: the property set.
    virtual WmiValue Properties(const WmiValue& instance) = 0;
    // 8. propertySet._NewEnum: an enumerator of the property objects (read with Next).
    virtual WmiValue PropertySetEnum(const WmiValue& propertySet) = 0;
    // 9. property.Name.
    virtual WmiValue Name(const WmiValue& property) = 0;
    // 10. propertySet.Item(name): the property object.
    virtual WmiValue Item(const WmiValue& propertySet, const std::string& name) = 0;
    // 11. property.Value: any kind, Null when the property has no value.
    virtual WmiValue Value(const WmiValue& property) = 0;
};

using WmiProviderRef = std::shared_ptr<IWmiProvider>;

// The live WMI of this machine: the COM scripting objects on Windows; elsewhere a provider
// whose first operation fails with "live WMI data needs Windows".
WmiProviderRef DefaultWmiProvider();

}  // namespace orvalis
