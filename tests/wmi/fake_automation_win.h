// Automation objects that behave like the WMI scripting objects, fed from plain C++ data:
// a locator, services (ExecQuery, Get), object sets and property sets with _NewEnum,
// IEnumVARIANT enumerators, instances with Properties_, properties with Name and Value.
// Every member is reached by name through IDispatch, so ComWmiProvider runs against them as
// against the real ones. Each call is recorded with its argument kinds; any call can be made
// to fail; live objects are counted so that tests can prove nothing leaks.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "wmi/com_raii_win.h"
#include "wmi/com_wmi_provider_win.h"

namespace orvalis::test {

// A value in the fake data: an immutable VARIANT, copied out at every read.
class FakeValue {
  public:
    static FakeValue Text(const std::wstring& text);
    static FakeValue Int32(int32_t value);
    static FakeValue Null();
    static FakeValue Empty();
    // Any VARIANT kind (VT_UI4, VT_DATE, arrays, objects, ...).
    static FakeValue Of(UniqueVariant value);

    const VARIANT& Get() const { return value_->Get(); }

  private:
    std::shared_ptr<const UniqueVariant> value_;
};

// One instance: its properties in delivery order.
using FakeInstance = std::vector<std::pair<std::wstring, FakeValue>>;
// Classes by name, each with its instances in enumeration order.
using FakeClasses = std::map<std::wstring, std::vector<FakeInstance>>;

// One recorded call. Objects are named by role: "locator", "services", "objectSet",
// "instance", "class", "propertySet", "property", "plain", and the enumerators
// "instanceEnum" and "propertyEnum" (whose member is "Next", argument celt).
struct FakeCall {
    std::string object;
    std::string member;
    WORD flags = 0;                      // Invoke flags; 0 for Next
    std::vector<VARTYPE> argTypes;       // in the caller's order (first argument first)
    std::vector<std::wstring> argTexts;  // BSTR text, integers in decimal, "" otherwise
};

// A failure injected into one call, named "role.member" ("services.Get",
// "instanceEnum.Next"). With DISP_E_EXCEPTION, EXCEPINFO carries scode and description.
// The call succeeds `after` times before it starts failing. "instanceEnum.IEnumVARIANT"
// (or "propertyEnum.IEnumVARIANT") makes the enumerator refuse that interface.
struct FakeFailure {
    HRESULT hr = E_FAIL;
    HRESULT scode = S_OK;
    std::wstring description;
    int after = 0;

    // Invoke (or Next) answers hr, after `after` calls that succeed.
    static FakeFailure Result(HRESULT hr, int after = 0) { return {hr, S_OK, {}, after}; }
    // DISP_E_EXCEPTION with these details in EXCEPINFO.
    static FakeFailure Exception(HRESULT scode, std::wstring description = {}) {
        return {DISP_E_EXCEPTION, scode, std::move(description), 0};
    }
};

constexpr HRESULT kWbemNotFound = static_cast<HRESULT>(0x80041002);

// The shared state of one fake WMI world. Create with FakeWmi::Create; every fake object
// keeps it alive.
class FakeWmi : public std::enable_shared_from_this<FakeWmi> {
  public:
    static std::shared_ptr<FakeWmi> Create(FakeClasses classes);

    // A new locator (the caller owns the one reference).
    ComPtr<IDispatch> NewLocator();
    // For ComWmiProvider: every call makes a new locator.
    LocatorFactory Locators();
    // An automation object without members, for reference-count tests.
    ComPtr<IDispatch> NewPlainObject();

    void Fail(const std::string& call, FakeFailure failure);
    // "role.member" becomes unknown to GetIDsOfNames (DISP_E_UNKNOWNNAME).
    void Hide(const std::string& call);

    const std::vector<FakeCall>& Calls() const { return calls_; }
    std::vector<FakeCall> CallsTo(const std::string& member) const;
    // Fake objects alive now (enumerators included).
    int LiveObjects() const { return live_; }

    // --- for the fake objects ---
    const std::vector<FakeInstance>* FindClass(const std::wstring& name) const;
    void Record(FakeCall call) { calls_.push_back(std::move(call)); }
    bool IsHidden(const std::string& call) const;
    // The failure due now for this call, counting the call; nullptr when it should succeed.
    const FakeFailure* FailureFor(const std::string& call);
    void ObjectBorn() { ++live_; }
    void ObjectDied() { --live_; }

  private:
    explicit FakeWmi(FakeClasses classes) : classes_(std::move(classes)) {}

    struct Injected {
        FakeFailure failure;
        int calls = 0;
    };
    FakeClasses classes_;
    std::vector<FakeCall> calls_;
    std::map<std::string, Injected> failures_;
    std::vector<std::string> hidden_;
    int live_ = 0;
};

// Current reference count of a COM object (AddRef then Release).
ULONG RefCount(IUnknown* object);

}  // namespace orvalis::test
