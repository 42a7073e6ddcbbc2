// The decimal separator comes from the user's settings: the C library's numeric locale
// natively, the user's regional settings on Windows.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_paths.h"
#include "tests/vocabulary/size_unit_names_guard.h"
#include "vocabulary/decimal_separator.h"
#include "vocabulary/size_format.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <clocale>
#include <cstdlib>
#include <optional>
#endif

namespace orvalis {
namespace {

#ifdef _WIN32

// Sets the user's decimal separator and puts the old one back.
class UserDecimalSeparatorOverride {
  public:
    explicit UserDecimalSeparatorOverride(const char* separator) {
        char old[8] = {};
        if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, old, sizeof old) > 0) saved_ = old;
        applied_ = SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator) != FALSE;
    }
    ~UserDecimalSeparatorOverride() {
        if (applied_ && !saved_.empty())
            SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved_.c_str());
    }
    UserDecimalSeparatorOverride(const UserDecimalSeparatorOverride&) = delete;
    UserDecimalSeparatorOverride& operator=(const UserDecimalSeparatorOverride&) = delete;

    bool applied() const { return applied_; }
    const std::string& saved() const { return saved_; }

  private:
    std::string saved_;
    bool applied_ = false;
};

TEST(UserDecimalSeparatorTest, ComesFromTheUsersRegionalSettings) {
    test::SizeUnitNamesGuard names;
    SetSizeUnitNames(test::kStartedUnitNames);
    std::string before;
    {
        UserDecimalSeparatorOverride comma(",");
        ASSERT_TRUE(comma.applied()) << "SetLocaleInfoA failed: " << GetLastError();
        before = comma.saved();
        EXPECT_EQ(UserDecimalSeparator(), ",");
        EXPECT_EQ(FormatSize(1536), "1,5 KB");
        EXPECT_EQ(FormatSize(8110LL * 1024 * 1024), "7,92 GB");
    }
    // Restored, and read again at the next call.
    EXPECT_EQ(UserDecimalSeparator(), before);
    {
        UserDecimalSeparatorOverride dot(".");
        ASSERT_TRUE(dot.applied());
        EXPECT_EQ(FormatSize(1536), "1.5 KB");
    }
}

#else

// Switches LC_NUMERIC and puts the old locale (and LOCPATH) back.
class NumericLocaleOverride {
  public:
    NumericLocaleOverride() : saved_(std::setlocale(LC_NUMERIC, nullptr)) {
        if (const char* path = std::getenv("LOCPATH")) savedLocPath_ = path;
    }
    ~NumericLocaleOverride() {
        std::setlocale(LC_NUMERIC, saved_.c_str());
        if (savedLocPath_)
            setenv("LOCPATH", savedLocPath_->c_str(), 1);
        else
            unsetenv("LOCPATH");
    }
    NumericLocaleOverride(const NumericLocaleOverride&) = delete;
    NumericLocaleOverride& operator=(const NumericLocaleOverride&) = delete;

    bool Set(const char* name) { return std::setlocale(LC_NUMERIC, name) != nullptr; }

    // An installed locale with a decimal comma, or one compiled from the system's locale
    // sources into a scratch folder.
    bool SetCommaLocale() {
        for (const char* name :
             {"fr_FR.UTF-8", "fr_FR.utf8", "de_DE.UTF-8", "de_DE.utf8", "fr_FR", "de_DE"})
            if (Set(name)) return true;
        const std::string folder = test::ScratchDir("comma-locale");
        const std::string command =
            "localedef -i fr_FR -f UTF-8 '" + folder + "/fr_FR.UTF-8' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) return false;
        setenv("LOCPATH", folder.c_str(), 1);
        return Set("fr_FR.UTF-8");
    }

  private:
    std::string saved_;
    std::optional<std::string> savedLocPath_;
};

TEST(UserDecimalSeparatorTest, ComesFromTheNumericLocale) {
    test::SizeUnitNamesGuard names;
    SetSizeUnitNames(test::kStartedUnitNames);
    NumericLocaleOverride locale;
    ASSERT_TRUE(locale.Set("C"));
    EXPECT_EQ(UserDecimalSeparator(), ".");
    EXPECT_EQ(FormatSize(1536), "1.5 KB");

    if (!locale.SetCommaLocale())
        GTEST_SKIP() << "no locale with a decimal comma is installed, and localedef could not "
                        "build fr_FR.UTF-8";
    EXPECT_EQ(UserDecimalSeparator(), ",");
    EXPECT_EQ(FormatSize(1536), "1,5 KB");
    EXPECT_EQ(FormatSize(8110LL * 1024 * 1024), "7,92 GB");
}

#endif

}  // namespace
}  // namespace orvalis
