// KvHelper's three command lines, compared exactly: "SETTINGS" creates the keyboard through COM
// in KvHelper's own process, "GET_DPI" records the screen's dots per inch, and anything else is
// opened by the shell, with a beep when it cannot be; the exit status is always 0.
#include <DeviceTest.h>
#include <device/EventLog.h>
#include <device/Programs.h>
#include <device/Scheduler.h>
#include <device/Screen.h>
#include <device/ServerLibrary.h>
#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

#include <filesystem>

namespace {

constexpr const char16_t* kKeyboardCreated =
    u"KvHelper.exe creates {6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81}: ";

int endAtOnce(HINSTANCE, HINSTANCE, LPWSTR, int) {
    return 0;
}

BOOL CALLBACK closeWindowsOf(HWND window, LPARAM process) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(process))
        PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

class KvHelper : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        std::filesystem::create_directories(hostPath(u"\\Windows"));
        std::filesystem::copy_file(KVHELPER_PATH, hostPath(u"\\Windows\\KvHelper.exe"));
        device::registerProgramLibrary(u"KvHelper.exe", u"\\Windows\\KvHelper.exe");
        device::registerProgram(u"Target.exe", endAtOnce);
    }
    void TearDown() override {
        device::waitForAllProcesses(10000);
        DeviceTest::TearDown();
    }

    // Runs KvHelper with `commandLine` to its end and returns its exit status. A window it
    // opens (the options sheet) is closed as the user would close it.
    static DWORD run(const std::u16string& commandLine) {
        std::vector<WCHAR> line(commandLine.begin(), commandLine.end());
        line.push_back(0);
        PROCESS_INFORMATION info{};
        EXPECT_TRUE(CreateProcessW(u"KvHelper.exe", line.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, nullptr, nullptr, &info));
        for (int round = 0; round < 10 && WaitForSingleObject(info.hProcess, 0) != WAIT_OBJECT_0;
             ++round) {
            EXPECT_TRUE(device::waitForOtherThreadsIdle(10000));
            EnumWindows(closeWindowsOf, static_cast<LPARAM>(info.dwProcessId));
        }
        EXPECT_TRUE(device::waitForAllProcesses(10000));
        DWORD status = STILL_ACTIVE;
        GetExitCodeProcess(info.hProcess, &status);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
        return status;
    }

    static std::vector<std::u16string> logged(const char16_t* kind) {
        std::vector<std::u16string> texts;
        for (const auto& event : device::eventsOfKind(kind))
            texts.push_back(event.text);
        return texts;
    }

    static std::optional<DWORD> recordedDpi(DWORD* type = nullptr, DWORD* size = nullptr) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\Tirvan\\Kelvo", 0, KEY_READ, &key) !=
            ERROR_SUCCESS)
            return std::nullopt;
        DWORD value = 0, valueType = 0, bytes = sizeof(value);
        const LONG status = RegQueryValueExW(key, u"DPI", nullptr, &valueType,
                                             reinterpret_cast<BYTE*>(&value), &bytes);
        RegCloseKey(key);
        if (type != nullptr)
            *type = valueType;
        if (size != nullptr)
            *size = bytes;
        return status == ERROR_SUCCESS ? std::optional<DWORD>(value) : std::nullopt;
    }
};

TEST_F(KvHelper, SettingsCreatesTheKeyboardInItsOwnProcess) {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    ASSERT_EQ(device::registerServerLibrary(KELVO_DLL_PATH), S_OK);
    CoUninitialize();
    device::clearEventLog();
    EXPECT_EQ(run(u"SETTINGS"), 0u);
    EXPECT_EQ(logged(u"process"), std::vector<std::u16string>{u"KvHelper.exe SETTINGS"});
    EXPECT_EQ(logged(u"com"),
              std::vector<std::u16string>{kKeyboardCreated + std::u16string(u"0x00000000")});
    EXPECT_TRUE(logged(u"beep").empty());
}

TEST_F(KvHelper, SettingsWithoutTheKeyboardRegisteredDoesNothing) {
    EXPECT_EQ(run(u"SETTINGS"), 0u);
    EXPECT_EQ(logged(u"com"),
              std::vector<std::u16string>{kKeyboardCreated + std::u16string(u"0x80040154")});
    EXPECT_TRUE(logged(u"beep").empty());
    EXPECT_FALSE(recordedDpi().has_value());
}

TEST_F(KvHelper, GetDpiRecordsTheScreensDotsPerInchEachTime) {
    EXPECT_EQ(run(u"GET_DPI"), 0u);  // the key is made when it is missing
    DWORD type = 0, size = 0;
    EXPECT_EQ(recordedDpi(&type, &size), 96u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4u);
    ASSERT_TRUE(device::setScreenSize(480, 640));
    EXPECT_EQ(run(u"GET_DPI"), 0u);
    EXPECT_EQ(recordedDpi(), 192u);
    EXPECT_EQ(run(u"GET_DPI"), 0u);  // the same value again, over the old one
    EXPECT_EQ(recordedDpi(), 192u);
    ASSERT_TRUE(device::setScreenSize(240, 320));
    EXPECT_TRUE(logged(u"com").empty());
    EXPECT_TRUE(logged(u"beep").empty());
}

TEST_F(KvHelper, AnyOtherCommandLineIsAPathTheShellOpens) {
    std::filesystem::create_directories(hostPath(u"\\Windows\\Start Menu\\Programs"));
    ASSERT_TRUE(SHCreateShortcut(u"\\Windows\\Start Menu\\Programs\\My Target.lnk",
                                 u"\\Windows\\Target.exe"));
    EXPECT_EQ(run(u"\\Windows\\Start Menu\\Programs\\My Target.lnk"), 0u);
    EXPECT_EQ(run(u"\\Windows\\Target.exe"), 0u);
    EXPECT_EQ(logged(u"process"),
              (std::vector<std::u16string>{
                  u"KvHelper.exe \\Windows\\Start Menu\\Programs\\My Target.lnk", u"Target.exe",
                  u"KvHelper.exe \\Windows\\Target.exe", u"Target.exe"}));
    EXPECT_TRUE(logged(u"beep").empty());
}

TEST_F(KvHelper, WhatTheShellCannotOpenBeepsOnceAndStillExitsWithZero) {
    // Commands are compared exactly: neither of the first two is "SETTINGS".
    for (const char16_t* commandLine :
         {u"settings", u"SETTINGS ", u"", u" GET_DPI", u"\\Windows\\Start Menu\\Missing.lnk"}) {
        device::clearEventLog();
        EXPECT_EQ(run(commandLine), 0u);
        EXPECT_EQ(logged(u"beep"), std::vector<std::u16string>{u"0x40"});
        EXPECT_TRUE(logged(u"com").empty());
    }
    EXPECT_FALSE(recordedDpi().has_value());
}

TEST_F(KvHelper, CarriesTheHighResolutionMark) {
    HMODULE program = LoadLibraryW(u"\\Windows\\KvHelper.exe");
    ASSERT_NE(program, nullptr);
    HRSRC mark = FindResourceW(program, u"HI_RES_AWARE", u"CEUX");
    ASSERT_NE(mark, nullptr);
    ASSERT_EQ(SizeofResource(program, mark), 2u);
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(program, mark)));
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 0);
    FreeLibrary(program);
}

}  // namespace
