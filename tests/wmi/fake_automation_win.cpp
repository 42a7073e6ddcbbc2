#include "tests/wmi/fake_automation_win.h"

#include <algorithm>
#include <optional>

namespace orvalis::test {

namespace {

constexpr HRESULT kWbemInvalidNamespace = static_cast<HRESULT>(0x8004100E);
constexpr HRESULT kWbemInvalidQueryType = static_cast<HRESULT>(0x80041011);
constexpr HRESULT kWbemInvalidQuery = static_cast<HRESULT>(0x80041017);

wchar_t FoldAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c;
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return FoldAscii(x) == FoldAscii(y); });
}

std::string Narrow(const std::wstring& ascii) {
    std::string text;
    for (wchar_t c : ascii) text += static_cast<char>(c);
    return text;
}

std::wstring ArgumentText(const VARIANT& v) {
    if (V_VT(&v) == VT_BSTR)
        return V_BSTR(&v) ? std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v))) : L"";
    if (V_VT(&v) == VT_I4) return std::to_wstring(V_I4(&v));
    return L"";
}

// Hands the one reference of a new object to out.
void PutObject(VARIANT* out, IDispatch* fresh) {
    V_VT(out) = VT_DISPATCH;
    V_DISPATCH(out) = fresh;
}

void PutText(VARIANT* out, const std::wstring& text) {
    V_BSTR(out) = UniqueBstr::FromWide(text).Detach();
    V_VT(out) = VT_BSTR;
}

using Args = std::vector<const VARIANT*>;  // first argument first

bool IsText(const Args& args, std::size_t i) {
    return V_VT(args[i]) == VT_BSTR;
}
bool IsInt(const Args& args, std::size_t i) {
    return V_VT(args[i]) == VT_I4;
}

struct Member {
    const wchar_t* name;
    DISPID id;
};

