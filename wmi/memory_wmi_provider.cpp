#include "wmi/memory_wmi_provider.h"

#include <array>
#include <string_view>

#include "host/ascii_case.h"

namespace orvalis {

namespace {

struct StoredClass {
    std::string name;
    std::vector<WmiInstanceData> instances;
};
using ClassRef = std::shared_ptr<const StoredClass>;

// Every object this provider hands out names its role for the calls log.
class FakeObject : public WmiObject {
  public:
    virtual std::string Role() const = 0;
};

class LocatorObject : public FakeObject {
  public:
    std::string Role() const override { return "locator"; }
};

class ServicesObject : public FakeObject {
  public:
    std::string Role() const override { return "services"; }
};

class ObjectSetObject : public FakeObject {
  public:
    explicit ObjectSetObject(ClassRef c) : cls(std::move(c)) {}
    std::string Role() const override { return "objectset"; }
    ClassRef cls;  // null: the class does not exist, the set is empty
};

class ClassDefinitionObject : public FakeObject {
  public:
    explicit ClassDefinitionObject(ClassRef c) : cls(std::move(c)) {}
    std::string Role() const override { return "class"; }
    ClassRef cls;
};

class EnumeratorObject : public FakeObject {
  public:
    EnumeratorObject(std::vector<WmiValue> all, bool ofInstances)
        : items(std::move(all)), instances(ofInstances) {}
    std::string Role() const override { return instances ? "enum:instances" : "enum:properties"; }
    std::vector<WmiValue> items;
    std::size_t position = 0;
    bool instances;
};

class InstanceObject : public FakeObject {
  public:
    InstanceObject(ClassRef c, std::size_t i) : cls(std::move(c)), index(i) {}
    std::string Role() const override { return "instance"; }
    const WmiInstanceData& Data() const { return cls->instances[index]; }
    ClassRef cls;
    std::size_t index;
};

class PropertySetObject : public FakeObject {
  public:
    explicit PropertySetObject(std::shared_ptr<const InstanceObject> i) : instance(std::move(i)) {}
    std::string Role() const override { return "properties"; }
    std::shared_ptr<const InstanceObject> instance;
    // Where the next Item is looked for first: callers ask in delivery order.
    mutable std::size_t nextItem = 0;
};

class PropertyObject : public FakeObject {
  public:
    PropertyObject(std::string n, WmiValue v) : name(std::move(n)), value(std::move(v)) {}
    std::string Role() const override { return "property:" + name; }
    std::string name;
    WmiValue value;
};

std::string Describe(const WmiValue& value) {
    switch (value.Kind()) {
        case WmiKind::Empty:
            return "Empty";
        case WmiKind::Null:
            return "Null";
        case WmiKind::Int32:
            return std::to_string(value.AsInt32());
        case WmiKind::Int64:
            return std::to_string(value.AsInt64());
        case WmiKind::Double:
            return std::to_string(value.AsDouble());
        case WmiKind::Boolean:
            return value.AsBoolean() ? "True" : "False";
        case WmiKind::Text:
            return value.AsText();
        case WmiKind::Object: {
            auto* fake = dynamic_cast<const FakeObject*>(value.AsObject().get());
            return fake ? fake->Role() : "foreign object";
        }
    }
    return "?";
}

// The object behind value when it is of the role the operation needs.
template <class T>
std::shared_ptr<T> Expect(const WmiValue& value, WmiOperation op) {
    std::shared_ptr<T> object;
    if (value.Kind() == WmiKind::Object) object = std::dynamic_pointer_cast<T>(value.AsObject());
    if (!object)
        throw WmiCallError(std::string(WmiOperationName(op)) + ": not the expected object (" +
                           Describe(value) + ")");
    return object;
}

// The class name of "SELECT * FROM <name>", or empty when the query has another form.
std::string ClassOfQuery(std::string_view query) {
    static constexpr std::string_view kPrefix = "SELECT * FROM ";
    if (query.size() <= kPrefix.size() ||
        !EqualsIgnoringAsciiCase(query.substr(0, kPrefix.size()), kPrefix))
        return {};
    std::string_view name = query.substr(kPrefix.size());
    for (char c : name)
        if (c == ' ' || c == '\t') return {};
    return std::string(name);
}

struct FailRule {
    WmiOperation op;
    long first;  // call number (per operation, from 1) from which the rule applies
    bool every;  // every call from `first` on, not only that one
};

}  // namespace

const char* WmiOperationName(WmiOperation op) {
    static constexpr std::array<const char*, kWmiOperationCount> kNames = {
        "CreateLocator", "ConnectServer",   "ExecQuery", "ObjectSetEnum", "Get",  "Next",
        "Properties",    "PropertySetEnum", "Name",      "Item",          "Value"};
    return kNames[static_cast<std::size_t>(op)];
}

using Args = std::vector<std::string>;

struct MemoryWmiProvider::State {
    std::string nameSpace;
    std::vector<std::shared_ptr<StoredClass>> classes;
    std::vector<WmiCall> calls;
    std::array<long, kWmiOperationCount> counts{};
    std::vector<FailRule> rules;
    int instanceLimit = -1;
    bool recording = true;

