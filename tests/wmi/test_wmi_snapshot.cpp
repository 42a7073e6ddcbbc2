// The class snapshot and the two memory records, driven by the scripted fake provider.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/errors.h"
#include "tests/wmi/wmi_test_support.h"
#include "wmi/memory_wmi_provider.h"
#include "wmi/uWin32_PhysicalMemory.h"
#include "wmi/uWin32_PhysicalMemoryArray.h"
#include "wmi/wmi_converters.h"

namespace orvalis {
namespace {

using test::ExpectedArrayFields;
using test::ExpectedModuleFields;
using test::FieldsOf;
using test::ProviderWith;

const char* kModules = "Win32_PhysicalMemory";
const char* kArrays = "Win32_PhysicalMemoryArray";

std::shared_ptr<MemoryWmiProvider> TwoModules() {
    return ProviderWith(kModules, {test::ModuleInstance(0), test::ModuleInstance(1)});
}

// "Op(arg,arg)" for each recorded call.
std::vector<std::string> CallTexts(const MemoryWmiProvider& provider) {
    std::vector<std::string> out;
    for (const WmiCall& call : provider.Calls()) {
        std::string text = std::string(WmiOperationName(call.op)) + "(";
        for (std::size_t i = 0; i < call.args.size(); ++i) text += (i ? "," : "") + call.args[i];
        out.push_back(text + ")");
    }
    return out;
}

TEST(WmiSnapshot, NotLoadingContactsNothing) {
    auto provider = TwoModules();
    TWin32_PhysicalMemory modules(false, provider);
    EXPECT_EQ(modules.GetCount(), -1);
    EXPECT_FALSE(modules.IsLoaded());
    EXPECT_TRUE(provider->Calls().empty());
    modules.SetCollectionIndex(0);
    EXPECT_EQ(modules.GetCurrentIndex(), -1);
    EXPECT_EQ(FieldsOf(modules), test::ZeroModuleFields());
}

TEST(WmiSnapshot, LoadMakesTheCallsInOrderWithTheirArguments) {
    auto provider = ProviderWith(
        kModules, {{{"BankLabel", WmiValue::Text("B0")}, {"Speed", WmiValue::Int32(1600)}}});
    TWin32_PhysicalMemory modules(true, provider);
    ASSERT_EQ(modules.GetCount(), 1);
    const std::vector<std::string> expected = {
        "CreateLocator()",
        "ConnectServer(locator,localhost,root\\CIMV2,,)",
        "ExecQuery(services,SELECT * FROM Win32_PhysicalMemory,WQL,48)",
        "ObjectSetEnum(objectset)",
        "Get(services,Win32_PhysicalMemory,0,Null)",
        "Next(enum:instances)",
        "Properties(instance)",
        "PropertySetEnum(properties)",
        "Next(enum:properties)",
        "Name(property:BankLabel)",
        "Next(enum:properties)",
        "Name(property:Speed)",
        "Next(enum:properties)",
        "Item(properties,BankLabel)",
        "Value(property:BankLabel)",
        "Item(properties,Speed)",
        "Value(property:Speed)",
        "Next(enum:instances)",
    };
    EXPECT_EQ(CallTexts(*provider), expected);
    EXPECT_EQ(modules.GetConnection().Server, "localhost");
    EXPECT_TRUE(modules.GetConnection().Connected);
    EXPECT_EQ(modules.BankLabel, "B0");
    EXPECT_EQ(modules.Speed, 1600u);
}

TEST(WmiSnapshot, TwoModulesAndTheCurrentIndex) {
    TWin32_PhysicalMemory modules(true, TwoModules());
    ASSERT_EQ(modules.GetCount(), 2);
    EXPECT_EQ(modules.GetCurrentIndex(), 0);
    EXPECT_EQ(FieldsOf(modules), ExpectedModuleFields(0));

    modules.SetCollectionIndex(1);
    EXPECT_EQ(modules.GetCurrentIndex(), 1);
    EXPECT_EQ(FieldsOf(modules), ExpectedModuleFields(1));

    // Out of range and the current index read nothing: a field changed by hand stays.
    modules.BankLabel = "by hand";
    for (int index : {2, -1, 1}) {
        modules.SetCollectionIndex(index);
        EXPECT_EQ(modules.GetCurrentIndex(), 1) << index;
        EXPECT_EQ(modules.BankLabel, "by hand") << index;
    }
    modules.SetCollectionIndex(0);
    EXPECT_EQ(FieldsOf(modules), ExpectedModuleFields(0));
}

TEST(WmiSnapshot, TwoArraysAndTheCurrentIndex) {
    TWin32_PhysicalMemoryArray arrays(
        true, ProviderWith(kArrays, {test::ArrayInstance(0), test::ArrayInstance(1)}));
    ASSERT_EQ(arrays.GetCount(), 2);
    EXPECT_EQ(FieldsOf(arrays), ExpectedArrayFields(0));
    arrays.SetCollectionIndex(1);
    EXPECT_EQ(FieldsOf(arrays), ExpectedArrayFields(1));
    arrays.Caption = "by hand";
    arrays.SetCollectionIndex(1);
    EXPECT_EQ(arrays.Caption, "by hand");
}

TEST(WmiSnapshot, RecordsHoldTheirClassAndNamespace) {
    TWin32_PhysicalMemory modules(false);
    TWin32_PhysicalMemoryArray arrays(false);
    EXPECT_EQ(modules.GetWmiClassName(), "Win32_PhysicalMemory");
    EXPECT_EQ(arrays.GetWmiClassName(), "Win32_PhysicalMemoryArray");
    EXPECT_EQ(modules.GetConnection().NameSpace, "root\\CIMV2");
    EXPECT_EQ(arrays.GetConnection().NameSpace, "root\\CIMV2");
}

TEST(WmiSnapshot, AClassWithNoInstance) {
    TWin32_PhysicalMemoryArray arrays(true, ProviderWith(kArrays, {}));
    EXPECT_TRUE(arrays.IsLoaded());
    EXPECT_EQ(arrays.GetCount(), 0);
    EXPECT_EQ(arrays.GetCurrentIndex(), -1);
    EXPECT_TRUE(arrays.GetPropertyNames().empty());
    EXPECT_EQ(FieldsOf(arrays), test::ZeroArrayFields());
}

TEST(WmiSnapshot, AClassThatDoesNotExist) {
    auto provider = ProviderWith(kModules, {test::ModuleInstance(0)});
    TWin32_PhysicalMemoryArray arrays(true, provider);
    EXPECT_FALSE(arrays.IsLoaded());
    EXPECT_EQ(arrays.GetCount(), -1);
    EXPECT_EQ(provider->CallsOf(WmiOperation::Get).size(), 1u);
}

TEST(WmiSnapshot, NoLiveWmiOffWindowsFailsQuietly) {
#ifdef _WIN32
    GTEST_SKIP() << "live WMI exists here";
#else
    TWin32_PhysicalMemory modules(true);
    EXPECT_EQ(modules.GetCount(), -1);
    EXPECT_FALSE(modules.GetConnection().Connected);
#endif
}

struct InjectedFault {
    WmiOperation op;
    int nth;
    int count;   // GetCount() afterwards
    int stored;  // stored instances afterwards, failed or not
    bool connected;
};

TEST(WmiSnapshot, AFailureAtAnyOperationIsAbsorbed) {
    const InjectedFault cases[] = {
        {WmiOperation::CreateLocator, 1, -1, 0, false},
        {WmiOperation::ConnectServer, 1, -1, 0, false},
        {WmiOperation::ExecQuery, 1, -1, 0, true},
        {WmiOperation::ObjectSetEnum, 1, -1, 0, true},
        {WmiOperation::Get, 1, -1, 0, true},
        {WmiOperation::Next, 1, 0, 0, true},  // a failing Next only ends the enumeration
        {WmiOperation::Properties, 1, -1, 0, true},
        {WmiOperation::PropertySetEnum, 1, -1, 0, true},
        {WmiOperation::Name, 1, -1, 0, true},
        {WmiOperation::Item, 1, -1, 1, true},
        {WmiOperation::Value, 1, -1, 1, true},
        // On the second instance: the first one stays stored, the count says -1.
        {WmiOperation::Properties, 2, -1, 1, true},
        {WmiOperation::Item, 31, -1, 2, true},
        {WmiOperation::Value, 31, -1, 2, true},
    };
    for (const InjectedFault& c : cases) {
        SCOPED_TRACE(std::string(WmiOperationName(c.op)) + " #" + std::to_string(c.nth));
        auto provider = TwoModules();
        provider->FailAt(c.op, c.nth);
        std::unique_ptr<TWin32_PhysicalMemory> modules;
        ASSERT_NO_THROW(modules = std::make_unique<TWin32_PhysicalMemory>(true, provider));
        EXPECT_EQ(modules->GetCount(), c.count);
        EXPECT_EQ(modules->IsLoaded(), c.count >= 0);
        EXPECT_EQ(modules->StoredInstanceCount(), c.stored);
        EXPECT_EQ(modules->GetConnection().Connected, c.connected);
    }
}

TEST(WmiSnapshot, AFailedLoadKeepsItsInstancesReadable) {
    auto provider = TwoModules();
    provider->FailAt(WmiOperation::Item, 31);  // first Item of the second instance
    TWin32_PhysicalMemory modules(true, provider);
    ASSERT_EQ(modules.GetCount(), -1);
    ASSERT_EQ(modules.StoredInstanceCount(), 2);
    // The bound is the stored instances, loaded or not.
    modules.SetCollectionIndex(0);
    EXPECT_EQ(modules.GetCurrentIndex(), 0);
    EXPECT_EQ(FieldsOf(modules), ExpectedModuleFields(0));
}

TEST(WmiSnapshot, AnEnumerationThatEndsEarlyKeepsWhatItRead) {
    auto provider = TwoModules();
    provider->EndInstancesAfter(1);
    TWin32_PhysicalMemory modules(true, provider);
    EXPECT_EQ(modules.GetCount(), 1);
    EXPECT_EQ(FieldsOf(modules), ExpectedModuleFields(0));
}

TEST(WmiSnapshot, PropertyNamesComeFromTheFirstInstance) {
    auto provider = ProviderWith(
        kModules, {{{"BankLabel", WmiValue::Text("B0")}},
                   {{"BankLabel", WmiValue::Text("B1")}, {"Speed", WmiValue::Int32(800)}}});
    TWin32_PhysicalMemory modules(true, provider);
    ASSERT_EQ(modules.GetCount(), 2);
    EXPECT_EQ(modules.GetPropertyNames(), std::vector<std::string>{"BankLabel"});
    EXPECT_EQ(provider->CallsOf(WmiOperation::PropertySetEnum).size(), 1u);
    modules.SetCollectionIndex(1);
    EXPECT_EQ(modules.BankLabel, "B1");
    EXPECT_EQ(modules.Speed, 1u);  // not among the names: reads as the integer 1
}

TEST(WmiSnapshot, APropertyTheClassLacksReadsAsTheInteger1) {
    TWin32_PhysicalMemory modules(true,
                                  ProviderWith(kModules, {{{"bankLABEL", WmiValue::Text("B0")}}}));
    ASSERT_EQ(modules.GetCount(), 1);
    EXPECT_EQ(modules.BankLabel, "B0");  // names match ignoring case
    EXPECT_EQ(modules.GetValue("NoSuchProperty"), WmiValue::Int32(1));
    EXPECT_EQ(modules.GetValueAt("NoSuchProperty", 99), WmiValue::Int32(1));
    EXPECT_EQ(modules.Caption, "1");
    EXPECT_EQ(modules.Capacity, 1);
    EXPECT_EQ(modules.MemoryType, 1);
    EXPECT_EQ(modules.Speed, 1u);
    EXPECT_TRUE(modules.HotSwappable);
    EXPECT_EQ(modules.InstallDate, 0.0);
}

TEST(WmiSnapshot, AnInstanceIndexOutsideTheListRaises) {
    TWin32_PhysicalMemory modules(true, TwoModules());
    EXPECT_EQ(modules.GetValueAt("BankLabel", 1), WmiValue::Text("BankLabel 1"));
    EXPECT_THROW(modules.GetValueAt("BankLabel", 2), EListError);
    EXPECT_THROW(modules.GetValueAt("BankLabel", -1), EListError);
    // The base class's load stores instances and names but never makes one current.
    TWmiClass failed(true, "root\\CIMV2", kModules, TwoModules());
    ASSERT_EQ(failed.GetCurrentIndex(), -1);
    EXPECT_THROW(failed.GetValue("BankLabel"), EListError);
}

TEST(WmiSnapshot, FindIndexComparesKindAndValue) {
    TWin32_PhysicalMemory modules(true, TwoModules());
    EXPECT_EQ(modules.FindIndex("DeviceLocator", WmiValue::Text("DeviceLocator 1")), 1);
    EXPECT_EQ(modules.FindIndex("devicelocator", WmiValue::Text("DeviceLocator 0")), 0);
    EXPECT_EQ(modules.FindIndex("DeviceLocator", WmiValue::Text("DIMM 9")), -1);
    EXPECT_EQ(modules.FindIndex("Capacity", WmiValue::Int64(8589934592LL)), -1);  // it is text
    EXPECT_EQ(TWin32_PhysicalMemory(false, TwoModules()).FindIndex("Tag", WmiValue::Int32(1)), -1);
}

WmiInstanceData WithInstallDate(WmiInstanceData data, const char* date) {
    for (auto& [name, value] : data)
        if (name == "InstallDate") value = WmiValue::Text(date);
    return data;
}

TEST(WmiSnapshot, ABadDateOnInstance0FailsTheLoad) {
    TWin32_PhysicalMemory modules(
        true, ProviderWith(kModules,
                           {WithInstallDate(test::ModuleInstance(0), "**************.******+***"),
                            test::ModuleInstance(1)}));
    EXPECT_EQ(modules.GetCount(), -1);
    EXPECT_EQ(modules.StoredInstanceCount(), 2);
}

// After a bad date on instance 1: fields up to `firstOld` hold instance 1, the rest instance 0.
template <class Record>
void ExpectStoppedAtInstallDate(const Record& record, const std::vector<std::string>& fields0,
                                const std::vector<std::string>& fields1, std::size_t firstOld) {
    const std::vector<std::string> now = FieldsOf(record);
    ASSERT_EQ(now.size(), fields0.size());
    for (std::size_t i = 0; i < now.size(); ++i)
        EXPECT_EQ(now[i], i < firstOld ? fields1[i] : fields0[i]) << "field " << i + 1;
}

TEST(WmiSnapshot, ABadDateOnALaterInstanceReachesTheCaller) {
    const char* bad = "2023**15123045.000000+000";
    TWin32_PhysicalMemory modules(
        true, ProviderWith(kModules, {test::ModuleInstance(0),
                                      WithInstallDate(test::ModuleInstance(1), bad)}));
    ASSERT_EQ(modules.GetCount(), 2);
    EXPECT_THROW(modules.SetCollectionIndex(1), EConvertError);
    EXPECT_EQ(modules.GetCurrentIndex(), 1);
    ExpectStoppedAtInstallDate(modules, ExpectedModuleFields(0), ExpectedModuleFields(1), 9);
    EXPECT_NO_THROW(modules.SetCollectionIndex(1));  // already current: reads nothing
    ExpectStoppedAtInstallDate(modules, ExpectedModuleFields(0), ExpectedModuleFields(1), 9);

    TWin32_PhysicalMemoryArray arrays(
        true, ProviderWith(kArrays,
                           {test::ArrayInstance(0), WithInstallDate(test::ArrayInstance(1), bad)}));
    ASSERT_EQ(arrays.GetCount(), 2);
    EXPECT_THROW(arrays.SetCollectionIndex(1), EConvertError);
    ExpectStoppedAtInstallDate(arrays, ExpectedArrayFields(0), ExpectedArrayFields(1), 6);
}

TEST(WmiSnapshot, MoreThan256PropertiesAreAllKept) {
    WmiInstanceData data;
    for (int i = 0; i < 300; ++i)
        data.emplace_back("P" + std::to_string(i), WmiValue::Int32(i * 7));
    data.emplace_back("BankLabel", WmiValue::Text("last"));
    TWin32_PhysicalMemory modules(true, ProviderWith(kModules, {data, data}));
    ASSERT_EQ(modules.GetCount(), 2);
    EXPECT_EQ(modules.GetPropertyNames().size(), 301u);
    EXPECT_EQ(modules.BankLabel, "last");
    EXPECT_EQ(modules.GetValueAt("P299", 1), WmiValue::Int32(299 * 7));
    EXPECT_EQ(modules.GetValue("P256"), WmiValue::Int32(256 * 7));
}

TEST(WmiSnapshot, TheBaseClassHasNoTypedFields) {
    TWmiClass base(false, "root\\CIMV2", kModules, TwoModules());
    try {
        base.SetCollectionIndex(0);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "You must override this method SetCollectionIndex");
    }
    // Its load stops at instance 0, which it cannot copy anywhere.
    EXPECT_EQ(TWmiClass(true, "root\\CIMV2", kModules, TwoModules()).GetCount(), -1);
    EXPECT_EQ(TWmiClass(true, "root\\CIMV2", kArrays, ProviderWith(kArrays, {})).GetCount(), 0);
}

TEST(WmiSnapshot, TwoSnapshotsMakeTwoConnections) {
    auto provider = ProviderWith(kModules, {test::ModuleInstance(0)});
    provider->AddClass(kArrays, {test::ArrayInstance(0)});
    TWin32_PhysicalMemory modules(true, provider);
    TWin32_PhysicalMemoryArray arrays(true, provider);
    EXPECT_EQ(modules.GetCount(), 1);
    EXPECT_EQ(arrays.GetCount(), 1);
    EXPECT_EQ(provider->CallsOf(WmiOperation::ConnectServer).size(), 2u);
}

}  // namespace
}  // namespace orvalis
