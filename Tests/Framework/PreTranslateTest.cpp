// The framework's pre-translation: a message a loop retrieves reaches PreTranslateMessage of
// the objects of its window and of that window's parents, innermost first, up to the top-level
// window; the hook is on the thread only while framework windows are.
#include <afxwin.h>

#include <string>
#include <vector>

#include "DeviceTest.h"

namespace {

std::vector<std::string>& offered() {
    static std::vector<std::string> log;
    return log;
}

class CNamedWnd : public CWnd {
public:
    CNamedWnd(std::string name, UINT consumes) : m_name(std::move(name)), m_consumes(consumes) {}
    BOOL PreTranslateMessage(MSG* msg) override {
        offered().push_back(m_name);
        return msg->message == m_consumes;
    }

private:
    std::string m_name;
    UINT m_consumes;
};

class PreTranslation : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        offered().clear();
    }
};

bool offer(HWND hwnd, UINT message) {
    MSG msg{hwnd, message, 0, 0, 0, {}};
    return platform::preTranslateMessage(msg);
}

}  // namespace

TEST_F(PreTranslation, AMessageGoesToItsWindowThenItsParentsUpToTheTopLevelWindow) {
    CNamedWnd top("top", WM_KEYDOWN);
    CNamedWnd middle("middle", 0);
    CNamedWnd inner("inner", WM_CHAR);
    // Any class will do: the platform's scroll bar needs no registering.
    ASSERT_TRUE(top.CreateEx(0, u"ScrollBar", u"", WS_POPUP, RECT{0, 0, 100, 100}, nullptr, 0));
    ASSERT_TRUE(middle.Create(u"ScrollBar", u"", WS_CHILD, RECT{0, 0, 50, 50}, &top, 1));
    ASSERT_TRUE(inner.Create(u"ScrollBar", u"", WS_CHILD, RECT{0, 0, 20, 20}, &middle, 2));

    EXPECT_TRUE(offer(inner.GetSafeHwnd(), WM_CHAR));
    EXPECT_EQ(offered(), (std::vector<std::string>{"inner"}));
    offered().clear();
    EXPECT_TRUE(offer(inner.GetSafeHwnd(), WM_KEYDOWN));
    EXPECT_EQ(offered(), (std::vector<std::string>{"inner", "middle", "top"}));
    offered().clear();
    EXPECT_FALSE(offer(middle.GetSafeHwnd(), WM_KEYUP));
    EXPECT_EQ(offered(), (std::vector<std::string>{"middle", "top"}));

    // Once the framework's windows are gone the thread has no hook of theirs.
    inner.DestroyWindow();
    middle.DestroyWindow();
    top.DestroyWindow();
    offered().clear();
    MSG msg{nullptr, WM_KEYDOWN, 0, 0, 0, {}};
    EXPECT_FALSE(platform::preTranslateMessage(msg));
    EXPECT_TRUE(offered().empty());
}

TEST_F(PreTranslation, CScrollBarCreatesThePlatformsControlAndSetsItsRangeAndPosition) {
    CNamedWnd parent("parent", 0);
    ASSERT_TRUE(parent.CreateEx(0, u"ScrollBar", u"", WS_POPUP, RECT{0, 0, 100, 100}, nullptr, 0));
    CScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, RECT{0, 0, 15, 80}, &parent, 5));
    bar.SetScrollRange(0, 20);
    EXPECT_EQ(bar.SetScrollPos(7), 0);
    EXPECT_EQ(bar.GetScrollPos(), 7);
    int low = -1;
    int high = -1;
    bar.GetScrollRange(&low, &high);
    EXPECT_EQ(high, 20);
    bar.ShowScrollBar(FALSE);
    EXPECT_FALSE(bar.IsWindowVisible());
}
