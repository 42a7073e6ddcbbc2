// Natively there is no WMI: every operation fails, so every snapshot load fails cleanly.
#include "wmi/wmi_provider.h"

namespace orvalis {

namespace {

[[noreturn]] void NoWmi() {
    throw WmiCallError("live WMI data needs Windows");
}

class NoWmiProvider : public IWmiProvider {
  public:
    WmiValue CreateLocator() override { NoWmi(); }
    WmiValue ConnectServer(const WmiValue&, const std::string&, const std::string&,
                           const std::string&, const std::string&) override {
        NoWmi();
    }
    WmiValue ExecQuery(const WmiValue&, const std::string&, const std::string&, int32_t) override {
        NoWmi();
    }
    WmiValue ObjectSetEnum(const WmiValue&) override { NoWmi(); }
    WmiValue Get(const WmiValue&, const std::string&, int32_t, const WmiValue&) override {
        NoWmi();
    }
    bool Next(const WmiValue&, WmiValue&) override { return false; }  // Next never raises
    WmiValue Properties(const WmiValue&) override { NoWmi(); }
    WmiValue PropertySetEnum(const WmiValue&) override { NoWmi(); }
    WmiValue Name(const WmiValue&) override { NoWmi(); }
    WmiValue Item(const WmiValue&, const std::string&) override { NoWmi(); }
    WmiValue Value(const WmiValue&) override { NoWmi(); }
};

}  // namespace

WmiProviderRef DefaultWmiProvider() {
    return std::make_shared<NoWmiProvider>();
}

}  // namespace orvalis
