// ComWmiProvider against automation objects implemented in this program: every call goes by
// name through IDispatch and IEnumVARIANT exactly as it goes to the WMI scripting objects.
#include <gtest/gtest.h>

#include <functional>

#include "host/ansi_text.h"
#include "tests/wmi/fake_automation_win.h"
#include "tests/wmi/wmi_test_support.h"
#include "wmi/com_apartment_win.h"
#include "wmi/com_wmi_provider_win.h"
#include "wmi/variant_convert_win.h"

namespace orvalis::test {
namespace {

constexpr WORD kCallFlags = DISPATCH_METHOD | DISPATCH_PROPERTYGET;

FakeInstance ToFake(const WmiInstanceData& data) {
    FakeInstance instance;
    for (const auto& [name, value] : data)
        instance.emplace_back(AnsiToWide(name), FakeValue::Of(WmiValueToVariant(value)));
    return instance;
}

UniqueVariant UInt32Variant(ULONG value) {
    UniqueVariant v;
    VARIANT* out = v.Receive();
    V_VT(out) = VT_UI4;
    V_UI4(out) = value;
    return v;
}

FakeClasses MemoryClasses() {
    return {
        {L"Win32_PhysicalMemory", {ToFake(ModuleInstance(0)), ToFake(ModuleInstance(1))}},
        {L"Win32_PhysicalMemoryArray", {ToFake(ArrayInstance(0))}},
        {L"Test_Values",
         {{{L"Caption", FakeValue::Text(L"caf\u00e9")},
           {L"Missing", FakeValue::Null()},
           {L"Unset", FakeValue::Empty()},
           {L"Pr\u00e9cis", FakeValue::Int32(7)},
           {L"Big", FakeValue::Of(UInt32Variant(0xFFFFFFF0))}}}},
    };
}

// The eleven operations in the order a load makes them, down to the first property.
struct Walk {
    WmiValue locator, services, objectSet, enumerator, classObject, instance, properties,
        propertyEnum, property, name, item;
};

Walk WalkTo(IWmiProvider& wmi, const std::string& className, const std::string& propertyName) {
    Walk w;
    w.locator = wmi.CreateLocator();
    w.services = wmi.ConnectServer(w.locator, "localhost", "root\\CIMV2", "", "");
    w.objectSet = wmi.ExecQuery(w.services, "SELECT * FROM " + className, "WQL", 48);
    w.enumerator = wmi.ObjectSetEnum(w.objectSet);
    w.classObject = wmi.Get(w.services, className, 0, WmiValue::Null());
    EXPECT_TRUE(wmi.Next(w.enumerator, w.instance));
    w.properties = wmi.Properties(w.instance);
    w.propertyEnum = wmi.PropertySetEnum(w.properties);
    EXPECT_TRUE(wmi.Next(w.propertyEnum, w.property));
    w.name = wmi.Name(w.property);
    w.item = wmi.Item(w.properties, propertyName);
    return w;
}

class ComWmiProviderTest : public ::testing::Test {
  protected:
    void TearDown() override {
        provider.reset();
        EXPECT_EQ(wmi->LiveObjects(), 0) << "fake automation objects outlived their users";
    }

