// Putting the device back as it starts: windows and everything tied to them go without a
// message, settings and tables return to their first state, libraries the shell loaded come
// down, and nothing is reset while a process still runs.
#include <device/Clock.h>
#include <device/Display.h>
#include <device/EventLog.h>
#include <device/Fonts.h>
#include <device/Input.h>
#include <device/InputPanel.h>
#include <device/Programs.h>
#include <device/RegistryFile.h>
#include <device/Reset.h>
#include <device/Resources.h>
#include <device/Screen.h>
#include <objbase.h>
#include <windows.h>
#include <winresource.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <iterator>

#include "DeviceTest.h"

namespace {

using DeviceReset = DeviceTest;

std::atomic<int> g_messages{0};
LRESULT CALLBACK countingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ++g_messages;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::atomic<int> g_hookCalls{0};
LRESULT CALLBACK countingHook(int code, WPARAM wParam, LPARAM lParam) {
    ++g_hookCalls;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

HWND makeWindow(const WCHAR* className) {
    return CreateWindowExW(0, className, u"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                           nullptr, nullptr, nullptr);
}

bool writeSetting(const WCHAR* name) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\Test", 0, nullptr, 0, 0, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const DWORD value = 7;
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    return true;
}

bool settingExists(const WCHAR* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\Test", 0, 0, &key) != ERROR_SUCCESS)
        return false;
    const bool found =
        RegQueryValueExW(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found;
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class SilentHost : public device::InputPanelHost {
public:
    bool currentInputMethod(CLSID&) override { return false; }
    bool getInfo(SIPINFO&) override { return true; }
    bool setInfo(const SIPINFO&) override { return true; }
    bool showInputMethod(DWORD) override { return true; }
};

HANDLE g_release = nullptr;
int waiterMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    WaitForSingleObject(g_release, INFINITE);
    return 0;
}

using CounterIncrementProc = int (*)();

}  // namespace

TEST_F(DeviceReset, WindowsAndAllTiedToThemGoWithoutAMessage) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = countingProc;
    wc.lpszClassName = u"Left";
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND window = makeWindow(u"Left");
    HWND child = CreateWindowExW(0, u"Left", u"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, window,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    SetForegroundWindow(window);
    SetFocus(child);
    SetCapture(window);
    SetTimer(window, 1, 10, nullptr);
    CreateCaret(child, nullptr, 2, 8);
    ShowCaret(child);
    PostMessageW(window, WM_APP, 0, 0);
    PostQuitMessage(3);
    SetWindowsHookExW(WH_CBT, countingHook, nullptr, 0);
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, u"Copy");
    ACCEL accelerator{FVIRTKEY, 'A', 1};
    HACCEL accelerators = CreateAcceleratorTableW(&accelerator, 1);
    HLOCAL text = LocalAlloc(LMEM_MOVEABLE, 4);
    std::memcpy(LocalLock(text), u"x", 4);
    LocalUnlock(text);
    ASSERT_TRUE(OpenClipboard(window));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, text);
    CloseClipboard();
    RECT work{0, 26, 240, 294};
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0));
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    device::keyDown(VK_SHIFT);
    device::stylusDown(5, 5);
    const int messagesBefore = g_messages;

    ASSERT_TRUE(device::resetDevice());
    EXPECT_EQ(g_messages, messagesBefore);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(device::caretState().window, nullptr);
    MSG msg{};
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));  // no message, timer or quit
    EXPECT_EQ(GetMenuItemCount(menu), -1);
    EXPECT_EQ(CopyAcceleratorTableW(accelerators, nullptr, 0), 0);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_TRUE(OpenClipboard(nullptr));  // nobody holds it open
    CloseClipboard();
    RECT now{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &now, 0);
    EXPECT_EQ(now.top, 0);
    EXPECT_EQ(now.bottom, 320);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(GetAsyncKeyState(VK_SHIFT) & 0x8000, 0);

    // The class is gone with its windows, and the hook with them: a new window of a class
    // registered again calls no hook, and the stylus is up.
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND fresh = makeWindow(u"Left");
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(g_hookCalls, 0);
    device::stylusMove(5, 5);
    bool moved = false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_MOUSEMOVE) {
            moved = true;
            EXPECT_EQ(msg.wParam & MK_LBUTTON, 0u);
        }
        DispatchMessageW(&msg);
    }
    EXPECT_TRUE(moved);
}

