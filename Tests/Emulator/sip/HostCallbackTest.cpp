// What the host's callback delivers to the focused window of the foreground program, through
// that program's own message loop (with TranslateMessage).
#include <DeviceTest.h>
#include <device/Input.h>
#include <windows.h>

#include <vector>

#include "sip/HostCallback.h"

namespace {

struct Delivered {
    UINT message;
    WPARAM wParam;
    DWORD lParam;
    bool operator==(const Delivered&) const = default;
};

std::vector<Delivered> g_delivered;

LRESULT CALLBACK recordKeys(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR)
        g_delivered.push_back({message, wParam, static_cast<DWORD>(lParam)});
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class HostCallbackTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        g_delivered.clear();
        WNDCLASSW wc{};
        wc.lpfnWndProc = recordKeys;
        wc.lpszClassName = u"KeyRecorder";
        RegisterClassW(&wc);
        m_window = CreateWindowExW(0, u"KeyRecorder", u"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                   nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(m_window);
        SetFocus(m_window);
        pump();
        g_delivered.clear();
    }
    void TearDown() override {
        DestroyWindow(m_window);
        DeviceTest::TearDown();
    }
    static void pump() {
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    HWND m_window = nullptr;
    IMINFO m_lastInfo{};
    HostCallback m_callback{[this](const IMINFO& info) { m_lastInfo = info; }};
};

TEST_F(HostCallbackTest, CharacterPairGivesTheKeyTheCharacterOnceAndTheRelease) {
    UINT shift = 0;
    UINT ch = u'\u0634';
    EXPECT_EQ(m_callback.SendCharEvents('A', 0x80, 1, &shift, &ch), S_OK);
    EXPECT_EQ(m_callback.SendCharEvents('A', 0x10040, 1, &shift, &ch), S_OK);
    pump();
    const std::vector<Delivered> expected = {
        {WM_KEYDOWN, 'A', 0x02000001u},
        {WM_CHAR, 0x0634, 0u},
        {WM_KEYUP, 'A', 0xC0000001u},
    };
    EXPECT_EQ(g_delivered, expected);
}

TEST_F(HostCallbackTest, VirtualKeysAreTranslatedByTheProgramsLoop) {
    EXPECT_EQ(m_callback.SendVirtualKey(VK_BACK, 0), S_OK);
    EXPECT_EQ(m_callback.SendVirtualKey(VK_BACK, KEYEVENTF_KEYUP), S_OK);
    EXPECT_EQ(m_callback.SendVirtualKey(VK_LEFT, 0), S_OK);
    pump();
    const std::vector<Delivered> expected = {
        {WM_KEYDOWN, VK_BACK, 1u},
        {WM_CHAR, 0x08, 1u},
        {WM_KEYUP, VK_BACK, 0xC0000001u},
        {WM_KEYDOWN, VK_LEFT, 1u},
    };
    EXPECT_EQ(g_delivered, expected);
}

TEST_F(HostCallbackTest, StringsArriveAsCharactersAndBadArgumentsAreRefused) {
    WCHAR text[] = u"a b";
    EXPECT_EQ(m_callback.SendString(text, 3), S_OK);
    pump();
    const std::vector<Delivered> expected = {
        {WM_CHAR, u'a', 1u}, {WM_CHAR, u' ', 1u}, {WM_CHAR, u'b', 1u}};
    EXPECT_EQ(g_delivered, expected);

    g_delivered.clear();
    EXPECT_EQ(m_callback.SendString(nullptr, 4), E_INVALIDARG);
    // A press with no characters to read sends only its key.
    EXPECT_EQ(m_callback.SendCharEvents('B', 0x80, 5, nullptr, nullptr), S_OK);
    pump();
    ASSERT_EQ(g_delivered.size(), 1u);
    EXPECT_EQ(g_delivered[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(m_callback.SetImInfo(nullptr), E_INVALIDARG);
}

TEST_F(HostCallbackTest, WithoutAFocusedWindowNothingIsDelivered) {
    DestroyWindow(m_window);
    m_window = nullptr;
    EXPECT_EQ(m_callback.SendVirtualKey('A', 0), E_FAIL);
    WCHAR text[] = u"x";
    EXPECT_EQ(m_callback.SendString(text, 1), E_FAIL);
}

TEST_F(HostCallbackTest, ReportedInformationReachesTheHostAndInterfacesAreAnswered) {
    IMINFO info{};
    info.cbSize = sizeof(info);
    info.rcSipRect = {0, 200, 240, 294};
    EXPECT_EQ(m_callback.SetImInfo(&info), S_OK);
    EXPECT_EQ(m_lastInfo.rcSipRect.top, 200);
    void* object = nullptr;
    EXPECT_EQ(m_callback.QueryInterface(IID_IIMCallback, &object), S_OK);
    EXPECT_EQ(object, static_cast<IIMCallback*>(&m_callback));
    EXPECT_EQ(m_callback.QueryInterface(IID_IInputMethod, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
}

}  // namespace
