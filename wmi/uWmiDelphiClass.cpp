#include "wmi/uWmiDelphiClass.h"

#include <utility>

#include "host/ascii_case.h"
#include "host/errors.h"
#include "wmi/wmi_converters.h"

namespace orvalis {

namespace {

[[noreturn]] void ThrowListIndex(int32_t index) {
    throw EListError("Index de liste hors limites (" + std::to_string(index) + ")");
}

}  // namespace

// --- TWmiConnection ---------------------------------------------------------------------

TWmiConnection::TWmiConnection(WmiProviderRef provider) : provider_(std::move(provider)) {}

TWmiConnection::~TWmiConnection() {
    Locator.Clear();
    Services.Clear();
}

void TWmiConnection::Connect() {
    if (Connected) return;
    Locator = provider_->CreateLocator();
    Services = provider_->ConnectServer(Locator, Server, NameSpace, User, Password);
    Connected = true;
}

// --- TDataWmiClass ----------------------------------------------------------------------

TDataWmiClass::TDataWmiClass()
    : Values(kInitialSlots), ObjectHolder(std::make_unique<TVariantValueClass>()) {}

TDataWmiClass::~TDataWmiClass() {
    for (WmiValue& value : Values) value.Clear();
    Values.clear();
    if (ObjectHolder) ObjectHolder->WmiObject.Clear();
}

// --- TWmiClass --------------------------------------------------------------------------

TWmiClass::TWmiClass(bool load, const std::string& nameSpace, const std::string& wmiClassName,
                     WmiProviderRef provider)
    : TWmiClass(DeferLoad{}, nameSpace, wmiClassName, std::move(provider)) {
    LoadIfAsked(load);
}

TWmiClass::TWmiClass(DeferLoad, const std::string& nameSpace, const std::string& wmiClassName,
                     WmiProviderRef provider)
    : Connection(
          std::make_unique<TWmiConnection>(provider ? std::move(provider) : DefaultWmiProvider())),
      WmiClassName(wmiClassName) {
    Connection->NameSpace = nameSpace;
}

void TWmiClass::LoadIfAsked(bool load) {
    if (load) Loaded = LoadWmiData();
}

TWmiClass::~TWmiClass() {
    PropertyNames.clear();
    Clear();
    Connection.reset();
}

bool TWmiClass::LoadWmiData() {
    Clear();
    bool result = true;
    try {
        Connection->Connect();
        IWmiProvider& wmi = Connection->Provider();
        const std::string query = "SELECT * FROM " + WmiClassName;
        // 48 = return immediately (16) + forward only (32).
        WmiValue objectSet = wmi.ExecQuery(Connection->Services, query, "WQL", 48);
        WmiValue enumerator = wmi.ObjectSetEnum(objectSet);
        ClassObject = wmi.Get(Connection->Services, WmiClassName, 0, WmiValue::Null());

        WmiValue element;
        while (wmi.Next(enumerator, element)) {
            WmiValue propertySet = wmi.Properties(element);
            if (PropertyNames.empty()) {
                WmiValue propertyEnum = wmi.PropertySetEnum(propertySet);
                WmiValue property;
                while (wmi.Next(propertyEnum, property)) {
                    PropertyNames.push_back(WmiToString(wmi.Name(property)));
                    property.Clear();
                }
            }
            Instances.push_back(std::make_unique<TDataWmiClass>());
            TDataWmiClass& stored = *Instances.back();
            stored.ObjectHolder->WmiObject = element;
            if (stored.Values.size() < PropertyNames.size())
                stored.Values.resize(PropertyNames.size());
            for (std::size_t i = 0; i < PropertyNames.size(); ++i)
                stored.Values[i] = wmi.Value(wmi.Item(propertySet, PropertyNames[i]));
            element.Clear();
        }
        if (!Instances.empty()) SetCollectionIndex(0);
    } catch (...) {
        // A failed snapshot reports itself through GetCount() == -1 only.
        result = false;
    }
    return result;
}

int32_t TWmiClass::GetCount() const {
    return Loaded ? static_cast<int32_t>(Instances.size()) : -1;
}

int32_t TWmiClass::PropertyPosition(const std::string& name) const {
    for (std::size_t i = 0; i < PropertyNames.size(); ++i)
        if (EqualsIgnoringAsciiCase(PropertyNames[i], name)) return static_cast<int32_t>(i);
    return -1;
}

WmiValue TWmiClass::GetValue(const std::string& name) const {
    return GetValueAt(name, CurrentIndex);
}

WmiValue TWmiClass::GetValueAt(const std::string& name, int32_t index) const {
    const int32_t position = PropertyPosition(name);
    if (position < 0) return WmiValue::Int32(1);
    return StoredValues(index)[static_cast<std::size_t>(position)];
}

const std::vector<WmiValue>& TWmiClass::StoredValues(int32_t index) const {
    if (index < 0 || index >= static_cast<int32_t>(Instances.size())) ThrowListIndex(index);
    return Instances[static_cast<std::size_t>(index)]->Values;
}

void TWmiClass::SetCollectionIndex(int32_t) {
    throw Exception("You must override this method SetCollectionIndex");
}

int32_t TWmiClass::FindIndex(const std::string& name, const WmiValue& value) const {
    if (!Loaded) return -1;
    for (int32_t i = 0; i < static_cast<int32_t>(Instances.size()); ++i)
        if (GetValueAt(name, i) == value) return i;
    return -1;
}

void TWmiClass::Clear() {
    // Each stored instance empties its values and holder as it goes.
    Instances.clear();
    CurrentIndex = -1;
}

}  // namespace orvalis