// IDispatch by name over a table of members; subclasses answer the calls.
class FakeDispatch : public IDispatch {
  public:
    FakeDispatch(std::shared_ptr<FakeWmi> wmi, std::string role, std::vector<Member> members)
        : wmi_(std::move(wmi)), role_(std::move(role)), members_(std::move(members)) {
        wmi_->ObjectBorn();
    }
    virtual ~FakeDispatch() { wmi_->ObjectDied(); }
    FakeDispatch(const FakeDispatch&) = delete;
    FakeDispatch& operator=(const FakeDispatch&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (!names || !ids || count == 0) return E_INVALIDARG;
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        const Member* member = Find(names[0]);
        if (!member || wmi_->IsHidden(role_ + "." + Narrow(member->name)))
            return DISP_E_UNKNOWNNAME;
        ids[0] = member->id;
        return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;  // no named arguments
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* badArgument) override {
        try {
            if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
            const Member* member = Find(id);
            if (!member || !(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
                return DISP_E_MEMBERNOTFOUND;
            if (params && params->cNamedArgs) return DISP_E_NONAMEDARGS;
            Args args;
            FakeCall call{role_, Narrow(member->name), flags, {}, {}};
            for (UINT i = params ? params->cArgs : 0; i > 0; --i) {
                const VARIANT& arg = params->rgvarg[i - 1];
                args.push_back(&arg);
                call.argTypes.push_back(V_VT(&arg));
                call.argTexts.push_back(ArgumentText(arg));
            }
            wmi_->Record(std::move(call));

            UniqueVariant sink;
            VARIANT* out = result ? result : sink.Receive();
            FakeFailure error;
            if (const FakeFailure* injected = wmi_->FailureFor(role_ + "." + Narrow(member->name)))
                error = *injected;
            else
                error.hr = Call(id, args, out, error);
            if (FAILED(error.hr)) {
                if (error.hr == DISP_E_EXCEPTION && exception) Describe(error, exception);
                if (badArgument) *badArgument = 0;
            }
            return error.hr;
        } catch (...) {
            return E_UNEXPECTED;  // nothing may cross the COM boundary
        }
    }

  protected:
    // Answers a call; on DISP_E_EXCEPTION also sets error.scode and error.description.
    virtual HRESULT Call(DISPID id, const Args& args, VARIANT* out, FakeFailure& error) = 0;

    static HRESULT WbemError(FakeFailure& error, HRESULT scode, const wchar_t* description) {
        error.scode = scode;
        error.description = description;
        return DISP_E_EXCEPTION;
    }

    const std::shared_ptr<FakeWmi>& Wmi() const { return wmi_; }

  private:
    const Member* Find(const wchar_t* name) const {
        for (const Member& m : members_)
            if (name && SameName(m.name, name)) return &m;
        return nullptr;
    }
    const Member* Find(DISPID id) const {
        for (const Member& m : members_)
            if (m.id == id) return &m;
        return nullptr;
    }
    static void Describe(const FakeFailure& error, EXCEPINFO* exception) {
        *exception = EXCEPINFO{};
        exception->scode = error.scode;
        exception->bstrSource = SysAllocString(L"FakeWmi");
        if (!error.description.empty())
            exception->bstrDescription = SysAllocString(error.description.c_str());
    }

    std::shared_ptr<FakeWmi> wmi_;
    std::string role_;
    std::vector<Member> members_;
    ULONG refs_ = 1;
};

// IEnumVARIANT over copies of VARIANTs.
class FakeEnumerator : public IEnumVARIANT {
  public:
    FakeEnumerator(std::shared_ptr<FakeWmi> wmi, std::string role, std::vector<UniqueVariant> items)
        : wmi_(std::move(wmi)), role_(std::move(role)), items_(std::move(items)) {
        wmi_->ObjectBorn();
    }
    virtual ~FakeEnumerator() { wmi_->ObjectDied(); }
    FakeEnumerator(const FakeEnumerator&) = delete;
    FakeEnumerator& operator=(const FakeEnumerator&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(iid, IID_IUnknown)) {
            *out = static_cast<IUnknown*>(this);
        } else if (IsEqualIID(iid, IID_IEnumVARIANT)) {
            if (wmi_->FailureFor(role_ + ".IEnumVARIANT")) return E_NOINTERFACE;
            *out = static_cast<IEnumVARIANT*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG celt, VARIANT* elements, ULONG* fetched) override {
        try {
            wmi_->Record({role_, "Next", 0, {VT_UI4}, {std::to_wstring(celt)}});
            if (fetched) *fetched = 0;
            if (const FakeFailure* injected = wmi_->FailureFor(role_ + ".Next"))
                return injected->hr;
            if (!elements || (celt > 1 && !fetched)) return E_INVALIDARG;
            ULONG delivered = 0;
            while (delivered < celt && position_ < items_.size()) {
                const HRESULT hr = VariantCopy(&elements[delivered],
                                               const_cast<VARIANT*>(&items_[position_].Get()));
                if (FAILED(hr)) return hr;
                ++delivered;
                ++position_;
            }
            if (fetched) *fetched = delivered;
            return delivered == celt ? S_OK : S_FALSE;
        } catch (...) {
            return E_UNEXPECTED;
        }
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override {
        const std::size_t left = items_.size() - position_;
        position_ += std::min<std::size_t>(celt, left);
        return celt <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }

  private:
    std::shared_ptr<FakeWmi> wmi_;
    std::string role_;
    std::vector<UniqueVariant> items_;
    std::size_t position_ = 0;
    ULONG refs_ = 1;
};

void PutEnumerator(VARIANT* out, const std::shared_ptr<FakeWmi>& wmi, const std::string& role,
                   std::vector<UniqueVariant> items) {
    V_VT(out) = VT_UNKNOWN;
    V_UNKNOWN(out) = new FakeEnumerator(wmi, role, std::move(items));
}

UniqueVariant ObjectVariant(IDispatch* fresh) {
    UniqueVariant v;
    PutObject(v.Receive(), fresh);
    return v;
}

class FakePlain : public FakeDispatch {
  public:
    explicit FakePlain(std::shared_ptr<FakeWmi> wmi) : FakeDispatch(std::move(wmi), "plain", {}) {}

  protected:
    HRESULT Call(DISPID, const Args&, VARIANT*, FakeFailure&) override {
        return DISP_E_MEMBERNOTFOUND;
    }
};

class FakeProperty : public FakeDispatch {
  public:
    FakeProperty(std::shared_ptr<FakeWmi> wmi, std::wstring name, FakeValue value)
        : FakeDispatch(std::move(wmi), "property", {{L"Value", DISPID_VALUE}, {L"Name", 1}}),
          name_(std::move(name)),
          value_(std::move(value)) {}

  protected:
    HRESULT Call(DISPID id, const Args& args, VARIANT* out, FakeFailure&) override {
        if (!args.empty()) return DISP_E_BADPARAMCOUNT;
        if (id == 1) {
            PutText(out, name_);
            return S_OK;
        }
        return VariantCopy(out, const_cast<VARIANT*>(&value_.Get()));
    }

  private:
    std::wstring name_;
    FakeValue value_;
};

class FakePropertySet : public FakeDispatch {
  public:
    FakePropertySet(std::shared_ptr<FakeWmi> wmi, FakeInstance properties)
        : FakeDispatch(std::move(wmi), "propertySet",
                       {{L"_NewEnum", DISPID_NEWENUM}, {L"Item", DISPID_VALUE}, {L"Count", 1}}),
          properties_(std::move(properties)) {}

  protected:
    HRESULT Call(DISPID id, const Args& args, VARIANT* out, FakeFailure& error) override {
        if (id == DISPID_NEWENUM) {
            if (!args.empty()) return DISP_E_BADPARAMCOUNT;
            std::vector<UniqueVariant> items;
            for (const auto& [name, value] : properties_)
                items.push_back(ObjectVariant(new FakeProperty(Wmi(), name, value)));
            PutEnumerator(out, Wmi(), "propertyEnum", std::move(items));
            return S_OK;
        }
        if (id == 1) {
            V_VT(out) = VT_I4;
            V_I4(out) = static_cast<LONG>(properties_.size());
            return S_OK;
        }
        // Item(name [, flags])
        if (args.empty() || args.size() > 2) return DISP_E_BADPARAMCOUNT;
        if (!IsText(args, 0) || (args.size() == 2 && !IsInt(args, 1))) return DISP_E_TYPEMISMATCH;
        const std::wstring wanted = ArgumentText(*args[0]);
        for (const auto& [name, value] : properties_) {
            if (SameName(name, wanted)) {
                PutObject(out, new FakeProperty(Wmi(), name, value));
                return S_OK;
            }
        }
        return WbemError(error, kWbemNotFound, L"Not found");
    }

  private:
    FakeInstance properties_;
};

class FakeInstanceObject : public FakeDispatch {
  public:
    FakeInstanceObject(std::shared_ptr<FakeWmi> wmi, std::string role, FakeInstance properties)
        : FakeDispatch(std::move(wmi), std::move(role), {{L"Properties_", 1}}),
          properties_(std::move(properties)) {}

  protected:
    HRESULT Call(DISPID, const Args& args, VARIANT* out, FakeFailure&) override {
        if (!args.empty()) return DISP_E_BADPARAMCOUNT;
        PutObject(out, new FakePropertySet(Wmi(), properties_));
        return S_OK;
    }

  private:
    FakeInstance properties_;
};

class FakeObjectSet : public FakeDispatch {
  public:
    FakeObjectSet(std::shared_ptr<FakeWmi> wmi, std::vector<FakeInstance> instances)
        : FakeDispatch(std::move(wmi), "objectSet", {{L"_NewEnum", DISPID_NEWENUM}, {L"Count", 1}}),
          instances_(std::move(instances)) {}

  protected:
    HRESULT Call(DISPID id, const Args& args, VARIANT* out, FakeFailure&) override {
        if (!args.empty()) return DISP_E_BADPARAMCOUNT;
        if (id == 1) {
            V_VT(out) = VT_I4;
            V_I4(out) = static_cast<LONG>(instances_.size());
            return S_OK;
        }
        std::vector<UniqueVariant> items;
        for (const FakeInstance& instance : instances_)
            items.push_back(ObjectVariant(new FakeInstanceObject(Wmi(), "instance", instance)));
        PutEnumerator(out, Wmi(), "instanceEnum", std::move(items));
        return S_OK;
    }

  private:
    std::vector<FakeInstance> instances_;
};

// The class named by "SELECT * FROM <class>", ignoring the keywords' case.
std::optional<std::wstring> QueriedClass(const std::wstring& query) {
    const std::wstring prefix = L"select * from ";
    if (query.size() <= prefix.size() || !SameName(query.substr(0, prefix.size()), prefix))
        return std::nullopt;
    std::wstring name = query.substr(prefix.size());
    while (!name.empty() && name.back() == L' ') name.pop_back();
    if (name.empty() || name.find(L' ') != std::wstring::npos) return std::nullopt;
    return name;
}

class FakeServices : public FakeDispatch {
  public:
    explicit FakeServices(std::shared_ptr<FakeWmi> wmi)
        : FakeDispatch(std::move(wmi), "services", {{L"ExecQuery", 1}, {L"Get", 2}}) {}

  protected:
    HRESULT Call(DISPID id, const Args& args, VARIANT* out, FakeFailure& error) override {
        return id == 1 ? ExecQuery(args, out, error) : Get(args, out, error);
    }

  private:
    HRESULT ExecQuery(const Args& args, VARIANT* out, FakeFailure& error) {
        if (args.empty() || args.size() > 3) return DISP_E_BADPARAMCOUNT;
        if (!IsText(args, 0) || (args.size() > 1 && !IsText(args, 1)) ||
            (args.size() > 2 && !IsInt(args, 2)))
            return DISP_E_TYPEMISMATCH;
        if (args.size() > 1 && !SameName(ArgumentText(*args[1]), L"WQL"))
            return WbemError(error, kWbemInvalidQueryType, L"Invalid query type");
        const std::optional<std::wstring> className = QueriedClass(ArgumentText(*args[0]));
        if (!className) return WbemError(error, kWbemInvalidQuery, L"Invalid query");
        // Like WMI with "return at once" (and Wine): an unknown class gives an empty set.
        const std::vector<FakeInstance>* instances = Wmi()->FindClass(*className);
        PutObject(out,
                  new FakeObjectSet(Wmi(), instances ? *instances : std::vector<FakeInstance>{}));
        return S_OK;
    }

    HRESULT Get(const Args& args, VARIANT* out, FakeFailure& error) {
        if (args.empty() || args.size() > 3) return DISP_E_BADPARAMCOUNT;
        if (!IsText(args, 0) || (args.size() > 1 && !IsInt(args, 1))) return DISP_E_TYPEMISMATCH;
        if (args.size() > 2) {
            const VARTYPE context = V_VT(args[2]);
            if (context != VT_NULL && context != VT_EMPTY && context != VT_DISPATCH &&
                context != VT_ERROR)
                return DISP_E_TYPEMISMATCH;
        }
        if (!Wmi()->FindClass(ArgumentText(*args[0])))
            return WbemError(error, kWbemNotFound, L"Not found");
        PutObject(out, new FakeInstanceObject(Wmi(), "class", {}));
        return S_OK;
    }
};

class FakeLocator : public FakeDispatch {
  public:
    explicit FakeLocator(std::shared_ptr<FakeWmi> wmi)
        : FakeDispatch(std::move(wmi), "locator", {{L"ConnectServer", 1}}) {}

  protected:
    HRESULT Call(DISPID, const Args& args, VARIANT* out, FakeFailure& error) override {
        if (args.size() > 4) return DISP_E_BADPARAMCOUNT;
        for (std::size_t i = 0; i < args.size(); ++i)
            if (!IsText(args, i)) return DISP_E_TYPEMISMATCH;
        if (args.size() > 1 && !SameName(ArgumentText(*args[1]), L"root\\CIMV2"))
            return WbemError(error, kWbemInvalidNamespace, L"Invalid namespace");
        PutObject(out, new FakeServices(Wmi()));
        return S_OK;
    }
};

}  // namespace

FakeValue FakeValue::Of(UniqueVariant value) {
    FakeValue result;
    result.value_ = std::make_shared<const UniqueVariant>(std::move(value));
    return result;
}

FakeValue FakeValue::Text(const std::wstring& text) {
    UniqueVariant v;
    PutText(v.Receive(), text);
    return Of(std::move(v));
}

FakeValue FakeValue::Int32(int32_t value) {
    UniqueVariant v;
    VARIANT* out = v.Receive();
    V_VT(out) = VT_I4;
    V_I4(out) = value;
    return Of(std::move(v));
}

FakeValue FakeValue::Null() {
    UniqueVariant v;
    V_VT(v.Receive()) = VT_NULL;  // one Receive only: it empties the variant
    return Of(std::move(v));
}

FakeValue FakeValue::Empty() {
    return Of(UniqueVariant());
}

std::shared_ptr<FakeWmi> FakeWmi::Create(FakeClasses classes) {
    return std::shared_ptr<FakeWmi>(new FakeWmi(std::move(classes)));
}

ComPtr<IDispatch> FakeWmi::NewLocator() {
    return ComPtr<IDispatch>::Adopt(new FakeLocator(shared_from_this()));
}

LocatorFactory FakeWmi::Locators() {
    return [self = shared_from_this()] { return self->NewLocator(); };
}

ComPtr<IDispatch> FakeWmi::NewPlainObject() {
    return ComPtr<IDispatch>::Adopt(new FakePlain(shared_from_this()));
}

void FakeWmi::Fail(const std::string& call, FakeFailure failure) {
    failures_[call] = Injected{std::move(failure), 0};
}

void FakeWmi::Hide(const std::string& call) {
    hidden_.push_back(call);
}

bool FakeWmi::IsHidden(const std::string& call) const {
    return std::find(hidden_.begin(), hidden_.end(), call) != hidden_.end();
}

const FakeFailure* FakeWmi::FailureFor(const std::string& call) {
    auto found = failures_.find(call);
    if (found == failures_.end()) return nullptr;
    Injected& injected = found->second;
    return ++injected.calls > injected.failure.after ? &injected.failure : nullptr;
}

std::vector<FakeCall> FakeWmi::CallsTo(const std::string& member) const {
    std::vector<FakeCall> matching;
    for (const FakeCall& call : calls_)
        if (call.member == member) matching.push_back(call);
    return matching;
}

const std::vector<FakeInstance>* FakeWmi::FindClass(const std::wstring& name) const {
    for (const auto& [className, instances] : classes_)
        if (SameName(className, name)) return &instances;
    return nullptr;
}

ULONG RefCount(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

}  // namespace orvalis::test
