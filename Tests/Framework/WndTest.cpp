// CWnd and message maps: windows created through the framework route every message, from
// WM_CREATE on, to their handlers with the parameters unpacked; what no entry takes reaches
// the window's own procedure.
#include <afxwin.h>
#include <device/Clock.h>

#include <string>
#include <vector>

#include "DeviceTest.h"

namespace {

constexpr UINT WM_TEST_PRIVATE = WM_USER + 7;

class CRecordingWnd : public WithMessageMap<CRecordingWnd, CWnd> {
public:
    std::vector<std::string> seen;
    CPoint lastPoint;
    int createResult = 0;
    bool ncDestroyed = false;

private:
    int OnCreate(LPCREATESTRUCTW create) {
        seen.push_back("create " + std::to_string(create->cx) + "x" + std::to_string(create->cy));
        return createResult;
    }
    void OnLButtonDown(UINT flags, CPoint point) {
        seen.push_back("down " + std::to_string(flags));
        lastPoint = point;
    }
    void OnTimer(UINT_PTR id) { seen.push_back("timer " + std::to_string(id)); }
    LRESULT OnPrivate(WPARAM wParam, LPARAM lParam) {
        seen.push_back("private " + std::to_string(wParam) + " " + std::to_string(lParam));
        return 99;
    }
    void OnDestroy() { seen.push_back("destroy"); }
    void OnSetText() {
        seen.push_back("settext");
        Default();  // the window's own procedure still stores the title
    }
    LRESULT OnSetTextRaw(WPARAM, LPARAM) {
        OnSetText();
        return TRUE;
    }
    void PostNcDestroy() override { ncDestroyed = true; }

public:
    static constexpr MessageMapEntry<CRecordingWnd> messageMap[] = {
        on<WM_CREATE, &CRecordingWnd::OnCreate>(),
        on<WM_LBUTTONDOWN, &CRecordingWnd::OnLButtonDown>(),
        on<WM_TIMER, &CRecordingWnd::OnTimer>(),
        on<WM_DESTROY, &CRecordingWnd::OnDestroy>(),
        onMessage<WM_TEST_PRIVATE, &CRecordingWnd::OnPrivate>(),
        onMessage<WM_SETTEXT, &CRecordingWnd::OnSetTextRaw>(),
    };
};

class Framework : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = AfxGetInstanceHandle();
        wc.lpszClassName = u"FrameworkTestCls";
        ASSERT_NE(RegisterClassW(&wc), 0);
    }
    void pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
};

TEST_F(Framework, CreatedWindowRoutesEveryMessageFromCreationOn) {
    CRecordingWnd wnd;
    RECT rect{0, 0, 120, 40};
    ASSERT_TRUE(wnd.CreateEx(0, u"FrameworkTestCls", u"Kelvo", WS_VISIBLE, rect, nullptr, 100));
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    ASSERT_FALSE(wnd.seen.empty());
    EXPECT_EQ(wnd.seen.front(), "create 120x40");

    wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(17, 23));
    EXPECT_EQ(wnd.lastPoint, CPoint(17, 23));
    EXPECT_EQ(wnd.SendMessage(WM_TEST_PRIVATE, 5, -3), 99);

    wnd.SetTimer(4, 100);
    device::advanceClock(100);
    pump();
    wnd.KillTimer(4);

    wnd.SetWindowText(u"Renamed");
    WCHAR title[16] = {};
    wnd.GetWindowText(title, 16);
    EXPECT_EQ(std::u16string(title), u"Renamed");
    // The whole text however long; a window without one gives an empty string.
    const std::u16string longTitle(300, u'\u0633');
    wnd.SetWindowText(longTitle.c_str());
    std::u16string whole = u"old";
    wnd.GetWindowText(whole);
    EXPECT_EQ(whole, longTitle);
    wnd.SetWindowText(u"");
    wnd.GetWindowText(whole);
    EXPECT_EQ(whole, u"");

    HWND hWnd = wnd.m_hWnd;
    ASSERT_TRUE(wnd.DestroyWindow());
    EXPECT_TRUE(wnd.ncDestroyed);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    std::vector<std::string> expected = {"create 120x40", "down 1",  "private 5 -3",
                                         "timer 4",       "settext", "destroy"};
    std::vector<std::string> routed;
    for (const auto& entry : wnd.seen) {
        if (routed.empty() || routed.back() != entry)
            routed.push_back(entry);
    }
    EXPECT_EQ(routed, expected);
}

TEST_F(Framework, CreationRefusedByOnCreateFailsAndLeavesTheObjectFree) {
    CRecordingWnd wnd;
    wnd.createResult = -1;
    RECT rect{0, 0, 10, 10};
    EXPECT_FALSE(wnd.CreateEx(0, u"FrameworkTestCls", u"", 0, rect, nullptr, 0));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    // The same object can create a window again.
    wnd.createResult = 0;
    EXPECT_TRUE(wnd.CreateEx(0, u"FrameworkTestCls", u"", 0, rect, nullptr, 0));
}

LRESULT CALLBACK countingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TEST_PRIVATE + 1)
        return 1234;
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

TEST_F(Framework, SubclassedWindowKeepsItsOwnProcedureForUnmappedMessages) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = countingProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.lpszClassName = u"OwnProcCls";
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND hWnd = CreateWindowExW(0, u"OwnProcCls", u"", 0, 0, 0, 10, 10, nullptr, nullptr,
                                AfxGetInstanceHandle(), nullptr);
    ASSERT_NE(hWnd, nullptr);
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    EXPECT_FALSE(CRecordingWnd().SubclassWindow(hWnd));  // one object per window
    EXPECT_EQ(SendMessageW(hWnd, WM_TEST_PRIVATE, 1, 2), 99);
    EXPECT_EQ(SendMessageW(hWnd, WM_TEST_PRIVATE + 1, 0, 0), 1234);
    EXPECT_EQ(wnd.UnsubclassWindow(), hWnd);
    EXPECT_EQ(SendMessageW(hWnd, WM_TEST_PRIVATE, 1, 2), 0);  // back to its own procedure
    DestroyWindow(hWnd);
}

}  // namespace
