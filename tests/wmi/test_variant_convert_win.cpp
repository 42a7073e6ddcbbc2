// VARIANT <-> WmiValue conversion and the COM owner types.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "tests/wmi/fake_automation_win.h"
#include "wmi/com_apartment_win.h"
#include "wmi/com_object_win.h"
#include "wmi/variant_convert_win.h"
#include "wmi/wmi_provider.h"

namespace orvalis::test {
namespace {

UniqueVariant Make(const std::function<void(VARIANT*)>& fill) {
    UniqueVariant v;
    fill(v.Receive());
    return v;
}

UniqueVariant Bstr(const std::wstring& text) {
    return Make([&](VARIANT* v) {
        V_VT(v) = VT_BSTR;
        V_BSTR(v) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    });
}

struct FromVariantCase {
    const char* name;
    std::function<UniqueVariant()> make;
    WmiValue expected;
};

TEST(VariantToWmiValue, MapsEveryScalarKind) {
    LONG byRefTarget = 77;
    UniqueBstr byRefText = UniqueBstr::FromWide(L"ref");
    BSTR byRefTextSlot = byRefText.Get();
    const FromVariantCase cases[] = {
        {"empty", [] { return UniqueVariant(); }, WmiValue()},
        {"null", [] { return Make([](VARIANT* v) { V_VT(v) = VT_NULL; }); }, WmiValue::Null()},
        {"I1",
         [] {
             return Make([](VARIANT* v) {
                 V_VT(v) = VT_I1;
                 V_I1(v) = -5;
             });
         },
         WmiValue::Int32(-5)},
        {"I2",
         [] {
             return Make([](VARIANT* v) {
                 V_VT(v) = VT_I2;
                 V_I2(v) = -300;
             });
         },
         WmiValue::Int32(-300)},
        {"I4",
         [] {
             return Make([](VARIANT* v) {
                 V_VT(v) = VT_I4;
                 V_I4(v) = -70000;
             });
         },
         WmiValue::Int32(-70000)},
        {"UI1",
         [] {
             return Make([](VARIANT* v) {
                 V_VT(v) = VT_UI1;
                 V_UI1(v) = 200;
             });
         },
         WmiValue::Int32(200)},
        {"UI2",
         [] {
             return Make([](VARIANT* v) {
                 V_VT(v) = VT_UI2;
                 V_UI2(v) = 65535;
             });
         },
         WmiValue::Int32(65535)},
        {"UI4 small",
         [] {
             return Make([](VARIANT* v) {
                 V_VT(v) = VT_UI4;
                 V_UI4(v) = 0x7FFFFFFF;
             });
         },
         WmiValue::Int32(0x7FFFFFFF)},
        {"UI4 above INT32_MAX",
         [] {
             return Make([](VARIANT* v) {
                 V_VT(v) = VT_UI4;
                 V_UI4(v) = 0xFFFFFFFF;
             });
         },
         WmiValue::Int64(4294967295LL)},
        {"I8",
         [] {
             return Make([](VARIANT* v) {
                 V_VT(v) = VT_I8;
                 V_I8(v) = -(1LL << 40);
             });
         },
         WmiValue::Int64(-(1LL << 40))},
        {"UI8 in range",
         [] {
             return Make([](VARIANT* v) {
                 V_VT(v) = VT_UI8;
                 V_UI8(v) = 1ULL << 62;
             });
         },
         WmiValue::Int64(1LL << 62)},
        {"UI8 above INT64_MAX",
         [] {
             return Make([](VARIANT* v) {
                 V_VT(v) = VT_UI8;
                 V_UI8(v) = ~0ULL;
             });
         },
         WmiValue::Text("18446744073709551615")},
        {"R4",
         [] {
             return Make([](VARIANT* v) {
                 V_VT(v) = VT_R4;
                 V_R4(v) = 1.5f;
             });
         },
         WmiValue::Double(1.5)},
        {"R8",
         [] {
             return Make([](VARIANT* v) {
                 V_VT(v) = VT_R8;
                 V_R8(v) = -2.25;
             });
         },
         WmiValue::Double(-2.25)},
        {"DATE",
         [] {
             return Make([](VARIANT* v) {
                 V_VT(v) = VT_DATE;
                 V_DATE(v) = 45031.5;
             });
         },
         WmiValue::Double(45031.5)},
        {"CY",
         [] {
             return Make([](VARIANT* v) {
                 V_VT(v) = VT_CY;
                 V_CY(v).int64 = 12500;
             });
         },
         WmiValue::Double(1.25)},
        {"BOOL true",
         [] {
             return Make([](VARIANT* v) {
                 V_VT(v) = VT_BOOL;
                 V_BOOL(v) = VARIANT_TRUE;
             });
         },
         WmiValue::Boolean(true)},
        {"BOOL false",
         [] {
             return Make([](VARIANT* v) {
                 V_VT(v) = VT_BOOL;
                 V_BOOL(v) = VARIANT_FALSE;
             });
         },
         WmiValue::Boolean(false)},
        {"BSTR", [] { return Bstr(L"BANK 0"); }, WmiValue::Text("BANK 0")},
        {"BSTR with a null inside", [] { return Bstr(std::wstring(L"a\0b", 3)); },
         WmiValue::Text(std::string("a\0b", 3))},
        {"null BSTR",
         [] {
             return Make([](VARIANT* v) {
                 V_VT(v) = VT_BSTR;
                 V_BSTR(v) = nullptr;
             });
         },
         WmiValue::Text("")},
        {"null DISPATCH",
         [] {
             return Make([](VARIANT* v) {
                 V_VT(v) = VT_DISPATCH;
                 V_DISPATCH(v) = nullptr;
             });
         },
         WmiValue::Null()},
        {"BYREF I4",
         [&] {
             return Make([&](VARIANT* v) {
                 V_VT(v) = VT_BYREF | VT_I4;
                 V_I4REF(v) = &byRefTarget;
             });
         },
         WmiValue::Int32(77)},
        {"BYREF BSTR",
         [&] {
             return Make([&](VARIANT* v) {
                 V_VT(v) = VT_BYREF | VT_BSTR;
                 V_BSTRREF(v) = &byRefTextSlot;
             });
         },
         WmiValue::Text("ref")},
    };
    for (const FromVariantCase& c : cases) {
        SCOPED_TRACE(c.name);
        UniqueVariant v = c.make();
        EXPECT_EQ(VariantToWmiValue(v.Get()), c.expected);
    }
}

TEST(VariantToWmiValue, TextGoesThroughTheAnsiCodePage) {
    if (GetACP() != 1252) GTEST_SKIP() << "needs code page 1252, this system has " << GetACP();
    UniqueVariant v = Bstr(L"caf\u00e9 \u20ac");
    EXPECT_EQ(VariantToWmiValue(v.Get()), WmiValue::Text("caf\xE9 \x80"));

    UniqueVariant back = WmiValueToVariant(WmiValue::Text("caf\xE9 \x80"));
    ASSERT_EQ(back.Type(), VT_BSTR);
    EXPECT_EQ(std::wstring(V_BSTR(&back.Get()), SysStringLen(V_BSTR(&back.Get()))),
              L"caf\u00e9 \u20ac");
}

TEST(VariantToWmiValue, RefusesKindsWithoutAValueKind) {
    UniqueVariant error = Make([](VARIANT* v) {
        V_VT(v) = VT_ERROR;
        V_ERROR(v) = DISP_E_PARAMNOTFOUND;
    });
    try {
        VariantToWmiValue(error.Get());
        FAIL() << "VT_ERROR was accepted";
    } catch (const WmiCallError& e) {
        EXPECT_NE(std::string(e.what()).find("VARIANT type 10"), std::string::npos) << e.what();
    }
}

TEST(VariantToWmiValue, ArraysAreKeptWholeAsObjects) {
    UniqueVariant array = Make([](VARIANT* v) {
        SAFEARRAY* items = SafeArrayCreateVector(VT_I4, 0, 3);
        for (LONG i = 0; i < 3; ++i) {
            LONG value = 10 * (i + 1);
            SafeArrayPutElement(items, &i, &value);
        }
        V_VT(v) = VT_ARRAY | VT_I4;
        V_ARRAY(v) = items;
    });
    const WmiValue value = VariantToWmiValue(array.Get());
    ASSERT_EQ(value.Kind(), WmiKind::Object);
    array.Clear();  // the value holds its own copy

    UniqueVariant back = WmiValueToVariant(value);
    ASSERT_EQ(back.Type(), VT_ARRAY | VT_I4);
    LONG last = 2, element = 0;
    ASSERT_EQ(SafeArrayGetElement(V_ARRAY(&back.Get()), &last, &element), S_OK);
    EXPECT_EQ(element, 30);
}

TEST(WmiValueToVariant, GivesTheArgumentKinds) {
    struct Case {
        WmiValue value;
        VARTYPE type;
        std::function<bool(const VARIANT&)> holds;
    };
    const Case cases[] = {
        {WmiValue(), VT_EMPTY, [](const VARIANT&) { return true; }},
        {WmiValue::Null(), VT_NULL, [](const VARIANT&) { return true; }},
        {WmiValue::Int32(48), VT_I4, [](const VARIANT& v) { return V_I4(&v) == 48; }},
        {WmiValue::Int64(1LL << 40), VT_I8,
         [](const VARIANT& v) { return V_I8(&v) == (1LL << 40); }},
        {WmiValue::Double(0.5), VT_R8, [](const VARIANT& v) { return V_R8(&v) == 0.5; }},
        {WmiValue::Boolean(true), VT_BOOL,
         [](const VARIANT& v) { return V_BOOL(&v) == VARIANT_TRUE; }},
        {WmiValue::Boolean(false), VT_BOOL,
         [](const VARIANT& v) { return V_BOOL(&v) == VARIANT_FALSE; }},
        {WmiValue::Text("WQL"), VT_BSTR,
         [](const VARIANT& v) { return std::wstring(V_BSTR(&v)) == L"WQL"; }},
        {WmiValue::Text(""), VT_BSTR,
         [](const VARIANT& v) { return V_BSTR(&v) && SysStringLen(V_BSTR(&v)) == 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(WmiKindName(c.value.Kind()));
        UniqueVariant v = WmiValueToVariant(c.value);
        ASSERT_EQ(v.Type(), c.type);
        EXPECT_TRUE(c.holds(v.Get()));
    }
}

TEST(WmiValueToVariant, RefusesObjectsOfOtherProviders) {
    struct Foreign : WmiObject {};
    EXPECT_THROW(WmiValueToVariant(WmiValue::Object(std::make_shared<Foreign>())), WmiCallError);
}

// A stored object reference keeps its automation object alive until it is cleared.
TEST(VariantToWmiValue, ObjectReferenceKeepsTheObjectAliveUntilCleared) {
    auto wmi = FakeWmi::Create({});
    {
        ComPtr<IDispatch> object = wmi->NewPlainObject();
        IDispatch* raw = object.Get();
        UniqueVariant v = Make([&](VARIANT* out) {
            V_VT(out) = VT_DISPATCH;
            V_DISPATCH(out) = object.Detach();
        });
        WmiValue value = VariantToWmiValue(v.Get());
        ASSERT_EQ(value.Kind(), WmiKind::Object);
        EXPECT_EQ(RefCount(raw), 2u);
        v.Clear();
        EXPECT_EQ(RefCount(raw), 1u);

        WmiValue copy = value;  // copies share the one reference
        EXPECT_EQ(RefCount(raw), 1u);

        // As an argument it is the same object, with one more reference.
        UniqueVariant argument = WmiValueToVariant(copy);
        ASSERT_EQ(argument.Type(), VT_DISPATCH);
        EXPECT_EQ(V_DISPATCH(&argument.Get()), raw);
        EXPECT_EQ(RefCount(raw), 2u);
        argument.Clear();

        value.Clear();
        EXPECT_EQ(wmi->LiveObjects(), 1);
        copy.Clear();
        EXPECT_EQ(wmi->LiveObjects(), 0);
    }
    EXPECT_EQ(wmi->LiveObjects(), 0);
}

TEST(ComOwners, MovingKeepsExactlyOneReference) {
    auto wmi = FakeWmi::Create({});
    ComPtr<IDispatch> first = wmi->NewPlainObject();
    IDispatch* raw = first.Get();
    ComPtr<IDispatch> second = std::move(first);
    EXPECT_FALSE(first);
    EXPECT_EQ(RefCount(raw), 1u);
    ComPtr<IDispatch> shared = ComPtr<IDispatch>::Share(raw);
    EXPECT_EQ(RefCount(raw), 2u);
    shared = std::move(second);  // releases the shared reference, takes the moved one
    EXPECT_EQ(RefCount(raw), 1u);
    shared.Reset();
    EXPECT_EQ(wmi->LiveObjects(), 0);

    UniqueBstr text = UniqueBstr::FromWide(L"abc");
    UniqueBstr moved = std::move(text);
    EXPECT_EQ(text.Get(), nullptr);
    EXPECT_EQ(moved.ToWide(), L"abc");
}

// Runs body on a thread of its own, so that its COM state starts clean.
void OnNewThread(const std::function<void()>& body) {
    std::thread(body).join();
}

TEST(ComApartment, BalancesOnlyASuccessfulInitialisation) {
    OnNewThread([] {
        {
            ComApartment apartment;
            EXPECT_TRUE(apartment.Initialized());
            ComApartment nested;  // S_FALSE also counts and is balanced
            EXPECT_TRUE(nested.Initialized());
        }
        // Fully uninitialised again: a new initialisation is a first one.
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
        CoUninitialize();
    });
    OnNewThread([] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        {
            ComApartment apartment;  // RPC_E_CHANGED_MODE: must not uninitialise
            EXPECT_FALSE(apartment.Initialized());
        }
        // Still initialised by our own call: another one answers S_FALSE.
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
        CoUninitialize();
        CoUninitialize();
    });
}

}  // namespace
}  // namespace orvalis::test
