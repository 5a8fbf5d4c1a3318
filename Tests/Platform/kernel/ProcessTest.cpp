// Processes started from the program table, their handles and waits, and device libraries
// loaded by two processes.
#include <device/Clock.h>
#include <device/EventLog.h>
#include <device/Programs.h>
#include <winbase.h>

#include <atomic>
#include <filesystem>

#include "DeviceTest.h"

namespace {

using Processes = DeviceTest;

std::atomic<DWORD> g_childThread{0};
std::atomic<DWORD> g_childProcess{0};
std::u16string g_childCommandLine;
HANDLE g_release = nullptr;

int echoMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
    g_childThread = GetCurrentThreadId();
    g_childProcess = GetCurrentProcessId();
    g_childCommandLine = commandLine;
    return 42;
}

int waitForReleaseMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    WaitForSingleObject(g_release, INFINITE);
    return 7;
}

TEST_F(Processes, ProgramRunsOnItsOwnThreadAndItsHandleIsSignalledAtExit) {
    device::registerProgram(u"Echo.exe", echoMain);
    WCHAR commandLine[] = u"SETTINGS";
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(u"\\Windows\\echo.exe", commandLine, nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(WaitForSingleObject(info.hProcess, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(info.hThread, 0), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    ASSERT_TRUE(GetExitCodeProcess(info.hProcess, &exitCode));
    EXPECT_EQ(exitCode, 42u);
    EXPECT_EQ(g_childCommandLine, u"SETTINGS");
    EXPECT_EQ(g_childThread.load(), info.dwThreadId);
    EXPECT_NE(g_childThread.load(), GetCurrentThreadId());
    EXPECT_EQ(g_childProcess.load(), info.dwProcessId);
    EXPECT_NE(info.dwProcessId, GetCurrentProcessId());

    auto started = device::eventsOfKind(u"process");
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].text, u"Echo.exe SETTINGS");
    EXPECT_TRUE(CloseHandle(info.hProcess));
    EXPECT_TRUE(CloseHandle(info.hThread));
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 0), WAIT_FAILED);
}

TEST_F(Processes, ProgramIconIsFoundByTheNamesCreateProcessAccepts) {
    device::registerProgram(u"Echo.exe", echoMain, 301);
    device::registerProgram(u"Plain.exe", echoMain);
    EXPECT_EQ(device::programIconId(u"\\Windows\\ECHO.EXE"), 301);
    EXPECT_EQ(device::programIconId(u"echo"), 301);
    EXPECT_EQ(device::programIconId(u"Plain.exe"), 0);
    EXPECT_EQ(device::programIconId(u"\\Windows\\Missing.exe"), 0);
}

TEST_F(Processes, CommandLineAloneNamesTheProgram) {
    device::registerProgram(u"Echo.exe", echoMain);
    WCHAR commandLine[] = u"\"\\Windows\\Echo.exe\" \\Windows\\Start Menu\\Notes.lnk";
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               nullptr, &info));
    WaitForSingleObject(info.hProcess, INFINITE);
    EXPECT_EQ(g_childCommandLine, u"\\Windows\\Start Menu\\Notes.lnk");
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
}

