// The scroll-bar control: its class found without registering it, range and position through
// the scroll calls, and the stylus on its arrows, page areas and thumb reported to the parent.
#include "UserTest.h"
#include "device/Input.h"

using namespace usertest;

namespace {

class ScrollBarTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        parent = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
        // A vertical bar 15 wide and 100 high at (20, 30): arrows of 15, a track of 70.
        bar = CreateWindowExW(0, u"ScrollBar", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT, 20, 30,
                              15, 100, parent, reinterpret_cast<HMENU>(7), nullptr, nullptr);
        ASSERT_NE(bar, nullptr);
        pump();
        recorder().clear();
    }

    // The scroll messages the parent got: (code, position) pairs.
    std::vector<std::pair<int, int>> reports(UINT msg = WM_VSCROLL) {
        std::vector<std::pair<int, int>> out;
        for (const Seen& s : recorder().with(msg)) {
            EXPECT_EQ(s.hwnd, parent);
            EXPECT_EQ(reinterpret_cast<HWND>(s.lParam), bar);
            out.emplace_back(LOWORD(s.wParam), static_cast<SHORT>(HIWORD(s.wParam)));
        }
        recorder().clear();
        return out;
    }
    void down(int x, int y) {
        device::stylusDown(20 + x, 30 + y);
        pump();
    }
    void move(int x, int y) {
        device::stylusMove(20 + x, 30 + y);
        pump();
    }
    void up(int x, int y) {
        device::stylusUp(20 + x, 30 + y);
        pump();
    }

    HWND parent = nullptr;
    HWND bar = nullptr;
};

using Report = std::pair<int, int>;

}  // namespace

TEST_F(ScrollBarTest, RangeAndPositionGoThroughTheScrollCallsAndStayInRange) {
    WCHAR name[16] = {};
    GetClassNameW(bar, name, 16);
    EXPECT_EQ(std::u16string(name), u"ScrollBar");
    int low = -1;
    int high = -1;
    EXPECT_TRUE(GetScrollRange(bar, SB_CTL, &low, &high));
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 100);  // a new control's range
    EXPECT_TRUE(SetScrollRange(bar, SB_CTL, 0, 10, TRUE));
    EXPECT_EQ(SetScrollPos(bar, SB_CTL, 4, TRUE), 0);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 4);
    EXPECT_EQ(SetScrollPos(bar, SB_CTL, 40, FALSE), 4);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 10);
    EXPECT_TRUE(SetScrollRange(bar, SB_CTL, 0, 5, FALSE));
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 5);
    EXPECT_FALSE(SetScrollRange(bar, SB_CTL, INT32_MIN, INT32_MAX, FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_SCROLLBAR_RANGE));
    // Windows on this device have no bars of their own.
    EXPECT_FALSE(SetScrollRange(parent, SB_VERT, 0, 10, FALSE));
    EXPECT_EQ(GetScrollPos(parent, SB_HORZ), 0);
    EXPECT_FALSE(ShowScrollBar(parent, SB_VERT, TRUE));
    EXPECT_TRUE(ShowScrollBar(bar, SB_CTL, FALSE));
    EXPECT_FALSE(IsWindowVisible(bar));
    EXPECT_TRUE(ShowScrollBar(bar, SB_CTL, TRUE));
    EXPECT_TRUE(IsWindowVisible(bar));
}

TEST_F(ScrollBarTest, ArrowsAndPageAreasScrollAndRepeatWhileHeld) {
    SetScrollRange(bar, SB_CTL, 0, 10, TRUE);
    down(7, 5);  // the upper arrow
    EXPECT_EQ(reports(), (std::vector<Report>{{SB_LINEUP, 0}}));
    EXPECT_EQ(GetCapture(), bar);
    device::advanceClock(399);
    pump();
    EXPECT_TRUE(reports().empty());
    device::advanceClock(1);
    pump();
    EXPECT_EQ(reports(), (std::vector<Report>{{SB_LINEUP, 0}}));
    device::advanceClock(100);
    pump();
    EXPECT_EQ(reports(), (std::vector<Report>{{SB_LINEUP, 0}}));
    // Off the arrow it stops repeating; back on it, it goes on.
    move(7, 50);
    device::advanceClock(100);
    pump();
    EXPECT_TRUE(reports().empty());
    up(7, 50);
    EXPECT_EQ(reports(), (std::vector<Report>{{SB_ENDSCROLL, 0}}));
    EXPECT_EQ(GetCapture(), nullptr);

    down(7, 95);  // the lower arrow
    up(7, 95);
    EXPECT_EQ(reports(), (std::vector<Report>{{SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}}));
    // The thumb is at the top (position 0): the track below it pages down.
    down(7, 60);
    up(7, 60);
    EXPECT_EQ(reports(), (std::vector<Report>{{SB_PAGEDOWN, 0}, {SB_ENDSCROLL, 0}}));
    SetScrollPos(bar, SB_CTL, 10, TRUE);
    down(7, 40);
    up(7, 40);
    EXPECT_EQ(reports(), (std::vector<Report>{{SB_PAGEUP, 0}, {SB_ENDSCROLL, 0}}));
}

TEST_F(ScrollBarTest, TheThumbFollowsTheStylusAndReportsItsPosition) {
    SetScrollRange(bar, SB_CTL, 0, 55, TRUE);
    // Track 15..85, thumb 15 long: 55 pixels of travel, one position per pixel.
    down(7, 20);
    EXPECT_TRUE(reports().empty());
    move(7, 30);
    EXPECT_EQ(reports(), (std::vector<Report>{{SB_THUMBTRACK, 10}}));
    move(7, 200);  // far below: the end
    EXPECT_EQ(reports(), (std::vector<Report>{{SB_THUMBTRACK, 55}}));
    move(7, 40);
    up(7, 40);
    EXPECT_EQ(reports(), (std::vector<Report>{
                             {SB_THUMBTRACK, 20}, {SB_THUMBPOSITION, 20}, {SB_ENDSCROLL, 0}}));
    // The parent moves the position; the bar itself did not.
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);
}

TEST_F(ScrollBarTest, AHorizontalBarReportsWmHScrollAndAnEmptyRangeIgnoresTheStylus) {
    DestroyWindow(bar);
    bar = CreateWindowExW(0, u"scrollbar", nullptr, WS_CHILD | WS_VISIBLE | SBS_HORZ, 20, 30, 100,
                          15, parent, nullptr, nullptr, nullptr);
    ASSERT_NE(bar, nullptr);
    pump();
    recorder().clear();
    down(95, 7);
    up(95, 7);
    EXPECT_EQ(reports(WM_HSCROLL), (std::vector<Report>{{SB_LINERIGHT, 0}, {SB_ENDSCROLL, 0}}));
    SetScrollRange(bar, SB_CTL, 0, 0, TRUE);
    down(95, 7);
    up(95, 7);
    EXPECT_TRUE(reports(WM_HSCROLL).empty());
}