    ClassRef Find(std::string_view name) const {
        for (const auto& c : classes)
            if (EqualsIgnoringAsciiCase(c->name, name)) return c;
        return nullptr;
    }

    // Records the call (its arguments spelled out only while recording); true when the
    // script makes it fail.
    template <typename MakeArgs>
    bool Record(WmiOperation op, MakeArgs&& makeArgs) {
        if (recording) calls.push_back({op, makeArgs()});
        const long n = ++counts[static_cast<std::size_t>(op)];
        for (const FailRule& rule : rules)
            if (rule.op == op && (n == rule.first || (rule.every && n >= rule.first))) return true;
        return false;
    }

    template <typename MakeArgs>
    void RecordOrThrow(WmiOperation op, MakeArgs&& makeArgs) {
        if (Record(op, std::forward<MakeArgs>(makeArgs)))
            throw WmiCallError(std::string(WmiOperationName(op)) + " failed (scripted)");
    }
};

MemoryWmiProvider::MemoryWmiProvider(std::string nameSpace) : state_(std::make_unique<State>()) {
    state_->nameSpace = std::move(nameSpace);
}

MemoryWmiProvider::~MemoryWmiProvider() = default;

void MemoryWmiProvider::AddClass(const std::string& className,
                                 std::vector<WmiInstanceData> instances) {
    auto stored = std::make_shared<StoredClass>(StoredClass{className, std::move(instances)});
    for (auto& c : state_->classes)
        if (EqualsIgnoringAsciiCase(c->name, className)) {
            c = std::move(stored);  // objects handed out keep the old data alive
            return;
        }
    state_->classes.push_back(std::move(stored));
}

bool MemoryWmiProvider::HasClass(const std::string& className) const {
    return state_->Find(className) != nullptr;
}

std::vector<std::string> MemoryWmiProvider::ClassNames() const {
    std::vector<std::string> names;
    for (const auto& c : state_->classes) names.push_back(c->name);
    return names;
}

void MemoryWmiProvider::FailAt(WmiOperation op, int nth) {
    const long done = state_->counts[static_cast<std::size_t>(op)];
    state_->rules.push_back({op, done + (nth <= 0 ? 1 : nth), nth <= 0});
}

void MemoryWmiProvider::SetRecording(bool recording) {
    state_->recording = recording;
}

void MemoryWmiProvider::EndInstancesAfter(int n) {
    state_->instanceLimit = n;
}

void MemoryWmiProvider::ResetScript() {
    state_->rules.clear();
    state_->instanceLimit = -1;
    state_->calls.clear();
    state_->counts = {};
}

const std::vector<WmiCall>& MemoryWmiProvider::Calls() const {
    return state_->calls;
}

std::vector<WmiCall> MemoryWmiProvider::CallsOf(WmiOperation op) const {
    std::vector<WmiCall> selected;
    for (const WmiCall& call : state_->calls)
        if (call.op == op) selected.push_back(call);
    return selected;
}

WmiValue MemoryWmiProvider::CreateLocator() {
    state_->RecordOrThrow(WmiOperation::CreateLocator, [&] { return Args{}; });
    return WmiValue::Object(std::make_shared<LocatorObject>());
}

WmiValue MemoryWmiProvider::ConnectServer(const WmiValue& locator, const std::string& server,
                                          const std::string& nameSpace, const std::string& user,
                                          const std::string& password) {
    state_->RecordOrThrow(WmiOperation::ConnectServer, [&] {
        return Args{Describe(locator), server, nameSpace, user, password};
    });
    Expect<LocatorObject>(locator, WmiOperation::ConnectServer);
    if (!EqualsIgnoringAsciiCase(nameSpace, state_->nameSpace))
        throw WmiCallError("ConnectServer: invalid namespace '" + nameSpace + "'");
    return WmiValue::Object(std::make_shared<ServicesObject>());
}

WmiValue MemoryWmiProvider::ExecQuery(const WmiValue& services, const std::string& query,
                                      const std::string& language, int32_t flags) {
    state_->RecordOrThrow(WmiOperation::ExecQuery, [&] {
        return Args{Describe(services), query, language, std::to_string(flags)};
    });
    Expect<ServicesObject>(services, WmiOperation::ExecQuery);
    const std::string className = ClassOfQuery(query);
    if (className.empty() || !EqualsIgnoringAsciiCase(language, "WQL"))
        throw WmiCallError("ExecQuery: invalid query '" + query + "'");
    return WmiValue::Object(std::make_shared<ObjectSetObject>(state_->Find(className)));
}

WmiValue MemoryWmiProvider::ObjectSetEnum(const WmiValue& objectSet) {
    state_->RecordOrThrow(WmiOperation::ObjectSetEnum, [&] { return Args{Describe(objectSet)}; });
    auto set = Expect<ObjectSetObject>(objectSet, WmiOperation::ObjectSetEnum);
    std::vector<WmiValue> items;
    if (set->cls)
        for (std::size_t i = 0; i < set->cls->instances.size(); ++i)
            items.push_back(WmiValue::Object(std::make_shared<InstanceObject>(set->cls, i)));
    return WmiValue::Object(std::make_shared<EnumeratorObject>(std::move(items), true));
}

WmiValue MemoryWmiProvider::Get(const WmiValue& services, const std::string& className,
                                int32_t flags, const WmiValue& context) {
    state_->RecordOrThrow(WmiOperation::Get, [&] {
        return Args{Describe(services), className, std::to_string(flags), Describe(context)};
    });
    Expect<ServicesObject>(services, WmiOperation::Get);
    ClassRef cls = state_->Find(className);
    if (!cls) throw WmiCallError("Get: class '" + className + "' not found");
    return WmiValue::Object(std::make_shared<ClassDefinitionObject>(std::move(cls)));
}

bool MemoryWmiProvider::Next(const WmiValue& enumerator, WmiValue& element) {
    if (state_->Record(WmiOperation::Next, [&] { return Args{Describe(enumerator)}; }))
        return false;
    std::shared_ptr<EnumeratorObject> e;
    if (enumerator.Kind() == WmiKind::Object)
        e = std::dynamic_pointer_cast<EnumeratorObject>(enumerator.AsObject());
    if (!e || e->position >= e->items.size()) return false;
    if (e->instances && state_->instanceLimit >= 0 &&
        e->position >= static_cast<std::size_t>(state_->instanceLimit))
        return false;
    element = e->items[e->position++];
    return true;
}

WmiValue MemoryWmiProvider::Properties(const WmiValue& instance) {
    state_->RecordOrThrow(WmiOperation::Properties, [&] { return Args{Describe(instance)}; });
    auto object = Expect<InstanceObject>(instance, WmiOperation::Properties);
    return WmiValue::Object(std::make_shared<PropertySetObject>(std::move(object)));
}

WmiValue MemoryWmiProvider::PropertySetEnum(const WmiValue& propertySet) {
    state_->RecordOrThrow(WmiOperation::PropertySetEnum,
                          [&] { return Args{Describe(propertySet)}; });
    auto set = Expect<PropertySetObject>(propertySet, WmiOperation::PropertySetEnum);
    std::vector<WmiValue> items;
    for (const auto& [name, value] : set->instance->Data())
        items.push_back(WmiValue::Object(std::make_shared<PropertyObject>(name, value)));
    return WmiValue::Object(std::make_shared<EnumeratorObject>(std::move(items), false));
}

WmiValue MemoryWmiProvider::Name(const WmiValue& property) {
    state_->RecordOrThrow(WmiOperation::Name, [&] { return Args{Describe(property)}; });
    return WmiValue::Text(Expect<PropertyObject>(property, WmiOperation::Name)->name);
}

WmiValue MemoryWmiProvider::Item(const WmiValue& propertySet, const std::string& name) {
    state_->RecordOrThrow(WmiOperation::Item, [&] { return Args{Describe(propertySet), name}; });
    auto set = Expect<PropertySetObject>(propertySet, WmiOperation::Item);
    const auto& data = set->instance->Data();
    for (std::size_t k = 0; k < data.size(); ++k) {
        const std::size_t i = (set->nextItem + k) % data.size();
        if (EqualsIgnoringAsciiCase(data[i].first, name)) {
            set->nextItem = i + 1;
            return WmiValue::Object(
                std::make_shared<PropertyObject>(data[i].first, data[i].second));
        }
    }
    throw WmiCallError("Item: property '" + name + "' not found");
}

WmiValue MemoryWmiProvider::Value(const WmiValue& property) {
    state_->RecordOrThrow(WmiOperation::Value, [&] { return Args{Describe(property)}; });
    return Expect<PropertyObject>(property, WmiOperation::Value)->value;
}

}  // namespace orvalis