    ComApartment apartment;
    std::shared_ptr<FakeWmi> wmi = FakeWmi::Create(MemoryClasses());
    std::shared_ptr<ComWmiProvider> provider = std::make_shared<ComWmiProvider>(wmi->Locators());
};

TEST_F(ComWmiProviderTest, RecordsLoadEveryModuleAndArray) {
    TWin32_PhysicalMemory modules(true, provider);
    ASSERT_EQ(modules.GetCount(), 2);
    EXPECT_EQ(FieldsOf(modules), ExpectedModuleFields(0));
    modules.SetCollectionIndex(1);
    EXPECT_EQ(FieldsOf(modules), ExpectedModuleFields(1));

    TWin32_PhysicalMemoryArray arrays(true, provider);
    ASSERT_EQ(arrays.GetCount(), 1);
    EXPECT_EQ(FieldsOf(arrays), ExpectedArrayFields(0));
    EXPECT_GT(wmi->LiveObjects(), 0);  // the snapshots hold their instances and connections
}

TEST_F(ComWmiProviderTest, CallsEachMemberByNameWithPositionalArguments) {
    { TWin32_PhysicalMemory modules(true, provider); }

    const std::vector<FakeCall> connect = wmi->CallsTo("ConnectServer");
    ASSERT_EQ(connect.size(), 1u);
    EXPECT_EQ(connect[0].object, "locator");
    EXPECT_EQ(connect[0].argTypes, (std::vector<VARTYPE>{VT_BSTR, VT_BSTR, VT_BSTR, VT_BSTR}));
    EXPECT_EQ(connect[0].argTexts,
              (std::vector<std::wstring>{L"localhost", L"root\\CIMV2", L"", L""}));

    const std::vector<FakeCall> query = wmi->CallsTo("ExecQuery");
    ASSERT_EQ(query.size(), 1u);
    EXPECT_EQ(query[0].argTypes, (std::vector<VARTYPE>{VT_BSTR, VT_BSTR, VT_I4}));
    EXPECT_EQ(query[0].argTexts,
              (std::vector<std::wstring>{L"SELECT * FROM Win32_PhysicalMemory", L"WQL", L"48"}));

    const std::vector<FakeCall> get = wmi->CallsTo("Get");
    ASSERT_EQ(get.size(), 1u);
    EXPECT_EQ(get[0].argTypes, (std::vector<VARTYPE>{VT_BSTR, VT_I4, VT_NULL}));
    EXPECT_EQ(get[0].argTexts[0], L"Win32_PhysicalMemory");
    EXPECT_EQ(get[0].argTexts[1], L"0");

    // Names come from the first instance only; values cost Item + Value each.
    const std::size_t fields = ModuleInstance(0).size();
    EXPECT_EQ(wmi->CallsTo("Name").size(), fields);
    EXPECT_EQ(wmi->CallsTo("Value").size(), 2 * fields);
    for (const FakeCall& item : wmi->CallsTo("Item"))
        EXPECT_EQ(item.argTypes, std::vector<VARTYPE>{VT_BSTR});
    EXPECT_EQ(wmi->CallsTo("_NewEnum").size(), 2u);

    for (const FakeCall& call : wmi->Calls()) {
        SCOPED_TRACE(call.object + "." + call.member);
        if (call.member == "Next")
            EXPECT_EQ(call.argTexts, std::vector<std::wstring>{L"1"});  // one element per call
        else
            EXPECT_EQ(call.flags, kCallFlags);
    }
}

TEST_F(ComWmiProviderTest, ValuesKeepTheirKindAndTextCrossesTheCodePage) {
    if (GetACP() != 1252) GTEST_SKIP() << "needs code page 1252, this system has " << GetACP();
    Walk w = WalkTo(*provider, "Test_Values", "Missing");
    EXPECT_EQ(w.name, WmiValue::Text("Caption"));
    EXPECT_EQ(provider->Value(w.property), WmiValue::Text("caf\xE9"));
    EXPECT_EQ(provider->Value(w.item), WmiValue::Null());
    EXPECT_EQ(provider->Value(provider->Item(w.properties, "Unset")), WmiValue());
    EXPECT_EQ(provider->Value(provider->Item(w.properties, "Big")), WmiValue::Int64(0xFFFFFFF0));
    // An argument in the ANSI code page reaches the object as the same characters.
    EXPECT_EQ(provider->Value(provider->Item(w.properties,
                                             "Pr\xE9"
                                             "cis")),
              WmiValue::Int32(7));
    EXPECT_EQ(wmi->CallsTo("Item").back().argTexts, std::vector<std::wstring>{L"Pr\u00e9cis"});
}

TEST_F(ComWmiProviderTest, NextIsTrueExactlyWhileAnElementComes) {
    WmiValue locator = provider->CreateLocator();
    WmiValue services = provider->ConnectServer(locator, "localhost", "root\\CIMV2", "", "");
    WmiValue enumerator = provider->ObjectSetEnum(
        provider->ExecQuery(services, "SELECT * FROM Win32_PhysicalMemory", "WQL", 48));
    WmiValue element;
    EXPECT_TRUE(provider->Next(enumerator, element));
    EXPECT_EQ(element.Kind(), WmiKind::Object);
    EXPECT_TRUE(provider->Next(enumerator, element));
    EXPECT_FALSE(provider->Next(enumerator, element));  // S_FALSE: exhausted
    EXPECT_TRUE(element.IsEmpty());

    // Not an enumerator at all: false, never an exception.
    EXPECT_FALSE(provider->Next(services, element));
    EXPECT_FALSE(provider->Next(WmiValue::Int32(1), element));
}

TEST_F(ComWmiProviderTest, NextIsFalseOnAFailure) {
    wmi->Fail("instanceEnum.Next", FakeFailure::Result(E_FAIL, 1));
    WmiValue locator = provider->CreateLocator();
    WmiValue services = provider->ConnectServer(locator, "localhost", "root\\CIMV2", "", "");
    WmiValue enumerator = provider->ObjectSetEnum(
        provider->ExecQuery(services, "SELECT * FROM Win32_PhysicalMemory", "WQL", 48));
    WmiValue element;
    EXPECT_TRUE(provider->Next(enumerator, element));
    EXPECT_FALSE(provider->Next(enumerator, element));
    EXPECT_TRUE(element.IsEmpty());
}

struct FailureCase {
    const char* call;  // where the fake fails
    FakeFailure failure;
    std::vector<std::string> inMessage;
};

TEST(ComWmiProviderFailures, EveryOperationRaisesWmiCallErrorNamingTheMember) {
    ComApartment apartment;
    const FailureCase cases[] = {
        {"locator.ConnectServer",
         FakeFailure::Result(DISP_E_TYPEMISMATCH),
         {"ConnectServer", "0x80020005"}},
        {"services.ExecQuery", FakeFailure::Result(E_ACCESSDENIED), {"ExecQuery", "0x80070005"}},
        {"objectSet._NewEnum", FakeFailure::Result(E_FAIL), {"_NewEnum", "0x80004005"}},
        {"services.Get", FakeFailure::Result(DISP_E_TYPEMISMATCH), {"Get", "0x80020005"}},
        {"instance.Properties_",
         FakeFailure::Exception(static_cast<HRESULT>(0x80041001), L"Generic failure\r\n"),
         {"Properties_", "0x80020009", "0x80041001", "Generic failure"}},
        {"propertySet._NewEnum",
         FakeFailure::Exception(E_NOTIMPL),
         {"_NewEnum", "0x80020009", "0x80004001"}},
        {"property.Name", FakeFailure::Result(E_NOTIMPL), {"Name", "0x80004001"}},
        {"propertySet.Item",
         FakeFailure::Exception(kWbemNotFound, L"Not found"),
         {"Item", "0x80041002", "Not found"}},
        {"property.Value", FakeFailure::Result(E_OUTOFMEMORY), {"Value", "0x8007000E"}},
        {"instanceEnum.IEnumVARIANT", {}, {"_NewEnum", "IEnumVARIANT"}},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.call);
        auto wmi = FakeWmi::Create(MemoryClasses());
        wmi->Fail(c.call, c.failure);
        {
            ComWmiProvider provider(wmi->Locators());
            std::string message;
            try {
                Walk w = WalkTo(provider, "Win32_PhysicalMemory", "BankLabel");
                provider.Value(w.item);
            } catch (const WmiCallError& e) {
                message = e.what();
            }
            ASSERT_FALSE(message.empty()) << "no WmiCallError";
            for (const std::string& part : c.inMessage)
                EXPECT_NE(message.find(part), std::string::npos) << message;
            EXPECT_EQ(message.find("\r\n"), std::string::npos) << message;
        }
        EXPECT_EQ(wmi->LiveObjects(), 0);
    }
}

TEST(ComWmiProviderFailures, UnknownMembersAndMissingLocatorsAreErrorsToo) {
    ComApartment apartment;
    auto wmi = FakeWmi::Create(MemoryClasses());
    wmi->Hide("property.Name");
    {
        ComWmiProvider provider(wmi->Locators());
        try {
            WalkTo(provider, "Win32_PhysicalMemory", "BankLabel");
            ADD_FAILURE() << "Name was found";
        } catch (const WmiCallError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("Name"), std::string::npos) << message;
            EXPECT_NE(message.find("GetIDsOfNames"), std::string::npos) << message;
            EXPECT_NE(message.find("0x80020006"), std::string::npos) << message;
        }
        // A call on something that is no automation object.
        EXPECT_THROW(provider.Properties(WmiValue::Text("x")), WmiCallError);
        EXPECT_THROW(provider.Properties(WmiValue::Null()), WmiCallError);
    }
    EXPECT_EQ(wmi->LiveObjects(), 0);

