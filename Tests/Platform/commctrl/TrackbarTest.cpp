// The trackbar: range and position kept within each other, the thumb dragged to either end
// giving the range's ends, taps beside the thumb moving a page, the keys, a vertical trackbar,
// and the parent's WM_HSCROLL / WM_VSCROLL notifications.
#include <commctrl.h>

#include "ParentWindow.h"

namespace {

class Trackbar : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        parent = std::make_unique<ParentWindow>();
    }
    void TearDown() override {
        parent.reset();
        DeviceTest::TearDown();
    }

    HWND make(DWORD style = 0, int width = 200, int height = 30) {
        return parent->child(TRACKBAR_CLASSW, WS_TABSTOP | style, 20, 40, width, height);
    }
    static LRESULT send(HWND bar, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(bar, message, wParam, lParam);
    }
    static int pos(HWND bar) { return static_cast<int>(send(bar, TBM_GETPOS)); }
    static POINT thumbCentre(HWND bar) {
        RECT thumb{};
        send(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        POINT centre{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
        ClientToScreen(bar, &centre);
        return centre;
    }

    std::unique_ptr<ParentWindow> parent;
};

}  // namespace

TEST_F(Trackbar, RangeAndPositionStayWithinEachOther) {
    HWND bar = make();
    EXPECT_EQ(send(bar, TBM_GETRANGEMIN), 0);
    EXPECT_EQ(send(bar, TBM_GETRANGEMAX), 100);
    send(bar, TBM_SETRANGE, FALSE, MAKELONG(100, 1000));
    EXPECT_EQ(pos(bar), 100);                    // the position moved into the range
    EXPECT_EQ(send(bar, TBM_GETPAGESIZE), 180);  // a fifth of the range
    send(bar, TBM_SETPOS, TRUE, 2000);
    EXPECT_EQ(pos(bar), 1000);
    send(bar, TBM_SETPOS, TRUE, 50);
    EXPECT_EQ(pos(bar), 100);
    send(bar, TBM_SETPOS, TRUE, 700);
    send(bar, TBM_SETRANGEMAX, TRUE, 500);
    EXPECT_EQ(pos(bar), 500);
    send(bar, TBM_SETRANGEMIN, TRUE, 600);  // a minimum above the maximum raises the maximum
    EXPECT_EQ(send(bar, TBM_GETRANGEMAX), 600);
    EXPECT_EQ(pos(bar), 600);
    EXPECT_EQ(send(bar, TBM_SETLINESIZE, 0, 5), 1);
    EXPECT_EQ(send(bar, TBM_GETLINESIZE), 5);

    // A range set without redrawing leaves the control as it was drawn; a position redraws.
    pumpMessages();
    RECT dirty{};
    send(bar, TBM_SETRANGE, FALSE, MAKELONG(0, 190));
    EXPECT_FALSE(GetUpdateRect(bar, &dirty, FALSE));
    send(bar, TBM_SETPOS, TRUE, 150);
    EXPECT_TRUE(GetUpdateRect(bar, &dirty, FALSE));
    EXPECT_TRUE(parent->notices.empty());  // messages are no user's doing
}

TEST_F(Trackbar, DraggingTheThumbToEitherEndGivesTheRangesEnds) {
    HWND bar = make();
    send(bar, TBM_SETRANGE, FALSE, MAKELONG(100, 1000));
    send(bar, TBM_SETPOS, TRUE, 500);
    pumpMessages();

    const POINT start = thumbCentre(bar);
    stylusDrag(start, POINT{238, start.y});
    EXPECT_EQ(pos(bar), 1000);
    const std::vector<Notice> toRight = {{WM_HSCROLL, TB_THUMBTRACK, 1000},
                                         {WM_HSCROLL, TB_THUMBPOSITION, 1000},
                                         {WM_HSCROLL, TB_ENDTRACK, 1000}};
    EXPECT_EQ(parent->notices, toRight);
    RECT thumb{};
    send(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    RECT channel{};
    send(bar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    EXPECT_GE(thumb.right, channel.right - 2);  // drawn at the channel's far end

    parent->notices.clear();
    stylusDrag(thumbCentre(bar), POINT{1, start.y});
    EXPECT_EQ(pos(bar), 100);
    EXPECT_EQ(parent->notices.front(), (Notice{WM_HSCROLL, TB_THUMBTRACK, 100}));

    // Dragged a little, the thumb follows the pen: the position grows with it.
    stylusDrag(thumbCentre(bar), POINT{thumbCentre(bar).x + 60, start.y});
    EXPECT_GT(pos(bar), 300);
    EXPECT_LT(pos(bar), 500);
}

TEST_F(Trackbar, ATapBesideTheThumbMovesItAPage) {
    HWND bar = make();
    send(bar, TBM_SETRANGE, FALSE, MAKELONG(100, 1000));
    send(bar, TBM_SETPOS, TRUE, 500);
    pumpMessages();
    const POINT thumb = thumbCentre(bar);
    stylusTap(thumb.x + 40, thumb.y);
    EXPECT_EQ(pos(bar), 680);
    const std::vector<Notice> paged = {{WM_HSCROLL, TB_PAGEDOWN, 680},
                                       {WM_HSCROLL, TB_ENDTRACK, 680}};
    EXPECT_EQ(parent->notices, paged);
    stylusTap(thumbCentre(bar).x - 40, thumb.y);
    EXPECT_EQ(pos(bar), 500);
    EXPECT_EQ(GetFocus(), bar);

    // The keys: arrows a line, Home and End the ends.
    auto press = [](UINT vk) {
        device::keyDown(vk);
        device::keyUp(vk);
        pumpMessages();
    };
    press(VK_RIGHT);
    EXPECT_EQ(pos(bar), 501);
    press(VK_END);
    EXPECT_EQ(pos(bar), 1000);
    press(VK_HOME);
    EXPECT_EQ(pos(bar), 100);
    press(VK_NEXT);
    EXPECT_EQ(pos(bar), 280);
}

TEST_F(Trackbar, AVerticalTrackbarRunsDownward) {
    HWND bar = make(TBS_VERT, 30, 200);
    send(bar, TBM_SETRANGE, FALSE, MAKELONG(0, 10));
    pumpMessages();
    const POINT top = thumbCentre(bar);
    stylusDrag(top, POINT{top.x, 300});
    EXPECT_EQ(pos(bar), 10);
    EXPECT_EQ(parent->notices.back(), (Notice{WM_VSCROLL, TB_ENDTRACK, 10}));
    EXPECT_GT(thumbCentre(bar).y, top.y + 150);
}