TEST_F(DeviceReset, SettingsAndTablesAreAsTheDeviceStartsThem) {
    ASSERT_TRUE(device::setScreenSize(480, 640));
    device::setScreenDpi(150);
    HDC screen = GetDC(nullptr);
    SetPixel(screen, 1, 1, RGB(255, 0, 0));
    ReleaseDC(nullptr, screen);
    const auto fonts = device::fontDirectory();
    device::setFontDirectory("/nowhere");
    ASSERT_TRUE(writeSetting(u"Left"));
    const auto registryFile = m_root / "registry.reg";
    ASSERT_TRUE(device::attachRegistryFile(registryFile));
    device::setRegistrySaveInterruption(device::SaveInterruption::BeforeRename);
    const auto logFile = m_root / "events.log";
    std::string logError;
    ASSERT_TRUE(device::appendEventLogTo(logFile, logError)) << logError;
    device::logEvent(u"test", u"before");
    device::registerProgram(u"Left.exe", waiterMain, 7);
    SilentHost host;
    device::setInputPanelHost(&host);
    static const char16_t kName[] = u"DATA";
    static const device::ResourceEntry kEntry{nullptr, 10, kName, 0, "x", 1};
    static const device::ResourceTable kTable{device::kResourceTableMagic,
                                              device::kResourceTableVersion, 1, &kEntry};
    auto instance = reinterpret_cast<HINSTANCE>(0x7000);
    device::registerModuleResources(instance, &kTable);
    ASSERT_NE(FindResourceW(instance, u"DATA", MAKEINTRESOURCEW(10)), nullptr);
    SYSTEMTIME past{};
    past.wYear = 2001;
    past.wMonth = 2;
    past.wDay = 3;
    device::setDeviceLocalTime(past);
    const std::string savedRegistry = fileText(registryFile);

    ASSERT_TRUE(device::resetDevice());
    EXPECT_EQ(device::screenWidth(), 240);
    EXPECT_EQ(device::screenHeight(), 320);
    EXPECT_EQ(device::screenDpi(), 96);
    EXPECT_EQ(device::copyScreen().pixels[241], 0u);
    EXPECT_EQ(device::fontDirectory(), fonts);
    EXPECT_FALSE(settingExists(u"Left"));
    EXPECT_FALSE(device::isVirtualClock());
    SYSTEMTIME now{};
    GetLocalTime(&now);
    EXPECT_NE(now.wYear, 2001);
    EXPECT_TRUE(device::eventLog().empty());
    EXPECT_EQ(device::programIconId(u"Left.exe"), 0);
    PROCESS_INFORMATION info{};
    EXPECT_FALSE(CreateProcessW(u"Left.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                nullptr, &info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(device::inputPanelHost(), nullptr);
    EXPECT_EQ(FindResourceW(instance, u"DATA", MAKEINTRESOURCEW(10)), nullptr);

    // The registry and the event log are kept in memory only now, and a save runs whole.
    device::logEvent(u"test", u"after");
    ASSERT_TRUE(writeSetting(u"Right"));
    EXPECT_EQ(fileText(registryFile), savedRegistry);
    EXPECT_EQ(fileText(logFile).find("after"), std::string::npos);
    EXPECT_TRUE(device::saveRegistryFile(registryFile));
    EXPECT_NE(fileText(registryFile).find("Right"), std::string::npos);
}

TEST_F(DeviceReset, LibrariesTheShellLoadedComeDownAndLoadAfreshAfter) {
    std::filesystem::create_directories(m_root / "Windows");
    std::filesystem::copy_file(COUNTER_LIBRARY_PATH, m_root / "Windows" / "Counter.dll");
    HMODULE library = LoadLibraryW(u"Counter.dll");
    ASSERT_NE(library, nullptr);
    auto increment =
        reinterpret_cast<CounterIncrementProc>(GetProcAddress(library, "CounterIncrement"));
    ASSERT_NE(increment, nullptr);
    EXPECT_EQ(increment(), 1);
    EXPECT_EQ(increment(), 2);
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);

    ASSERT_TRUE(device::resetDevice());
    EXPECT_EQ(GetModuleHandleW(u"Counter.dll"), nullptr);
    EXPECT_EQ(GetProcAddress(library, "CounterIncrement"), nullptr);
    void* factory = nullptr;
    EXPECT_EQ(CoGetClassObject(CLSID_ImagingFactory, CLSCTX_INPROC_SERVER, nullptr,
                               IID_IClassFactory, &factory),
              CO_E_NOTINITIALIZED);
    // The device folder is the host's: the file is still there, and loads with fresh globals.
    HMODULE again = LoadLibraryW(u"Counter.dll");
    ASSERT_NE(again, nullptr);
    increment = reinterpret_cast<CounterIncrementProc>(GetProcAddress(again, "CounterIncrement"));
    ASSERT_NE(increment, nullptr);
    EXPECT_EQ(increment(), 1);
    EXPECT_TRUE(FreeLibrary(again));
}

TEST_F(DeviceReset, NothingIsResetWhileAProcessRuns) {
    g_release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    device::registerProgram(u"Waiter.exe", waiterMain);
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(u"Waiter.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               nullptr, &info));
    ASSERT_TRUE(writeSetting(u"Kept"));
    EXPECT_EQ(device::runningProcesses(), std::vector<std::u16string>{u"\\Windows\\Waiter.exe"});
    EXPECT_FALSE(device::resetDevice());
    EXPECT_TRUE(settingExists(u"Kept"));

    SetEvent(g_release);
    ASSERT_EQ(WaitForSingleObject(info.hProcess, INFINITE), WAIT_OBJECT_0);
    ASSERT_TRUE(device::waitForAllProcesses(10000));
    EXPECT_TRUE(device::runningProcesses().empty());
    EXPECT_TRUE(device::resetDevice());
    EXPECT_FALSE(settingExists(u"Kept"));
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    CloseHandle(g_release);
}
