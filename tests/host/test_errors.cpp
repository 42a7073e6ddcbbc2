// The texts of the operating-system and registry errors, in the program's 8-bit text.
#include <gtest/gtest.h>

#include "host/errors.h"

#ifdef _WIN32
#include <windows.h>

#include "host/os_error_win.h"
#endif

namespace orvalis {
namespace {

// "è", "à", "é" as the program's text gives them: cp1252 under Windows, UTF-8 natively.
#ifdef _WIN32
const std::string kE_grave = "\xE8", kA_grave = "\xE0", kE_acute = "\xE9";
#else
const std::string kE_grave = "\xC3\xA8", kA_grave = "\xC3\xA0", kE_acute = "\xC3\xA9";
#endif

TEST(OSErrorTest, MessageCarriesCodeAndSystemText) {
    const EOSError error(5, "Access denied");
    EXPECT_EQ(error.Code(), 5u);
    EXPECT_EQ(std::string(error.what()),
              "Erreur syst" + kE_grave + "me.  Code : 5.\r\nAccess denied");
    // Codes are printed as the signed number the run-time library shows.
    EXPECT_EQ(std::string(EOSError(0x80070005u, "x").what()),
              "Erreur syst" + kE_grave + "me.  Code : -2147024891.\r\nx");
}

TEST(OSErrorTest, CodeZeroHasItsOwnMessage) {
    EXPECT_EQ(std::string(EOSError(0, "ignored").what()),
              "Un appel " + kA_grave + " une fonction du syst" + kE_grave + "me d'exploitation a " +
                  kE_acute + "chou" + kE_acute);
}

TEST(RegistryErrorTest, NamesTheValue) {
    // The value name is program text already and passes unchanged.
    EXPECT_EQ(std::string(ERegistryError("Orvalis\xE9").what()),
              "Echec " + kA_grave + " la d" + kE_acute + "finition des donn" + kE_acute +
                  "es pour 'Orvalis\xE9'");
    const ERegistryError error("x");
    const Exception& base = error;  // caught with the others
    EXPECT_NE(std::string(base.what()).find("'x'"), std::string::npos);
}

#ifdef _WIN32
TEST(OSErrorTest, RaiseLastOSErrorTakesTheLastErrorAndTheSystemText) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    try {
        RaiseLastOSError();
        FAIL() << "no error raised";
    } catch (const EOSError& error) {
        EXPECT_EQ(error.Code(), static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
        const std::string text = SystemErrorText(ERROR_FILE_NOT_FOUND);
        ASSERT_FALSE(text.empty());
        EXPECT_NE(text.back(), '\n');
        EXPECT_NE(text.back(), '.');
        EXPECT_EQ(std::string(error.what()),
                  "Erreur syst" + kE_grave + "me.  Code : 2.\r\n" + text);
    }
}

TEST(OSErrorTest, RaiseLastOSErrorWithoutAnErrorCode) {
    SetLastError(0);
    try {
        RaiseLastOSError();
        FAIL() << "no error raised";
    } catch (const EOSError& error) {
        EXPECT_EQ(error.Code(), 0u);
        EXPECT_EQ(std::string(error.what()).substr(0, 9), "Un appel ");
    }
}
#endif

}  // namespace
}  // namespace orvalis
