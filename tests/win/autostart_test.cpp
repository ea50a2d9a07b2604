// The start-with-Windows value: machine-wide where allowed, else for the
// user, never both; removal clears both.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "app/autostart_win.h"
#include "common/paths_win.h"

namespace zelvar {
namespace {

constexpr wchar_t kTestRoot[] = L"Software\\ZelvarTests";
constexpr wchar_t kMachineRun[] = L"Software\\ZelvarTests\\Machine\\Run";
constexpr wchar_t kUserRun[] = L"Software\\ZelvarTests\\User\\Run";
constexpr wchar_t kExe[] = L"C:\\Program Files\\Zelvar\\zelvar.exe";

std::optional<std::wstring> ReadValue(HKEY root, const std::wstring& path) {
    wchar_t data[1024] = {};
    DWORD bytes = sizeof(data);
    if (RegGetValueW(root, path.c_str(), kRunValueName, RRF_RT_REG_SZ, nullptr, data, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(data);
}

void WriteValue(HKEY root, const std::wstring& path, const std::wstring& value) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExW(key, kRunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

bool KeyExists(HKEY root, const std::wstring& path) {
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

class AutoStartTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot); }

    AutoStartResult Set(bool remove) {
        return SetAutoStartIn(HKEY_CURRENT_USER, kMachineRun, HKEY_CURRENT_USER, kUserRun, remove, kExe);
    }
};

TEST_F(AutoStartTest, WritesForTheMachineWhenItsKeyIsThereAndDropsTheUserCopy) {
    WriteValue(HKEY_CURRENT_USER, kMachineRun, L"C:\\old place\\zelvar.exe");
    WriteValue(HKEY_CURRENT_USER, kUserRun, L"C:\\old place\\zelvar.exe");
    EXPECT_EQ(Set(false), AutoStartResult::WrittenForMachine);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kMachineRun), std::wstring(kExe));
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kUserRun), std::nullopt) << "the program would start twice";
}

TEST_F(AutoStartTest, FallsBackToTheUserWithoutCreatingTheMachineKey) {
    EXPECT_EQ(Set(false), AutoStartResult::WrittenForUser);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kUserRun), std::wstring(kExe));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMachineRun));
}

TEST_F(AutoStartTest, RemoveDeletesFromBothAndToleratesMissingValues) {
    WriteValue(HKEY_CURRENT_USER, kMachineRun, kExe);
    WriteValue(HKEY_CURRENT_USER, kUserRun, kExe);
    EXPECT_EQ(Set(true), AutoStartResult::Removed);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kMachineRun), std::nullopt);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kUserRun), std::nullopt);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kMachineRun)) << "only the value goes, not the key";

    // Nothing left to remove, and no keys at all: still quiet.
    EXPECT_EQ(Set(true), AutoStartResult::Removed);
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
    EXPECT_EQ(Set(true), AutoStartResult::Removed);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserRun));
}

// The real run keys, as the program uses them (Wine lets a program write
// HKEY_LOCAL_MACHINE).
TEST_F(AutoStartTest, RealRunKeyRoundTrip) {
    const auto machineBefore = ReadValue(HKEY_LOCAL_MACHINE, kRunKeyPath);
    const auto userBefore = ReadValue(HKEY_CURRENT_USER, kRunKeyPath);

    const AutoStartResult written = SetAutoStart(false);
    if (written == AutoStartResult::WrittenForMachine) {
        EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kRunKeyPath), ExePath());
        EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kRunKeyPath), std::nullopt);
    } else {
        ASSERT_EQ(written, AutoStartResult::WrittenForUser);
        EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kRunKeyPath), ExePath());
    }

    EXPECT_EQ(SetAutoStart(true), AutoStartResult::Removed);
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kRunKeyPath), std::nullopt);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kRunKeyPath), std::nullopt);

    // Leave the keys as they were found.
    if (machineBefore) WriteValue(HKEY_LOCAL_MACHINE, kRunKeyPath, *machineBefore);
    if (userBefore) WriteValue(HKEY_CURRENT_USER, kRunKeyPath, *userBefore);
}

}  // namespace
}  // namespace zelvar
