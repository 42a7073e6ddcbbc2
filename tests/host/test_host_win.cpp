// The host services against the real Windows calls (run under wine64): wide file functions,
// file version, data folder, registration and host facts.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "host/U_UnicodeUtils.h"
#include "host/Various_utils.h"
#include "host/ansi_text.h"
#include "host/errors.h"
#include "tests/test_paths.h"

namespace orvalis {
namespace {

// A Windows path with backslashes only: the extended-length prefix does not normalise.
std::string WindowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string Scratch(const std::string& name) {
    return WindowsPath(test::ScratchDir("host_win_" + name));
}

std::wstring OwnExePath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

// Removes a tree of folders (no files) through extended-length paths: its names may exceed 260
// characters or end in a dot, which the ordinary (normalising) calls cannot reach.
void RemoveFolderTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((L"\\\\?\\" + folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") RemoveFolderTree(folder + L"\\" + name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW((L"\\\\?\\" + folder).c_str());
}

// Every wide file function runs on both routes: the wide one and the ANSI one of the
// Windows 95 family.
class RouteTest : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ProbeWideApis());  // any NT-family system
        SetWideApisAvailable(GetParam());
        folder = Scratch(std::string("route_") + (GetParam() ? "wide" : "ansi"));
        file = folder + "\\note.txt";
        std::ofstream(file) << "no version resource here";
    }
    void TearDown() override { ProbeWideApis(); }

    std::string folder;
    std::string file;
};

INSTANTIATE_TEST_SUITE_P(Routes, RouteTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Wide" : "Ansi"; });

TEST_P(RouteTest, TellsFilesFromDirectories) {
    struct Case {
        std::string path;
        bool file;
        bool directory;
    };
    const Case cases[] = {
        {file, true, false},
        {folder, false, true},
        {folder + "\\", false, false},  // a trailing backslash names no directory
        {folder + "\\missing", false, false},
        {"", false, false},
        {"C:", false, true},
        {"C:\\", false, true},
        {"Q:", false, true},  // no such drive: the system says "no root directory", not 0
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WideFileExists(AnsiToWide(c.path)), c.file) << c.path;
        EXPECT_EQ(WideDirectoryExists(AnsiToWide(c.path)), c.directory) << c.path;
    }
}

TEST_P(RouteTest, CreatesOneDirectoryLevel) {
    const std::wstring child = AnsiToWide(folder + "\\child");
    EXPECT_TRUE(WideCreateDirectory(child, nullptr));
    EXPECT_TRUE(WideDirectoryExists(child));
    EXPECT_FALSE(WideCreateDirectory(child, nullptr));  // exists already
    EXPECT_FALSE(WideCreateDirectory(AnsiToWide(folder + "\\no\\parent"), nullptr));
}

// The extended-length prefix reaches the system on the wide route: the path is taken
// literally (no trailing dot removed, no ".." resolved), whereas the ANSI route normalises.
TEST_P(RouteTest, WideRouteTakesThePathLiterally) {
    const std::wstring parent = AnsiToWide(folder) + L"\\made";
    ASSERT_TRUE(WideCreateDirectory(parent, nullptr));
    WideCreateDirectory(parent + L"\\name.", nullptr);
    WideCreateDirectory(parent + L"\\sub\\..\\up", nullptr);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(parent)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    // "name." would stop the scratch folder from being removed by ordinary calls.
    RemoveFolderTree(parent);
    const std::vector<std::string> expected =
        GetParam() ? std::vector<std::string>{"name."} : std::vector<std::string>{"name", "up"};
    EXPECT_EQ(names, expected);
}

TEST_P(RouteTest, FileVersionText) {
    EXPECT_EQ(GetFileVersionText(OwnExePath()), L"1.0.0.0");
    EXPECT_EQ(GetFileVersionText(AnsiToWide(file)), L"");
    EXPECT_EQ(GetFileVersionText(AnsiToWide(folder)), L"File not found");
    EXPECT_EQ(GetFileVersionText(AnsiToWide(folder + "\\missing.exe")), L"File not found");
}

TEST(WideRouteTest, CreatesDirectoriesBeyondTheOldPathLimit) {
    ASSERT_TRUE(ProbeWideApis());
    const std::wstring base = AnsiToWide(Scratch("long_path")) + L"\\deep";
    RemoveFolderTree(base);  // what an interrupted run left behind
    std::wstring path = base;
    ASSERT_TRUE(WideCreateDirectory(path, nullptr));
    while (path.size() < 300) {
        path += L"\\a_rather_long_folder_name_to_pass_the_limit";
        ASSERT_TRUE(WideCreateDirectory(path, nullptr)) << path.size();
    }
    EXPECT_TRUE(WideDirectoryExists(L"\\\\?\\" + path));
    RemoveFolderTree(base);
}

class UserDataFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ProbeWideApis();
        scratch = Scratch(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    std::string scratch;
    const std::string exePath = "C:\\Program Files\\Orvalis\\Orvalis.exe";
    const std::string exeFolder = "C:\\Program Files\\Orvalis\\";
};

