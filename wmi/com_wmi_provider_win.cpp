#include "wmi/com_wmi_provider_win.h"

#include <utility>
#include <vector>

#include "wmi/com_object_win.h"
#include "wmi/variant_convert_win.h"

namespace orvalis {

namespace {

constexpr wchar_t kLocatorProgId[] = L"WbemScripting.SWbemLocator";

// The error details Invoke may fill in; its BSTRs are freed with it.
class InvokeErrorInfo {
  public:
    InvokeErrorInfo() : info_{} {}
    ~InvokeErrorInfo() {
        SysFreeString(info_.bstrSource);
        SysFreeString(info_.bstrDescription);
        SysFreeString(info_.bstrHelpFile);
    }
    InvokeErrorInfo(const InvokeErrorInfo&) = delete;
    InvokeErrorInfo& operator=(const InvokeErrorInfo&) = delete;

    EXCEPINFO* Receive() { return &info_; }

    // ": <code> <description>", or nothing when Invoke left no details.
    std::string Details() {
        if (info_.pfnDeferredFillIn) {
            info_.pfnDeferredFillIn(&info_);
            info_.pfnDeferredFillIn = nullptr;
        }
        std::string text;
        const HRESULT code = info_.scode ? info_.scode : (info_.wCode ? info_.wCode : S_OK);
        if (code != S_OK) text += " error " + HresultText(code);
        std::string description = BstrToAnsi(info_.bstrDescription);
        while (!description.empty() && (description.back() == '\n' || description.back() == '\r'))
            description.pop_back();
        if (!description.empty()) text += (text.empty() ? " " : ", ") + description;
        return text.empty() ? text : ":" + text;
    }

  private:
    EXCEPINFO info_;
};

[[noreturn]] void ThrowCallFailed(const std::string& member, const char* step, HRESULT hr,
                                  const std::string& details = {}) {
    throw WmiCallError("WMI call " + member + " failed in " + step + " (HRESULT " +
                       HresultText(hr) + ")" + details);
}

ComPtr<IDispatch> TargetOf(const WmiValue& target, const std::string& member) {
    ComPtr<IDispatch> dispatch;
    if (target.Kind() == WmiKind::Object) {
        if (auto* object = dynamic_cast<const ComObject*>(target.AsObject().get()))
            dispatch = object->Dispatch();
    }
    if (!dispatch)
        throw WmiCallError("WMI call " + member + ": the target (" + WmiKindName(target.Kind()) +
                           ") is not an automation object");
    return dispatch;
}

// target.member(args...) by name, as method or property get; args in their natural order.
UniqueVariant Invoke(const WmiValue& target, const std::string& member,
                     const std::vector<UniqueVariant>& args = {}) {
    ComPtr<IDispatch> dispatch = TargetOf(target, member);

    std::wstring name(member.begin(), member.end());  // member names are ASCII
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) ThrowCallFailed(member, "GetIDsOfNames", hr);

    // Invoke takes the arguments last to first; the VARIANTs stay owned by args.
    std::vector<VARIANTARG> reversed(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) reversed[i] = args[args.size() - 1 - i].Get();
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr,
                      static_cast<UINT>(reversed.size()), 0};

    UniqueVariant result;
    InvokeErrorInfo error;
    UINT badArgument = 0;
    hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                          &params, result.Receive(), error.Receive(), &badArgument);
    if (FAILED(hr)) ThrowCallFailed(member, "Invoke", hr, error.Details());
    return result;
}

UniqueVariant TextArgument(const std::string& text) {
    return WmiValueToVariant(WmiValue::Text(text));
}
UniqueVariant IntegerArgument(int32_t value) {
    return WmiValueToVariant(WmiValue::Int32(value));
}

template <class... T>
std::vector<UniqueVariant> Arguments(T&&... args) {
    std::vector<UniqueVariant> list;
    (list.push_back(std::forward<T>(args)), ...);
    return list;
}

