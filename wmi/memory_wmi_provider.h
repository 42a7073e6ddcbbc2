// A WMI provider that serves classes held in memory: the stand-in for the WMI service when
// replaying a snapshot file, and the scripted fake of the tests, which can make any one of
// the eleven operations fail and records every call with its arguments.
//
// Behaviour follows the scripting objects: class names are matched ignoring ASCII case; a
// query for a class that does not exist succeeds with an empty set (as WMI does with the
// return-at-once flag, and as Wine does), and Get of that class fails; Item of a name the
// instance lacks fails; Next never raises.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "wmi/wmi_provider.h"

namespace orvalis {

enum class WmiOperation {
    CreateLocator,
    ConnectServer,
    ExecQuery,
    ObjectSetEnum,
    Get,
    Next,
    Properties,
    PropertySetEnum,
    Name,
    Item,
    Value,
};
constexpr int kWmiOperationCount = 11;

// "CreateLocator", "ConnectServer", ... as the calls log writes them.
const char* WmiOperationName(WmiOperation op);

// One recorded call. Texts and numbers are written as given; objects by their role
// ("locator", "services", "objectset", "enum:instances", "enum:properties", "instance",
// "properties", "property:<Name>"), Null as "Null".
struct WmiCall {
    WmiOperation op;
    std::vector<std::string> args;
};

// One instance: its properties in delivery order.
using WmiInstanceData = std::vector<std::pair<std::string, WmiValue>>;

class MemoryWmiProvider : public IWmiProvider {
  public:
    // Serves one namespace; ConnectServer to another one fails.
    explicit MemoryWmiProvider(std::string nameSpace = "root\\CIMV2");
    ~MemoryWmiProvider() override;

    // Adds (or replaces) a class with its instances in enumeration order.
    void AddClass(const std::string& className, std::vector<WmiInstanceData> instances = {});
    bool HasClass(const std::string& className) const;
    std::vector<std::string> ClassNames() const;

    // Script: the nth call (from 1) of op from now on fails with WmiCallError; for Next it
    // answers false instead. nth 0 means every call from now on.
    void FailAt(WmiOperation op, int nth = 1);
    // Script: instance enumerators deliver at most n elements, then Next answers false.
    void EndInstancesAfter(int n);
    // Whether calls are kept for Calls() (on by default); a provider that only serves data
    // turns it off, since keeping every call costs more than serving it.
    void SetRecording(bool recording);
    // Forget the script and the calls made so far.
    void ResetScript();

    const std::vector<WmiCall>& Calls() const;
    std::vector<WmiCall> CallsOf(WmiOperation op) const;

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
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace orvalis
