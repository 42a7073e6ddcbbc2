// The eleven WMI operations over the WMI scripting objects: a locator created from
// "WbemScripting.SWbemLocator", then every member called by name through IDispatch
// (late binding), enumerations through IEnumVARIANT. Needs COM on the calling thread
// (ComApartment). Failures raise WmiCallError naming the member and the HRESULT.
#pragma once

#include <functional>
#include <string>

#include "wmi/com_raii_win.h"
#include "wmi/wmi_provider.h"

namespace orvalis {

// Makes the locator object; tests hand in automation objects of their own.
using LocatorFactory = std::function<ComPtr<IDispatch>()>;

// The real locator: CLSIDFromProgID + CoCreateInstance, asked for IDispatch.
ComPtr<IDispatch> CreateSWbemLocator();

class ComWmiProvider final : public IWmiProvider {
  public:
    ComWmiProvider();
    explicit ComWmiProvider(LocatorFactory createLocator);

    WmiValue CreateLocator() override;
    WmiValue ConnectServer(const WmiValue& locator, const std::string& server,
                           const std::string& nameSpace, const std::string& user,
                           const std::string& password) override;
    WmiValue ExecQuery(const WmiValue& services, const std::string& query,
                       const std::string& language, int32_t flags) override;
    WmiValue ObjectSetEnum(const WmiValue& objectSet) override;
    WmiValue Get(const WmiValue& services, const std::string& className, int32_t flags,
                 const WmiValue& context) override;
    bool Next(const WmiValue& enumerator, WmiValue& element) override;
    WmiValue Properties(const WmiValue& instance) override;
    WmiValue PropertySetEnum(const WmiValue& propertySet) override;
    WmiValue Name(const WmiValue& property) override;
    WmiValue Item(const WmiValue& propertySet, const std::string& name) override;
    WmiValue Value(const WmiValue& property) override;

  private:
    LocatorFactory createLocator_;
};

}  // namespace orvalis
