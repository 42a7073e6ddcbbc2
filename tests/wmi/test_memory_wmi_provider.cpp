// The in-memory provider on its own: the script (failures, early end) and the checks a real
// WMI service makes on its arguments, which the fault-injection tests of others rely on.
#include <gtest/gtest.h>

#include "wmi/memory_wmi_provider.h"

namespace orvalis {
namespace {

struct Session {
    MemoryWmiProvider provider;
    WmiValue services;

    Session() {
        provider.AddClass("Win32_Thing",
                          {{{"A", WmiValue::Int32(1)}}, {{"A", WmiValue::Int32(2)}}});
        services =
            provider.ConnectServer(provider.CreateLocator(), "localhost", "ROOT\\cimv2", "", "");
    }
    WmiValue Instances(const std::string& className) {
        return provider.ObjectSetEnum(
            provider.ExecQuery(services, "SELECT * FROM " + className, "WQL", 48));
    }
    int Count(const WmiValue& enumerator) {
        int n = 0;
        WmiValue element;
        while (provider.Next(enumerator, element)) ++n;
        return n;
    }
};

TEST(MemoryWmiProvider, ServesClassesLikeTheWmiService) {
    Session s;
    EXPECT_EQ(s.Count(s.Instances("win32_THING")), 2);
    // An unknown class: the query succeeds and is empty, Get fails.
    EXPECT_EQ(s.Count(s.Instances("Win32_Nothing")), 0);
    EXPECT_THROW(s.provider.Get(s.services, "Win32_Nothing", 0, WmiValue::Null()), WmiCallError);
    EXPECT_NO_THROW(s.provider.Get(s.services, "WIN32_thing", 0, WmiValue::Null()));

    WmiValue instance;
    ASSERT_TRUE(s.provider.Next(s.Instances("Win32_Thing"), instance));
    const WmiValue properties = s.provider.Properties(instance);
    EXPECT_EQ(s.provider.Value(s.provider.Item(properties, "a")), WmiValue::Int32(1));
    EXPECT_THROW(s.provider.Item(properties, "B"), WmiCallError);
}

TEST(MemoryWmiProvider, RefusesWhatTheServiceWouldRefuse) {
    Session s;
    MemoryWmiProvider& p = s.provider;
    EXPECT_THROW(p.ConnectServer(p.CreateLocator(), "localhost", "root\\other", "", ""),
                 WmiCallError);
    EXPECT_THROW(p.ConnectServer(s.services, "localhost", "root\\CIMV2", "", ""), WmiCallError);
    EXPECT_THROW(p.ExecQuery(s.services, "SELECT Name FROM Win32_Thing", "WQL", 48), WmiCallError);
    EXPECT_THROW(p.ExecQuery(s.services, "SELECT * FROM Win32_Thing", "SQL", 48), WmiCallError);
    EXPECT_THROW(p.Properties(s.services), WmiCallError);
    EXPECT_THROW(p.Value(WmiValue::Null()), WmiCallError);
    WmiValue element;
    EXPECT_FALSE(p.Next(WmiValue::Int32(3), element));  // Next never raises
}

TEST(MemoryWmiProvider, FollowsItsScript) {
    Session s;
    MemoryWmiProvider& p = s.provider;
    p.FailAt(WmiOperation::ExecQuery, 2);
    EXPECT_NO_THROW(s.Instances("Win32_Thing"));
    EXPECT_THROW(s.Instances("Win32_Thing"), WmiCallError);
    EXPECT_NO_THROW(s.Instances("Win32_Thing"));

    p.FailAt(WmiOperation::CreateLocator, 0);  // every call from now on
    EXPECT_THROW(p.CreateLocator(), WmiCallError);
    EXPECT_THROW(p.CreateLocator(), WmiCallError);

    p.FailAt(WmiOperation::Next);  // the next Next answers false
    EXPECT_EQ(s.Count(s.Instances("Win32_Thing")), 0);
    EXPECT_EQ(s.Count(s.Instances("Win32_Thing")), 2);

    p.EndInstancesAfter(1);
    EXPECT_EQ(s.Count(s.Instances("Win32_Thing")), 1);

    p.ResetScript();
    EXPECT_TRUE(p.Calls().empty());
    EXPECT_NO_THROW(p.CreateLocator());
    EXPECT_EQ(s.Count(s.Instances("Win32_Thing")), 2);
    ASSERT_EQ(p.CallsOf(WmiOperation::ExecQuery).size(), 1u);
    EXPECT_EQ(p.CallsOf(WmiOperation::ExecQuery)[0].args,
              (std::vector<std::string>{"services", "SELECT * FROM Win32_Thing", "WQL", "48"}));
}

}  // namespace
}  // namespace orvalis