TEST_F(UserDataFolderTest, CreatesMakerAndProgramFolders) {
    const std::string expected = scratch + "\\Tessaran\\Orvalis\\";
    EXPECT_EQ(GetUserDataFolder(exePath, "Orvalis", scratch), expected);
    EXPECT_TRUE(std::filesystem::is_directory(expected));
    // A second start finds both folders: their creation fails, the result stays.
    EXPECT_EQ(GetUserDataFolder(exePath, "Orvalis", scratch + "\\"), expected);
}

TEST_F(UserDataFolderTest, FallsBackToTheExecutablesFolder) {
    const std::string blocker = scratch + "\\blocker.txt";
    std::ofstream(blocker) << "a file where a folder should be";
    for (const std::string& appData :
         {blocker, std::string("Q:\\missing\\Roaming"), std::string()}) {
        EXPECT_EQ(GetUserDataFolder(exePath, "Orvalis", appData), exeFolder) << appData;
    }
}

TEST_F(UserDataFolderTest, UsesTheRoamingApplicationDataFolder) {
    const std::string title = "OrvalisHostTest";
    const std::string folder = GetUserDataFolder(exePath, title);
    const std::string tail = "\\Tessaran\\" + title + "\\";
    ASSERT_GT(folder.size(), tail.size());
    EXPECT_EQ(folder.substr(folder.size() - tail.size()), tail);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    RemoveDirectoryA(folder.c_str());
}

class RegistryTest : public ::testing::Test {
  protected:
    static constexpr char kTitle[] = "OrvalisHostTestRegistration";
    void TearDown() override {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, "SOFTWARE\\Tessaran", kTitle);
    }

    static bool ReadValue(std::string* data, DWORD* type) {
        char buffer[512] = {};
        DWORD size = sizeof(buffer);
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Tessaran", 0, KEY_READ, &key) !=
            ERROR_SUCCESS) {
            return false;
        }
        const LONG result =
            RegQueryValueExA(key, kTitle, nullptr, type, reinterpret_cast<BYTE*>(buffer), &size);
        RegCloseKey(key);
        if (result != ERROR_SUCCESS) return false;
        data->assign(buffer, size);
        return true;
    }
};

TEST_F(RegistryTest, WritesAndOverwritesTheExecutablePath) {
    const std::string later = "C:\\Program Files\\Orvalis\xE9\\Orvalis.exe";
    RegisterExePath(kTitle, "C:\\first\\Orvalis.exe");
    RegisterExePath(kTitle, later);
    std::string data;
    DWORD type = 0;
    ASSERT_TRUE(ReadValue(&data, &type));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    // The later start wins; the data carries its terminating zero.
    EXPECT_EQ(data, later + '\0');
}

// Value names are limited to 16383 characters: the write fails and says which value.
TEST_F(RegistryTest, FailedWriteRaisesTheRegistryError) {
    const std::string tooLong(20000, 'v');
    try {
        RegisterExePath(tooLong, "C:\\Orvalis.exe");
        RegDeleteKeyValueA(HKEY_CURRENT_USER, "SOFTWARE\\Tessaran", tooLong.c_str());
        FAIL() << "no error raised";
    } catch (const ERegistryError& error) {
        EXPECT_NE(std::string(error.what()).find("'" + tooLong + "'"), std::string::npos);
    }
}

TEST(HostFactsTest, DescribeWineAsItPresentsItself) {
    EXPECT_EQ(GetWindowsVersionText(), "6.1 (Seven)");  // Wine's default Windows 7
    EXPECT_FALSE(IsWow64());                            // a 64-bit process
}

// The answer must agree with the system's own membership test, for the process token and
// for a thread token that holds Administrators for deny only.
TEST(HostFactsTest, AdministratorMembershipAgreesWithTheSystem) {
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    ASSERT_TRUE(AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                         DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                         &administrators));
    BOOL member = FALSE;
    ASSERT_TRUE(CheckTokenMembership(nullptr, administrators, &member));
    EXPECT_EQ(IsAdminUser(), member != FALSE);

    HANDLE process = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY, &process));
    SID_AND_ATTRIBUTES disable{administrators, 0};
    HANDLE restricted = nullptr;
    const BOOL made =
        CreateRestrictedToken(process, 0, 1, &disable, 0, nullptr, 0, nullptr, &restricted);
    CloseHandle(process);
    if (made) {
        HANDLE impersonation = nullptr;
        ASSERT_TRUE(DuplicateToken(restricted, SecurityImpersonation, &impersonation));
        ASSERT_TRUE(SetThreadToken(nullptr, impersonation));
        const bool admin = IsAdminUser();
        RevertToSelf();
        CloseHandle(impersonation);
        CloseHandle(restricted);
        EXPECT_FALSE(admin);
    } else {
        ADD_FAILURE() << "CreateRestrictedToken failed: " << GetLastError();
    }
    FreeSid(administrators);
}

}  // namespace
}  // namespace orvalis