WmiValue EnumeratorOf(const WmiValue& collection) {
    const std::string member = "_NewEnum";
    UniqueVariant result = Invoke(collection, member);
    const VARIANT& v = result.Get();
    ComPtr<IEnumVARIANT> enumerator;
    if ((V_VT(&v) == VT_UNKNOWN || V_VT(&v) == VT_DISPATCH) && V_UNKNOWN(&v))
        V_UNKNOWN(&v)->QueryInterface(IID_IEnumVARIANT,
                                      reinterpret_cast<void**>(enumerator.Receive()));
    if (!enumerator)
        throw WmiCallError("WMI call _NewEnum: the result (VARIANT type " +
                           std::to_string(V_VT(&v)) + ") does not answer IEnumVARIANT");
    return WmiValue::Object(std::make_shared<ComEnumerator>(std::move(enumerator)));
}

}  // namespace

ComPtr<IDispatch> CreateSWbemLocator() {
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(kLocatorProgId, &clsid);
    if (FAILED(hr)) ThrowCallFailed("CreateLocator", "CLSIDFromProgID", hr);
    ComPtr<IDispatch> locator;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(locator.Receive()));
    if (FAILED(hr)) ThrowCallFailed("CreateLocator", "CoCreateInstance", hr);
    return locator;
}

ComWmiProvider::ComWmiProvider() : ComWmiProvider(CreateSWbemLocator) {}

ComWmiProvider::ComWmiProvider(LocatorFactory createLocator)
    : createLocator_(std::move(createLocator)) {}

WmiValue ComWmiProvider::CreateLocator() {
    ComPtr<IDispatch> locator = createLocator_();
    if (!locator) throw WmiCallError("WMI call CreateLocator: no locator object was made");
    UniqueVariant holder;
    VARIANT* v = holder.Receive();
    V_VT(v) = VT_DISPATCH;
    V_DISPATCH(v) = locator.Detach();
    return WmiValue::Object(std::make_shared<ComObject>(std::move(holder)));
}

WmiValue ComWmiProvider::ConnectServer(const WmiValue& locator, const std::string& server,
                                       const std::string& nameSpace, const std::string& user,
                                       const std::string& password) {
    return VariantToWmiValue(Invoke(locator, "ConnectServer",
                                    Arguments(TextArgument(server), TextArgument(nameSpace),
                                              TextArgument(user), TextArgument(password)))
                                 .Get());
}

WmiValue ComWmiProvider::ExecQuery(const WmiValue& services, const std::string& query,
                                   const std::string& language, int32_t flags) {
    return VariantToWmiValue(
        Invoke(services, "ExecQuery",
               Arguments(TextArgument(query), TextArgument(language), IntegerArgument(flags)))
            .Get());
}

WmiValue ComWmiProvider::ObjectSetEnum(const WmiValue& objectSet) {
    return EnumeratorOf(objectSet);
}

WmiValue ComWmiProvider::Get(const WmiValue& services, const std::string& className, int32_t flags,
                             const WmiValue& context) {
    return VariantToWmiValue(Invoke(services, "Get",
                                    Arguments(TextArgument(className), IntegerArgument(flags),
                                              WmiValueToVariant(context)))
                                 .Get());
}

bool ComWmiProvider::Next(const WmiValue& enumerator, WmiValue& element) {
    element.Clear();
    try {
        if (enumerator.Kind() != WmiKind::Object) return false;
        auto* source = dynamic_cast<const ComEnumerator*>(enumerator.AsObject().get());
        if (!source || !source->Get()) return false;
        // One element per call: some enumerators (Wine's) never deliver more.
        UniqueVariant slot;
        ULONG fetched = 0;
        if (source->Get()->Next(1, slot.Receive(), &fetched) != S_OK) return false;
        element = VariantToWmiValue(slot.Get());
        return true;
    } catch (...) {
        // An element that cannot be taken ends the enumeration like any other failure.
        element.Clear();
        return false;
    }
}

WmiValue ComWmiProvider::Properties(const WmiValue& instance) {
    return VariantToWmiValue(Invoke(instance, "Properties_").Get());
}

WmiValue ComWmiProvider::PropertySetEnum(const WmiValue& propertySet) {
    return EnumeratorOf(propertySet);
}

WmiValue ComWmiProvider::Name(const WmiValue& property) {
    return VariantToWmiValue(Invoke(property, "Name").Get());
}

WmiValue ComWmiProvider::Item(const WmiValue& propertySet, const std::string& name) {
    return VariantToWmiValue(Invoke(propertySet, "Item", Arguments(TextArgument(name))).Get());
}

WmiValue ComWmiProvider::Value(const WmiValue& property) {
    return VariantToWmiValue(Invoke(property, "Value").Get());
}

}  // namespace orvalis
