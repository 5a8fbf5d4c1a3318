// The tab control and the command bar's toolbar: tabs along the bottom edge as wide as their
// text (sharing the width when they would not fit), a tap asking the parent before selecting,
// the item messages; the toolbar along its parent's top or bottom edge.
#include <commctrl.h>

#include <string>

#include "ParentWindow.h"

namespace {

class TabControl : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        parent = std::make_unique<ParentWindow>();
    }
    void TearDown() override {
        parent.reset();
        DeviceTest::TearDown();
    }

    HWND make(DWORD style = TCS_BOTTOM) {
        return parent->child(WC_TABCONTROLW, style, 0, 200, 240, 40, 7);
    }
    static void add(HWND tabs, const char16_t* text) {
        std::u16string copy(text);
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = copy.data();
        item.lParam = static_cast<LPARAM>(copy.size());
        SendMessageW(tabs, TCM_INSERTITEMW,
                     static_cast<WPARAM>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0)),
                     reinterpret_cast<LPARAM>(&item));
    }
    static RECT tab(HWND tabs, int i) {
        RECT r{};
        EXPECT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(i),
                                 reinterpret_cast<LPARAM>(&r)));
        return r;
    }
    static int selection(HWND tabs) {
        return static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
    }
    static void tapTab(HWND tabs, int i) {
        const RECT r = tab(tabs, i);
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(tabs, &p);
        stylusTap(p.x, p.y);
    }

    std::unique_ptr<ParentWindow> parent;
};

}  // namespace

TEST_F(TabControl, TabsLieAlongTheBottomEdgeAsWideAsTheirText) {
    HWND tabs = make();
    add(tabs, u"General");
    add(tabs, u"Macros");
    add(tabs, u"Skins");
    add(tabs, u"About");
    EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(selection(tabs), 0);  // the first tab added is selected

    RECT client{};
    GetClientRect(tabs, &client);
    for (int i = 0; i < 4; ++i) {
        const RECT r = tab(tabs, i);
        EXPECT_EQ(r.bottom, client.bottom) << i;
        EXPECT_GT(r.bottom - r.top, 10) << i;
        if (i > 0) {
            EXPECT_EQ(r.left, tab(tabs, i - 1).right) << i;  // side by side, left to right
        }
    }
    EXPECT_GT(tab(tabs, 0).right - tab(tabs, 0).left, tab(tabs, 2).right - tab(tabs, 2).left);
    EXPECT_LE(tab(tabs, 3).right, client.right);
    RECT missing{};
    EXPECT_FALSE(SendMessageW(tabs, TCM_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&missing)));

    // Too many to fit: they share the width.
    for (int i = 0; i < 6; ++i)
        add(tabs, u"A rather long label");
    EXPECT_LE(tab(tabs, 9).right, client.right);
    EXPECT_EQ(tab(tabs, 9).right - tab(tabs, 9).left, tab(tabs, 0).right - tab(tabs, 0).left);

    // Without TCS_BOTTOM the tabs lie along the top edge.
    HWND top = parent->child(WC_TABCONTROLW, 0, 0, 0, 240, 40, 8);
    add(top, u"One");
    EXPECT_EQ(tab(top, 0).top, 0);
}

TEST_F(TabControl, ATapAsksTheParentThenSelectsTheTab) {
    HWND tabs = make();
    add(tabs, u"First");
    add(tabs, u"Second");
    add(tabs, u"Third");
    tapTab(tabs, 2);
    EXPECT_EQ(selection(tabs), 2);
    const std::vector<Notice> changed = {{WM_NOTIFY, TCN_SELCHANGING, 0},
                                         {WM_NOTIFY, TCN_SELCHANGE, 0}};
    EXPECT_EQ(parent->notices, changed);

    // A parent that refuses keeps the tab shown.
    parent->notices.clear();
    parent->refuseTabChange = true;
    tapTab(tabs, 0);
    EXPECT_EQ(selection(tabs), 2);
    EXPECT_EQ(parent->notices, (std::vector<Notice>{{WM_NOTIFY, TCN_SELCHANGING, 0}}));

    // Selecting by message tells nobody; the selected tab's own tap changes nothing.
    parent->notices.clear();
    parent->refuseTabChange = false;
    EXPECT_EQ(SendMessageW(tabs, TCM_SETCURSEL, 1, 0), 2);
    EXPECT_EQ(SendMessageW(tabs, TCM_SETCURSEL, 9, 0), -1);
    tapTab(tabs, 1);
    EXPECT_TRUE(parent->notices.empty());

    // The arrow keys move to the neighbouring tab.
    device::keyDown(VK_RIGHT);
    device::keyUp(VK_RIGHT);
    pumpMessages();
    EXPECT_EQ(selection(tabs), 2);
}

TEST_F(TabControl, ItemsAreReadBackAndRemoved) {
    HWND tabs = make();
    add(tabs, u"First");
    add(tabs, u"Second");
    add(tabs, u"Third");
    WCHAR text[4] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = text;
    item.cchTextMax = 4;  // cut to fit, always terminated
    EXPECT_TRUE(SendMessageW(tabs, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(std::u16string(text), u"Sec");
    EXPECT_EQ(item.lParam, 6);
    EXPECT_FALSE(SendMessageW(tabs, TCM_GETITEMW, 3, reinterpret_cast<LPARAM>(&item)));

    SendMessageW(tabs, TCM_SETCURSEL, 2, 0);
    EXPECT_TRUE(SendMessageW(tabs, TCM_DELETEITEM, 0, 0));
    EXPECT_EQ(selection(tabs), 1);  // still "Third"
    EXPECT_TRUE(SendMessageW(tabs, TCM_DELETEITEM, 1, 0));
    EXPECT_EQ(selection(tabs), -1);
    TCHITTESTINFO hit{{5, 35}, 0};
    EXPECT_EQ(SendMessageW(tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 0);
    EXPECT_EQ(hit.flags, static_cast<UINT>(TCHT_ONITEM));
    hit.pt = POINT{200, 2};
    EXPECT_EQ(SendMessageW(tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);

    // The display area is the control less the row of tabs, and back.
    RECT area{0, 0, 240, 100};
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    const int row = tab(tabs, 0).bottom - tab(tabs, 0).top;
    EXPECT_EQ(area.bottom, 100 - row);
    SendMessageW(tabs, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&area));
    EXPECT_EQ(area.bottom, 100);
}

TEST_F(TabControl, AToolbarLiesAlongItsParentsEdgeAtTheMenuBarsHeight) {
    HWND top = parent->child(TOOLBARCLASSNAMEW, TBSTYLE_FLAT | CCS_TOP, 30, 30, 10, 10, 0xE800);
    RECT r{};
    GetWindowRect(top, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 240);
    EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(SendMessageW(top, TB_BUTTONCOUNT, 0, 0), 0);

    HWND bottom = parent->child(TOOLBARCLASSNAMEW, CCS_BOTTOM, 30, 30, 10, 10, 2);
    GetWindowRect(bottom, &r);
    EXPECT_EQ(r.bottom, 320);
    HWND free = parent->child(TOOLBARCLASSNAMEW, CCS_NOPARENTALIGN, 30, 30, 10, 10, 3);
    GetWindowRect(free, &r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.right, 40);
}
