// A whole device in the test's process, as the front ends drive it: hardware keys with their
// scan codes reach the program in front, rotation and the panel button reach the shell,
// screenshots land in the device folder, and closing reports a program that would not end.
#include <device/Programs.h>
#include <device/Screen.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <vector>

#include "Emulator.h"
#include "shell/Shell.h"

namespace {

struct KeyMessage {
    UINT message;
    WPARAM wParam;
    DWORD lParam;
    bool operator==(const KeyMessage&) const = default;
};

std::mutex g_mutex;
std::vector<KeyMessage> g_seen;
std::atomic<bool> g_stubborn{false};
constexpr UINT WM_LET_GO = WM_APP + 1;

LRESULT CALLBACK spyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_CHAR:
        case WM_KEYUP: {
            std::lock_guard lock(g_mutex);
            g_seen.push_back({message, wParam, static_cast<DWORD>(lParam)});
            return 0;
        }
        case WM_CLOSE:
            if (g_stubborn)
                return 0;  // this program does not want to end
            DestroyWindow(hwnd);
            return 0;
        case WM_LET_GO:
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

int spyMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = spyProc;
    wc.hInstance = instance;
    wc.lpszClassName = u"KeySpy";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, u"KeySpy", u"Spy", WS_VISIBLE, 0, 26, 240, 268, nullptr,
                                  nullptr, instance, nullptr);
    SetForegroundWindow(window);
    SetFocus(window);
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

class EmulatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_stubborn = false;
        {
            std::lock_guard lock(g_mutex);
            g_seen.clear();
        }
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kvemu-inprocess-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        Options options;
        options.frontEnd = FrontEnd::Headless;
        options.clock = ClockKind::Virtual;
        options.deviceFolder = m_folder;
        std::string error;
        g_stubborn = false;
        ASSERT_TRUE(m_emulator.open(options, builtProvisionSources(), error)) << error;
        device::registerProgram(u"spy.exe", spyMain);
    }
    void TearDown() override {
        m_emulator.close();
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    void startSpy() {
        {
            std::lock_guard lock(g_mutex);
            g_seen.clear();
        }
        WCHAR line[] = u"spy.exe";
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   nullptr, &info));
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
        ASSERT_TRUE(m_emulator.settle());
    }
    static std::vector<KeyMessage> seen() {
        std::lock_guard lock(g_mutex);
        return g_seen;
    }

    std::filesystem::path m_folder;
    Emulator m_emulator;
};

TEST_F(EmulatorTest, HardwareKeysArriveWithScanCodesAndTheirTypedText) {
    startSpy();
    m_emulator.hardwareKey('A', KeyTransition::Down, KeyCharacter::AsText);
    m_emulator.hardwareText(u"\u0634");  // a Farsi layout on the host keyboard
    m_emulator.hardwareKey('A', KeyTransition::Up, KeyCharacter::AsText);
    m_emulator.hardwareKey(VK_BACK, KeyTransition::Down, KeyCharacter::AsText);
    m_emulator.hardwareKey(VK_BACK, KeyTransition::Up, KeyCharacter::AsText);
    ASSERT_TRUE(m_emulator.settle());
    const std::vector<KeyMessage> expected = {
        {WM_KEYDOWN, 'A', 0x021E0001u},  // marked: its character comes as typed text
        {WM_CHAR, 0x0634, 0x001E0001u},
        {WM_KEYUP, 'A', 0xC01E0001u},
        {WM_KEYDOWN, VK_BACK, 0x000E0001u},
        {WM_CHAR, 0x08, 0x000E0001u},  // made by the program's TranslateMessage
        {WM_KEYUP, VK_BACK, 0xC00E0001u},
    };
    EXPECT_EQ(seen(), expected);
}