    ComWmiProvider noLocator([] { return ComPtr<IDispatch>(); });
    EXPECT_THROW(noLocator.CreateLocator(), WmiCallError);
}

// The snapshot absorbs every failure: GetCount says -1, or the instances read before an
// enumeration broke off; nothing leaks either way.
TEST(ComWmiProviderFailures, FailedLoadsLeaveNoObjectsBehind) {
    ComApartment apartment;
    struct Case {
        const char* call;
        FakeFailure failure;
        int32_t count;
    };
    const Case cases[] = {
        {"locator.ConnectServer", FakeFailure::Result(E_ACCESSDENIED), -1},
        {"services.Get", FakeFailure::Result(DISP_E_TYPEMISMATCH), -1},  // what Wine 8 answers
        {"propertySet._NewEnum", FakeFailure::Exception(E_NOTIMPL), -1},
        {"property.Value", FakeFailure::Result(E_FAIL, 40), -1},  // in the second instance
        {"instanceEnum.Next", FakeFailure::Result(E_FAIL, 1), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        auto wmi = FakeWmi::Create(MemoryClasses());
        wmi->Fail(c.call, c.failure);
        {
            TWin32_PhysicalMemory modules(true, std::make_shared<ComWmiProvider>(wmi->Locators()));
            EXPECT_EQ(modules.GetCount(), c.count);
        }
        EXPECT_EQ(wmi->LiveObjects(), 0);
    }

    auto wmi = FakeWmi::Create(MemoryClasses());
    {
        RawSnapshot missing("No_Such_Class", std::make_shared<ComWmiProvider>(wmi->Locators()));
        EXPECT_EQ(missing.GetCount(), -1);  // Get fails: WBEM_E_NOT_FOUND
    }
    EXPECT_EQ(wmi->LiveObjects(), 0);
}

}  // namespace
}  // namespace orvalis::test