TEST_F(Processes, UnknownProgramFailsWithFileNotFound) {
    PROCESS_INFORMATION info{};
    EXPECT_FALSE(CreateProcessW(u"\\Windows\\nothing.exe", nullptr, nullptr, nullptr, FALSE, 0,
                                nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(device::eventsOfKind(u"process").empty());
}

TEST_F(Processes, TimedWaitOnABlockedProcessAdvancesTheVirtualClockByItsTimeout) {
    g_release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    device::registerProgram(u"Blocked.exe", waitForReleaseMain);
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(u"Blocked.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, nullptr, &info));
    const DWORD before = GetTickCount();
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 5000), WAIT_TIMEOUT);
    EXPECT_EQ(GetTickCount() - before, 5000u);
    DWORD exitCode = 0;
    GetExitCodeProcess(info.hProcess, &exitCode);
    EXPECT_EQ(exitCode, static_cast<DWORD>(STILL_ACTIVE));

    HANDLE opened = OpenProcess(SYNCHRONIZE, FALSE, info.dwProcessId);
    ASSERT_NE(opened, nullptr);
    SetEvent(g_release);
    EXPECT_EQ(WaitForSingleObject(opened, 60000), WAIT_OBJECT_0);
    EXPECT_EQ(GetTickCount() - before, 5000u);  // it ended without the clock moving
    GetExitCodeProcess(info.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 7u);
    CloseHandle(opened);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    CloseHandle(g_release);
}

TEST_F(Processes, AutoResetEventReleasesOneWaitThenResets) {
    HANDLE event = CreateEventW(nullptr, FALSE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    SetEvent(event);
    ResetEvent(event);
    EXPECT_EQ(WaitForSingleObject(event, 10), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(0x12345), 0), WAIT_FAILED);
    CloseHandle(event);
}

using CounterIncrementProc = int (*)();
using CounterCallerProc = DWORD (*)();

std::atomic<int> g_childCounts[2];
std::atomic<DWORD> g_libraryCaller{0};

int counterMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    HMODULE library = LoadLibraryW(u"Counter.dll");
    if (library == nullptr)
        return 1;
    auto increment =
        reinterpret_cast<CounterIncrementProc>(GetProcAddress(library, "CounterIncrement"));
    auto caller =
        reinterpret_cast<CounterCallerProc>(GetProcAddress(library, "CounterCallerProcess"));
    g_childCounts[0] = increment();
    g_childCounts[1] = increment();
    g_libraryCaller = caller();
    FreeLibrary(library);
    return 0;
}

TEST_F(Processes, LibraryLoadedByTwoProcessesHasSeparateGlobals) {
    std::filesystem::create_directories(m_root / "Windows");
    std::filesystem::copy_file(COUNTER_LIBRARY_PATH, m_root / "Windows" / "Counter.dll");

    HMODULE library = LoadLibraryW(u"\\Windows\\counter.dll");
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(LoadLibraryW(u"Counter.dll"), library);  // the same process shares its copy
    auto increment =
        reinterpret_cast<CounterIncrementProc>(GetProcAddress(library, "CounterIncrement"));
    ASSERT_NE(increment, nullptr);
    EXPECT_EQ(increment(), 1);
    EXPECT_EQ(increment(), 2);
    EXPECT_EQ(increment(), 3);

    device::registerProgram(u"CounterUser.exe", counterMain);
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(u"CounterUser.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, nullptr, &info));
    ASSERT_EQ(WaitForSingleObject(info.hProcess, INFINITE), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(info.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(g_childCounts[0].load(), 1);  // its own counter, from zero
    EXPECT_EQ(g_childCounts[1].load(), 2);
    EXPECT_EQ(g_libraryCaller.load(), info.dwProcessId);  // the library sees the one platform
    EXPECT_EQ(increment(), 4);                            // and ours went on untouched

    WCHAR path[MAX_PATH];
    EXPECT_EQ(GetModuleFileNameW(library, path, MAX_PATH), 20u);
    EXPECT_EQ(std::u16string(path), u"\\Windows\\counter.dll");
    WCHAR tiny[4];
    EXPECT_EQ(GetModuleFileNameW(library, tiny, 4), 4u);
    EXPECT_EQ(std::u16string(tiny), u"\\Wi");
    EXPECT_EQ(GetProcAddress(library, "NoSuchExport"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(GetModuleHandleW(u"Counter.dll"), library);
    EXPECT_TRUE(FreeLibrary(library));
    EXPECT_TRUE(FreeLibrary(library));
    EXPECT_EQ(GetModuleHandleW(u"Counter.dll"), nullptr);
    EXPECT_FALSE(FreeLibrary(library));
    EXPECT_EQ(LoadLibraryW(u"Missing.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

    // A library whose DllMain refuses the attach is not loaded.
    std::filesystem::copy_file(COUNTER_LIBRARY_PATH, m_root / "Windows" / "RefuseCounter.dll");
    EXPECT_EQ(LoadLibraryW(u"RefuseCounter.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
    EXPECT_EQ(GetModuleHandleW(u"RefuseCounter.dll"), nullptr);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
}

}  // namespace