TEST_F(EmulatorTest, KeysThatBringTheirOwnCharacterTypeItWithTheShiftState) {
    startSpy();
    m_emulator.hardwareKey(VK_SPACE, KeyTransition::Down, KeyCharacter::FromKey);
    m_emulator.hardwareKey(VK_SPACE, KeyTransition::Up, KeyCharacter::FromKey);
    m_emulator.hardwareKey(VK_SHIFT, KeyTransition::Down, KeyCharacter::FromKey);
    m_emulator.hardwareKey('A', KeyTransition::Down, KeyCharacter::FromKey);
    m_emulator.hardwareKey('A', KeyTransition::Up, KeyCharacter::FromKey);
    m_emulator.hardwareKey(VK_SHIFT, KeyTransition::Up, KeyCharacter::FromKey);
    m_emulator.hardwareKey('A', KeyTransition::Down, KeyCharacter::FromKey);
    m_emulator.hardwareKey('A', KeyTransition::Up, KeyCharacter::FromKey);
    ASSERT_TRUE(m_emulator.settle());
    const std::vector<KeyMessage> expected = {
        {WM_KEYDOWN, VK_SPACE, 0x00390001u}, {WM_CHAR, u' ', 0x00390001u},
        {WM_KEYUP, VK_SPACE, 0xC0390001u},   {WM_KEYDOWN, VK_SHIFT, 0x002A0001u},
        {WM_KEYDOWN, 'A', 0x001E0001u},      {WM_CHAR, u'A', 0x001E0001u},
        {WM_KEYUP, 'A', 0xC01E0001u},        {WM_KEYUP, VK_SHIFT, 0xC02A0001u},
        {WM_KEYDOWN, 'A', 0x001E0001u},      {WM_CHAR, u'a', 0x001E0001u},
        {WM_KEYUP, 'A', 0xC01E0001u},
    };
    EXPECT_EQ(seen(), expected);
}

TEST_F(EmulatorTest, RotationPanelButtonAndScreenshotsReachTheDevice) {
    m_emulator.rotate();
    EXPECT_EQ(device::screenWidth(), 320);
    EXPECT_EQ(device::screenHeight(), 240);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(work.right, 320);
    EXPECT_EQ(work.bottom, 214);

    bool shown = true;
    m_emulator.toggleInputPanel();
    m_emulator.withShell([&](Shell& shell) { shown = shell.inputPanel().shown(); });
    EXPECT_FALSE(shown);
    m_emulator.toggleInputPanel();
    m_emulator.withShell([&](Shell& shell) { shown = shell.inputPanel().shown(); });
    EXPECT_TRUE(shown);

    const auto first = m_emulator.saveScreenshot();
    const auto second = m_emulator.saveScreenshot();
    EXPECT_EQ(first, m_folder / "screenshots" / "shot-0001.png");
    EXPECT_EQ(second, m_folder / "screenshots" / "shot-0002.png");
    EXPECT_TRUE(std::filesystem::is_regular_file(second));
}

// The colours of the menu bar's input panel button area on the screen.
std::set<uint32_t> buttonColours() {
    const device::ScreenImage screen = device::copyScreen();
    std::set<uint32_t> colours;
    for (int y = screen.height - 26; y < screen.height; ++y) {
        for (int x = screen.width - 40; x < screen.width; ++x)
            colours.insert(screen.pixels[static_cast<size_t>(y * screen.width + x)]);
    }
    return colours;
}

TEST_F(EmulatorTest, InputPanelButtonCarriesTheInputMethodsPictureAndShowsItsState) {
    constexpr uint32_t kBar = 0x002878;
    constexpr uint32_t kPressed = 0x5A82C8;
    auto shown = buttonColours();
    EXPECT_TRUE(shown.count(kPressed));
    EXPECT_FALSE(shown.count(kBar));
    // More than the background: the input method's picture is drawn on it.
    EXPECT_GT(shown.size(), 2u);
    m_emulator.toggleInputPanel();
    ASSERT_TRUE(m_emulator.settle());
    auto hidden = buttonColours();
    EXPECT_FALSE(hidden.count(kPressed));
    EXPECT_TRUE(hidden.count(kBar));
    EXPECT_GT(hidden.size(), 2u);
}

TEST_F(EmulatorTest, ClosingTellsWhenAProgramWouldNotEnd) {
    g_stubborn = true;
    startSpy();
    HWND spy = FindWindowW(u"KeySpy", nullptr);
    ASSERT_NE(spy, nullptr);
    EXPECT_FALSE(m_emulator.close());
    ASSERT_FALSE(m_emulator.warnings().empty());
    EXPECT_EQ(m_emulator.warnings().back(), "some programs did not end when asked to close");
    // Let it go, so that the test's process ends with no program running.
    PostMessageW(spy, WM_LET_GO, 0, 0);
    EXPECT_TRUE(device::waitForAllProcesses(10000));
}

}  // namespace
